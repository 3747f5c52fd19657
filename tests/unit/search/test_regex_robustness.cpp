// The matcher meets whatever the user types and whatever a file holds: every
// expression either compiles or raises its error, and every search either ends
// with a correct result or with "Loop Stack Exceeded", in bounded time.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "platform/Utf8CodePage.h"
#include "search/EditorRegexSearch.h"
#include "search/RegexMatcher.h"
#include "search/Utf8Chars.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

int ErrorCodeOf(TEditorRegexSearch& engine, std::string_view line) {
  try {
    engine.FindAllInLine(line);
  } catch (const ERegexMatcher& e) {
    return e.ErrorCode();
  }
  return 0;
}

// Results must lie in the line, in order and without overlap.
void ExpectWellFormed(const TEditorRegexSearch& engine, std::size_t line_length,
                      const std::string& context) {
  int previous_end = 1;
  int previous_start = 0;
  for (int k = 0; k < engine.ResultCount(); ++k) {
    const int start = engine.ResultAt(k);
    const int length = engine.LengthAt(k);
    ASSERT_GE(length, 0) << context;
    ASSERT_GE(start, previous_end) << context;
    ASSERT_GT(start, previous_start) << context;
    ASSERT_LE(static_cast<std::size_t>(start + length), line_length + 1) << context;
    previous_end = start + length;
    previous_start = start;
  }
}

// In UTF-8 text, results also start and end where characters do.
void ExpectOnCharacters(const TEditorRegexSearch& engine, std::string_view line,
                        const std::string& context) {
  const auto* text = reinterpret_cast<const unsigned char*>(line.data());
  for (int k = 0; k < engine.ResultCount(); ++k) {
    const auto start = static_cast<std::size_t>(engine.ResultAt(k) - 1);
    const std::size_t end = start + static_cast<std::size_t>(engine.LengthAt(k));
    ASSERT_TRUE(utf8_chars::IsCharStart(text, line.size(), start)) << context;
    ASSERT_TRUE(utf8_chars::IsCharStart(text, line.size(), end)) << context;
  }
}

// Random expressions made of `syntax` and random bytes over random lines made
// of `chars` and random bytes: each compiles or fails with its error, and
// each search ends soon with results that are well formed.
void SearchRandomly(unsigned seed, int rounds, const std::string& syntax,
                    const std::vector<std::string>& chars, bool utf8) {
  std::mt19937 rng(seed);
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  double slowest = 0;
  for (int round = 0; round < rounds; ++round) {
    std::string pattern;
    const int length = 1 + pick(16);
    for (int k = 0; k < length; ++k) {
      if (pick(10) == 0) {
        pattern += static_cast<char>(pick(256));
      } else if (utf8 && pick(4) == 0) {
        pattern += chars[static_cast<std::size_t>(pick(static_cast<int>(chars.size())))];
      } else {
        pattern += syntax[static_cast<std::size_t>(pick(static_cast<int>(syntax.size())))];
      }
    }
    std::string line;
    const int line_length = pick(40);
    for (int k = 0; k < line_length; ++k) {
      line += pick(8) == 0 ? std::string(1, static_cast<char>(pick(256)))
                           : chars[static_cast<std::size_t>(pick(static_cast<int>(chars.size())))];
    }
    TEditorRegexSearch engine;
    if (utf8) engine.SetCodePage(Utf8CodePage());
    engine.SetOptions(pick(2) ? TSearchOptionSet{TSearchOption::MatchCase} : TSearchOptionSet{});
    engine.SetPattern(pattern);
    if (pick(4) == 0) engine.Matcher().SetModifierStr(pick(2) ? "mx-sg" : "-r");
    const auto start = Clock::now();
    try {
      engine.FindAllInLine(line);
      ExpectWellFormed(engine, line.size(), pattern);
      if (utf8) ExpectOnCharacters(engine, line, pattern + " on " + line);
      engine.ReplacementText(line, "$1<$&>\\$${2}");
    } catch (const ERegexMatcher& e) {
      EXPECT_NE(std::string(e.what()), "Unknown error") << pattern;
      if (e.ErrorCode() < 1000) {
        EXPECT_GE(e.ErrorPos(), 1) << pattern;
        EXPECT_LE(e.ErrorPos(), static_cast<int>(pattern.size()) + 1) << pattern;
      }
    }
    slowest = std::max(slowest, SecondsSince(start));
  }
  EXPECT_LT(slowest, 5.0);
}

}  // namespace

