#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/CodePage1252.h"
#include "platform/UnicodeProperties.h"
#include "platform/Utf8.h"
#include "platform/Utf8CodePage.h"
#include "support/DoubleByteCodePage.h"

namespace {

// The characters of a line as the forward walk finds them: (length, cells).
std::vector<std::pair<std::size_t, int>> Chars(const ICodePage& cp, std::string_view s) {
  std::vector<std::pair<std::size_t, int>> out;
  for (std::size_t i = 0; i < s.size(); i += cp.CharLength(s, i))
    out.emplace_back(cp.CharLength(s, i), cp.CharCells(s, i));
  return out;
}

using Walk = std::vector<std::pair<std::size_t, int>>;

TEST(CodePageCharacters, Utf8CharactersTheirLengthsAndCells) {
  struct Case {
    const char* what;
    std::string text;
    Walk chars;
  } cases[] = {
      {"ASCII", "ab", {{1, 1}, {1, 1}}},
      {"accented and wide", "\xC3\xA9\xE3\x81\x93", {{2, 1}, {3, 2}}},
      {"emoji outside the BMP", "\xF0\x9F\x98\x80x", {{4, 2}, {1, 1}}},
      {"combining marks join the letter", "e\xCC\x81\xCC\xA3z", {{5, 1}, {1, 1}}},
      {"a mark after a tab stands alone", "\t\xCC\x81", {{1, 1}, {2, 1}}},
      {"malformed bytes are one-cell characters",
       "\xE3\x81z\xFF",
       {{1, 1}, {1, 1}, {1, 1}, {1, 1}}},
      {"no mark joins a malformed byte", "\xFF\xCC\x81", {{1, 1}, {2, 1}}},
      {"lone surrogate from UTF-16 is one character",
       "\xED\xA0\x80"
       "a",
       {{3, 1}, {1, 1}}},
      {"full-width letter", "\xEF\xBC\xA1", {{3, 2}}},
  };
  const ICodePage& cp = Utf8CodePage();
  for (const Case& c : cases) EXPECT_EQ(Chars(cp, c.text), c.chars) << c.what;
}

// The lead-byte test that spares the decoding of the character after a
// wide one must let every combining mark of the tables through; and a wide
// character with each code point after it is measured, drawn and started as
// the full decoding would.
TEST(CodePageCharacters, EveryCodePointAfterAWideCharacter) {
  const ICodePage& cp = Utf8CodePage();
  const std::string wide = "\xE6\x97\xA5";
  int failures = 0;
  for (char32_t c = 0x80; c <= 0x10FFFF && failures < 5; ++c) {
    std::string text = wide;
    AppendUtf8(text, c);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const bool mark = CodePointCells(c) == 0;
    std::u16string units = u"\u65E5";
    if (mark) AppendUtf8AsUtf16(units, text.substr(3));
    std::u16string drawn;
    int cells = 0;
    const std::size_t length = cp.AppendCharAsUtf16(text, 0, cells, drawn);
    const bool ok = (!mark || MayStartCombiningMark(bytes + 3, text.size() - 3)) &&
                    length == (mark ? text.size() : 3) && cells == 2 && drawn == units &&
                    cp.CharLength(text, 0) == length && cp.CharStart(text, 3) == (mark ? 0U : 3U);
    if (!ok) {
      ++failures;
      ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
    }
  }
}

TEST(CodePageCharacters, DoubleByteAndSingleByteCharacters) {
  const TDoubleByteCodePage dbcs;
  EXPECT_EQ(Chars(dbcs, "a\x82\xA0\x82"), (Walk{{1, 1}, {2, 2}, {1, 1}}));
  EXPECT_EQ(Chars(DefaultCodePage(), "\xE9\x82\xA0"), (Walk{{1, 1}, {1, 1}, {1, 1}}));
}

// Whichever byte it is asked about, CharStart finds the start the forward walk
// gives; DBCS runs of lead-valued bytes and UTF-8 mark chains are the hard cases.
TEST(CodePageCharacters, CharStartAgreesWithTheForwardWalkOnRandomText) {
  const TDoubleByteCodePage dbcs;
  struct Source {
    const ICodePage* cp;
    std::vector<std::string> pieces;
  } sources[] = {
      {&Utf8CodePage(),
       {"a", "\t", "\xC3\xA9", "\xE3\x81\x93", "\xF0\x9F\x98\x80", "\xCC\x81", "\xE2\x83\x9D",
        "\xFF", "\x80", "\xE3\x81", "\xED\xB0\x80", "\x01"}},
      {&dbcs, {"a", "\x82\xA0", "\x82\x82", "\x82", "\xB0", "\x41"}},
  };
  std::mt19937 rng(11);
  for (const Source& src : sources) {
    for (int round = 0; round < 400; ++round) {
      std::string s;
      const int n = static_cast<int>(rng() % 12);
      for (int k = 0; k < n; ++k) s += src.pieces[rng() % src.pieces.size()];
      std::size_t start = 0;
      long long cells = 0;  // of the characters before `start`, tabs to stops of 4
      for (std::size_t i = 0; i < s.size(); ++i) {
        if (i == start + src.cp->CharLength(s, start)) {
          cells += s[start] == '\t' ? 4 - cells % 4 : src.cp->CharCells(s, start);
          start = i;
        }
        ASSERT_EQ(src.cp->CharStart(s, i), start) << "byte " << i << " round " << round;
        // Walking in one call ends at the same boundary with the same cells.
        long long walked = 0;
        ASSERT_EQ(src.cp->WalkCells(s, 0, i, 4, walked),
                  i == start ? i : start + src.cp->CharLength(s, start));
        ASSERT_EQ(walked, i == start ? cells
                                     : cells + (s[start] == '\t' ? 4 - cells % 4
                                                                 : src.cp->CharCells(s, start)))
            << "byte " << i << " round " << round;
      }
    }
  }
}

TEST(CodePageCharacters, WordCharactersCaseAndConversions) {
  const ICodePage& u = Utf8CodePage();
  EXPECT_TRUE(u.IsWordCharAt("\xC3\xA9", 0));
  EXPECT_TRUE(u.IsWordCharAt("_", 0));
  EXPECT_FALSE(u.IsWordCharAt("\xE3\x80\x81", 0));  // ideographic comma
  EXPECT_EQ(u.MapCase("stra\xC3\x9F"
                      "e \xC3\x89t\xC3\xA9",
                      TCaseMapping::Upper),
            "STRA\xC3\x9F"
            "E \xC3\x89T\xC3\x89");
  EXPECT_EQ(u.MapCase("\xC3\x89T\xC3\xA9 \xE2\x84\xAA", TCaseMapping::Toggle),
            "\xC3\xA9t\xC3\x89 k");
  EXPECT_EQ(u.MapCase("\xCE\xA3\xCF\x82", TCaseMapping::Fold), "\xCF\x83\xCF\x83");
  EXPECT_EQ(DefaultCodePage().MapCase("\x9A\xC9X", TCaseMapping::Title), "\x8A\xE9x");
  // Text moving between a Western ANSI document and a Unicode one.
  std::size_t lost = 9;
  EXPECT_EQ(ConvertText("\x80 caf\xE9", DefaultCodePage(), u, &lost), "\xE2\x82\xAC caf\xC3\xA9");
  EXPECT_EQ(lost, 0u);
  EXPECT_EQ(ConvertText("\xE2\x82\xAC\xE3\x81\x93\xF0\x9F\x98\x80", u, DefaultCodePage(), &lost),
            "\x80??");
  EXPECT_EQ(lost, 2u);
  EXPECT_EQ(u.CodePointAt("\xF0\x9F\x98\x80", 0), U'\U0001F600');
  EXPECT_EQ(DefaultCodePage().CodePointAt("\x80", 0), U'\u20AC');
}

}  // namespace
