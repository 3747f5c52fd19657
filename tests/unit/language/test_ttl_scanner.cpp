#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "TokenHelpers.h"
#include "support/DoubleByteCodePage.h"

namespace {

using K = TTtlTokenKind;

struct ScanCase {
  const char* line;
  std::vector<ScannedToken> tokens;
};

void ExpectScans(TTtlHighlighter& hl, const std::vector<ScanCase>& cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(ScanLine(hl, c.line), c.tokens) << "line: \"" << c.line << "\"";
  }
}

TEST(TtlScanner, SplitsLinesWithoutKeywordsLoaded) {
  TTtlHighlighter hl;
  ExpectScans(
      hl,
      {
          {"", {}},
          {"; comment", {{"; comment", K::Comment, 0}}},
          {";a #13 wait", {{";a #13", K::Comment, 0}, {" ", K::Space, 6}, {"wait", K::Other, 7}}},
          {":label", {{":label", K::Label, 0}}},
          {"x :y z", {{"x", K::Other, 0}, {" ", K::Space, 1}, {":y z", K::Label, 2}}},
          {":a#13:b", {{":a#13", K::Label, 0}, {":b", K::Label, 5}}},
          {";#1", {{";#1", K::Comment, 0}}},
          {";#1#13x", {{";#1#13", K::Comment, 0}, {"x", K::Other, 6}}},
          {";##13", {{";##13", K::Comment, 0}}},
          {"; #\r13",
           {{"; #", K::Comment, 0}, {"\r", K::Space, 3}, {"1", K::Other, 4}, {"3", K::Other, 5}}},
          {"; #1\n3", {{"; #1", K::Comment, 0}, {"\n", K::Space, 4}, {"3", K::Other, 5}}},
          {":\n", {{":", K::Label, 0}, {"\n", K::Space, 1}}},
          {"'\n'", {{"'", K::String, 0}, {"\n", K::Space, 1}, {"'", K::String, 2}}},
          {"\"a\r\n", {{"\"a", K::String, 0}, {"\r\n", K::Space, 2}}},
          {"'abc", {{"'abc", K::String, 0}}},
          {"'it''s'", {{"'it'", K::String, 0}, {"'s'", K::String, 4}}},
          {"\"a'b\"c", {{"\"a'b\"", K::String, 0}, {"c", K::Other, 5}}},
          {"'a;b:c'", {{"'a;b:c'", K::String, 0}}},
          {"12", {{"1", K::Other, 0}, {"2", K::Other, 1}}},
          {"-1", {{"-1", K::Other, 0}}},
          {"a.b", {{"a", K::Other, 0}, {".", K::Other, 1}, {"b", K::Other, 2}}},
          {"sendln", {{"sendln", K::Other, 0}}},
          {"\t \x01x", {{"\t \x01", K::Space, 0}, {"x", K::Other, 3}}},
          {"a\nb", {{"a", K::Other, 0}, {"\n", K::Space, 1}, {"b", K::Other, 2}}},
          {"a\r\nb", {{"a", K::Other, 0}, {"\r\n", K::Space, 1}, {"b", K::Other, 3}}},
          {"\r\r", {{"\r", K::Space, 0}, {"\r", K::Space, 1}}},
          {"'ab\rcd'",
           {{"'ab", K::String, 0}, {"\r", K::Space, 3}, {"cd", K::Other, 4}, {"'", K::String, 6}}},
          {"; x\ny", {{"; x", K::Comment, 0}, {"\n", K::Space, 3}, {"y", K::Other, 4}}},
          {"#13", {{"#", K::Other, 0}, {"1", K::Other, 1}, {"3", K::Other, 2}}},
          {"\x80\xff", {{"\x80", K::Other, 0}, {"\xff", K::Other, 1}}},
          {"a[i]=b", {{"a[i]=b", K::Other, 0}}},
          {"x&y", {{"x", K::Other, 0}, {"&", K::Other, 1}, {"y", K::Other, 2}}},
      });
}

