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

// The code point starting at text[i] (i < text.size()). Overlong forms, bytes
// F5-FF, stray continuation bytes and cut-off sequences are invalid and use one
// byte. Surrogates in three-byte form are valid only when allow_surrogates.
TUtf8Char DecodeUtf8(std::string_view text, std::size_t i, bool allow_surrogates);

// Appends the UTF-8 form of a code point (a surrogate gets its three-byte form).
void AppendUtf8(std::string& out, char32_t code_point);

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
