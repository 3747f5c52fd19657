#include "platform/Utf8.h"

#include <cstdint>
#include <cstring>

TUtf8Char DecodeUtf8(std::string_view text, std::size_t i, bool allow_surrogates) {
  const std::size_t n = text.size();
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) return {b0, 1, true};
  // The range the second byte must fall in; it rules out overlong forms,
  // surrogates (unless allowed) and code points above U+10FFFF.
  unsigned char lo = 0x80, hi = 0xBF;
  std::size_t length;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED && !allow_surrogates) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return {};
  }
  if (i + length > n) return {};
  const auto b1 = static_cast<unsigned char>(text[i + 1]);
  if (b1 < lo || b1 > hi) return {};
  char32_t cp = b0 & (0xFF >> (length + 1));
  cp = (cp << 6) | (b1 & 0x3F);
  for (std::size_t k = 2; k < length; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if (!IsUtf8Continuation(b)) return {};
    cp = (cp << 6) | (b & 0x3F);
  }
  return {cp, length, true};
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::size_t AsciiPrefixLength(std::string_view text) {
  const char* p = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  // Eight bytes at a time: most macro text is plain ASCII.
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    if (word & 0x8080808080808080ULL) break;
  }
  while (i < n && static_cast<unsigned char>(p[i]) < 0x80) ++i;
  return i;
}

bool IsStrictUtf8(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    i += AsciiPrefixLength(text.substr(i));
    // Decode the non-ASCII stretch character by character, then skip ASCII again.
    while (i < n && static_cast<unsigned char>(text[i]) >= 0x80) {
      const TUtf8Char c = DecodeUtf8(text, i, false);
      if (!c.Valid) return false;
      i += c.Length;
    }
  }
  return true;
}

std::size_t AppendUtf8AsUtf16(std::u16string& out, std::string_view text) {
  std::size_t bad = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    // The two- and three-byte forms that make up most text are decoded in
    // place: painting converts every wide character.
    char32_t code_point = 0;
    const std::size_t n = DecodeUtf8Short(reinterpret_cast<const unsigned char*>(text.data()) + i,
                                          text.size() - i, code_point);
    if (n != 0) {
      out.push_back(static_cast<char16_t>(code_point));
      i += n;
      continue;
    }
    const TUtf8Char c = DecodeUtf8(text, i, true);
    if (!c.Valid) ++bad;
    AppendUtf16(out, c.CodePoint);
    i += c.Length;
  }
  return bad;
}

std::u16string Utf8ToUtf16(std::string_view text, std::size_t* replaced) {
  std::u16string out;
  out.reserve(text.size());
  const std::size_t bad = AppendUtf8AsUtf16(out, text);
  if (replaced) *replaced = bad;
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t u = text[i];
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    char32_t cp = u;
    if (IsSurrogatePairAt(text, i)) {
      cp = CodePointOfPair(u, text[i + 1]);
      ++i;
    }
    AppendUtf8(out, cp);
  }
  return out;
}
