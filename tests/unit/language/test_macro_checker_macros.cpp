#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "MacroCheckHelpers.h"
#include "language/MacroCommands.h"
#include "support/ShippedCommands.h"

namespace {

// Macros of the kinds users write, 100 lines and more each: logins,
// loops, subroutines, includes, files.
TEST(MacroCheckerOnRealMacros, FindsNothingInWorkingMacros) {
  for (const char* name : {"router_backup.ttl", "collect_logs.ttl", "file_tools.ttl"}) {
    const std::string text = ReadFile(kMacroDir + "/" + name);
    ASSERT_GT(TMacroTextLines(text).LineCount(), 100) << name;
    TMacroCheckOptions options;
    options.macro_folder = kMacroDir;
    const TMacroCheckResult result = CheckMacroText(text, options);
    EXPECT_TRUE(result.problems.empty()) << name << "\n" << Described(result, text);
  }
}

TEST(MacroCheckerOnRealMacros, FindsNothingInTheShippedSampleAndTemplates) {
  const std::string sample = ReadFile(std::string(QUILLON_DATA_DIR) + "/sample.ttl");
  ASSERT_FALSE(sample.empty());
  EXPECT_EQ(CheckList(sample), std::vector<std::string>{}) << sample;

  // Each template is inserted on its own.
  const std::string templates = ReadFile(std::string(QUILLON_DATA_DIR) + "/ttmacro.tpl");
  std::vector<std::string> bodies;
  std::istringstream lines(templates);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("[MACRO_TEMPLATE", 0) == 0) {
      bodies.emplace_back();
    } else if (!bodies.empty()) {
      bodies.back() += line + "\n";
    }
  }
  ASSERT_GE(bodies.size(), 5u);
  for (const std::string& body : bodies) {
    EXPECT_EQ(CheckList(body), std::vector<std::string>{}) << body;
  }
}

TEST(MacroCommandSet, KnowsExactlyTheInterpretersCommandWords) {
  const TMacroCommandSet& set = TMacroCommandSet::Interpreter();
  EXPECT_EQ(set.Words().size(), static_cast<std::size_t>(kShippedCommandCount));
  for (const TShippedCommand& command : kShippedCommands) {
    std::string upper = command.name;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    EXPECT_TRUE(set.Find(command.name).has_value()) << command.name;
    EXPECT_TRUE(set.Find(upper).has_value()) << upper;
  }
  for (const char* word : {"logautoclose", "sendlnx", "result", "and", "", "sendln\xC3"}) {
    EXPECT_FALSE(set.Find(word).has_value()) << word;
  }
  EXPECT_TRUE(set.IsReserved("Result"));
  EXPECT_TRUE(set.IsReserved("XOR"));
  EXPECT_FALSE(set.IsReserved("done"));

  // Commands newer than this program can be added from the keyword file.
  TMacroCommandSet extended;
  extended.AddWords({"SendFuture", "if"});
  EXPECT_EQ(extended.Find("sendfuture"), TMacroCommand::Plain);
  EXPECT_EQ(extended.Find("IF"), TMacroCommand::If);
  TMacroCheckOptions options;
  options.commands = &extended;
  EXPECT_EQ(CheckList("sendfuture 1\n", options), std::vector<std::string>{});
  EXPECT_EQ(CheckList("sendfuture 1\n"), std::vector<std::string>{"1,1 TTL003"});
}