TEST(TtlScanner, TheLineEndsAtItsFirstNul) {
  TTtlHighlighter hl;
  const std::string line("ab\0cd", 5);
  EXPECT_EQ(ScanLine(hl, line), (std::vector<ScannedToken>{{"ab", K::Other, 0}}));
  EXPECT_EQ(hl.TokenStart(), 2);
}

TEST(TtlScanner, WordKindsComeFromTheKeywordFamilies) {
  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordText(kSmallKeywordFile));
  ExpectScans(
      hl,
      {
          {"sendln 'x'", {{"sendln", K::Keyword, 0}, {" ", K::Space, 6}, {"'x'", K::String, 7}}},
          // The lookup key runs to the first blank, so the quote is part of it.
          {"sendln'x'", {{"sendln", K::Other, 0}, {"'x'", K::String, 6}}},
          {"SendLn", {{"SendLn", K::Keyword, 0}}},
          {"WAIT  ", {{"WAIT", K::Keyword, 0}, {"  ", K::Space, 4}}},
          // A tab after a word is part of its key...
          {"wait\t'x'", {{"wait", K::Other, 0}, {"\t", K::Space, 4}, {"'x'", K::String, 5}}},
          // ...unless only blanks and controls follow it.
          {"wait\t", {{"wait", K::Keyword, 0}, {"\t", K::Space, 4}}},
          {"wait\t ", {{"wait", K::Keyword, 0}, {"\t ", K::Space, 4}}},
          {"wait\t x", {{"wait", K::Other, 0}, {"\t ", K::Space, 4}, {"x", K::Other, 6}}},
          {"if result=2", {{"if", K::Keyword, 0}, {" ", K::Space, 2}, {"result=2", K::Other, 3}}},
          {"if result <> 2",
           {{"if", K::Keyword, 0},
            {" ", K::Space, 2},
            {"result", K::SystemVariable, 3},
            {" ", K::Space, 9},
            {"<>", K::Symbol, 10},
            {" ", K::Space, 12},
            {"2", K::Other, 13}}},
          {"x <= y",
           {{"x", K::Other, 0},
            {" ", K::Space, 1},
            {"<=", K::Symbol, 2},
            {" ", K::Space, 4},
            {"y", K::Other, 5}}},
          {"x = y",
           {{"x", K::Other, 0},
            {" ", K::Space, 1},
            {"=", K::Symbol, 2},
            {" ", K::Space, 3},
            {"y", K::Other, 4}}},
          {"$user$", {{"$user$", K::VantrelKeyword, 0}}},
          {"a AND b",
           {{"a", K::Other, 0},
            {" ", K::Space, 1},
            {"AND", K::Symbol, 2},
            {" ", K::Space, 5},
            {"b", K::Other, 6}}},
          {"inputstr;x", {{"inputstr", K::Other, 0}, {";x", K::Comment, 8}}},
          {"wait:", {{"wait", K::Other, 0}, {":", K::Label, 4}}},
      });
}

TEST(TtlScanner, FirstOccurrenceInTheKeywordListDecidesTheFamily) {
  struct Case {
    const char* file;
    const char* word;
    K kind;
  } cases[] = {
      {";\n;\n[SYSVARS]\nfoo=1\n[COMMANDS]\nfoo=2\n", "foo", K::SystemVariable},
      {";\n;\n[COMMANDS]\nfoo=1\n[SYSVARS]\nfoo=2\n", "foo", K::Keyword},
      {";\n;\n[SYMBOLS]\nfoo=1\n[VNTKEYWORDS]\nfoo=2\n", "foo", K::Symbol},
      // A first occurrence outside the four families hides later ones.
      {";\n;\nfoo=1\n[COMMANDS]\nfoo=2\n", "foo", K::Other},
      {";\n;\n[OTHER]\nfoo=1\n[COMMANDS]\nfoo=2\n", "foo", K::Other},
      // A header written in lower case in the file is itself a list entry.
      {";\n;\n[commands]\nfoo=1\n;\n", "[commands]", K::Other},
      {";\n;\n[commands]\nfoo=1\n;\n", "foo", K::Keyword},
  };
  for (const auto& c : cases) {
    TTtlHighlighter hl;
    ASSERT_TRUE(hl.LoadKeywordText(c.file)) << c.file;
    hl.SetLineText(c.word, 0);
    EXPECT_EQ(hl.Kind(), c.kind) << c.file;
    EXPECT_EQ(hl.TokenText(), c.word);
  }
}

