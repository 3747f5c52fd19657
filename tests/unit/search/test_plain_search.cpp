#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage1252.h"
#include "platform/Exception.h"
#include "search/EditorSearch.h"

namespace {

// A code page in which five bytes lower-case to 'a': too many forms of one
// byte for the block scan, so the engine falls back to its skip-table scan.
class TCrowdedCodePage final : public ICodePage {
 public:
  void LowerBuffer(char* text, std::size_t n) const override {
    DefaultCodePage().LowerBuffer(text, n);
    for (std::size_t i = 0; i < n; ++i) {
      if (text[i] >= '1' && text[i] <= '4') text[i] = 'a';
    }
  }
  bool IsAlphaNumeric(unsigned char c) const override {
    return DefaultCodePage().IsAlphaNumeric(c);
  }
  bool IsLeadByte(unsigned char) const override { return false; }
};

struct Found {
  std::vector<int> columns;
  std::vector<int> lengths;
};

Found FindAll(TEditorSearch& engine, std::string_view line) {
  Found found;
  const int count = engine.FindAllInLine(line);
  EXPECT_EQ(count, engine.ResultCount());
  for (int k = 0; k < count; ++k) {
    found.columns.push_back(engine.ResultAt(k));
    found.lengths.push_back(engine.LengthAt(k));
  }
  return found;
}

// Every start of the pattern in the line, compared through lower-casing, left to
// right and without overlap: what the table-driven scan must find.
std::vector<int> NaiveColumns(const std::string& pattern, const std::string& line, bool match_case,
                              const TEditorSearch& engine) {
  std::vector<int> columns;
  const auto& fold = engine.FoldTable();
  std::size_t k = 0;
  while (k + pattern.size() <= line.size()) {
    bool equal = true;
    for (std::size_t j = 0; j < pattern.size() && equal; ++j) {
      const auto a = static_cast<unsigned char>(pattern[j]);
      const auto b = static_cast<unsigned char>(line[k + j]);
      equal = match_case ? a == b : fold[a] == fold[b];
    }
    if (equal) {
      columns.push_back(static_cast<int>(k) + 1);
      k += pattern.size();
    } else {
      ++k;
    }
  }
  return columns;
}

}  // namespace

TEST(PlainSearch, FindsEveryOccurrenceLeftToRightWithoutOverlap) {
  struct Case {
    const char* pattern;
    const char* line;
    TSearchOptionSet options;
    std::vector<int> columns;
  } cases[] = {
      {"aa", "aaaa", {}, {1, 3}},
      {"aa", "aaaaa", {}, {1, 3}},
      {"Send", "send SEND sEnD Send", {}, {1, 6, 11, 16}},
      {"Send", "send SEND sEnD Send", {TSearchOption::MatchCase}, {16}},
      {"wait", "waitln wait", {TSearchOption::WholeWord}, {8}},
      {"wait", "waitln wait", {}, {1, 8}},
      {"wait", "wait_x", {TSearchOption::WholeWord}, {}},
      {"wait", "(wait)", {TSearchOption::WholeWord}, {2}},
      {"wait", "x=wait", {TSearchOption::WholeWord}, {3}},
      {"wait", "wait", {TSearchOption::WholeWord}, {1}},
      {"wait", "await wait2 wait", {TSearchOption::WholeWord}, {13}},
      {"longer than line", "short", {}, {}},
      {"x", "", {}, {}},
      {"abcab", "abcabcab abcab", {}, {1, 10}},
      {"'", "sendln 'a' 'b'", {}, {8, 10, 12, 14}},
      {"ln", "sendln", {}, {5}},
      {"s", "s", {}, {1}},
  };
  for (const auto& c : cases) {
    TEditorSearch engine;
    engine.SetOptions(c.options);
    engine.SetPattern(c.pattern);
    EXPECT_EQ(FindAll(engine, c.line).columns, c.columns) << c.pattern << " in " << c.line;
  }
}

TEST(PlainSearch, NulBytesAreOrdinaryBytesOfLineAndPattern) {
  TEditorSearch engine;
  engine.SetPattern(std::string("a\0b", 3));
  const std::string line("a\0b a\0B a\0b", 11);
  EXPECT_EQ(FindAll(engine, line).columns, (std::vector<int>{1, 5, 9}));
  engine.SetWholeWord(true);
  // NUL is a delimiter, so a NUL right after the occurrence ends the word.
  engine.SetPattern("ab");
  EXPECT_EQ(FindAll(engine, std::string("ab\0ab", 5)).columns, (std::vector<int>{1, 4}));
}

TEST(PlainSearch, EveryOccurrenceHasThePatternLength) {
  TEditorSearch engine;
  engine.SetPattern("wait");
  const Found found = FindAll(engine, "wait WAIT wait");
  EXPECT_EQ(found.lengths, (std::vector<int>{4, 4, 4}));
}

TEST(PlainSearch, ResultAtOutsideTheResultsIsZero) {
  TEditorSearch engine;
  engine.SetPattern("a");
  ASSERT_EQ(engine.FindAllInLine("a-a"), 2);
  EXPECT_EQ(engine.ResultAt(-1), 0);
  EXPECT_EQ(engine.ResultAt(2), 0);
  EXPECT_EQ(engine.ResultAt(1), 3);
}

