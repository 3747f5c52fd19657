#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/EditorTextBuffer.h"

namespace {

using namespace std::string_literals;

// Expansion as a person would do it: every tab fills up to the next tab stop.
std::string ExpandByHand(const std::string& line, int width) {
  std::string out;
  for (char c : line) {
    if (c != '\t') {
      out += c;
    } else if (width == 1) {
      out += ' ';
    } else {
      do out += '\t';
      while (out.size() % static_cast<size_t>(width) != 0);
    }
  }
  return out;
}

std::string RandomLine(std::mt19937& rng) {
  static const char kChars[] = {'a', 'b', '\t', ' ', '\0', 'z'};
  std::string line(rng() % 40, 'a');
  for (char& c : line) c = kChars[rng() % sizeof kChars];
  return line;
}

}  // namespace

TEST(TabExpansion, TabsReachTheNextTabStop) {
  struct Case {
    std::string line;
    int width;
    std::string expanded;
  } cases[] = {
      {"a\tb", 4, "a\t\t\tb"},
      {"a\tb", 1, "a b"},
      {"a\tb", 3, "a\t\tb"},
      {"\t", 8, std::string(8, '\t')},
      {"ab\t\tc", 4, "ab\t\t\t\t\t\tc"},
      {"abcd\t", 4, "abcd\t\t\t\t"},
      {"abc\tx\t", 5, "abc\t\tx\t\t\t\t"},
      {"no tabs here", 4, "no tabs here"},
      {"", 4, ""},
      {"a\0\tb"s, 4, "a\0\t\tb"s},  // a NUL is an ordinary character
      {"\t\t", 16, std::string(32, '\t')},
      {"\t\t", 1, "  "},
  };
  for (const auto& c : cases) {
    TEditorStringList list;
    list.SetTabWidth(c.width);
    list.Add(c.line);
    EXPECT_EQ(list.GetExpandedLine(0), c.expanded) << c.width;
    EXPECT_EQ(list.GetExpandedLength(0), static_cast<int>(c.expanded.size())) << c.width;
  }
}

TEST(TabExpansion, AllThreeRoutinesAgreeWithExpansionByHand) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    const std::string line = RandomLine(rng);
    const int widths[] = {1, 2, 3, 4, 5, 7, 8, 16, 256};
    for (int w : widths) {
      std::string out;
      bool has_tabs = true;
      const std::string expanded(ExpandTabsRoutineFor(w)(line, w, out, has_tabs));
      ASSERT_EQ(expanded, ExpandByHand(line, w)) << "width " << w;
      EXPECT_EQ(has_tabs, line.find('\t') != std::string::npos);
      if (w > 1) {
        std::string general;
        EXPECT_EQ(std::string(ExpandTabsGeneral(line, w, general, has_tabs)), expanded);
      }
    }
  }
  EXPECT_EQ(ExpandTabsRoutineFor(1), &ExpandTabsWidth1);
  EXPECT_EQ(ExpandTabsRoutineFor(65536), &ExpandTabsPowerOfTwo);
  EXPECT_EQ(ExpandTabsRoutineFor(6), &ExpandTabsGeneral);
}

TEST(TabExpansion, CachedLengthMatchesTheExpandedLine) {
  std::mt19937 rng(11);
  TEditorStringList list;
  for (int i = 0; i < 300; ++i) list.Add(RandomLine(rng));
  for (int w : {1, 3, 4, 8, 10}) {
    list.SetTabWidth(w);
    for (int i = 0; i < list.Count(); ++i) {
      // Length first (computed without building the line), then the line itself.
      const int length = list.GetExpandedLength(i);
      ASSERT_EQ(length, static_cast<int>(ExpandByHand(list.GetLine(i), w).size()));
      ASSERT_EQ(list.GetExpandedLine(i), ExpandByHand(list.GetLine(i), w));
      ASSERT_EQ(list.GetExpandedLength(i), length);
    }
  }
}

