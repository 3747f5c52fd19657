#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/EditorRegexSearch.h"

namespace {

std::vector<std::pair<int, int>> Occurrences(TEditorRegexSearch& engine, std::string_view line) {
  std::vector<std::pair<int, int>> found;
  const int count = engine.FindAllInLine(line);
  EXPECT_EQ(count, engine.ResultCount());
  for (int k = 0; k < count; ++k) found.emplace_back(engine.ResultAt(k), engine.LengthAt(k));
  return found;
}

using Pairs = std::vector<std::pair<int, int>>;

}  // namespace

TEST(RegexSearchEngine, FindsEveryMatchOfALine) {
  struct Case {
    const char* pattern;
    TSearchOptionSet options;
    const char* line;
    Pairs found;
  } cases[] = {
      {"a+", {}, "AaB aa", {{1, 2}, {5, 2}}},
      {"a+", {TSearchOption::MatchCase}, "AaB aa", {{2, 1}, {5, 2}}},
      {"x*", {}, "ab", {{1, 0}, {2, 0}, {3, 0}}},
      {"x*", {}, "", {{1, 0}}},
      {"wait", {TSearchOption::WholeWord}, "waitln wait", {{1, 4}, {8, 4}}},  // ignored here
      {"\\bwait\\b", {}, "waitln wait", {{8, 4}}},
      {"send(ln)? '", {}, "  sendln 'a'", {{3, 8}}},
      {"q", {}, "abc", {}},
  };
  for (const auto& c : cases) {
    TEditorRegexSearch engine;
    engine.SetOptions(c.options);
    engine.SetPattern(c.pattern);
    EXPECT_EQ(Occurrences(engine, c.line), c.found) << c.pattern << " in " << c.line;
  }
}

TEST(RegexSearchEngine, ResultsDescribeOnlyTheLastLine) {
  TEditorRegexSearch engine;
  engine.SetPattern("a");
  EXPECT_EQ(engine.FindAllInLine("aaa"), 3);
  EXPECT_EQ(engine.FindAllInLine("b"), 0);
  EXPECT_EQ(engine.ResultCount(), 0);
  EXPECT_EQ(engine.GetPattern(), "a");
}

TEST(RegexSearchEngine, IndexesOutsideTheResultsGiveZero) {
  TEditorRegexSearch engine;
  engine.SetPattern("b+");
  ASSERT_EQ(engine.FindAllInLine("abb"), 1);
  EXPECT_EQ(engine.ResultAt(0), 2);
  EXPECT_EQ(engine.LengthAt(0), 2);
  EXPECT_EQ(engine.ResultAt(-1), 0);
  EXPECT_EQ(engine.ResultAt(1), 0);
  EXPECT_EQ(engine.LengthAt(1), 0);
}

TEST(RegexSearchEngine, ReplacementTemplates) {
  struct Case {
    const char* pattern;
    const char* occurrence;
    const char* templ;
    const char* result;
  } cases[] = {
      {"(\\d+)", "42", "<$1>", "<42>"},
      {"(\\d+)", "42", "\\$1", "$1"},
      {"(\\d+)", "42", "$", "$"},
      {"(\\d+)", "42", "${1}x", "42x"},
      {"(\\d+)", "42", "$&$&", "4242"},
      {"(\\d+)", "42", "${&}", "42"},
      {"(\\d+)", "42", "[$2]", "[]"},   // no such group
      {"(\\d+)", "42", "[$15]", "[]"},  // beyond the kept groups
      {"(\\d+)", "42", "$01", "42"},
      {"(\\d+)", "42", "${1", "${1"},  // no closing brace: a plain dollar
      {"(\\d+)", "42", "${}", "${}"},
      {"(\\d+)", "42", "${x}", "${x}"},
      {"(\\d+)", "42", "$x", "$x"},
      {"(\\d+)", "42", "$1$", "42$"},
      {"(\\d+)", "42", "\\\\", "\\"},
      {"(\\d+)", "42", "a\\", "a\\"},
      {"(\\d+)", "42", "\\n", "n"},
      {"(a)|(b)", "b", "[$1|$2]", "[|b]"},
      {"(\\w+) (\\w+)", "hello world", "$2 $1", "world hello"},
      // Every match inside the occurrence is replaced, the rest kept.
      {"\\d", "a1b2", "#", "a#b#"},
      {"x*", "ab", "-", "-a-b-"},
      {"b*", "ab", "-", "-a--"},
  };
  for (const auto& c : cases) {
    TEditorRegexSearch engine;
    engine.SetPattern(c.pattern);
    EXPECT_EQ(engine.ReplacementText(c.occurrence, c.templ), c.result)
        << c.pattern << " on " << c.occurrence << " with " << c.templ;
  }
}

