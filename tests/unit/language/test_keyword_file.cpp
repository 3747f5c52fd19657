#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "TokenHelpers.h"
#include "language/KeywordFile.h"
#include "support/ShippedCommands.h"

namespace {

using K = TTtlTokenKind;

// Lines joined with CR LF and padded with comment lines, so the file passes
// the five-line minimum whatever the entries are.
std::string KeywordFile(std::initializer_list<const char*> lines) {
  std::string text = ";\r\n;\r\n;\r\n;\r\n;\r\n";
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

struct WordCase {
  const char* word;
  std::int32_t help_id;
  K kind;
};

void ExpectWords(const std::string& file, std::initializer_list<WordCase> cases) {
  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordText(file)) << file;
  for (const auto& c : cases) {
    EXPECT_EQ(hl.HelpIdOf(c.word), c.help_id) << c.word;
    EXPECT_EQ(hl.KindOfKey(c.word), c.kind) << c.word;
  }
}

TEST(KeywordFile, EntriesGiveWordsAndHelpIds) {
  ExpectWords(KeywordFile({"[COMMANDS]", "SendLn=12", "wait=abc", "pause=", "beep = 7 ",
                           "\tmpause\t=\t$1F\t", "SendFile", "sendkcode", "a, b=3", "x=1,2",
                           "[SYMBOLS]", "<>==57", "==5", "<==58"}),
              {
                  {"sendln", 12, K::Keyword},
                  {"SendLn", 0, K::Other},  // lookups are made in lower case
                  {"wait", 0, K::Keyword},
                  {"pause", 0, K::Keyword},
                  {"beep", 7, K::Keyword},
                  {"mpause", 31, K::Keyword},
                  // Without "=" a word is kept as written.
                  {"sendfile", 0, K::Other},
                  {"SendFile", 0, K::Keyword},
                  {"sendkcode", 0, K::Keyword},
                  {"a", 0, K::Other},
                  {"b", 0, K::Other},
                  {"x", 0, K::Other},
                  {"<>=", 57, K::Symbol},
                  {"<>", 0, K::Other},
                  {"=", 5, K::Symbol},
                  {"<=", 58, K::Symbol},
              });
}

TEST(KeywordFile, HeadersAreFoundIgnoringCase) {
  ExpectWords(KeywordFile({"early=1", "[commands]", "wait=2", "[SysVars]", "result=3",
                           "[vntKeywords]", "$user$=4", "[Symbols]", "and=5", "[OTHER]", "late=6"}),
              {
                  {"early", 1, K::Other},
                  {"wait", 2, K::Keyword},
                  {"result", 3, K::SystemVariable},
                  {"$user$", 4, K::VantrelKeyword},
                  {"and", 5, K::Symbol},
                  {"late", 6, K::Other},
                  {"[commands]", 0, K::Other},
                  {"[other]", 0, K::Other},
                  {"[OTHER]", 0, K::Other},
              });
}

TEST(KeywordFile, SectionsEndAtTheNextHeader) {
  // A line starting with "[" ends an ordinary section; the symbol section
  // ends only at one that also holds "]".
  ExpectWords(KeywordFile({"[COMMANDS]", "wait=1", "[=2", "send=3", "[SYMBOLS]", "[=4", "(=5",
                           "[COMMANDS]", "pause=6", "[VNTKEYWORDS]x", "$u$=7"}),
              {
                  {"wait", 1, K::Keyword},
                  {"[", 2, K::Other},  // first occurrence, outside every section
                  {"send", 3, K::Other},
                  {"(", 5, K::Symbol},
                  {"pause", 6, K::Other},  // a second header does not open a section
                  {"$u$", 7, K::Other},    // "[VNTKEYWORDS]x" is not that header
              });
}

TEST(KeywordFile, RangesPointIntoTheKeptLines) {
  auto data = ParseKeywordFile(
      "; keywords\r\n[COMMANDS]\r\nwait=1\r\n\r\nsend=2\r\n  ; indented comment\r\n[SYSVARS]\r\n"
      "result=3\r\n[SYMBOLS]\r\n<>=4\r\n");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->keywords, (std::vector<std::string>{"[COMMANDS]", "wait", "send", "[SYSVARS]",
                                                      "result", "[SYMBOLS]", "<>"}));
  EXPECT_EQ(data->help_ids, (std::vector<std::int32_t>{0, 1, 2, 0, 3, 0, 4}));
  EXPECT_EQ(data->commands, (TKeywordRange{1, 2}));
  EXPECT_EQ(data->sysvars, (TKeywordRange{4, 4}));
  EXPECT_EQ(data->symbols, (TKeywordRange{6, 6}));
  EXPECT_EQ(data->vntkeywords, (TKeywordRange{8, 7}));  // missing: count + 1, count
  EXPECT_TRUE(data->vntkeywords.Empty());
}

