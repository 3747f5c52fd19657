#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "app/LiveMacroCheck.h"
#include "unit/language/MacroCheckHelpers.h"

namespace {

TMacroCheckOptions NoIncludes() {
  TMacroCheckOptions options;
  options.check_includes = false;
  return options;
}

// The facts as kept, checked, against a whole-file check of the same text.
std::vector<std::string> KeptList(TMacroCheckLines& kept, const TEditorStringList& lines) {
  EXPECT_TRUE(kept.ReadLines(TEditorMacroLines(lines), {}, 1 << 30));
  return ProblemList(*CheckMacroLines(kept.Snapshot(), NoIncludes()));
}

std::vector<std::string> WholeList(const TEditorStringList& lines) {
  return CheckList(lines.GetText(), NoIncludes());
}

// Follows a line buffer the way the live check does, with tiny blocks so
// that edits cross block edges.
struct KeptLines {
  TEditorStringList lines;
  TMacroCheckLines kept{3};
  KeptLines() {
    lines.OnLinesInserted = [this](TEditorStringList*, int i, int n) { kept.LinesInserted(i, n); };
    lines.OnLinesDeleted = [this](TEditorStringList*, int i, int n) { kept.LinesDeleted(i, n); };
    lines.OnLinesReplaced = [this](TEditorStringList*, int i, int n) { kept.LinesChanged(i, n); };
    lines.OnLinesCleared = [this](TEditorStringList*) { kept.Clear(); };
  }
};

TEST(MacroCheckLines, EditsReadAgainGiveTheWholeFileResult) {
  KeptLines k;
  k.lines.SetText(ReadFile(kMacroDir + "/collect_logs.ttl"));
  ASSERT_EQ(KeptList(k.kept, k.lines), WholeList(k.lines));
  struct Edit {
    const char* what;
    std::function<void(TEditorStringList&)> apply;
  };
  const std::vector<Edit> edits = {
      {"a closer out of place", [](auto& l) { l.SetLine(20, "endwhile"); }},
      {"a comment opened over the rest", [](auto& l) { l.Insert(10, "/* from here on"); }},
      {"the comment closed again", [](auto& l) { l.Insert(30, "*/ sendlm 'x'"); }},
      {"the opening removed", [](auto& l) { l.Delete(10); }},
      {"lines removed across blocks", [](auto& l) { l.DeleteLineRange(2, 8); }},
      {"a label used by a goto", [](auto& l) { l.Insert(0, "goto nowhere"); }},
      {"lines at the end",
       [](auto& l) {
         l.Add(":nowhere");
         l.Add("if 1 then");
       }},
      {"everything replaced", [](auto& l) { l.SetText("for i 1 2\r\n/*\r\nnext"); }},
  };
  for (const Edit& edit : edits) {
    edit.apply(k.lines);
    EXPECT_EQ(KeptList(k.kept, k.lines), WholeList(k.lines)) << edit.what;
  }
}

TEST(MacroCheckLines, ReadingStopsAtItsBudgetAndASnapshotStaysAsItWas) {
  KeptLines k;
  k.lines.SetText("if 1 then\r\nendif\r\n:a\r\nsendln 'x'\r\ngoto a");
  EXPECT_EQ(k.kept.PendingLines(), 5);
  EXPECT_FALSE(k.kept.ReadLines(TEditorMacroLines(k.lines), {}, 2));
  EXPECT_EQ(k.kept.PendingLines(), 3);
  ASSERT_TRUE(k.kept.ReadLines(TEditorMacroLines(k.lines), {}, 3));
  const TMacroLinesSnapshot before = k.kept.Snapshot();
  k.lines.SetLine(1, "sendlm");
  k.lines.Insert(0, "goto b");
  KeptList(k.kept, k.lines);
  EXPECT_EQ(ProblemList(*CheckMacroLines(before, NoIncludes())), std::vector<std::string>{});
  std::atomic<bool> stop{true};
  EXPECT_FALSE(CheckMacroLines(k.kept.Snapshot(), NoIncludes(), &stop).has_value());
  // Labels as read, with their new lines.
  const auto labels = k.kept.Labels();
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].name, "a");
  EXPECT_EQ(labels[0].line, 3);
}

// ---- the problem list

TMacroProblem At(int line, int column, int length, TMacroProblemCode code, const char* message) {
  return MakeMacroProblem(code, line, column, length, message);
}

TEST(MacroProblemList, StatusTextCountsErrorsAndWarnings) {
  const struct {
    int errors, warnings;
    const char* text;
  } cases[] = {{0, 0, ""},
               {1, 0, "1 error"},
               {2, 0, "2 errors"},
               {0, 1, "1 warning"},
               {1, 2, "1 error, 2 warnings"},
               {3, 1, "3 errors, 1 warning"}};
  for (const auto& c : cases) EXPECT_EQ(MacroProblemStatusText(c.errors, c.warnings), c.text);
}