TEST(TtlScanner, LineStatesTellWhatWasLeftOpen) {
  TTtlHighlighter hl;
  struct Case {
    const char* line;
    TLineState after_first_token;
  } cases[] = {
      {"'abc", lsSingleQuoted}, {"\"abc", lsDoubleQuoted}, {"'abc'", lsNone},
      {"; c", lsComment},       {"; c #13", lsNone},       {":l", lsLabel},
      {":l#13", lsNone},        {"word", lsNone},          {"", lsNone},
  };
  for (const auto& c : cases) {
    hl.SetLineState(lsDoubleQuoted);
    hl.SetLineText(c.line, 3);
    EXPECT_EQ(hl.GetLineState(), c.after_first_token) << c.line;
    EXPECT_EQ(hl.LineIndex(), 3);
    hl.ScanToLineEnd();
    // Every token starts from state 0, so a state never carries into the
    // next line's scan.
    EXPECT_EQ(hl.GetLineState(), lsNone) << c.line;
  }
  hl.SetLineState(lsSingleQuoted);
  EXPECT_EQ(ScanLine(hl, "abc'"),
            (std::vector<ScannedToken>{{"abc", K::Other, 0}, {"'", K::String, 3}}));
  hl.SetLineState(lsLabel);
  hl.ResetLineState();
  EXPECT_EQ(hl.GetLineState(), lsNone);
}

TEST(TtlScanner, EndOfLineTokenStaysPut) {
  TTtlHighlighter hl;
  hl.SetLineText("ab", 0);
  hl.ScanToLineEnd();
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(hl.AtLineEnd());
    EXPECT_EQ(hl.TokenStart(), 2);
    EXPECT_EQ(hl.TokenText(), "");
    EXPECT_EQ(hl.TokenAttribute(), nullptr);
    EXPECT_EQ(hl.TokenKind(), static_cast<int>(K::EndOfLine));
    hl.NextToken();
  }
}

TEST(TtlScanner, TokensCarryTheirKindsAttribute) {
  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordText(kSmallKeywordFile));
  struct Case {
    const char* line;
    THighlighterAttributes* attribute;
  } cases[] = {
      {";c", hl.CommentAttri()},     {":l", hl.LabelsAttri()},
      {"wait", hl.KeyAttri()},       {"$user$", hl.VantrelVarsAttri()},
      {" ", hl.SpaceAttri()},        {"'s'", hl.StringAttri()},
      {"<>", hl.SymbolAttri()},      {"result", hl.SysVarsAttri()},
      {"foo", hl.IdentifierAttri()}, {"1", hl.IdentifierAttri()},
  };
  for (const auto& c : cases) {
    hl.SetLineText(c.line, 0);
    EXPECT_EQ(hl.TokenAttribute(), c.attribute) << c.line;
  }
}

TEST(TtlScanner, DoubleByteCharactersStayWholeInOtherTokens) {
  TTtlHighlighter hl;
  TDoubleByteCodePage sjis;
  hl.SetCodePage(&sjis);
  ExpectScans(hl, {
                      {"\x82\xa0\x82\xa2", {{"\x82\xa0", K::Other, 0}, {"\x82\xa2", K::Other, 2}}},
                      // The trail byte may be an ASCII letter; it does not start a word.
                      {"\x82"
                       "ab",
                       {{"\x82"
                         "a",
                         K::Other, 0},
                        {"b", K::Other, 2}}},
                      // A lead byte at the end of the line has no partner to take.
                      {"x\x82", {{"x", K::Other, 0}, {"\x82", K::Other, 1}}},
                      {"\xa6", {{"\xa6", K::Other, 0}}},
                  });
}