TEST(TabExpansion, ExpandingFillsTheLineCacheAndFlags) {
  TEditorStringList list;
  list.SetTabWidth(4);
  list.Add("a\tb");
  list.Add("plain");
  list.Add("");
  for (int i = 0; i < 3; ++i) list.GetExpandedLine(i);
  EXPECT_EQ(list.Record(0).Flags, TEditorStringRec::TabsFound);
  EXPECT_EQ(list.Record(0).ExpandedLength, 5);
  EXPECT_EQ(list.Record(1).Flags, TEditorStringRec::NoTabs);
  EXPECT_EQ(list.Record(1).ExpandedLength, 5);
  EXPECT_EQ(list.Record(2).Flags, TEditorStringRec::NoTabs);
  EXPECT_EQ(list.Record(2).ExpandedLength, 0);
}

TEST(TabExpansion, ALineWithoutTabsIsNotCopied) {
  TEditorStringList list;
  list.LoadFromBuffer("a line long enough to live outside any small-string buffer\nx\ty");
  std::string scratch;
  for (int pass = 0; pass < 2; ++pass) {  // before and after the cache knows NoTabs
    std::string_view view = list.ExpandedLineView(0, scratch);
    EXPECT_EQ(view.data(), list.LineView(0).data());
    EXPECT_TRUE(scratch.empty());
  }
  EXPECT_EQ(list.ExpandedLineView(1, scratch), "x\t\t\t\t\t\t\ty");
  EXPECT_EQ(list.ExpandedLineView(1, scratch).data(), scratch.data());
}

TEST(TabExpansion, ChangingTheTabWidthMakesEveryCachedLengthStale) {
  TEditorStringList list;
  list.Add("\t\tx");
  list.Add("abc");
  list.SetTabWidth(4);
  EXPECT_EQ(list.LongestLineLength(), 9);
  list.GetExpandedLine(1);
  list.SetTabWidth(4);  // same width: nothing changes
  EXPECT_EQ(list.Record(1).Flags, TEditorStringRec::NoTabs);
  list.SetTabWidth(8);
  for (int i = 0; i < list.Count(); ++i) {
    EXPECT_EQ(list.Record(i).ExpandedLength, -1) << i;
    EXPECT_TRUE(list.Record(i).Flags & TEditorStringRec::LengthStale) << i;
    EXPECT_FALSE(list.Record(i).Flags & TEditorStringRec::NoTabs) << i;
  }
  EXPECT_EQ(list.LongestLineLength(), 17);
  list.SetTabWidth(0);  // out of range widths are held at 1
  EXPECT_EQ(list.TabWidth(), 1);
  EXPECT_EQ(list.LongestLineLength(), 3);
}

TEST(LongestLine, FollowsChangesOfTheLines) {
  TEditorStringList list;
  EXPECT_EQ(list.LongestLineLength(), 0);
  list.Add("");
  list.Add("");
  EXPECT_EQ(list.LongestLineLength(), 0);
  list.SetLine(1, "abcdef");
  EXPECT_EQ(list.LongestLineLength(), 6);
  list.Insert(0, "xy");  // the longest line moves down a place
  EXPECT_EQ(list.LongestLineLength(), 6);
  list.Add("abcdefghij");
  EXPECT_EQ(list.LongestLineLength(), 10);
  list.Delete(3);
  EXPECT_EQ(list.LongestLineLength(), 6);
  list.InsertEmptyLines(0, 3);
  EXPECT_EQ(list.LongestLineLength(), 6);
  list.DeleteLineRange(3, 3);  // the longest line goes, only empty lines stay
  EXPECT_EQ(list.LongestLineLength(), 0);
}

TEST(LongestLine, ExchangeKeepsTheLongestLineLengthRight) {
  TEditorStringList list;
  for (const char* s : {"ab", "abcdefgh", "abc", "a"}) list.Add(s);
  EXPECT_EQ(list.LongestLineLength(), 8);
  list.Exchange(1, 3);  // the longest line moves from 1 to 3
  EXPECT_EQ(list.GetLine(1), "a");
  EXPECT_EQ(list.LongestLineLength(), 8);
  list.Exchange(0, 3);  // ...and to 0
  EXPECT_EQ(list.LongestLineLength(), 8);
  list.Exchange(2, 3);  // two other lines: no effect
  EXPECT_EQ(list.LongestLineLength(), 8);
  EXPECT_EQ(list.GetLine(0), "abcdefgh");
}
