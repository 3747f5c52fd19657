#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage1252.h"
#include "search/EditorRegexSearch.h"
#include "search/EditorSearch.h"
#include "support/DoubleByteCodePage.h"

namespace {

std::vector<int> Columns(TEditorSearchCustom& engine, std::string_view line) {
  std::vector<int> columns;
  const int count = engine.FindAllInLine(line);
  for (int k = 0; k < count; ++k) columns.push_back(engine.ResultAt(k));
  return columns;
}

}  // namespace

TEST(CodePage1252, LowerCaseAndLetters) {
  const TCodePage1252 cp;
  struct Case {
    unsigned char upper;
    unsigned char lower;
  } pairs[] = {{'A', 'a'},   {'Z', 'z'},   {0xC0, 0xE0}, {0xC9, 0xE9}, {0xDE, 0xFE},
               {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}};
  for (const auto& p : pairs) {
    char c = static_cast<char>(p.upper);
    cp.LowerBuffer(&c, 1);
    EXPECT_EQ(static_cast<unsigned char>(c), p.lower) << int(p.upper);
  }
  // Bytes without a capital form stay as they are.
  for (int b : {0xD7, 0xDF, 0xB5, 0xF7, 0x80, int{'1'}, int{'_'}}) {
    char c = static_cast<char>(b);
    cp.LowerBuffer(&c, 1);
    EXPECT_EQ(static_cast<unsigned char>(c), b) << b;
  }
  for (int b : {int{'a'}, int{'Z'}, int{'0'}, 0xE9, 0xC0, 0xFF, 0x8A, 0xAA, 0xB5, 0xBA, 0xDF}) {
    EXPECT_TRUE(cp.IsAlphaNumeric(static_cast<unsigned char>(b))) << b;
  }
  for (int b : {int{' '}, int{'_'}, int{'('}, 0xD7, 0xF7, 0xA7, 0x80, 0xA0, 0xBF, 0x00}) {
    EXPECT_FALSE(cp.IsAlphaNumeric(static_cast<unsigned char>(b))) << b;
  }
  EXPECT_FALSE(cp.IsLeadByte(0x81));
  std::string buffer = "\xC9T\xC9 Send";
  cp.LowerBuffer(buffer.data(), buffer.size());
  EXPECT_EQ(buffer, "\xE9t\xE9 send");
}

TEST(CodePage1252, EnginesFoldAndBoundWordsByTheCodePage) {
  TEditorSearch plain;
  plain.SetPattern("\xC9T\xC9");  // ETE with acute accents
  EXPECT_EQ(Columns(plain, "l'\xE9t\xE9 \xC9T\xC9"), (std::vector<int>{3, 7}));
  plain.SetWholeWord(true);
  plain.SetPattern("wait");
  // An accented letter continues the word; the section sign does not.
  EXPECT_EQ(Columns(plain, "wait\xE9 wait\xA7"), (std::vector<int>{7}));

  TEditorRegexSearch regex;
  regex.SetOptions({});
  regex.SetPattern("\xC9T\xC9");
  EXPECT_EQ(Columns(regex, "l'\xE9t\xE9"), (std::vector<int>{3}));
  regex.SetPattern("[\xC0-\xDE]+");
  EXPECT_EQ(Columns(regex, "ab\xE9\xE8z"), (std::vector<int>{3}));
  regex.SetOptions({TSearchOption::MatchCase});
  EXPECT_EQ(Columns(regex, "ab\xE9\xE8z"), (std::vector<int>{}));
}

TEST(DoubleByteCodePage, LowerCasingSkipsWholeCharacters) {
  const TDoubleByteCodePage cp;
  std::string text =
      "A\x83\x41"
      "B\x82";
  cp.LowerBuffer(text.data(), text.size());
  EXPECT_EQ(text,
            "a\x83\x41"
            "b\x82");  // the trail byte 0x41 keeps its value
  TEditorSearch engine(cp);
  EXPECT_EQ(engine.FoldTable()[0x83], 0x83);
  EXPECT_EQ(engine.FoldTable()['A'], 'a');
}

TEST(DoubleByteCodePage, PlainSearchNeverStartsOrFoldsInsideACharacter) {
  const TDoubleByteCodePage cp;
  struct Case {
    std::string pattern;
    bool whole_word;
    std::string line;
    std::vector<int> columns;
  } cases[] = {
      // 0x83 0x41 is one character whose second byte looks like 'A'.
      {"a", false, "\x83\x41", {}},
      {"a",
       false,
       "\x83\x41"
       "a",
       {3}},
      // 0x83 0x83 is one character; the following 0x41 is a real 'A'.
      {"a", false, "\x83\x83\x41", {3}},
      {"\x83\x41", false, "\x83\x61 \x83\x41", {4}},
      {"\x83\x41", false, "\x83\x83\x41", {}},
      {"\x83", false, "\x83\x41", {}},  // half a character
      // A double-byte character is not a word byte, even with an 'A' as its second half.
      {"ab",
       true,
       "\x83\x41"
       "ab",
       {3}},
      {"ab",
       true,
       "\xB1"
       "ab",
       {}},  // a half-width letter is
  };
  for (const auto& c : cases) {
    TEditorSearch engine(cp);
    engine.SetWholeWord(c.whole_word);
    engine.SetPattern(c.pattern);
    EXPECT_EQ(Columns(engine, c.line), c.columns) << c.pattern << " in " << c.line;
  }
}

TEST(DoubleByteCodePage, RegexMatchesStartOnCharacters) {
  const TDoubleByteCodePage cp;
  struct Case {
    std::string pattern;
    std::string line;
    std::vector<int> columns;
  } cases[] = {
      {"a",
       "\x83\x41"
       "a",
       {3}},
      {"A+",
       "\x83\x41"
       "AA",
       {3}},
      {"\\x83\\x41", "\x83\x61\x83\x41", {3}},
      {"\x83\x41", "\x83\x61\x83\x41", {3}},
      {"[A-Z]",
       "\x83\x41"
       "B",
       {3}},
  };
  for (const auto& c : cases) {
    TEditorRegexSearch engine(cp);
    engine.SetOptions({});
    engine.SetPattern(c.pattern);
    EXPECT_EQ(Columns(engine, c.line), c.columns) << c.pattern << " in " << c.line;
  }
}
