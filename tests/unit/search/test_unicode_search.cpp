// Searching Unicode documents (UTF-8 text): case-blind by simple case
// folding, words in every script, and matches on whole characters.
#include <gtest/gtest.h>

#include <string>

#include "RegexTestHelpers.h"
#include "platform/CodePage1252.h"
#include "platform/Utf8CodePage.h"
#include "search/EditorRegexSearch.h"
#include "search/EditorSearch.h"
#include "search/Utf8Chars.h"

namespace {

// Every occurrence as "column:length", or "-".
std::string Occurrences(TEditorSearchCustom& engine, std::string_view line) {
  std::string out;
  const int count = engine.FindAllInLine(line);
  for (int k = 0; k < count; ++k) {
    if (!out.empty()) out += ' ';
    out += std::to_string(engine.ResultAt(k)) + ":" + std::to_string(engine.LengthAt(k));
  }
  return out.empty() ? "-" : out;
}

}  // namespace

TEST(UnicodePlainSearch, FoldsCaseAndKeepsToWholeCharacters) {
  struct Case {
    const char* what;
    const char* pattern;
    const char* line;
    bool match_case, whole_word;
    const char* expected;
  } const cases[] = {
      {"accented capitals find small letters", "É", "Résumé RÉSUMÉ", false, false,
       "2:2 7:2 11:2 16:2"},
      {"matching case tells them apart", "É", "Résumé RÉSUMÉ", true, false, "11:2 16:2"},
      {"Greek, final sigma included", "σίσυφος", "ΣΊΣΥΦΟΣ σίσυφος", false, false, "1:14 16:14"},
      {"Cyrillic", "привет", "Привет, ПРИВЕТ!", false, false, "1:12 15:12"},
      {"Kelvin sign and k, long s and S", "ks", "\u212A\u017F KS", false, false, "1:5 7:2"},
      {"capital sharp s folds to sharp s", "STRA\u1E9EE", "straße", false, false, "1:7"},
      {"wide characters", "本語", "日本語の本語", false, false, "4:6 13:6"},
      {"characters beyond the 16-bit range", "😀", "a😀b😀", false, false, "2:4 7:4"},
      {"never the e of an e with a combining accent", "cafe", "cafe\u0301 cafe", false, false,
       "8:4"},
      {"the accented letter as written", "cafe\u0301", "cafe\u0301 cafe", false, false, "1:6"},
      {"bytes that do not decode stand for themselves", "\xFF", "a\xFF\xC3z\xFF", false, false,
       "2:1 5:1"},
      {"an ASCII line holds no accented letter", "RÉSUMÉ", "resume", false, false, "-"},
      {"whole words of accented letters", "naïve", "naïve naïveté", false, true, "1:6"},
      {"letters of any script make words", "日本", "日本語 日本", false, true, "11:6"},
      {"underscores and digits continue a word", "été", "été_1 été", false, true, "9:5"},
  };
  TEditorSearch engine(DefaultCodePage());
  engine.SetCodePage(Utf8CodePage());
  for (const Case& c : cases) {
    TSearchOptionSet options;
    if (c.match_case) options.Include(TSearchOption::MatchCase);
    if (c.whole_word) options.Include(TSearchOption::WholeWord);
    engine.SetOptions(options);
    engine.SetPattern(c.pattern);
    EXPECT_EQ(Occurrences(engine, c.line), c.expected) << c.what;
  }
}

TEST(UnicodePlainSearch, AnAnsiDocumentStillSearchesBytes) {
  // The same engine back on the code page: é is one byte, and a byte of a
  // UTF-8 sequence is a character of its own.
  TEditorSearch engine(Utf8CodePage());
  engine.SetCodePage(DefaultCodePage());
  engine.SetPattern("\xC9");  // É in the Western code page
  EXPECT_EQ(Occurrences(engine, "r\xE9sum\xE9"), "2:1 6:1");
  engine.SetPattern("\xA9");
  EXPECT_EQ(Occurrences(engine, "\xC3\xA9"), "2:1");
}