TEST(TtlScanner, AttributesHaveTheirBuiltInLooks) {
  TTtlHighlighter hl;
  struct Case {
    THighlighterAttributes* attribute;
    const char* name;
    TColor foreground;
    TFontStyles style;
  } cases[] = {
      {hl.CommentAttri(), "Comment", 0x008000, fsItalic},
      {hl.IdentifierAttri(), "Macro", 0x808000, 0},
      {hl.KeyAttri(), "Text", 0x800000, fsBold},
      {hl.LabelsAttri(), "Labels", 0xFF0000, 0},
      {hl.VantrelVarsAttri(), "VantrelVars", 0x0000FF, 0},
      {hl.SpaceAttri(), "Space", clNone, 0},
      {hl.StringAttri(), "String", 0x800080, 0},
      {hl.SymbolAttri(), "Symbol", 0xFF00FF, fsBold},
      {hl.SysVarsAttri(), "SysVars", 0x008080, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.attribute->Name(), c.name);
    EXPECT_EQ(c.attribute->Foreground(), c.foreground) << c.name;
    EXPECT_EQ(c.attribute->Background(), clNone) << c.name;
    EXPECT_EQ(c.attribute->Style(), c.style) << c.name;
    EXPECT_EQ(c.attribute->ForegroundDefault(), c.foreground) << c.name;
    EXPECT_EQ(c.attribute->StyleDefault(), c.style) << c.name;
  }
  // Listed by name, ignoring case.
  std::vector<std::string> names;
  for (int i = 0; i < hl.AttributeCount(); ++i) names.push_back(hl.AttributeAt(i)->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Comment", "Labels", "Macro", "Space", "String",
                                             "Symbol", "SysVars", "Text", "VantrelVars"}));

  const THighlighterAttributes* roles[] = {hl.CommentAttri(), hl.IdentifierAttri(),
                                           hl.KeyAttri(),     hl.StringAttri(),
                                           hl.SpaceAttri(),   hl.SymbolAttri()};
  for (int role = 0; role < 6; ++role) EXPECT_EQ(hl.DefaultAttribute(role), roles[role]) << role;
  EXPECT_EQ(hl.DefaultAttribute(6), nullptr);
  EXPECT_EQ(hl.DefaultAttribute(-1), nullptr);
  EXPECT_EQ(hl.WhitespaceAttribute(), hl.SpaceAttri());
}

TEST(TtlScanner, DescribesItsLanguage) {
  TTtlHighlighter hl;
  EXPECT_EQ(hl.LanguageName(), "TeraTerm Macro ");
  EXPECT_EQ(hl.DefaultFilter(), "TeraTerm Macro files (*.ttl)|*.ttl");
  EXPECT_TRUE(hl.Enabled());

  const THighlighterCharSet ident = hl.IdentChars();
  const std::string word_chars =
      "$%()*+-/0123456789<=>ABCDEFGHIJKLMNOPQRSTUVWXYZ[]_abcdefghijklmnopqrstuvwxyz";
  EXPECT_EQ(ident.count(), word_chars.size());
  for (unsigned char c : word_chars) EXPECT_TRUE(ident.test(c)) << c;
  EXPECT_EQ(hl.WordBreakChars(), DefaultWordBreakChars());
}