TEST(RegexRobustness, CatastrophicBacktrackingEndsWithTheLoopError) {
  struct Case {
    const char* pattern;
    std::string line;
    int code;  // 0: ends without a match
  } cases[] = {
      {"(a|aa)*\\1b", std::string(10000, 'a'), 1014},
      {"(x+x+)+\\1y", std::string(5000, 'x'), 1014},
      {"(a*)*b", std::string(10000, 'a'), 106},  // refused before it can run
      // Without back-references the linear executor takes over.
      {"(a|aa)*b", std::string(10000, 'a'), 0},
      {"(x+x+)+y", std::string(5000, 'x'), 0},
  };
  for (const auto& c : cases) {
    TEditorRegexSearch engine;
    engine.SetPattern(c.pattern);
    const auto start = Clock::now();
    try {
      EXPECT_EQ(engine.FindAllInLine(c.line), 0) << c.pattern;
      EXPECT_EQ(c.code, 0) << c.pattern << " ended without an error";
    } catch (const ERegexMatcher& e) {
      EXPECT_EQ(e.ErrorCode(), c.code) << c.pattern;
      if (c.code == 1014) {
        EXPECT_EQ(e.Message(), "TRegexMatcher(exec): Loop Stack Exceeded");
      }
    }
    EXPECT_LT(SecondsSince(start), 20.0) << c.pattern;
  }
  // The same expression is fine where it can succeed quickly.
  TEditorRegexSearch engine;
  engine.SetPattern("(a|aa)*b");
  EXPECT_EQ(engine.FindAllInLine(std::string(10000, 'a') + "b"), 1);
  EXPECT_EQ(engine.LengthAt(0), 10001);
}

TEST(RegexRobustness, LongLinesNeverEndExpressionsWithoutBackReferences) {
  const std::string mega(1024 * 1024, 'a');
  struct Case {
    const char* pattern;
    std::string line;
    std::string match;  // "-" for none
    std::size_t group1;
  } cases[] = {
      {"(.*)foo", mega, "-", 0},
      {"(.*)foo", mega + "foo", "0:1048579", mega.size()},
      {"(.*?)foo", mega, "-", 0},
      {"(\\w+)\\d", mega, "-", 0},
      {"(\\w+)\\d", "+" + mega + "7", "1:1048577", mega.size()},
      {"(a|aa)+$", mega, "0:1048576", 1},
      {"(\\w+)\\d", std::string(2500, 'a'), "-", 0},
      {"(.*)foo", std::string(3000, 'x'), "-", 0},
  };
  for (const auto& c : cases) {
    TRegexMatcher matcher;
    matcher.SetExpression(c.pattern);
    const auto start = Clock::now();
    const bool found = matcher.Exec(c.line);
    EXPECT_LT(SecondsSince(start), 10.0) << c.pattern;
    EXPECT_EQ(
        found ? std::to_string(matcher.MatchPos(0) - 1) + ":" + std::to_string(matcher.MatchLen(0))
              : "-",
        c.match)
        << c.pattern;
    if (found) {
      EXPECT_EQ(matcher.MatchLen(1), static_cast<int>(c.group1)) << c.pattern;
    }
  }
}

TEST(RegexRobustness, TheBudgetIsAllowanceAndPerByteShare) {
  TRegexMatcher matcher;
  matcher.SetEngine(TRegexMatcher::Engine::Backtracking);
  matcher.SetExpression("(a|aa)*b");
  matcher.SetBudget(1000, 0);
  EXPECT_THROW(matcher.Exec(std::string(12, 'a')), ERegexMatcher);
  EXPECT_FALSE(matcher.Exec("aaa"));
  matcher.SetBudget(1000, 100000);  // the share per byte grows with the line
  EXPECT_FALSE(matcher.Exec(std::string(12, 'a')));
  EXPECT_THROW(matcher.Exec(std::string(24, 'a')), ERegexMatcher);
}

