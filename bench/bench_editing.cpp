// Editing a million-line macro file: a character typed in the middle and its
// undo, pasting a 10 MB text and undoing that, and how much memory the undo
// history holds for them. Times are set against their budgets (x_budget =
// time / budget) and the paste against a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "BenchData.h"
#include "editor/EditorMemo.h"
#include "language/TtlHighlighter.h"
#include "search/EditorSearch.h"
#include "support/FakeEditorHost.h"
#include "support/MemoryClipboard.h"

namespace {

constexpr int kLines = 1000000;

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The main window's editor on a million lines, highlighted.
struct TBench {
  TFakeEditorHost host;
  TEditorMemo editor;
  TTtlHighlighter highlighter;
  TMemoryClipboard clipboard;
  TBench() {
    editor.Gutter().SetShowLineNumbers(true);
    editor.Gutter().SetAutoSize(true);
    editor.SetActiveLineColor(clYellow);
    editor.SetTabWidth(4);
    editor.SetOptions(eoAutoIndent | eoDragDropEditing | eoEnhanceHomeKey | eoEnhanceEndKey |
                      eoGroupUndo | eoHideShowScrollbars | eoScrollPastEol | eoShowScrollHint |
                      eoSmartTabs | eoTabIndent);
    host.client_height = 60 * 16;
    host.client_width = 1700;
    editor.SetHost(&host);
    editor.SetClipboard(&clipboard);
    editor.Lines().LoadFromBuffer(GenerateTtlText(kLines));
    editor.SetHighlighter(&highlighter);
  }
  ~TBench() {
    editor.SetHighlighter(nullptr);
    editor.SetHost(nullptr);
  }
};

TBench& Bench() {
  static TBench b;
  return b;
}

// Bytes the undo and redo lists hold: records plus their texts.
double HistoryBytes(TEditorMemo& e) {
  double bytes = 0;
  for (TEditorUndoList* list : {&e.UndoList(), &e.RedoList()})
    for (int i = 0; i < list->ItemCount(); ++i)
      bytes += static_cast<double>(sizeof(TEditorUndoItem) + list->Item(i).ChangeText.capacity());
  return bytes;
}

void BM_TypeCharInTheMiddleAndUndo(benchmark::State& state) {
  TBench& b = Bench();
  double typing = 0, undoing = 0;
  for (auto _ : state) {
    b.editor.SetCaretPos({10, kLines / 2});
    auto start = std::chrono::steady_clock::now();
    b.editor.ProcessCommand(ecChar, 'x', nullptr);
    const double t1 = Seconds(start);
    start = std::chrono::steady_clock::now();
    b.editor.Undo();
    const double t2 = Seconds(start);
    typing += t1;
    undoing += t2;
    state.SetIterationTime(t1 + t2);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["type_us"] = typing / n * 1e6;
  state.counters["undo_us"] = undoing / n * 1e6;
  state.counters["type_x_budget"] = typing / n / 0.0001;
  state.counters["undo_x_budget"] = undoing / n / 0.0001;
}
BENCHMARK(BM_TypeCharInTheMiddleAndUndo)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Without eoScrollPastEol the horizontal scroll range is the longest line:
// typing on, and shortening, the longest line must not walk every line.
void BM_TypeAndBackspaceOnTheLongestLine(benchmark::State& state) {
  TBench& b = Bench();
  b.editor.SetOptions(b.editor.Options() - TEditorOptions{eoScrollPastEol});
  b.editor.SetCaretPos({1, kLines / 2});
  for (int i = 0; i < 400; ++i) b.editor.ProcessCommand(ecChar, 'w', nullptr);
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    b.editor.ProcessCommand(ecChar, 'w', nullptr);
    b.editor.ProcessCommand(ecDeleteLastChar, 0, nullptr);
    b.editor.ProcessCommand(ecDeleteLastChar, 0, nullptr);
    const double t = Seconds(start);
    total += t;
    state.SetIterationTime(t);
    b.editor.ProcessCommand(ecChar, 'w', nullptr);
  }
  state.counters["per_key_us"] = total / static_cast<double>(state.iterations()) / 3 * 1e6;
  while (b.editor.CanUndo()) b.editor.Undo();
  b.editor.ClearUndoHistory();
  b.editor.SetOptions(b.editor.Options() + TEditorOptions{eoScrollPastEol});
}
BENCHMARK(BM_TypeAndBackspaceOnTheLongestLine)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_HistoryOfTypedCharacters(benchmark::State& state) {
  TBench& b = Bench();
  for (auto _ : state) {
    b.editor.ClearUndoHistory();
    b.editor.SetCaretPos({10, kLines / 2});
    for (int i = 0; i < 1000; ++i) b.editor.ProcessCommand(ecChar, 'y', nullptr);
    state.counters["history_bytes_per_char"] = HistoryBytes(b.editor) / 1000;
    while (b.editor.CanUndo()) b.editor.Undo();
    b.editor.ClearUndoHistory();
  }
}
BENCHMARK(BM_HistoryOfTypedCharacters)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Paste10MBAndUndo(benchmark::State& state) {
  TBench& b = Bench();
  std::string text = GenerateTtlText(250000);
  text.resize(10 * 1024 * 1024 > text.size() ? text.size() : 10 * 1024 * 1024);
  b.clipboard.Open();
  b.clipboard.Empty();
  b.clipboard.SetData(IClipboard::kTextFormat, text + '\0');
  b.clipboard.Close();
  double paste = 0, undo = 0, copy = 0, history = 0;
  const int lines_before = b.editor.LineCount();
  for (auto _ : state) {
    b.editor.ClearUndoHistory();
    b.editor.SetCaretPos({10, kLines / 2});
    auto start = std::chrono::steady_clock::now();
    b.editor.PasteFromClipboard();
    const double t1 = Seconds(start);
    history = HistoryBytes(b.editor);
    start = std::chrono::steady_clock::now();
    b.editor.Undo();
    const double t2 = Seconds(start);
    start = std::chrono::steady_clock::now();
    std::string copied(text.size(), '\0');
    std::memcpy(copied.data(), text.data(), text.size());
    benchmark::DoNotOptimize(copied.data());
    copy += Seconds(start);
    paste += t1;
    undo += t2;
    state.SetIterationTime(t1 + t2);
  }
  if (b.editor.LineCount() != lines_before) state.SkipWithError("undo did not restore the line count");
  const double n = static_cast<double>(state.iterations());
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["paste_ms"] = paste / n * 1e3;
  state.counters["undo_ms"] = undo / n * 1e3;
  state.counters["paste_x_budget"] = paste / n / 0.5;
  state.counters["undo_x_budget"] = undo / n / 0.5;
  state.counters["paste_x_memcpy"] = paste / copy;
  state.counters["history_bytes_after_paste"] = history;
  b.editor.ClearUndoHistory();
}
BENCHMARK(BM_Paste10MBAndUndo)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// Find and replace over the whole file: a search that finds nothing walks
// every line; replacing every "sendln" (about 150,000 of them) without
// prompting is one undo step.
void BM_SearchAndReplaceAll(benchmark::State& state) {
  TBench& b = Bench();
  TEditorSearch engine;
  b.editor.SetSearchEngine(&engine);
  const TSearchOptionSet entire{TSearchOption::EntireScope};
  const TSearchOptionSet replace_all{TSearchOption::EntireScope, TSearchOption::ReplaceOne,
                                     TSearchOption::ReplaceAll};
  double find = 0, replace = 0, undo = 0;
  int replaced = 0;
  for (auto _ : state) {
    b.editor.ClearUndoHistory();
    auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(b.editor.SearchAndReplace("no such text", "", entire));
    const double t0 = Seconds(start);
    start = std::chrono::steady_clock::now();
    replaced = b.editor.SearchAndReplace("sendln", "send", replace_all);
    const double t1 = Seconds(start);
    start = std::chrono::steady_clock::now();
    b.editor.Undo();
    const double t2 = Seconds(start);
    find += t0;
    replace += t1;
    undo += t2;
    state.SetIterationTime(t1);
  }
  if (b.editor.CanUndo()) state.SkipWithError("the replacements took more than one undo");
  const double n = static_cast<double>(state.iterations());
  state.counters["replaced"] = replaced;
  state.counters["find_nothing_ms"] = find / n * 1e3;
  state.counters["replace_all_ms"] = replace / n * 1e3;
  state.counters["undo_ms"] = undo / n * 1e3;
  b.editor.SetSearchEngine(nullptr);
  b.editor.ClearUndoHistory();
}
BENCHMARK(BM_SearchAndReplaceAll)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