TEST(MacroProblemList, NextAndPreviousWrapAroundAndFollowLineChanges) {
  TMacroProblemList list;
  EXPECT_FALSE(list.Next(0, 0, false));
  list.Assign({At(2, 4, 3, TMacroProblemCode::UnknownCommand, "unknown"),
               At(2, 9, 0, TMacroProblemCode::MissingThen, "no then"),
               At(7, 0, 5, TMacroProblemCode::UnusedLabel, "unused")});
  EXPECT_EQ(list.StatusText(), "2 errors, 1 warning");
  const struct {
    int line, column;
    bool backwards;
    std::size_t expected;
  } steps[] = {{0, 0, false, 0}, {2, 4, false, 1}, {2, 5, false, 1}, {2, 9, false, 2},
               {7, 0, false, 0}, {9, 0, false, 0}, {2, 4, true, 2},  {2, 5, true, 0},
               {7, 0, true, 1},  {8, 0, true, 2}};
  for (const auto& s : steps) {
    EXPECT_EQ(list.Next(s.line, s.column, s.backwards), s.expected)
        << s.line << "," << s.column << (s.backwards ? " back" : "");
  }
  EXPECT_EQ(list.MessagesAt(2, 5), "unknown");
  EXPECT_EQ(list.MessagesAt(2, 7), "");
  EXPECT_EQ(list.MessagesAt(2, 12), "no then");
  EXPECT_EQ(list.MessagesAt(2, -1), "unknown\nno then");
  list.LinesInserted(3, 2);
  EXPECT_EQ(list.MessagesAt(9, 0), "unused");
  list.LinesDeleted(1, 3);
  EXPECT_EQ(list.StatusText(), "1 warning");
  EXPECT_EQ(list.Problems()[0].line, 6);
}

// ---- checking while typing

class LiveMacroCheckTest : public ::testing::Test {
 protected:
  TEditorStringList lines;
  std::vector<int> timers;  // started, in order; -1 for a stop
  std::mutex mutex;
  std::condition_variable answered;
  int answers_posted = 0;
  int problem_changes = 0;
  TLiveMacroCheck check{lines, TLiveMacroCheck::THost{[this](int ms) { timers.push_back(ms); },
                                                      [this] { timers.push_back(-1); },
                                                      [this] {
                                                        std::lock_guard<std::mutex> lock(mutex);
                                                        ++answers_posted;
                                                        answered.notify_all();
                                                      },
                                                      [this] { ++problem_changes; }}};

  // Runs the timer until the snapshot went to the worker.
  int RunTimer() {
    int steps = 0;
    do {
      check.TimerElapsed();
      ++steps;
    } while (!timers.empty() && timers.back() == TLiveMacroCheck::kStepMs);
    return steps;
  }
  void WaitForAnswer(int count) {
    std::unique_lock<std::mutex> lock(mutex);
    ASSERT_TRUE(
        answered.wait_for(lock, std::chrono::seconds(20), [&] { return answers_posted >= count; }));
  }
};

TEST_F(LiveMacroCheckTest, APauseAfterAnEditChecksAndTakesTheAnswer) {
  lines.SetText("if 1 then\r\nsendlm 'x'");
  EXPECT_EQ(timers, std::vector<int>{TLiveMacroCheck::kPauseMs});
  EXPECT_EQ(RunTimer(), 1);
  WaitForAnswer(1);
  check.AnswerArrived();
  EXPECT_TRUE(check.Current());
  EXPECT_EQ(problem_changes, 1);
  EXPECT_EQ(check.Problems().StatusText(), "2 errors");
  // A large text is read in slices, each a step of its own.
  std::string big;
  for (int i = 0; i < TLiveMacroCheck::kSliceLines * 2 + 10; ++i) big += "sendln 'x'\r\n";
  lines.SetText(big);
  EXPECT_EQ(RunTimer(), 3);
  WaitForAnswer(2);
  check.AnswerArrived();
  EXPECT_EQ(check.Problems().StatusText(), "");
}

TEST_F(LiveMacroCheckTest, AnAnswerForAnOlderTextIsDropped) {
  lines.SetText("goto a");
  RunTimer();
  WaitForAnswer(1);
  lines.Add(":a");  // typed while the worker was busy
  check.AnswerArrived();
  EXPECT_FALSE(check.Current());
  EXPECT_EQ(problem_changes, 0);
  EXPECT_EQ(timers.back(), TLiveMacroCheck::kPauseMs);
  RunTimer();
  WaitForAnswer(2);
  check.AnswerArrived();
  EXPECT_TRUE(check.Current());
  EXPECT_EQ(check.Problems().StatusText(), "");
}

TEST_F(LiveMacroCheckTest, CheckingOffDropsTheProblemsAndWaitsForNoPause) {
  lines.SetText("endif");
  RunTimer();
  WaitForAnswer(1);
  check.AnswerArrived();
  ASSERT_EQ(check.Problems().Errors(), 1);
  check.SetEnabled(false);
  EXPECT_TRUE(check.Problems().Empty());
  timers.clear();
  lines.Add("endif");
  EXPECT_TRUE(timers.empty());
  // Label navigation still reads the text.
  lines.Add(":here");
  EXPECT_EQ(check.ReadNow().Labels().size(), 1u);
  check.SetEnabled(true);
  EXPECT_EQ(timers, std::vector<int>{0});
  RunTimer();
  WaitForAnswer(2);
  check.AnswerArrived();
  EXPECT_EQ(check.Problems().Errors(), 2);
}

}  // namespace