TEST(RegexRobustness, SearchesOnTenMegabyteLines) {
  std::string line;
  while (line.size() < 10 * 1024 * 1024) line += "sendln 'show interface' ifname 42\t";
  const int pieces = static_cast<int>(line.size() / 34);
  struct Case {
    const char* pattern;
    int count;  // -1: "Loop Stack Exceeded" is an acceptable end as well
  } cases[] = {
      {"\\d+", pieces},
      {"[a-z]+ '", pieces},       // each failed start would rescan its word
      {"\\w+x", 0},               // the same, over the whole line
      {".*", 2},                  // the whole line, then the empty match at its end
      {"(s\\w+ )+", 2 * pieces},  // "sendln " and "show "
  };
  for (const auto& c : cases) {
    TEditorRegexSearch engine;
    engine.SetPattern(c.pattern);
    const auto start = Clock::now();
    const int code = ErrorCodeOf(engine, line);
    if (c.count >= 0) {
      EXPECT_EQ(code, 0) << c.pattern;
      EXPECT_EQ(engine.ResultCount(), c.count) << c.pattern;
    } else {
      EXPECT_TRUE(code == 0 || code == 1014) << c.pattern << " gave " << code;
    }
    if (code == 0) ExpectWellFormed(engine, line.size(), c.pattern);
    EXPECT_LT(SecondsSince(start), 30.0) << c.pattern;
  }
  TEditorRegexSearch engine;
  engine.SetPattern("x*");
  const std::string mega(1024 * 1024, 'a');
  EXPECT_EQ(engine.FindAllInLine(mega), 1024 * 1024 + 1);
}

TEST(RegexRobustness, RepeatedGroupsOverHugeLinesStopAtTheStackLimit) {
  // Each pass of a repeated group leaves an entry to backtrack to; millions of
  // passes end with the loop error instead of exhausting memory, unless the
  // linear executor can take over.
  std::string line;
  while (line.size() < 10 * 1024 * 1024) line += "ab";
  TEditorRegexSearch engine;
  engine.SetPattern("(ab)*\\1");
  auto start = Clock::now();
  EXPECT_EQ(ErrorCodeOf(engine, line), 1014);
  EXPECT_LT(SecondsSince(start), 30.0);
  engine.SetPattern("(ab)*");
  const std::string_view two_megabytes = std::string_view(line).substr(0, 2 * 1024 * 1024);
  start = Clock::now();
  EXPECT_EQ(ErrorCodeOf(engine, two_megabytes), 0);
  EXPECT_LT(SecondsSince(start), 30.0);
  EXPECT_EQ(engine.ResultCount(), 2);
  EXPECT_EQ(engine.LengthAt(0), static_cast<int>(two_megabytes.size()));
  // Shorter lines are matched whole.
  EXPECT_EQ(engine.FindAllInLine(std::string_view(line).substr(0, 100000)), 2);
  EXPECT_EQ(engine.LengthAt(0), 100000);
}

TEST(RegexRobustness, HugeExpressions) {
  const std::string a100k(100000, 'a');
  struct Case {
    std::string pattern;
    int code;  // 0: compiles
    int position;
  } cases[] = {
      {a100k, 0, 0},
      {std::string(100000, '('), 102, 15},
      {std::string(100000, ')'), 104, 1},
      {"[" + a100k, 113, 1},
      {"a{" + std::string(100000, '9') + "}", 122, 3},
      {"\\x{" + std::string(100000, '0') + "}", 0, 0},
      {"\\x{" + std::string(99990, '0') + "41}", 0, 0},
      {"\\x{" + std::string(100000, 'F') + "}", 112, 4},
      {"(?#" + a100k, 125, 1},
      {"(?" + std::string(100000, 'i'), 103, 1},
      {[] {
         std::string s;
         while (s.size() < 100000) s += "a|";
         return s + "b";
       }(),
       0, 0},
      {[] {
         std::string s;
         while (s.size() < 100000) s += "[a-z]{2,5}?";
         return s;
       }(),
       0, 0},
      {[] {
         std::string s;
         while (s.size() < 100000) s += "(?i)x";
         return s;
       }(),
       0, 0},
  };
  for (const auto& c : cases) {
    TRegexMatcher matcher;
    matcher.SetExpression(c.pattern);
    const auto start = Clock::now();
    int code = 0, position = 0;
    try {
      matcher.Compile();
      matcher.Exec(a100k);
    } catch (const ERegexMatcher& e) {
      code = e.ErrorCode();
      position = e.ErrorPos();
    }
    EXPECT_LT(SecondsSince(start), 20.0) << c.pattern.substr(0, 20);
    EXPECT_EQ(code, c.code) << c.pattern.substr(0, 20);
    if (c.code != 0) {
      EXPECT_EQ(position, c.position) << c.pattern.substr(0, 20);
    }
  }
  TRegexMatcher matcher;
  matcher.SetExpression(a100k);
  ASSERT_TRUE(matcher.Exec("b" + a100k));
  EXPECT_EQ(matcher.MatchPos(0), 2);
}

