#include <gtest/gtest.h>

#include "MacroCheckHelpers.h"
#include "support/FailingFileSystem.h"

namespace {

struct RuleCase {
  const char* what;
  std::string text;
  std::vector<std::string> expected;  // "LINE,COL TTLnnn"
};

// For each rule, a macro that breaks it and a close one that does not.
TEST(MacroChecker, ReportsEachRuleAndNotItsCloseVariant) {
  const std::vector<RuleCase> cases = {
      {"if without endif", "if a then\n  x = 1\n", {"1,1 TTL010"}},
      {"if with endif", "if a then\n  x = 1\nendif\n", {}},
      {"endif without if", "x = 1\nendif\n", {"2,1 TTL011"}},
      {"one-line if needs no endif", "if a x = 1\n", {}},
      {"for without next", "for i 1 3\n  x = i\n", {"1,1 TTL010"}},
      {"for with next", "FOR i 1 3\n  x = i\nNext\n", {}},
      {"endwhile without while", "endwhile\n", {"1,1 TTL011"}},
      {"do without loop", "do\n  i = 1\n", {"1,1 TTL010"}},
      {"do while ... loop", "do while i < 3\n  i = i + 1\nloop\n", {}},
      {"do ... loop until", "do\n  i = i + 1\nloop until i > 3\n", {}},
      {"loop without do", "loop while a\n", {"1,1 TTL011"}},
      {"until closed by endwhile",
       "until i > 3\n  i = i + 1\nendwhile\n",
       {"1,1 TTL010", "3,1 TTL012"}},
      {"a stray closer inside blocks",
       "for i 1 2\n  if a then\n    endwhile\n  endif\nnext\n",
       {"3,5 TTL012"}},
      {"until with enduntil", "until i > 3\n  i = i + 1\nenduntil\n", {}},
      {"crossed for and while", "for i 1 2\n  while a\n  next\nendwhile\n", {"3,3 TTL012"}},
      {"nested for and while", "for i 1 2\n  while a\n  endwhile\nnext\n", {}},
      {"else after else", "if a then\nelse\nelse\nendif\n", {"3,1 TTL013"}},
      {"elseif after else", "if a then\nelse\nelseif b then\nendif\n", {"3,1 TTL013"}},
      {"elseif before else", "if a then\nelseif b then\nelse\nendif\n", {}},
      {"else without if", "else\n", {"1,1 TTL011"}},
      {"if without then or statement", "if a\n  x = 1\nendif\n", {"1,1 TTL014"}},
      {"elseif without then", "if a then\nelseif b\nendif\n", {"2,1 TTL014"}},
      {"break outside a loop", "break\n", {"1,1 TTL015"}},
      {"break after a one-line if outside a loop", "if a break\n", {"1,6 TTL015"}},
      {"break after a one-line if in a loop", "while 1\n  if a break\nendwhile\n", {}},
      {"continue in do", "do\n  continue\nloop\n", {}},
      {"continue in until, inside an if",
       "until a\n  if b then\n    continue\n  endif\nenduntil\n",
       {}},
      {"goto an undefined label", "goto done\n", {"1,6 TTL020"}},
      {"label names ignore case", "goto Done\n:done\n", {}},
      {"call and return", "call sub\nend\n:SUB\nreturn\n", {}},
      {"call an undefined label", "if a call sub\n", {"1,11 TTL020"}},
      {"label defined twice", ":a\n:A\ngoto a\n", {"2,2 TTL021"}},
      {"two labels", ":a\ngoto b\n:b\ngoto a\n", {}},
      {"unterminated string", "sendln 'abc\n", {"1,8 TTL001"}},
      {"semicolon inside a string", "sendln 'a;b\n", {"1,8 TTL001"}},
      {"strings of both quotes, doubled quotes, comment", "sendln 'it''s' \"a;b\" ; 'x\n", {}},
      {"unterminated comment", "/* one\ntwo\n", {"1,1 TTL002"}},
      {"comment closed, code after it", "/* one\ntwo */ sendln 'x'\n", {}},
      {"code after a comment is checked", "/* a\n*/ sendlm 'x'\n", {"2,4 TTL003"}},
      {"unknown command", "sendlm 'x'\n", {"1,1 TTL003"}},
      {"command in any case", "SendLn 'x'\n", {}},
      {"unknown command after a one-line if", "if a sendlm 'x'\n", {"1,6 TTL003"}},
      {"assignments", "x = 1\na=b=c\narr[2] = 5\ntimeout = 5\nn += 1\n", {}},
      {"no word at the start", "123\n", {"1,1 TTL004"}},
      {"then on its own", "then\n", {"1,1 TTL005"}},
      {"goto without a label", "goto ; where?\n", {"1,1 TTL006"}},
      {"numeric label", "goto 100\n:100\n", {}},
      {"label never used", ":start\nx = 1\n", {"1,2 TTL101"}},
      {"label used", ":start\nx = 1\ngoto start\n", {}},
      {"code after end", "end\nx = 1\n", {"2,1 TTL102"}},
      {"subroutine after end", "call sub\nend\n:sub\nx = 1\nreturn\n", {}},
      {"code after exit in a loop", "while a\n  exit\n  x = 1\nendwhile\n", {"3,3 TTL102"}},
      {"goto in one branch only", "if a then\n  goto b\nelse\n  x = 1\nendif\n:b\n", {}},
      {"goto after a one-line if", "if a goto b\nx = 1\n:b\n", {}},
      {"unreached block reported once", "goto b\nif a then\n  x = 1\nendif\n:b\n", {"2,1 TTL102"}},
      {"reserved word as label", ":loop\ngoto loop\n", {"1,2 TTL105"}},
      {"label that only starts like a command", ":loop1\ngoto loop1\n", {}},
  };
  for (const RuleCase& c : cases) {
    const TMacroCheckResult result = CheckMacroText(c.text);
    EXPECT_EQ(ProblemList(result), c.expected) << c.what << "\n" << Described(result, c.text);
  }
}

// Lines the interpreter runs: the checker stays quiet where the language is loose.
TEST(MacroChecker, AcceptsWhatTheInterpreterRuns) {
  const std::vector<std::string> macros = {
      "if a=1 then\nendif\n",
      "if (a > 1) && (b <> 2) then\nelseif not a then\nelse\nendif\n",
      "if result=2 goto x\n:x\n",
      "if a if b goto x\n:x\n",
      "if str = \"then\" goto x\n:x\n",
      "if a then ; the block form\nendif\n",
      "if a[i+1] >= $1F then\nendif\n",
      "x = #13#10'abc'#$0d\nsendln 'abc' #13#10\n",
      "strcompare s \"it's\"\n",
      "  :label_1  ; indented label\ngoto label_1\n",
      "x = 1 /* inline */ + 2\n/* multi\nline */ y = 1\n",
      "while i < 10 ; comment\n  i = i + 1\nendwhile\n",
      "for i 1 10\n  if i = 5 continue\n  if i = 8 break\nnext\n",
      "if a then\n  if b then\n  endif\nelseif c then\nendif\n",
      "sendln'x'\n",
      "; only comments\n\n   \n/* and */\n",
  };
  for (const std::string& text : macros) {
    const TMacroCheckResult result = CheckMacroText(text);
    EXPECT_TRUE(result.problems.empty()) << text << "\n" << Described(result, text);
  }
}

TEST(MacroChecker, LinesCountCharactersOfTheirEncoding) {
  // 1023 characters that take 2046 bytes in UTF-8.
  std::string line = "x = '";
  for (int i = 0; i < 1017; ++i) line += "\xC3\xA9";
  line += "'";
  TMacroCheckOptions utf8;
  utf8.utf8 = true;
  EXPECT_EQ(CheckList(line, utf8), std::vector<std::string>{});
  EXPECT_EQ(CheckList(line + "x", utf8), std::vector<std::string>{"1,2041 TTL103"});
  // The same bytes as single-byte text are far too long.
  EXPECT_EQ(CheckList(line), std::vector<std::string>{"1,1024 TTL103"});
  EXPECT_EQ(CheckList("x = '" + std::string(1017, 'a') + "'"), std::vector<std::string>{});
}

TEST(MacroChecker, LooksForIncludedFilesBesideTheMacro) {
  TFailingFileSystem files;
  files.Files["/macros/lib.ttl"] = "";
  files.Files["/macros/sub/util.ttl"] = "";
  files.Files["C:\\tt\\lib.ttl"] = "";
  TMacroCheckOptions options;
  options.file_system = &files;
  options.macro_folder = "/macros";
  const std::string text =
      "include 'lib.ttl'\n"
      "include \"sub\\util.ttl\"\n"
      "include 'missing.ttl'\n"
      "include name\n"
      "include 'C:\\tt\\lib.ttl'\n";
  EXPECT_EQ(CheckList(text, options), std::vector<std::string>{"3,10 TTL104"});

  options.macro_folder = "C:\\tt\\";
  EXPECT_EQ(CheckList("include 'lib.ttl'\ninclude 'sub\\util.ttl'\n", options),
            std::vector<std::string>{"2,10 TTL104"});

  options.check_includes = false;
  EXPECT_EQ(CheckList("include 'missing.ttl'\n", options), std::vector<std::string>{});
}

TEST(MacroChecker, GivesTheLabelsAndTheJumpsToThem) {
  const TMacroCheckResult result =
      CheckMacroText("call Sub\nend\n  :sub ; the subroutine\n  if a goto done\n:done\nreturn\n");
  EXPECT_TRUE(result.problems.empty());
  ASSERT_EQ(result.labels.size(), 2u);
  EXPECT_EQ(result.labels[0].name, "sub");
  EXPECT_EQ(result.labels[0].line, 2);
  EXPECT_EQ(result.labels[0].column, 3);
  EXPECT_EQ(result.labels[0].length, 3);
  EXPECT_EQ(result.labels[1].name, "done");
  ASSERT_EQ(result.uses.size(), 2u);
  EXPECT_EQ(result.uses[0].name, "Sub");
  EXPECT_TRUE(result.uses[0].call);
  EXPECT_EQ(result.uses[0].column, 5);
  EXPECT_EQ(result.uses[1].line, 3);
  EXPECT_EQ(result.uses[1].column, 12);
  EXPECT_FALSE(result.uses[1].call);
}

TEST(MacroChecker, ReportLinesNameFileLineCharacterColumnSeverityAndCode) {
  const std::string line = "\xC3\xA9t\xC3\xA9 = 'x";  // "été = 'x", the quote is character 7
  const TMacroCheckResult result = CheckMacroText(line);
  ASSERT_EQ(result.problems.size(), 2u);
  EXPECT_EQ(FormatMacroProblem("a.ttl", result.problems[1], line, true),
            "a.ttl(1,7): error TTL001: string without its closing ' on this line");
  EXPECT_EQ(FormatMacroProblem("a.ttl", result.problems[1], line, false),
            "a.ttl(1,9): error TTL001: string without its closing ' on this line");
  EXPECT_EQ(result.errors, 2);
  EXPECT_EQ(result.warnings, 0);
}

}  // namespace