TEST(TtlScanner, SampleSourceIsTheDemonstrationMacro) {
  TTtlHighlighter hl;
  const std::string sample = hl.SampleSource();
  EXPECT_EQ(sample.rfind("\r\n{ Sample source for the demo highlighter }\r\n\r\n; This", 0), 0u);
  EXPECT_EQ(sample.substr(sample.size() - 4), "'\r\n;");
  EXPECT_EQ(sample.find('\n', 0), 1u);
  // Every break is CR LF; 40 lines in all.
  int lines = 1;
  for (std::size_t i = 0; i < sample.size(); ++i) {
    if (sample[i] == '\n') {
      ++lines;
      EXPECT_EQ(sample[i - 1], '\r');
    }
    if (sample[i] == '\r') {
      EXPECT_EQ(sample[i + 1], '\n');
    }
  }
  EXPECT_EQ(lines, 40);
  EXPECT_NE(sample.find("\r\nconnect '<server_name_or_IP_address>:23 /nossh'\r\n"),
            std::string::npos);
  EXPECT_NE(sample.find("; Openning telnet connection using port 23\r\n"), std::string::npos);
  EXPECT_NE(sample.find("\r\npasswordbox 'Enter password' 'Login'\r\nsendln inputstr\r\n"),
            std::string::npos);
  EXPECT_NE(sample.find("\r\n; sendln '$user$'\r\n"), std::string::npos);
}

TEST(TtlScanner, EditsOfAnotherHighlighterReachOnlyItsOwnHooks) {
  // The settings preview and the main editor each have their own highlighter.
  TTtlHighlighter main_hl;
  TTtlHighlighter preview;
  ASSERT_TRUE(main_hl.LoadKeywordText(kSmallKeywordFile));
  preview.SetLineText("wait", 0);
  EXPECT_EQ(preview.Kind(), K::Other);
  main_hl.SetLineText("wait", 0);
  EXPECT_EQ(main_hl.Kind(), K::Keyword);
}

// The key formation and first-match search exactly as the language rules
// state them, without any shortcut, to check the scanner's faster lookup.
K ReferenceKind(const TKeywordData& data, const std::string& line, std::size_t start) {
  std::string key = line.substr(
      start, line.find('\0') == std::string::npos ? std::string::npos : line.find('\0') - start);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  while (!key.empty() && static_cast<unsigned char>(key.back()) <= 32) key.pop_back();
  std::size_t b = 0;
  while (b < key.size() && static_cast<unsigned char>(key[b]) <= 32) ++b;
  key = key.substr(b);
  const std::size_t blank = key.find(' ');
  if (blank != std::string::npos) key.resize(blank);
  for (std::size_t i = 0; i < data.keywords.size(); ++i) {
    if (data.keywords[i] != key) continue;
    const int n = static_cast<int>(i);
    if (data.commands.Contains(n)) return K::Keyword;
    if (data.sysvars.Contains(n)) return K::SystemVariable;
    if (data.vntkeywords.Contains(n)) return K::VantrelKeyword;
    if (data.symbols.Contains(n)) return K::Symbol;
    return K::Other;
  }
  return K::Other;
}

std::string RandomLine(std::mt19937& rng, const std::string& alphabet, int max_length) {
  std::uniform_int_distribution<int> length(0, max_length);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string line;
  for (int i = length(rng); i > 0; --i) line.push_back(alphabet[pick(rng)]);
  return line;
}

TEST(TtlScanner, ArbitraryBytesGiveContiguousTokensThatCoverTheLine) {
  TTtlHighlighter hl;
  TDoubleByteCodePage sjis;
  ASSERT_TRUE(hl.LoadKeywordText(kSmallKeywordFile));
  std::mt19937 rng(20240611);
  std::string all_bytes;
  for (int c = 0; c < 256; ++c) all_bytes.push_back(static_cast<char>(c));
  for (int round = 0; round < 20000; ++round) {
    hl.SetCodePage(round % 2 ? &sjis : nullptr);
    const std::string line = RandomLine(rng, all_bytes, 60);
    const std::size_t nul = line.find('\0');
    const int length = static_cast<int>(nul == std::string::npos ? line.size() : nul);
    hl.SetLineState(static_cast<TLineState>(round % 5));
    hl.SetLineText(line, round);
    int expected_start = 0;
    int tokens = 0;
    while (!hl.AtLineEnd()) {
      ASSERT_EQ(hl.TokenStart(), expected_start) << round;
      ASSERT_GT(hl.TokenLength(), 0) << "stalled at " << expected_start << " round " << round;
      ASSERT_EQ(hl.TokenText(), line.substr(static_cast<std::size_t>(expected_start),
                                            static_cast<std::size_t>(hl.TokenLength())));
      ASSERT_NE(hl.TokenAttribute(), nullptr);
      expected_start += hl.TokenLength();
      ASSERT_LE(expected_start, length);
      ASSERT_LE(++tokens, length) << round;
      hl.NextToken();
    }
    EXPECT_EQ(hl.TokenStart(), length) << round;
    // The rescan's shortcut answers what scanning every token gives.
    const TLineState scanned = hl.GetLineState();
    hl.SetLineState(static_cast<TLineState>(round % 5));
    ASSERT_EQ(hl.ScanLine(line, round), scanned) << round;
    ASSERT_EQ(hl.GetLineState(), scanned) << round;
    ASSERT_TRUE(hl.AtLineEnd()) << round;
  }
}