TEST(RegexRobustness, HugeBraceCountsCostNothing) {
  TEditorRegexSearch engine;
  engine.SetPattern("a{2147483646}");
  EXPECT_EQ(engine.FindAllInLine("aaaa"), 0);
  engine.SetPattern("(ab){1000000000,}");
  EXPECT_EQ(engine.FindAllInLine("ababab"), 0);
  engine.SetPattern("(ab){0,2000000000}c");
  EXPECT_EQ(engine.FindAllInLine("ababc"), 1);
  EXPECT_EQ(engine.LengthAt(0), 5);
}

TEST(RegexRobustness, RandomExpressionsAndLines) {
  // Bytes that make up expressions, weighted towards the syntax.
  static const std::string syntax = "()[]{}|*+?.^$\\-,#&:0123456789abcABdswxDWSbBAZ \t";
  std::vector<std::string> chars;
  for (char c : std::string("aabcAB01 \t-")) chars.emplace_back(1, c);
  SearchRandomly(987654321, 20000, syntax, chars, false);
}

TEST(RegexRobustness, RandomExpressionsAndLinesInUtf8) {
  // Besides the syntax, accented and wide characters, the Kelvin sign,
  // combining accents, surrogates kept from UTF-16 and code point escapes.
  static const std::string syntax = "()[]{}|*+?.^$\\-,#&:0123456789abcABdswxDWSbBAZ \t{}x";
  const std::vector<std::string> chars = {"a", "b", "A", "1", " ", "-", "é", "É", "\u212A", "k",
                                          "日", "😀", "\u0301", "e\u0301", "\xED\xA0\x80",
                                          "\u3000", "ж"};
  SearchRandomly(20250303, 10000, syntax, chars, true);
}

TEST(RegexRobustness, Utf8SearchesOnMegabyteLinesOfWideCharacters) {
  std::string line;
  const std::string piece = "日本語の行 É e\u0301 ";
  while (line.size() < 2 * 1024 * 1024) line += piece;
  const int pieces = static_cast<int>(line.size() / piece.size());
  struct Case {
    const char* pattern;
    int count;
  } cases[] = {
      {"\\w+", 3 * pieces},
      {"[^ ]+ ", 3 * pieces},
      {"(?i)é", pieces},  // not the e with a combining accent
      {"\\w+x", 0},
      {".*", 2},
  };
  for (const auto& c : cases) {
    TEditorRegexSearch engine;
    engine.SetCodePage(Utf8CodePage());
    engine.SetPattern(c.pattern);
    const auto start = Clock::now();
    EXPECT_EQ(ErrorCodeOf(engine, line), 0) << c.pattern;
    EXPECT_EQ(engine.ResultCount(), c.count) << c.pattern;
    EXPECT_LT(SecondsSince(start), 30.0) << c.pattern;
  }
  TEditorSearch plain(Utf8CodePage());
  plain.SetPattern("é");
  const auto start = Clock::now();
  EXPECT_EQ(plain.FindAllInLine(line), pieces);
  EXPECT_LT(SecondsSince(start), 30.0);
}
