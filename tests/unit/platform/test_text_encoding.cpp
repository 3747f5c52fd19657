#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/TextEncoding.h"
#include "platform/Utf8.h"

namespace {

using E = TTextEncoding;
using namespace std::string_literals;

struct Case {
  const char* what;
  std::string bytes;
  E encoding;
  std::string text;  // as the document holds it
  std::string tail = {};
};

// Every file the editor may be given, with the encoding the interpreter would
// read it in and the text the document holds.
const Case kFiles[] = {
    {"empty file", "", E::Ansi, ""},
    {"pure ASCII is ANSI", "sendln 'hi'\r\n", E::Ansi, "sendln 'hi'\r\n"},
    {"valid UTF-8 without BOM", "sendln '\xE3\x81\x93'\r\n", E::Utf8, "sendln '\xE3\x81\x93'\r\n"},
    {"four-byte UTF-8 (emoji)", "a\xF0\x9F\x98\x80", E::Utf8, "a\xF0\x9F\x98\x80"},
    {"one ANSI byte makes it ANSI", "caf\xE9 \xE3\x81\x93", E::Ansi, "caf\xE9 \xE3\x81\x93"},
    {"truncated sequence at the end", "ok \xE3\x81", E::Ansi, "ok \xE3\x81"},
    {"overlong slash", "\xC0\xAF", E::Ansi, "\xC0\xAF"},
    {"overlong three-byte form", "\xE0\x80\xAF", E::Ansi, "\xE0\x80\xAF"},
    {"bytes F5-FF", "x\xF5\x80\x80\x80", E::Ansi, "x\xF5\x80\x80\x80"},
    {"above U+10FFFF", "\xF4\x90\x80\x80", E::Ansi, "\xF4\x90\x80\x80"},
    {"encoded surrogate without BOM", "\xED\xA0\x80", E::Ansi, "\xED\xA0\x80"},
    {"UTF-8 BOM only", "\xEF\xBB\xBF", E::Utf8Bom, ""},
    {"UTF-8 BOM and text", "\xEF\xBB\xBFsend '\xC3\xA9'", E::Utf8Bom, "send '\xC3\xA9'"},
    {"UTF-8 BOM then malformed bytes kept", "\xEF\xBB\xBF\xE9t\xE9\xFF", E::Utf8Bom,
     "\xE9t\xE9\xFF"},
    {"UTF-16 LE BOM only", "\xFF\xFE", E::Utf16LE, ""},
    {"UTF-16 LE",
     "\xFF\xFE"
     "a\0\r\0\n\0\x53\x30"s,
     E::Utf16LE, "a\r\n\xE3\x81\x93"},
    {"UTF-16 BE",
     "\xFE\xFF"
     "\0a\x30\x53"s,
     E::Utf16BE, "a\xE3\x81\x93"},
    {"UTF-16 LE surrogate pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, E::Utf16LE, "\xF0\x9F\x98\x80"},
    {"UTF-16 LE unpaired high surrogate",
     "\xFF\xFE\x3D\xD8"
     "a\0"s,
     E::Utf16LE,
     "\xED\xA0\xBD"
     "a"},
    {"UTF-16 BE unpaired low surrogate at the end", "\xFE\xFF\0a\xDE\x00"s, E::Utf16BE,
     "a\xED\xB8\x80"},
    {"UTF-16 reversed pair stays two units", "\xFF\xFE\x00\xDE\x3D\xD8"s, E::Utf16LE,
     "\xED\xB8\x80\xED\xA0\xBD"},
    {"UTF-16 odd byte count keeps the last byte",
     "\xFF\xFE"
     "a\0b"s,
     E::Utf16LE, "a", "b"},
    {"UTF-16 BOM and one byte", "\xFE\xFF\x41", E::Utf16BE, "", "\x41"},
    {"NUL characters inside UTF-16",
     "\xFF\xFE"
     "a\0\0\0b\0"s,
     E::Utf16LE, "a\0b"s},
};

TEST(TextEncoding, FilesAreReadAsTheInterpreterReadsThemAndWrittenBackByteForByte) {
  for (const Case& c : kFiles) {
    EXPECT_EQ(DetectTextEncoding(c.bytes), c.encoding) << c.what;
    const TDecodedText d = DecodeText(c.bytes);
    EXPECT_EQ(d.Encoding, c.encoding) << c.what;
    EXPECT_EQ(d.Text, c.text) << c.what;
    EXPECT_EQ(d.Tail, c.tail) << c.what;
    EXPECT_EQ(EncodeText(d.Text, d.Encoding, d.Tail), c.bytes) << c.what;
  }
}

TEST(TextEncoding, RandomUtf16FilesRoundTripIncludingLoneSurrogates) {
  std::mt19937 rng(7);
  const char16_t pool[] = {u'a',   u'\r',  u'\n',  0,      0xE9,   0x3053,
                           0xD83D, 0xDE00, 0xDBFF, 0xDC00, 0xFFFF, 0xFEFF};
  for (int round = 0; round < 300; ++round) {
    for (E e : {E::Utf16LE, E::Utf16BE}) {
      std::string bytes(ByteOrderMark(e));
      const int n = static_cast<int>(rng() % 40);
      for (int k = 0; k < n; ++k) {
        const char16_t u = pool[rng() % std::size(pool)];
        const char a = static_cast<char>(u >> 8), b = static_cast<char>(u & 0xFF);
        bytes += e == E::Utf16BE ? std::string{a, b} : std::string{b, a};
      }
      if (rng() % 4 == 0) bytes += 'z';
      const TDecodedText d = DecodeText(bytes);
      ASSERT_EQ(d.Encoding, e);
      ASSERT_EQ(EncodeText(d.Text, d.Encoding, d.Tail), bytes) << "round " << round;
    }
  }
}

TEST(TextEncoding, ConversionsBetweenUtf8AndUtf16) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xE3\x81\x93\xF0\x9F\x98\x80"),
            (std::u16string{u'a', 0xE9, 0x3053, 0xD83D, 0xDE00}));
  std::size_t replaced = 0;
  EXPECT_EQ(Utf8ToUtf16("x\xFF\xE3\x81", &replaced),
            (std::u16string{u'x', 0xFFFD, 0xFFFD, 0xFFFD}));
  EXPECT_EQ(replaced, 3u);
  const std::u16string lone{0xD800, u'a', 0xDFFF};
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(lone)), lone);
  // Text converted to UTF-16 for a document written in UTF-16 loses nothing.
  EXPECT_EQ(EncodeText("\xC3\xA9", E::Utf16BE), "\xFE\xFF\x00\xE9"s);
  EXPECT_EQ(TextEncodingName(E::Utf8Bom), "UTF-8 BOM");
}

}  // namespace
