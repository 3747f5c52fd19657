// Speed of the macro checker on the large generated macro, set against the
// highlighter scanning every token of every line of the same text, measured
// in the same run.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "BenchData.h"
#include "app/LiveMacroCheck.h"
#include "language/MacroChecker.h"
#include "language/TtlHighlighter.h"

namespace {

const std::string& MillionLineText() {
  static const std::string text = GenerateTtlText(1000000);
  return text;
}

// The lines as the editor holds them: views into one text.
class TLineViews : public IMacroLines {
 public:
  explicit TLineViews(std::string_view text) {
    const TMacroTextLines split(text);
    for (int i = 0; i < split.LineCount(); ++i) lines_.push_back(split.Line(i));
  }
  int LineCount() const override { return static_cast<int>(lines_.size()); }
  std::string_view Line(int index) const override {
    return lines_[static_cast<std::size_t>(index)];
  }
  const std::vector<std::string_view>& Views() const { return lines_; }

 private:
  std::vector<std::string_view> lines_;
};

const TLineViews& MillionLines() {
  static const TLineViews lines(MillionLineText());
  return lines;
}

// CPU seconds of this thread: the machine is shared, and a wall clock would
// count the time other programs ran.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename F>
double SecondsOf(F&& run) {
  const double start = ThreadSeconds();
  run();
  return ThreadSeconds() - start;
}

// Every token of every line through the highlighter with the shipped keywords.
long long TokenizeAll(TTtlHighlighter& hl, const std::vector<std::string_view>& lines) {
  long long tokens = 0;
  hl.ResetLineState();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    hl.SetLineText(lines[i], static_cast<int>(i));
    while (!hl.AtLineEnd()) {
      ++tokens;
      hl.NextToken();
    }
  }
  return tokens;
}

// A whole-file check of the lines against tokenising them, best of five each.
void BM_CheckMillionLines(benchmark::State& state) {
  const TLineViews& lines = MillionLines();
  TTtlHighlighter hl;
  if (!hl.LoadKeywordFile(std::string(QUILLON_DATA_DIR) + "/KeyFile.ini")) {
    state.SkipWithError("KeyFile.ini not found");
    return;
  }
  TMacroCheckOptions options;
  options.check_includes = false;
  double best_check = 1e30, best_tokens = 1e30, best_text = 1e30;
  long long tokens = 0;
  std::size_t problems = 0;
  for (auto _ : state) {
    best_tokens =
        std::min(best_tokens, SecondsOf([&] { tokens = TokenizeAll(hl, lines.Views()); }));
    best_text = std::min(best_text, SecondsOf([&] {
                           benchmark::DoNotOptimize(CheckMacroText(MillionLineText(), options));
                         }));
    const double seconds =
        SecondsOf([&] { problems = CheckMacro(lines, options).problems.size(); });
    best_check = std::min(best_check, seconds);
    state.SetIterationTime(seconds);
  }
  state.counters["lines"] = lines.LineCount();
  state.counters["problems"] = static_cast<double>(problems);
  state.counters["check_s"] = best_check;
  state.counters["check_text_s"] = best_text;
  state.counters["tokenize_s"] = best_tokens;
  state.counters["check_per_tokenize"] = best_check / best_tokens;
  state.counters["check_text_per_tokenize"] = best_text / best_tokens;
}
BENCHMARK(BM_CheckMillionLines)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// A clean macro (no problems to build): the reading cost alone.
void BM_CheckCleanMacro(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 100000; ++i) {
    text += ":port" + std::to_string(i) + "\r\n";
    text += "if i < 10 then ; next port\r\n\tsendln 'show interface ' ifname\r\n";
    text += "\twait '#' '>'\r\nelse\r\n\tgoto port" + std::to_string(i) + "\r\nendif\r\n";
  }
  TMacroCheckOptions options;
  options.check_includes = false;
  for (auto _ : state) {
    const TMacroCheckResult result = CheckMacroText(text, options);
    if (!result.problems.empty()) state.SkipWithError(result.problems[0].message.c_str());
  }
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}
BENCHMARK(BM_CheckCleanMacro)->Unit(benchmark::kMillisecond);

