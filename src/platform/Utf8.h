#pragma once
// UTF-8 and UTF-16 building blocks: decoding one code point, appending one,
// validating, and converting between the two forms.
//
// Unicode documents keep their text as UTF-8. A UTF-16 file may hold a
// surrogate without its partner; such a code unit is kept as the three-byte
// form UTF-8 would give it if surrogates were ordinary code points (ED A0 80 to
// ED BF BF), so that it is written back unchanged. Strict validation, which
// decides whether a file without a byte-order mark is UTF-8, refuses that form.
#include <cstddef>
#include <string>
#include <string_view>

// The code point written in place of bytes that do not decode.
inline constexpr char32_t kReplacementChar = 0xFFFD;

struct TUtf8Char {
  char32_t CodePoint = kReplacementChar;  // the replacement character when not Valid
  std::size_t Length = 1;                 // bytes used; 1 for a byte that does not decode
  bool Valid = false;
};

// A byte that continues a sequence (10xxxxxx) and starts none.
constexpr bool IsUtf8Continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The code point starting at text[i] (i < text.size()). Overlong forms, bytes
// F5-FF, stray continuation bytes and cut-off sequences are invalid and use one
// byte. Surrogates in three-byte form are valid only when allow_surrogates.
TUtf8Char DecodeUtf8(std::string_view text, std::size_t i, bool allow_surrogates);

// The one-, two- and three-byte forms that make up nearly all text (checked
// as DecodeUtf8 checks them, surrogates allowed) decoded in place: their
// length, the code point in `code_point`; 0 for any other form. Kept apart
// from TUtf8Char so that a loop over characters holds them in registers.
inline std::size_t DecodeUtf8Short(const unsigned char* p, std::size_t left, char32_t& code_point) {
  const char32_t b0 = p[0];
  if (b0 < 0x80) {
    code_point = b0;
    return 1;
  }
  if (b0 >= 0xC2 && b0 <= 0xDF && left >= 2 && (p[1] & 0xC0) == 0x80) {
    code_point = (b0 & 0x1F) << 6 | (p[1] & 0x3F);
    return 2;
  }
  if (b0 >= 0xE1 && b0 <= 0xEF && left >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
    code_point = (b0 & 0x0F) << 12 | (p[1] & 0x3FU) << 6 | (p[2] & 0x3F);
    return 3;
  }
  return 0;
}

// DecodeUtf8 with surrogates allowed, the common forms decoded in place: the
// editor decodes every character it steps over.
inline TUtf8Char DecodeUtf8Quick(std::string_view text, std::size_t i) {
  char32_t code_point = 0;
  const std::size_t n = DecodeUtf8Short(reinterpret_cast<const unsigned char*>(text.data()) + i,
                                        text.size() - i, code_point);
  if (n != 0) return {code_point, n, true};
  return DecodeUtf8(text, i, true);
}

// Whether the code point whose UTF-8 form starts at p (`left` > 0 bytes
// there) may be a combining mark, told from its first bytes, so that a
// character is not decoded twice to learn that the one after it joins
// nothing: marks begin at U+0300 (first byte CC), and none lies among the
// ideographs of U+4000 to U+9FFF, the syllables, surrogates and private use of
// U+B000 to U+EFFF, nor in U+3000 to U+3FFF outside U+3000-U+303F and
// U+3080-U+30BF.
inline bool MayStartCombiningMark(const unsigned char* p, std::size_t left) {
  const unsigned char b = p[0];
  if (b < 0xCC) return false;
  if (b < 0xE3 || b == 0xEA || b > 0xEE) return true;
  if (b == 0xE3) return left < 2 || p[1] == 0x80 || p[1] == 0x82;
  return false;
}

// Appends the UTF-8 form of a code point (a surrogate gets its three-byte form).
void AppendUtf8(std::string& out, char32_t code_point);

// UTF-16 surrogates: the first and the second unit of a pair, and the code
// point a pair stands for.
constexpr bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr char32_t CodePointOfPair(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// Whether the units at i and i + 1 are a pair.
constexpr bool IsSurrogatePairAt(std::u16string_view text, std::size_t i) {
  return i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]);
}

// Appends the UTF-16 form of a code point: a pair above U+FFFF, one unit
// otherwise (a surrogate stays the one unit it is).
inline void AppendUtf16(std::u16string& out, char32_t code_point) {
  if (code_point < 0x10000) {
    out.push_back(static_cast<char16_t>(code_point));
    return;
  }
  const char32_t v = code_point - 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
}

// Bytes before the first byte above 127 (text.size() when there is none).
std::size_t AsciiPrefixLength(std::string_view text);

// True when every sequence is well-formed UTF-8 (no surrogates, no overlong
// forms, nothing above U+10FFFF, nothing cut off).
bool IsStrictUtf8(std::string_view text);

// UTF-8 to UTF-16. Surrogates in three-byte form become that single code unit;
// bytes that do not decode become the replacement character, counted in
// *replaced when given.
std::u16string Utf8ToUtf16(std::string_view text, std::size_t* replaced = nullptr);
// The same appended to `out`; returns how many were replaced.
std::size_t AppendUtf8AsUtf16(std::u16string& out, std::string_view text);

// UTF-16 to UTF-8. Pairs become four-byte sequences; an unpaired surrogate
// becomes its three-byte form, so Utf8ToUtf16 gives it back unchanged.
std::string Utf16ToUtf8(std::u16string_view text);
