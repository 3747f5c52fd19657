#include <gtest/gtest.h>

#include "app/LabelNavigation.h"
#include "language/MacroChecker.h"

namespace {

std::string NamedBy(const std::string& line) {
  TMacroLineFacts facts;
  std::vector<TMacroProblem> problems;
  ReadMacroLine(line, 0, false, {}, facts, problems);
  const std::string name = facts.name_use == TMacroNameUse::None
                               ? std::string()
                               : line.substr(static_cast<std::size_t>(facts.name_start),
                                             static_cast<std::size_t>(facts.name_length));
  return LabelNamedBy(facts, name);
}

TEST(LabelNavigation, TheLabelALinePointsAt) {
  const struct {
    const char* line;
    const char* label;
  } cases[] = {{"  goto retry ; again", "retry"},
               {"call Sub1", "Sub1"},
               {":done", "done"},
               {"if result=2 goto pswd", "pswd"},
               {"include 'x.ttl'", ""},
               {"sendln 'goto retry'", ""},
               {"; goto retry", ""}};
  for (const auto& c : cases) EXPECT_EQ(NamedBy(c.line), c.label) << c.line;
}

TEST(LabelNavigation, TheFirstDefinitionCountsWhateverTheCase) {
  const TMacroCheckResult result = CheckMacroText(":Retry\r\nsendln\r\n:retry\r\n:other");
  EXPECT_EQ(FindLabel(result.labels, "RETRY")->line, 0);
  EXPECT_EQ(FindLabel(result.labels, "other")->line, 3);
  EXPECT_FALSE(FindLabel(result.labels, "missing"));
  EXPECT_EQ(FilterLabels(result.labels, "TR"), (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(FilterLabels(result.labels, "").size(), 3u);
  const TCompletionLists lists = LabelCompletionLists(result.labels);
  EXPECT_EQ(lists.inserts, (std::vector<std::string>{"Retry", "other"}));
  EXPECT_EQ(lists.displays[1], "\\style{+B}other\\style{-B}\\color{clGray}  line 4");
}

TEST(LabelNavigation, GoBackReturnsNewestFirstAndForgetsTheOldest) {
  TJumpHistory history;
  EXPECT_FALSE(history.Pop());
  for (int i = 1; i <= static_cast<int>(TJumpHistory::kLimit) + 5; ++i) history.Push({1, i});
  EXPECT_EQ(history.Pop()->Line, static_cast<int>(TJumpHistory::kLimit) + 5);
  int left = 0;
  TBufferCoord last{};
  while (auto place = history.Pop()) {
    last = *place;
    ++left;
  }
  EXPECT_EQ(left, static_cast<int>(TJumpHistory::kLimit) - 1);
  EXPECT_EQ(last.Line, 6);
}

TEST(LabelNavigation, CompletionOffersLabelsRightAfterGotoAndCall) {
  const struct {
    const char* line;
    int token_start;
    bool labels;
  } cases[] = {
      {"goto ", 6, true},   {"\tCALL  ret", 8, true}, {"if x goto ", 11, true}, {"goto", 5, false},
      {"xgoto ", 7, false}, {"sendln ", 8, false},    {"goto a b", 8, false},   {"", 1, false}};
  for (const auto& c : cases) EXPECT_EQ(CompletesLabel(c.line, c.token_start), c.labels) << c.line;
}

}  // namespace