TEST(KeywordFile, FilesShorterThanFiveLinesAreRejected) {
  struct Case {
    std::string text;
    bool accepted;
  } cases[] = {
      {"[COMMANDS]\r\nwait=1\r\nsend=2\r\npause=3\r\n", false},
      {"[COMMANDS]\r\nwait=1\r\nsend=2\r\npause=3\r\nbeep=4", true},
      {";\r\n;\r\n;\r\n;\r\n;\r\n", true},
      {"\n\n\n\n", false},
      {"\n\n\n\n\n", true},
      {"a\rb\rc\rd\re", true},
      {"a\r\nb\r\nc\r\nd\r\n", false},
      {"a\n\rb\n\rc", true},  // LF CR is two breaks
      {"", false},
      {std::string("a\nb\nc\nd\n\0e\nf\ng\n", 15), false},  // the text ends at a NUL
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseKeywordFile(c.text).has_value(), c.accepted) << c.text;
  }
  auto comments = ParseKeywordFile(";\r\n;\r\n;\r\n;\r\n;\r\n");
  ASSERT_TRUE(comments);
  EXPECT_TRUE(comments->keywords.empty());
  EXPECT_TRUE(comments->commands.Empty());
}

TEST(KeywordFile, ARejectedFileLeavesNoKeywords) {
  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordText(kSmallKeywordFile));
  EXPECT_EQ(hl.HelpIdOf("sendln"), 92078);
  EXPECT_FALSE(hl.LoadKeywordText("[COMMANDS]\nsendln=1\nwait=2\nif=3\n"));
  EXPECT_EQ(hl.HelpIdOf("sendln"), 0);
  EXPECT_TRUE(hl.KeywordData().keywords.empty());
  hl.SetLineText("sendln", 0);
  EXPECT_EQ(hl.Kind(), K::Other);
  EXPECT_FALSE(hl.LoadKeywordFile("/nonexistent/dir/KeyFile.ini"));
}

TEST(KeywordFile, HelpIdsAcceptDecimalAndDollarHexWithinThirtyTwoBits) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"12", 12},
      {"+12", 12},
      {"-12", -12},
      {"007", 7},
      {"$1F", 31},
      {"$ff", 255},
      {"-$10", -16},
      {"$7FFFFFFF", 2147483647},
      {"$FFFFFFFF", -1},
      {"$100000000", std::nullopt},
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"1 2", std::nullopt},
      {"12a", std::nullopt},
      {"0x10", std::nullopt},
      {"$G", std::nullopt},
      {"--1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHelpId(c.text), c.value) << c.text;
  ExpectWords(KeywordFile({"[COMMANDS]", "big=4294967296", "neg=-5", "hex=$10"}),
              {{"big", 0, K::Keyword}, {"neg", -5, K::Keyword}, {"hex", 16, K::Keyword}});
}

TEST(KeywordFile, ControlCharactersCountAsBlanks) {
  ExpectWords(KeywordFile({"[COMMANDS]",
                           "\x01wait\x1f=\x0b"
                           "5\x0c",
                           "wa\x02it=6", "\x7fx=7", "se\x1dnd=8", "be\tep=9"}),
              {{"wait", 5, K::Keyword},
               {"wa it", 6, K::Keyword},
               {"\x7fx", 7, K::Keyword},
               {"se nd", 8, K::Keyword},
               {"be ep", 9, K::Keyword}});
}