// Arbitrary bytes and shuffled pieces of macros: no crash, no hang, and
// every problem points into its line.
TEST(MacroCheckerRobustness, AnyInputGivesProblemsInsideTheText) {
  const std::vector<std::string> pieces = {
      "if ",       "then",   "elseif ",  "else",      "endif",
      "for i 1 2", "next",   "while ",   "endwhile",  "do ",
      "loop",      "until ", "enduntil", "break",     "continue",
      "goto ",     "call ",  ":",        "x",         "=",
      "'",         "\"",     "/*",       "*/",        ";",
      "#",         "$",      "(",        ")",         "[",
      "]",         " ",      "\t",       "\n",        "\r",
      "\r\n",      "and",    "not",      "include '", "end",
      "return",    "1",      "#13",      "\xC3\xA9",  std::string(1, '\0')};
  std::mt19937 rng(20240611);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int parts = static_cast<int>(rng() % 60);
    for (int i = 0; i < parts; ++i) {
      if (round % 3 == 0) {
        text += static_cast<char>(rng() % 256);
      } else {
        text += pieces[rng() % pieces.size()];
      }
    }
    const TMacroCheckOptions options{"/nowhere", nullptr, false, round % 2 == 0, nullptr};
    const TMacroCheckResult result = CheckMacroText(text, options);
    const TMacroTextLines lines(text);
    int errors = 0;
    for (std::size_t i = 0; i < result.problems.size(); ++i) {
      const TMacroProblem& p = result.problems[i];
      ASSERT_GE(p.line, 0);
      ASSERT_LT(p.line, lines.LineCount());
      const int size = static_cast<int>(lines.Line(p.line).size());
      EXPECT_GE(p.column, 0);
      EXPECT_GE(p.length, 0);
      EXPECT_LE(p.column + p.length, size) << p.message;
      EXPECT_FALSE(p.message.empty());
      if (p.severity == TMacroSeverity::Error) ++errors;
      if (i > 0) {
        const TMacroProblem& q = result.problems[i - 1];
        EXPECT_TRUE(q.line < p.line || (q.line == p.line && q.column <= p.column));
      }
    }
    EXPECT_EQ(errors, result.errors);
    EXPECT_EQ(result.errors + result.warnings, static_cast<int>(result.problems.size()));
  }
}

TEST(MacroCheckerRobustness, DeepBracketsAndLongLinesStayCheap) {
  const std::string deep = "if " + std::string(200000, '(') + "a then\nendif\n";
  EXPECT_NO_FATAL_FAILURE(CheckMacroText(deep));
  const std::string wide = "sendln " + std::string(1 << 20, 'x') + "\n";
  EXPECT_EQ(CheckList(wide), std::vector<std::string>{"1,1024 TTL103"});
}

}  // namespace

namespace {

// What an editor keeps per line to check again after an edit.
struct TLineRecord {
  TMacroLineFacts facts;
  std::vector<TMacroProblem> problems;
  bool in_comment = false;  // at its start
};

TEST(MacroCheckerByLine, ReadingOnlyTheEditedLinesGivesTheWholeFileResult) {
  std::vector<std::string> text_lines;
  {
    std::istringstream in(ReadFile(kMacroDir + "/collect_logs.ttl"));
    for (std::string line; std::getline(in, line);) text_lines.push_back(line);
  }
  std::vector<TLineRecord> records(text_lines.size());
  const auto read_from = [&](std::size_t first, bool all) {
    // Lines after an edit are read again while their comment state changes.
    for (std::size_t i = first; i < text_lines.size(); ++i) {
      const bool in_comment = i > 0 && records[i - 1].facts.comment_open_at_end;
      if (!all && i > first && records[i].in_comment == in_comment) break;
      records[i] = TLineRecord{};
      records[i].in_comment = in_comment;
      ReadMacroLine(text_lines[i], static_cast<int>(i), in_comment, {}, records[i].facts,
                    records[i].problems);
    }
  };
  const auto passes = [&] {
    TMacroFileCheck check(TMacroCheckOptions{});
    for (std::size_t i = 0; i < records.size(); ++i) {
      check.AddLine(static_cast<int>(i), text_lines[i], records[i].facts, records[i].problems);
    }
    return ProblemList(check.Finish());
  };
  const auto whole = [&] {
    std::string text;
    for (const std::string& line : text_lines) text += line + "\n";
    return CheckList(text);
  };
  read_from(0, true);
  EXPECT_EQ(passes(), whole());
  // Edits that break a block, open a comment over many lines, and close it.
  const std::vector<std::pair<std::size_t, const char*>> edits = {
      {40, "endwhile"}, {40, "/* from here on"}, {41, "x = 1 */ sendlm 'x'"}};
  for (const auto& [index, edit] : edits) {
    text_lines[index] = edit;
    read_from(index, false);
    EXPECT_EQ(passes(), whole()) << edit;
    EXPECT_FALSE(passes().empty()) << edit;
  }
}

}  // namespace
