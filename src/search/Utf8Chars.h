#pragma once
// Characters of UTF-8 text as both search engines step over them: a code
// point together with the combining marks after it, exactly as the editor's
// caret moves (see ICodePage). Most macro text is ASCII, so every question
// has a quick answer for ASCII bytes and asks the code page only otherwise.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/UnicodeProperties.h"
#include "platform/Utf8.h"
#include "platform/Utf8CodePage.h"

namespace utf8_chars {

// Stands for a byte that does not decode: beyond every code point, it belongs
// to no class and folds to nothing else.
inline constexpr char32_t kUndecodable = 0x110000;

inline std::string_view View(const unsigned char* text, std::size_t length) {
  return {reinterpret_cast<const char*>(text), length};
}

// Bytes of the character at pos (pos < length).
inline std::size_t CharLength(const unsigned char* text, std::size_t length, std::size_t pos) {
  if (text[pos] < 0x80 && (pos + 1 == length || text[pos + 1] < 0x80)) return 1;
  return Utf8CodePage().CharLength(View(text, length), pos);
}

// Whether a character starts at pos; the start and the end of the text count.
inline bool IsCharStart(const unsigned char* text, std::size_t length, std::size_t pos) {
  if (pos == 0 || pos >= length || text[pos] < 0x80) return true;
  return Utf8CodePage().CharStart(View(text, length), pos) == pos;
}

// Start of the character that ends at pos (0 < pos <= length, pos a character start).
inline std::size_t PrevCharStart(const unsigned char* text, std::size_t length, std::size_t pos) {
  if (text[pos - 1] < 0x80) return pos - 1;  // ASCII is never part of a longer character
  return Utf8CodePage().CharStart(View(text, length), pos - 1);
}

// The code point at pos and its bytes; kUndecodable (one byte) where none decodes.
inline char32_t CodePointAt(const unsigned char* text, std::size_t length, std::size_t pos,
                            std::size_t* bytes) {
  if (text[pos] < 0x80) {
    *bytes = 1;
    return text[pos];
  }
  const TUtf8Char c = DecodeUtf8(View(text, length), pos, true);
  *bytes = c.Length;
  return c.Valid ? c.CodePoint : kUndecodable;
}

inline bool IsAsciiWordByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Whether the character at pos belongs to words (letters, marks, digits and
// connectors such as the underscore); false at the end.
inline bool IsWordCharAt(const unsigned char* text, std::size_t length, std::size_t pos) {
  if (pos >= length) return false;
  if (text[pos] < 0x80) return IsAsciiWordByte(text[pos]);
  return Utf8CodePage().IsWordCharAt(View(text, length), pos);
}

// Whether the character that ends at pos belongs to words; false at the start.
inline bool IsWordCharBefore(const unsigned char* text, std::size_t length, std::size_t pos) {
  if (pos == 0) return false;
  return IsWordCharAt(text, length, PrevCharStart(text, length, pos));
}

// Position of the last byte above 127, or -1 when the text is all ASCII. Most
// macro lines are ASCII, so blocks of the line are tested at once, the first
// block overlapping the one after it rather than testing bytes one by one.
inline std::ptrdiff_t LastNonAscii(const unsigned char* text, std::size_t length) {
  std::size_t end = length;
#if defined(__SSE2__)
  if (length >= 16) {
    for (std::size_t at = length - 16;; at = at >= 16 ? at - 16 : 0) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
      const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
      if (high != 0) return static_cast<std::ptrdiff_t>(at) + 31 - __builtin_clz(high);
      if (at == 0) return -1;
    }
  }
#endif
  if (length >= 8) {
    for (std::size_t at = length - 8;; at = at >= 8 ? at - 8 : 0) {
      std::uint64_t word;
      std::memcpy(&word, text + at, 8);
      if (word & 0x8080808080808080ULL) {
        end = at + 8;
        break;
      }
      if (at == 0) return -1;
    }
  }
  while (end > 0 && text[end - 1] < 0x80) --end;
  return static_cast<std::ptrdiff_t>(end) - 1;
}

}  // namespace utf8_chars