TEST(PlainSearch, EmptyPatternIsAnError) {
  TEditorSearch engine;
  try {
    engine.FindAllInLine("anything");
    FAIL() << "no error for the empty pattern";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Pattern is empty");
  }
  engine.SetPattern("x");
  EXPECT_EQ(engine.FindAllInLine("x"), 1);
  engine.SetPattern("");
  EXPECT_THROW(engine.FindAllInLine("x"), Exception);
}

TEST(PlainSearch, ReplacementTextIsTheReplacementUnchanged) {
  TEditorSearch engine;
  engine.SetPattern("abc");
  EXPECT_EQ(engine.ReplacementText("abc", "x$1"), "x$1");
  EXPECT_EQ(engine.ReplacementText("abc", "\\$&"), "\\$&");
}

TEST(PlainSearch, TablesAreRebuiltOnlyWhenPatternOrCaseModeChanges) {
  TEditorSearch engine;
  EXPECT_FALSE(engine.CaseSensitive());
  EXPECT_EQ(engine.FoldTable()['S'], 's');
  engine.SetPattern("Send");
  engine.FindAllInLine("send");
  EXPECT_TRUE(engine.ShiftTableValid());

  engine.SetPattern("Send");  // the same text keeps the tables
  EXPECT_TRUE(engine.ShiftTableValid());
  engine.SetWholeWord(true);  // whole words do not touch them either
  EXPECT_TRUE(engine.ShiftTableValid());

  engine.SetCaseSensitive(true);
  EXPECT_FALSE(engine.ShiftTableValid());
  EXPECT_EQ(engine.FoldTable()['S'], 'S');
  EXPECT_EQ(engine.FindAllInLine("send Send"), 1);
  EXPECT_TRUE(engine.ShiftTableValid());

  engine.SetCaseSensitive(true);  // no change
  EXPECT_TRUE(engine.ShiftTableValid());
  engine.SetPattern("send");
  EXPECT_FALSE(engine.ShiftTableValid());
}

TEST(PlainSearch, SkipTableAndLookAtStep) {
  struct Case {
    const char* pattern;
    bool match_case;
    int look_at_step;
  } cases[] = {{"a", false, 1},    {"ab", false, 2},   {"aa", false, 1},   {"abca", false, 3},
               {"abcb", false, 2}, {"Send", false, 4}, {"Sens", false, 3}, {"Sens", true, 4}};
  for (const auto& c : cases) {
    TEditorSearch engine;
    engine.SetCaseSensitive(c.match_case);
    engine.SetPattern(c.pattern);
    engine.FindAllInLine("");
    EXPECT_EQ(engine.LookAtStep(), c.look_at_step) << c.pattern;
  }
  TEditorSearch engine;
  engine.SetPattern("abca");
  engine.FindAllInLine("");
  EXPECT_EQ(engine.ShiftTable()['a'], 1);  // the last byte
  EXPECT_EQ(engine.ShiftTable()['b'], 3);
  EXPECT_EQ(engine.ShiftTable()['c'], 2);
  EXPECT_EQ(engine.ShiftTable()['z'], 5);
}

TEST(PlainSearch, DelimitersAreEverythingButLettersDigitsAndUnderscore) {
  TEditorSearch engine;
  const auto& d = engine.DelimiterTable();
  for (unsigned char c : {'a', 'Z', '0', '9', '_'}) EXPECT_FALSE(d[c]) << c;
  for (unsigned char c : {' ', '(', '\'', '-', '\0', '\t', '$'}) EXPECT_TRUE(d[c]) << int(c);
}

TEST(PlainSearch, AgreesWithAStraightforwardScanOnGeneratedLines) {
  // Neither the skip tables nor the block scan may jump over an occurrence:
  // lines run from empty to several blocks long, so every way a line ends
  // within or after a block comes up.
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  const std::string alphabet =
      "abAB _\xE9\xC9"
      "1";
  const TCrowdedCodePage crowded;
  for (int round = 0; round < 8000; ++round) {
    std::string pattern, line;
    const int pattern_length = 1 + static_cast<int>(next() % 8);
    const int line_length = static_cast<int>(next() % 120);
    for (int k = 0; k < pattern_length; ++k) pattern += alphabet[next() % alphabet.size()];
    for (int k = 0; k < line_length; ++k) line += alphabet[next() % alphabet.size()];
    const bool match_case = next() % 2 == 0;
    const bool use_crowded = round % 2 == 1;
    TEditorSearch engine(use_crowded ? static_cast<const ICodePage&>(crowded) : DefaultCodePage());
    engine.SetCaseSensitive(match_case);
    engine.SetPattern(pattern);
    EXPECT_EQ(FindAll(engine, line).columns, NaiveColumns(pattern, line, match_case, engine))
        << "'" << pattern << "' in '" << line << "' case " << match_case << " crowded "
        << use_crowded;
  }
}

TEST(PlainSearch, HugeLinesAndPatterns) {
  TEditorSearch engine;
  std::string line(10 * 1024 * 1024, 'a');
  line.replace(line.size() - 6, 6, "sendln");
  engine.SetPattern("SENDLN");
  ASSERT_EQ(engine.FindAllInLine(line), 1);
  EXPECT_EQ(engine.ResultAt(0), static_cast<int>(line.size()) - 5);

  engine.SetPattern("aa");
  EXPECT_EQ(engine.FindAllInLine(std::string_view(line).substr(0, 1000)), 500);

  engine.SetPattern(std::string(100000, 'a'));
  EXPECT_EQ(engine.FindAllInLine(line), static_cast<int>((line.size() - 6) / 100000));
}
