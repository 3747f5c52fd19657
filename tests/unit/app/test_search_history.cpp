#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/SearchHistory.h"
#include "platform/CodePage1252.h"
#include "support/DoubleByteCodePage.h"

namespace {

using Entries = std::vector<std::string>;

Entries Numbered(int count) {
  Entries entries;
  for (int i = 1; i <= count; ++i) entries.push_back("item" + std::to_string(i));
  return entries;
}

TEST(SearchHistory, TextBecomesEntries) {
  struct Case {
    const char* name;
    std::string text;
    Entries entries;
  } cases[] = {
      {"empty text", "", {}},
      {"one line", "sendln", {"sendln"}},
      {"CR LF separated", "wait\r\nsendln\r\nif", {"wait", "sendln", "if"}},
      {"break at the end adds nothing", "wait\r\nsendln\r\n", {"wait", "sendln"}},
      {"empty line in the middle is kept", "a\r\n\r\nb", {"a", "", "b"}},
      {"lone LF and CR also break", "a\nb\rc", {"a", "b", "c"}},
      {"spaces are part of the entry", " x y \r\n", {" x y "}},
  };
  for (const auto& c : cases) EXPECT_EQ(HistoryEntries(c.text), c.entries) << c.name;
}

TEST(SearchHistory, EntriesBecomeTextOfAtMostTen) {
  struct Case {
    const char* name;
    Entries entries;
    std::string text;
  } cases[] = {
      {"no entries", {}, ""},
      {"one entry, no trailing break", {"x"}, "x"},
      {"three entries", {"a", "b", "c"}, "a\r\nb\r\nc"},
      {"exactly ten", Numbered(10),
       "item1\r\nitem2\r\nitem3\r\nitem4\r\nitem5\r\nitem6\r\nitem7\r\nitem8\r\nitem9\r\nitem10"},
      {"twelve give the first ten", Numbered(12),
       "item1\r\nitem2\r\nitem3\r\nitem4\r\nitem5\r\nitem6\r\nitem7\r\nitem8\r\nitem9\r\nitem10"},
  };
  for (const auto& c : cases) EXPECT_EQ(HistoryText(c.entries), c.text) << c.name;
}

TEST(SearchHistory, TextSurvivesTheRoundTrip) {
  const std::string text = "wait\r\n\r\nsendln 'x'";
  EXPECT_EQ(HistoryText(HistoryEntries(text)), text);
  // A history read back from twelve entries opens next time with ten.
  EXPECT_EQ(HistoryEntries(HistoryText(Numbered(12))).size(), 10u);
}

TEST(SearchHistory, ConfirmedTextGoesToTheTop) {
  const TCodePage1252 cp;
  struct Case {
    const char* name;
    Entries before;
    std::string text;
    Entries after;
  } cases[] = {
      {"new text on an empty list", {}, "wait", {"wait"}},
      {"new text goes first", {"a", "b"}, "c", {"c", "a", "b"}},
      {"known text moves to the top", {"a", "b", "c"}, "c", {"c", "a", "b"}},
      {"text already on top stays alone", {"a", "b"}, "a", {"a", "b"}},
      {"other letter case replaces the old entry",
       {"x", "SendLn", "y"},
       "sendln",
       {"sendln", "x", "y"}},
      {"empty text changes nothing", {"a", "b"}, "", {"a", "b"}},
      {"prefix is not a match", {"sendln"}, "send", {"send", "sendln"}},
      {"accented capitals fold by the code page", {"\xC9T\xC9"}, "\xE9t\xE9", {"\xE9t\xE9"}},
      {"the list is not cut here",
       Numbered(10),
       "new",
       {"new", "item1", "item2", "item3", "item4", "item5", "item6", "item7", "item8", "item9",
        "item10"}},
  };
  for (const auto& c : cases) {
    Entries entries = c.before;
    RememberInHistory(entries, c.text, cp);
    EXPECT_EQ(entries, c.after) << c.name;
  }
}

TEST(SearchHistory, DoubleByteTrailBytesAreNotFolded) {
  // In a double-byte code page "\x82" "A" and "\x82" "a" are two different
  // characters; folding byte by byte would wrongly merge them.
  const TDoubleByteCodePage cp;
  Entries entries = {
      "\x82"
      "a"};
  RememberInHistory(entries,
                    "\x82"
                    "A",
                    cp);
  EXPECT_EQ(entries, (Entries{"\x82"
                              "A",
                              "\x82"
                              "a"}));
  // Their ASCII letters still fold.
  RememberInHistory(entries,
                    "\x82"
                    "aX",
                    cp);
  RememberInHistory(entries,
                    "\x82"
                    "ax",
                    cp);
  EXPECT_EQ(entries, (Entries{"\x82"
                              "ax",
                              "\x82"
                              "A",
                              "\x82"
                              "a"}));
}

}  // namespace
