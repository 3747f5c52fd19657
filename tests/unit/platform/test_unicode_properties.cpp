#include <gtest/gtest.h>

#include <cstdint>

#include "platform/UnicodeProperties.h"

namespace {

using C = TCharClass;

TEST(UnicodeProperties, CellsClassesAndCaseOfSampleCharacters) {
  struct Case {
    const char* what;
    char32_t cp;
    int cells;
    TCharClass cls;
    char32_t fold, upper, lower;
  } cases[] = {
      {"ASCII letter", U'a', 1, C::Letter, U'a', U'A', U'a'},
      {"accented capital", 0xC9, 1, C::Letter, 0xE9, 0xC9, 0xE9},
      {"y diaeresis has its capital far away", 0xFF, 1, C::Letter, 0xFF, 0x178, 0xFF},
      {"sharp s has no simple capital", 0xDF, 1, C::Letter, 0xDF, 0xDF, 0xDF},
      {"capital sharp s folds to sharp s", 0x1E9E, 1, C::Letter, 0xDF, 0x1E9E, 0xDF},
      {"A macron, alternating block", 0x100, 1, C::Letter, 0x101, 0x100, 0x101},
      {"title-case dz", 0x1C5, 1, C::Letter, 0x1C6, 0x1C4, 0x1C6},
      {"final sigma folds to sigma", 0x3C2, 1, C::Letter, 0x3C3, 0x3A3, 0x3C2},
      {"Kelvin sign", 0x212A, 1, C::Letter, U'k', 0x212A, U'k'},
      {"combining acute", 0x301, 0, C::Mark, 0x301, 0x301, 0x301},
      {"hiragana a", 0x3042, 2, C::Letter, 0x3042, 0x3042, 0x3042},
      {"half-width katakana", 0xFF71, 1, C::Letter, 0xFF71, 0xFF71, 0xFF71},
      {"full-width capital A", 0xFF21, 2, C::Letter, 0xFF41, 0xFF21, 0xFF41},
      {"ideographic space", 0x3000, 2, C::Space, 0x3000, 0x3000, 0x3000},
      {"emoji", 0x1F600, 2, C::Other, 0x1F600, 0x1F600, 0x1F600},
      {"unassigned in plane 2 is wide", 0x2FFFD, 2, C::Other, 0x2FFFD, 0x2FFFD, 0x2FFFD},
      {"Arabic-Indic digit three", 0x663, 1, C::Digit, 0x663, 0x663, 0x663},
      {"superscript two", 0xB2, 1, C::Number, 0xB2, 0xB2, 0xB2},
      {"underscore", U'_', 1, C::Connector, U'_', U'_', U'_'},
      {"tab", U'\t', 1, C::Space, U'\t', U'\t', U'\t'},
      {"hyphen", U'-', 1, C::Other, U'-', U'-', U'-'},
      {"private use", 0xE000, 1, C::Other, 0xE000, 0xE000, 0xE000},
      {"Deseret capital (outside the BMP)", 0x10400, 1, C::Letter, 0x10428, 0x10400, 0x10428},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CodePointCells(c.cp), c.cells) << c.what;
    EXPECT_EQ(CodePointClass(c.cp), c.cls) << c.what;
    EXPECT_EQ(static_cast<std::uint32_t>(SimpleCaseFold(c.cp)), static_cast<std::uint32_t>(c.fold))
        << c.what;
    EXPECT_EQ(static_cast<std::uint32_t>(SimpleUpperCase(c.cp)),
              static_cast<std::uint32_t>(c.upper))
        << c.what;
    EXPECT_EQ(static_cast<std::uint32_t>(SimpleLowerCase(c.cp)),
              static_cast<std::uint32_t>(c.lower))
        << c.what;
    EXPECT_EQ(IsWordCodePoint(c.cp), c.cls != C::Other && c.cls != C::Space) << c.what;
  }
}

TEST(UnicodeProperties, FoldingIsStableAndCaseMappingsStayInRange) {
  for (char32_t cp = 0; cp < 0x20000; ++cp) {  // every cased letter lies below
    const char32_t f = SimpleCaseFold(cp);
    const auto at = static_cast<std::uint32_t>(cp);
    ASSERT_EQ(SimpleCaseFold(f), f) << std::hex << at;
    ASSERT_LE(static_cast<std::uint32_t>(SimpleUpperCase(cp)), 0x10FFFFu) << std::hex << at;
    ASSERT_LE(static_cast<std::uint32_t>(SimpleLowerCase(cp)), 0x10FFFFu) << std::hex << at;
  }
}

}  // namespace