TEST(UnicodeRegexSearch, CharactersClassesAndCase) {
  struct Case {
    const char* what;
    const char* pattern;
    const char* line;
    const char* expected;
  } const cases[] = {
      {"the dot takes one character of any length", ".", "aé日😀", "1:1 2:2 4:3 7:4"},
      {"a class of literal characters", "[éa]", "bécane", "2:2 5:1"},
      {"a negated class steps over whole characters", "[^a]+", "aé日a", "2:5"},
      {"a range beyond ASCII", "[à-ÿ]+", "voilà déjà", "5:2 9:2 12:2"},
      {"case-blind ranges", "(?i)[α-ω]+", "ΑΒΓ abc", "1:6"},
      {"Cyrillic ranges take in yo", "[а-я]+", "ёлка", "1:8"},
      {"words of every script", "\\w+", "naïve 日本語 x_1 €", "1:6 8:9 18:3"},
      {"not a word character", "\\W", "a€b", "2:3"},
      {"full-width digits", "\\d+", "１２3", "1:7"},
      {"ideographic space", "\\s", "a\u3000b", "2:3"},
      {"word boundaries know accented letters", "\\bwort\\b", "wortä wort", "8:4"},
      {"case-blind literals", "(?i)É", "été", "1:2 4:2"},
      {"the Kelvin sign is a case form of k", "(?i)k+", "\u212Ak", "1:4"},
      {"back-references compare folds", "(?i)(é)\\1", "éÉ", "1:4"},
      {"no match ends inside a character", "e", "e\u0301x", "-"},
      {"combining marks go with their letter", ".", "e\u0301x", "1:3 4:1"},
      {"code points by number", "\\x{65E5}|\\xE9", "日é", "1:3 4:2"},
      {"a byte that does not decode is a character", "a.c",
       "a\xFF"
       "c",
       "1:3"},
  };
  TEditorRegexSearch engine;
  engine.SetCodePage(Utf8CodePage());
  engine.SetOptions({TSearchOption::MatchCase});
  for (const Case& c : cases) {
    for (auto kind : {TRegexMatcher::Engine::Backtracking, TRegexMatcher::Engine::Linear}) {
      engine.Matcher().SetEngine(kind);
      engine.SetPattern(c.pattern);
      EXPECT_EQ(Occurrences(engine, c.line), c.expected) << c.what;
    }
  }
  engine.SetPattern("(\\w+)");
  EXPECT_EQ(engine.ReplacementText("日本", "<$1>"), "<日本>");
}

TEST(UnicodeRegexSearch, CodePointsBeyondUnicodeAreRefused) {
  TRegexMatcher matcher(Utf8CodePage());
  matcher.SetExpression("\\x{110000}");
  try {
    matcher.Compile();
    FAIL() << "compiled";
  } catch (const ERegexMatcher& e) {
    EXPECT_EQ(e.ErrorCode(), regex_error::kHexCodeTooBig);
  }
  // In the code page a value beyond a byte stays an error.
  TRegexMatcher ansi(DefaultCodePage());
  ansi.SetExpression("\\x{100}");
  EXPECT_THROW(ansi.Compile(), ERegexMatcher);
}

TEST(UnicodeSearchText, TheLastByteBeyondAsciiIsFoundAtAnyPlaceOfAnyLength) {
  // Lines are tested in blocks that overlap at the start; every length and
  // place must still give the last such byte.
  for (std::size_t length = 0; length <= 40; ++length) {
    for (int last = -1; last < static_cast<int>(length); ++last) {
      std::string line(length, 'a');
      if (last >= 0) line[static_cast<std::size_t>(last)] = '\xE9';
      if (last >= 1) line[0] = '\xC3';  // an earlier one changes nothing
      const auto* text = reinterpret_cast<const unsigned char*>(line.data());
      ASSERT_EQ(utf8_chars::LastNonAscii(text, length), last) << length;
    }
  }
}