TEST(KeywordFile, OddFilesLoadWithoutHarm) {
  // 10,000 entries, megabyte lines, bytes of every value, CR-only breaks.
  std::string many = ";\r\n;\r\n;\r\n[COMMANDS]\r\n";
  for (int i = 0; i < 10000; ++i)
    many += "cmd" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  std::string huge = ";\n;\n;\n[COMMANDS]\n" + std::string(1 << 20, 'w') + "=9\n" +
                     std::string(1 << 20, '=') + "\nwait=1\n";
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 37 + 1) % 255 + 1));
  const std::string cr_only = ";\r;\r;\r[COMMANDS]\rwait=1\rsend=2\r[SYSVARS]\rresult=3";

  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordText(many));
  EXPECT_EQ(hl.HelpIdOf("cmd9999"), 9999);
  EXPECT_EQ(hl.KindOfKey("cmd0"), K::Keyword);

  ASSERT_TRUE(hl.LoadKeywordText(huge));
  EXPECT_EQ(hl.HelpIdOf(std::string(1 << 20, 'w')), 9);
  EXPECT_EQ(hl.HelpIdOf(std::string((1 << 20) - 1, '=')), 0);
  EXPECT_EQ(hl.HelpIdOf("wait"), 1);
  hl.SetLineText(std::string(1 << 20, 'W'), 0);
  EXPECT_EQ(hl.Kind(), K::Keyword);

  EXPECT_TRUE(hl.LoadKeywordText(binary));

  ASSERT_TRUE(hl.LoadKeywordText(cr_only));
  EXPECT_EQ(hl.KindOfKey("send"), K::Keyword);
  EXPECT_EQ(hl.KindOfKey("result"), K::SystemVariable);
}

TEST(KeywordFile, RandomFilesKeepTheLoaderInvariants) {
  std::mt19937 rng(1234);
  const std::vector<std::string> pieces = {"[COMMANDS]", "[SYSVARS]",  "[VNTKEYWORDS]",
                                           "[SYMBOLS]",  "[commands]", "[",
                                           "]",          "=",          "==",
                                           ",",          ";",          "\r",
                                           "\n",         "\r\n",       std::string(1, '\0'),
                                           "$",          "-",          "12",
                                           "$1f",        "2147483648", " ",
                                           "\t",         "\x01",       "wait",
                                           "SendLn",     "<>",         "\xe9",
                                           "x"};
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 80);
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (int n = length(rng); n > 0; --n) text += pieces[pick(rng)];
    auto data = ParseKeywordFile(text);
    if (!data) continue;
    const int count = static_cast<int>(data->keywords.size());
    ASSERT_EQ(data->help_ids.size(), data->keywords.size());
    for (const std::string& word : data->keywords) {
      ASSERT_EQ(word.find_first_of(std::string(",\r\n\0", 4)), std::string::npos) << text;
      if (!word.empty()) {
        ASSERT_GT(static_cast<unsigned char>(word.front()), 32) << text;
        ASSERT_GT(static_cast<unsigned char>(word.back()), 32) << text;
      }
    }
    for (const TKeywordRange* r :
         {&data->commands, &data->sysvars, &data->vntkeywords, &data->symbols}) {
      ASSERT_GE(r->first, 1);
      ASSERT_LE(r->last, count);
      if (r->Empty()) continue;
      ASSERT_LT(r->last, count);
      // The line just before a section is its header.
      ASSERT_EQ(data->keywords[static_cast<std::size_t>(r->first - 1)].front(), '[');
    }
    for (const TKeywordRange* r : {&data->commands, &data->sysvars, &data->vntkeywords}) {
      for (int i = r->first; i <= r->last; ++i) {
        const std::string& word = data->keywords[static_cast<std::size_t>(i)];
        ASSERT_TRUE(word.empty() || word.front() != '[') << text;
      }
    }
    // The highlighter takes whatever the loader produced.
    TTtlHighlighter hl;
    ASSERT_TRUE(hl.LoadKeywordText(text));
    for (int i = 0; i < count; ++i) {
      const std::string& word = data->keywords[static_cast<std::size_t>(i)];
      const int first = static_cast<int>(
          std::find(data->keywords.begin(), data->keywords.end(), word) - data->keywords.begin());
      ASSERT_EQ(hl.HelpIdOf(word), data->help_ids[static_cast<std::size_t>(first)]);
    }
  }
}

