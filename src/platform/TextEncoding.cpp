#include "platform/TextEncoding.h"

#include "platform/Utf8.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEBom = "\xFF\xFE";
constexpr std::string_view kUtf16BEBom = "\xFE\xFF";

// Decodes UTF-16 code units (big- or little-endian) after the byte-order mark.
// Output goes through a small buffer: a 40 MB file should not pay for a
// capacity check on every byte.
std::string DecodeUtf16(std::string_view units, bool big_endian) {
  std::string out;
  out.reserve(units.size() / 2 + units.size() / 8);
  const auto* p = reinterpret_cast<const unsigned char*>(units.data());
  const std::size_t count = units.size() / 2;
  const int hi = big_endian ? 0 : 1;
  const int lo = 1 - hi;
  auto unit = [&](std::size_t k) -> char32_t {
    return static_cast<char32_t>(p[2 * k + hi]) << 8 | p[2 * k + lo];
  };
  char chunk[4096];
  std::size_t used = 0;
  for (std::size_t k = 0; k < count; ++k) {
    if (used > sizeof chunk - 4) {
      out.append(chunk, used);
      used = 0;
    }
    char32_t cp = unit(k);
    if (cp < 0x80) {
      chunk[used++] = static_cast<char>(cp);
      continue;
    }
    if (IsHighSurrogate(cp) && k + 1 < count && IsLowSurrogate(unit(k + 1))) {
      cp = CodePointOfPair(cp, unit(k + 1));
      ++k;
    }
    if (cp < 0x800) {
      chunk[used++] = static_cast<char>(0xC0 | (cp >> 6));
      chunk[used++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      chunk[used++] = static_cast<char>(0xE0 | (cp >> 12));
      chunk[used++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      chunk[used++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      chunk[used++] = static_cast<char>(0xF0 | (cp >> 18));
      chunk[used++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      chunk[used++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      chunk[used++] = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  out.append(chunk, used);
  return out;
}

void AppendUtf16(std::string& out, std::string_view text, bool big_endian) {
  const std::size_t start = out.size();
  out.resize(start + 2 * text.size());  // at most one code unit per byte
  char* w = out.data() + start;
  auto put = [&](char32_t u) {
    const char a = static_cast<char>(u >> 8), b = static_cast<char>(u & 0xFF);
    *w++ = big_endian ? a : b;
    *w++ = big_endian ? b : a;
  };
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      put(b);
      ++i;
      continue;
    }
    const TUtf8Char c = DecodeUtf8(text, i, true);
    if (c.CodePoint >= 0x10000) {
      const char32_t v = c.CodePoint - 0x10000;
      put(0xD800 + (v >> 10));
      put(0xDC00 + (v & 0x3FF));
    } else {
      put(c.CodePoint);
    }
    i += c.Length;
  }
  out.resize(static_cast<std::size_t>(w - out.data()));
}

}  // namespace

std::string_view TextEncodingName(TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Ansi:
      return "ANSI";
    case TTextEncoding::Utf8:
      return "UTF-8";
    case TTextEncoding::Utf8Bom:
      return "UTF-8 BOM";
    case TTextEncoding::Utf16LE:
      return "UTF-16 LE";
    case TTextEncoding::Utf16BE:
      return "UTF-16 BE";
  }
  return "ANSI";
}

std::string_view ByteOrderMark(TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf8Bom:
      return kUtf8Bom;
    case TTextEncoding::Utf16LE:
      return kUtf16LEBom;
    case TTextEncoding::Utf16BE:
      return kUtf16BEBom;
    default:
      return {};
  }
}

TTextEncoding DetectTextEncoding(std::string_view bytes) {
  if (bytes.substr(0, 3) == kUtf8Bom) return TTextEncoding::Utf8Bom;
  if (bytes.substr(0, 2) == kUtf16LEBom) return TTextEncoding::Utf16LE;
  if (bytes.substr(0, 2) == kUtf16BEBom) return TTextEncoding::Utf16BE;
  const std::size_t ascii = AsciiPrefixLength(bytes);
  if (ascii == bytes.size()) return TTextEncoding::Ansi;
  return IsStrictUtf8(bytes.substr(ascii)) ? TTextEncoding::Utf8 : TTextEncoding::Ansi;
}

TDecodedText DecodeText(std::string bytes) {
  TDecodedText result;
  result.Encoding = DetectTextEncoding(bytes);
  const std::size_t bom = ByteOrderMark(result.Encoding).size();
  switch (result.Encoding) {
    case TTextEncoding::Ansi:
    case TTextEncoding::Utf8:
      result.Text = std::move(bytes);
      break;
    case TTextEncoding::Utf8Bom:
      bytes.erase(0, bom);
      result.Text = std::move(bytes);
      break;
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE: {
      std::string_view units = std::string_view(bytes).substr(bom);
      if (units.size() % 2 != 0) {
        result.Tail.assign(1, units.back());
        units.remove_suffix(1);
      }
      result.Text = DecodeUtf16(units, result.Encoding == TTextEncoding::Utf16BE);
      break;
    }
  }
  return result;
}

void AppendEncodedText(std::string& out, std::string_view text, TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
      AppendUtf16(out, text, encoding == TTextEncoding::Utf16BE);
      break;
    default:
      out.append(text);
      break;
  }
}

std::string EncodeText(std::string_view text, TTextEncoding encoding, std::string_view tail) {
  std::string out(ByteOrderMark(encoding));
  AppendEncodedText(out, text, encoding);
  out.append(tail);
  return out;
}