TEST(TtlScanner, FastKeywordLookupAgreesWithTheLinearSearch) {
  // Words, blanks, tabs and control bytes around them, and keywords in
  // several families (one listed twice) on lines of random shape.
  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordText(
      ";\r\n[COMMANDS]\r\nwait=1\r\nab=2\r\na=3\r\n[SYSVARS]\r\nab=4\r\nb=5\r\n"
      "[VNTKEYWORDS]\r\n$u$=6\r\n[SYMBOLS]\r\n<>=7\r\n<==8\r\n[OTHER]\r\nc=9\r\nWAIT\r\n"));
  const TKeywordData& data = hl.KeywordData();
  std::mt19937 rng(7);
  const std::string alphabet = "abcwWAIT<>=$u \t\x01\x1f'.;:";
  for (int round = 0; round < 50000; ++round) {
    const std::string line = RandomLine(rng, alphabet, 14);
    hl.SetLineText(line, 0);
    while (!hl.AtLineEnd()) {
      const auto start = static_cast<std::size_t>(hl.TokenStart());
      const unsigned char first = static_cast<unsigned char>(line[start]);
      const bool word =
          std::isalpha(first) ||
          std::string_view("$<>=").find(static_cast<char>(first)) != std::string_view::npos;
      if (word) {
        ASSERT_EQ(hl.Kind(), ReferenceKind(data, line, start)) << "\"" << line << "\" at " << start;
      }
      hl.NextToken();
    }
  }
}

TEST(TtlScanner, IndexedAndListWalkingLookupsGiveTheSameTokens) {
  std::string file = ";\n;\n;\n[SYSVARS]\nwait=1\n[COMMANDS]\nwait=2\nsendln=3\n[SYMBOLS]\n<>=4\n";
  TTtlHighlighter indexed, walking;
  ASSERT_TRUE(indexed.LoadKeywordText(file));
  ASSERT_TRUE(walking.LoadKeywordText(file));
  walking.SetLinearKeywordSearch(true);
  std::mt19937 rng(99);
  const std::string alphabet = "waitsendlnWS<> \t'x";
  for (int round = 0; round < 20000; ++round) {
    const std::string line = RandomLine(rng, alphabet, 16);
    ASSERT_EQ(ScanLine(indexed, line), ScanLine(walking, line)) << line;
  }
  EXPECT_EQ(walking.HelpIdOf("wait"), 1);
  EXPECT_EQ(walking.HelpIdOf("nothing"), 0);
}

TEST(TtlScanner, VeryLongLinesScanInLinearTime) {
  // One word per two bytes, no blanks: every key runs to the end of the line.
  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordText(kSmallKeywordFile));
  std::string line;
  for (int i = 0; i < 500000; ++i) line += "a.";
  line += std::string(200000, '\t') + "x";
  hl.SetLineText(line, 0);
  int tokens = 0;
  while (!hl.AtLineEnd()) {
    ++tokens;
    hl.NextToken();
  }
  EXPECT_EQ(tokens, 1000002);
}

}  // namespace