TEST(RegexSearchEngine, TheOccurrenceIsMatchedAgainAlone) {
  TEditorRegexSearch engine;
  engine.SetPattern("a|^b");
  EXPECT_EQ(Occurrences(engine, "ab"), (Pairs{{1, 1}}));  // b is not at the line start
  EXPECT_EQ(engine.ReplacementText("b", "X"), "X");       // but it starts the occurrence
  // An occurrence that no longer matches alone comes back unchanged.
  engine.SetPattern("\\Bb");
  EXPECT_EQ(Occurrences(engine, "ab"), (Pairs{{2, 1}}));
  EXPECT_EQ(engine.ReplacementText("b", "X"), "b");
}

TEST(RegexSearchEngine, ReplacingDoesNotDisturbTheLineResults) {
  TEditorRegexSearch engine;
  engine.SetPattern("(\\d)");
  ASSERT_EQ(engine.FindAllInLine("1 2 3"), 3);
  EXPECT_EQ(engine.ReplacementText("2", "<$1>"), "<2>");
  EXPECT_EQ(engine.ResultAt(2), 5);
}

TEST(RegexSearchEngine, PatternErrorsReachTheCaller) {
  TEditorRegexSearch engine;
  engine.SetPattern("(");
  try {
    engine.FindAllInLine("x");
    FAIL() << "no error";
  } catch (const ERegexMatcher& e) {
    EXPECT_EQ(e.Message(), "TRegexMatcher(comp): ParseReg Unmatched () (pos 1)");
    EXPECT_EQ(e.ErrorCode(), 103);
    EXPECT_EQ(e.ErrorPos(), 1);
  }
  engine.SetPattern("");
  EXPECT_THROW(engine.FindAllInLine("x"), ERegexMatcher);
  engine.SetPattern("x");
  EXPECT_EQ(engine.FindAllInLine("x"), 1);
}

TEST(RegexSearchEngine, CaseModeFollowsTheOptions) {
  TEditorRegexSearch engine;
  EXPECT_FALSE(engine.Matcher().ModifierI());  // until options are given
  engine.SetOptions({});
  EXPECT_TRUE(engine.Matcher().ModifierI());
  engine.SetOptions({TSearchOption::MatchCase, TSearchOption::Backwards});
  EXPECT_FALSE(engine.Matcher().ModifierI());
  EXPECT_EQ(engine.Matcher().ModifierStr(), "rsg-imx");
}

TEST(RegexSearchEngine, MatchesThatStartWithOneOfAFewTextsAreFoundAnywhereInALongLine) {
  struct Case {
    const char* pattern;
    TSearchOptionSet options;
    std::vector<std::string> words;  // placed in a long line at the offsets below
    int length;                      // of each occurrence
  } cases[] = {
      {"\\b(wait|sendln|goto) ", {}, {"wait ", "Sendln ", "goto "}, 0},
      {"(wait|sendln|goto) ", {TSearchOption::MatchCase}, {"wait ", "goto ", "wait "}, 0},
      {"[wx]ai(t|d)", {TSearchOption::MatchCase}, {"wait", "xaid", "xait"}, 4},
      {"x*(ab|cd)", {}, {"xxab", "CD", "xcd"}, 0},
      {"send(ln)?!", {}, {"sendln!", "send!", "SEND!"}, 0},
  };
  const int offsets[] = {0, 14, 31, 47, 70};
  for (const auto& c : cases) {
    // A filler that holds the texts' first bytes without forming a match.
    std::string line(90, '.');
    for (std::size_t k = 0; k < line.size(); k += 3) line[k] = "wsgxca"[k % 6];
    Pairs expected;
    std::size_t at = 0;
    for (int offset : offsets) {
      const std::string& word = c.words[at++ % c.words.size()];
      if (offset > 0) line[static_cast<std::size_t>(offset) - 1] = '.';
      line.replace(static_cast<std::size_t>(offset), word.size(), word);
      line[static_cast<std::size_t>(offset) + word.size()] = '.';
      expected.emplace_back(offset + 1, c.length ? c.length : static_cast<int>(word.size()));
    }
    line.resize(line.size() - 3);  // the last text ends close to the line's end
    TEditorRegexSearch engine;
    engine.SetOptions(c.options);
    engine.SetPattern(c.pattern);
    EXPECT_EQ(Occurrences(engine, line), expected) << c.pattern << " on " << line;
  }
}