// The editor's re-check after a one-line edit of the large macro: the time
// the interface thread spends (noting the change, reading the changed line
// in steps, taking the snapshot, taking the answer), set against a
// whole-file check of the same text in the same run. The worker's passes
// run on their own thread; their wall time is reported beside.
void BM_RecheckAfterOneLineEdit(benchmark::State& state) {
  TEditorStringList lines;
  lines.LoadFromBuffer(MillionLineText());
  std::mutex mutex;
  std::condition_variable answered;
  int answers = 0;
  TLiveMacroCheck::THost host;
  host.start_timer = [](int) {};
  host.stop_timer = [] {};
  host.post_answer = [&] {
    std::lock_guard<std::mutex> lock(mutex);
    ++answers;
    answered.notify_all();
  };
  TLiveMacroCheck check(lines, host);
  TMacroCheckOptions options;
  options.check_includes = false;
  check.SetOptions(options);
  const auto wait_answer = [&](int count) {
    std::unique_lock<std::mutex> lock(mutex);
    answered.wait(lock, [&] { return answers >= count; });
  };
  // Runs the timer until the snapshot went to the worker; the longest step.
  const auto run_steps = [&](double& longest, int& steps) {
    longest = 0;
    steps = 0;
    do {
      longest = std::max(longest, SecondsOf([&] { check.TimerElapsed(); }));
      ++steps;
    } while (check.Facts().PendingLines() > 0);
  };
  double longest = 0;
  int steps = 0;
  const long long resident_before = ResidentBytes();
  run_steps(longest, steps);
  wait_answer(1);
  check.AnswerArrived();
  // What keeping the facts of every line costs, per line.
  const double facts_bytes_per_line =
      static_cast<double>(ResidentBytes() - resident_before) / lines.Count();
  const double first_longest = longest;
  const int first_steps = steps;

  const TLineViews& views = MillionLines();
  const int middle = views.LineCount() / 2;
  const std::string original(views.Line(middle));
  double best_ui = 1e30, best_whole = 1e30, best_worker = 1e30, comment_longest = 0;
  int comment_steps = 0;
  int round = 1;
  for (auto _ : state) {
    best_whole = std::min(best_whole,
                          SecondsOf([&] { benchmark::DoNotOptimize(CheckMacro(views, options)); }));
    double ui = 0;
    const std::string edited = original + (round % 2 ? " ; edited" : "");
    ui += SecondsOf([&] { lines.SetLine(middle, edited); });
    run_steps(longest, steps);
    ui += longest * steps;  // one step here: the edited line alone
    const auto asked = std::chrono::steady_clock::now();
    wait_answer(++round);
    best_worker =
        std::min(best_worker,
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count());
    ui += SecondsOf([&] { check.AnswerArrived(); });
    if (!check.Current()) state.SkipWithError("the answer was not taken");
    best_ui = std::min(best_ui, ui);
    state.SetIterationTime(ui);
  }
  // A comment opened on the first line: every line after it is read again,
  // in steps.
  lines.Insert(0, "/*");
  run_steps(comment_longest, comment_steps);
  wait_answer(++round);
  state.counters["whole_check_s"] = best_whole;
  state.counters["recheck_ui_s"] = best_ui;
  state.counters["recheck_ui_per_whole"] = best_ui / best_whole;
  state.counters["recheck_worker_wall_s"] = best_worker;
  state.counters["first_read_steps"] = first_steps;
  state.counters["first_read_longest_step_s"] = first_longest;
  state.counters["comment_steps"] = comment_steps;
  state.counters["comment_longest_step_s"] = comment_longest;
  state.counters["problems"] = static_cast<double>(check.Problems().Problems().size());
  state.counters["facts_bytes_per_line"] = facts_bytes_per_line;
}
BENCHMARK(BM_RecheckAfterOneLineEdit)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