// ------------------------------------------------------- the shipped file

// From the build's data folder: __FILE__ may be relative to the build folder.
std::string ShippedKeywordFile() { return std::string(QUILLON_DATA_DIR) + "/KeyFile.ini"; }

TEST(ShippedKeywordFile, EveryMacroCommandIsAKeywordWithItsHelpPage) {
  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordFile(ShippedKeywordFile())) << ShippedKeywordFile();
  for (const auto& [word, id, parameters] : kShippedCommands) {
    EXPECT_EQ(hl.HelpIdOf(word), id) << word;
    EXPECT_EQ(hl.KindOfKey(word), K::Keyword) << word;
    // As a macro line shows it.
    std::string upper = word;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    hl.SetLineText("  " + upper + " 'x'", 0);
    hl.NextToken();
    EXPECT_EQ(hl.Kind(), K::Keyword) << word;
  }
  // Nothing else: a word the interpreter does not know would be coloured as a command.
  EXPECT_EQ(hl.KeywordData().commands.last - hl.KeywordData().commands.first + 1,
            kShippedCommandCount);
}

TEST(ShippedKeywordFile, SystemVariablesOperatorsAndPlaceholdersHaveTheirFamilies) {
  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordFile(ShippedKeywordFile()));
  const std::vector<const char*> sysvars = {
      "inputstr", "matchstr", "groupmatchstr1", "groupmatchstr9", "param1",  "param5",
      "param9",   "paramcnt", "params",         "result",         "timeout", "mtimeout"};
  for (const char* word : sysvars) {
    EXPECT_EQ(hl.KindOfKey(word), K::SystemVariable) << word;
    EXPECT_EQ(hl.HelpIdOf(word), 91004) << word;
  }
  const std::vector<const char*> operators = {
      "and", "or", "xor", "not", "+",  "-", "*", "/", "%", "=", "==", "<>", "!=", "<",
      ">",   "<=", ">=",  "&&",  "||", "!", "~", "&", "|", "^", "<<", ">>", ">>>"};
  for (const char* word : operators) {
    EXPECT_EQ(hl.KindOfKey(word), K::Symbol) << word;
    EXPECT_EQ(hl.HelpIdOf(word), 91005) << word;
  }
  EXPECT_EQ(hl.KindOfKey("$user$"), K::VantrelKeyword);
  EXPECT_EQ(hl.KindOfKey("$connection$"), K::VantrelKeyword);
  EXPECT_FALSE(hl.KeywordData().vntkeywords.Empty());
}

TEST(ShippedKeywordFile, TheSampleMacroIsColouredAsAUserSeesIt) {
  TTtlHighlighter hl;
  ASSERT_TRUE(hl.LoadKeywordFile(ShippedKeywordFile()));
  EXPECT_EQ(ScanLine(hl, "if result <> 2 then"),
            (std::vector<ScannedToken>{{"if", K::Keyword, 0},
                                       {" ", K::Space, 2},
                                       {"result", K::SystemVariable, 3},
                                       {" ", K::Space, 9},
                                       {"<>", K::Symbol, 10},
                                       {" ", K::Space, 12},
                                       {"2", K::Other, 13},
                                       {" ", K::Space, 14},
                                       {"then", K::Keyword, 15}}));
  EXPECT_EQ(ScanLine(hl, "; sendln '$user$'"),
            (std::vector<ScannedToken>{{"; sendln '$user$'", K::Comment, 0}}));
  EXPECT_EQ(
      ScanLine(hl, "sendln inputstr"),
      (std::vector<ScannedToken>{
          {"sendln", K::Keyword, 0}, {" ", K::Space, 6}, {"inputstr", K::SystemVariable, 7}}));
}

}  // namespace
