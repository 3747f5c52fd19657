// The editor control on a million-line macro file and on a 10 MB line: caret
// moves, painting a full screen, tab-width changes, and typing beside a huge
// line. Whole-file walks are set against `wc -l` on the same file in the same
// run; screen operations against their budget (x_budget = time / budget).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "BenchData.h"
#include "editor/EditorMemo.h"
#include "language/TtlHighlighter.h"
#include "support/FakeEditorHost.h"
#include "support/RecordingCanvas.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kRows = 60;
constexpr int kColumns = 200;

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// An editor the size of a 60 x 200 screen, configured as the main window does.
struct TBenchEditor {
  TFakeEditorHost host;
  TEditorMemo editor;
  TRecordingCanvas canvas;
  TBenchEditor() {
    editor.Gutter().SetShowLineNumbers(true);
    editor.Gutter().SetAutoSize(true);
    editor.Gutter().SetDigitCount(2);
    editor.Gutter().SetLeftOffset(0);
    editor.SetActiveLineColor(clYellow);
    editor.SetTabWidth(4);
    editor.SetOptions(eoAutoIndent | eoDragDropEditing | eoEnhanceHomeKey | eoEnhanceEndKey |
                      eoGroupUndo | eoHideShowScrollbars | eoScrollPastEol | eoShowScrollHint |
                      eoSmartTabs | eoTabIndent);
    host.client_height = kRows * host.metrics.Height;
    host.client_width = 1000;  // adjusted below once the gutter is known
    editor.SetHost(&host);
  }
  void FitScreen() {
    host.client_width = editor.GutterPixels() + 2 + kColumns * host.metrics.Advance;
    editor.Resize();
  }
  ~TBenchEditor() { editor.SetHost(nullptr); }
  void PaintScreen() {
    canvas.Clear();
    editor.Paint(canvas, {0, 0, host.client_width, host.client_height});
  }
  // Paints what the editor asked to repaint since the last call.
  void PaintInvalidated() {
    canvas.Clear();
    for (const TRect& r : host.invalidated) editor.Paint(canvas, r);
    host.ClearRecords();
  }
};

struct TMillionLines {
  std::string path;
  double wc_seconds = 0;
  std::unique_ptr<TBenchEditor> plain;
};

TMillionLines& Million() {
  static TMillionLines m = [] {
    TMillionLines r;
    std::string text = GenerateTtlText(kLines);
    r.path = WriteBenchFile("quillon_bench_editor.ttl", text);
    r.wc_seconds = TimeShellCommand("wc -l '" + r.path + "'", 5);
    r.plain = std::make_unique<TBenchEditor>();
    r.plain->editor.Lines().LoadFromBuffer(std::move(text));
    r.plain->FitScreen();
    return r;
  }();
  return m;
}

void BM_CaretToLastLine(benchmark::State& state) {
  TBenchEditor& b = *Million().plain;
  for (auto _ : state) {
    state.PauseTiming();
    b.editor.ProcessCommand(ecEditorTop);
    state.ResumeTiming();
    b.editor.ProcessCommand(ecEditorBottom);
  }
  if (b.editor.CaretLine() != b.editor.LineCount())
    state.SkipWithError("caret not on the last line");
}
BENCHMARK(BM_CaretToLastLine)->Unit(benchmark::kMicrosecond);

// Paints one screen per iteration and reports the time against the 1 ms budget.
void MeasurePaint(benchmark::State& state, TBenchEditor& b) {
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    b.PaintScreen();
    const double t = Seconds(start);
    state.SetIterationTime(t);
    total += t;
  }
  state.counters["x_budget"] = total / static_cast<double>(state.iterations()) / 0.001;
}

void BM_PaintScreen(benchmark::State& state) {
  TBenchEditor& b = *Million().plain;
  b.editor.SetTopRow(kLines / 2);
  b.editor.SetOptions(b.editor.Options() | TEditorOptions{eoShowSpecialChars});
  MeasurePaint(state, b);
  b.editor.SetOptions(b.editor.Options() - TEditorOptions{eoShowSpecialChars});
  state.counters["ops"] = static_cast<double>(b.canvas.Ops().size());
}
BENCHMARK(BM_PaintScreen)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_PaintScreenHighlighted(benchmark::State& state) {
  TBenchEditor& b = *Million().plain;
  TTtlHighlighter hl;
  b.editor.SetHighlighter(&hl);  // scans all million lines once
  b.editor.SetTopRow(kLines / 2);
  MeasurePaint(state, b);
  b.editor.SetHighlighter(nullptr);
}
BENCHMARK(BM_PaintScreenHighlighted)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_KeyDownAndRepaint(benchmark::State& state) {
  TBenchEditor& b = *Million().plain;
  b.editor.SetCaretPos({5, kLines / 2});
  b.host.ClearRecords();
  int step = 0;
  std::size_t ops = 0;
  for (auto _ : state) {
    b.editor.ProcessCommand((step++ & 1) ? ecUp : ecDown);
    b.PaintInvalidated();
    ops += b.canvas.Ops().size();
  }
  state.counters["ops"] = static_cast<double>(ops) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_KeyDownAndRepaint)->Unit(benchmark::kMicrosecond);

void BM_TabWidthChangeThenLongestLine(benchmark::State& state) {
  TMillionLines& m = Million();
  TBenchEditor& b = *m.plain;
  int width = 4;
  double total = 0;
  for (auto _ : state) {
    width = width == 4 ? 8 : 4;
    const auto start = std::chrono::steady_clock::now();
    b.editor.SetTabWidth(width);
    benchmark::DoNotOptimize(b.editor.Lines().LongestLineLength());
    const double t = Seconds(start);
    state.SetIterationTime(t);
    total += t;
  }
  state.counters["x_wc"] = total / static_cast<double>(state.iterations()) / m.wc_seconds;
}
BENCHMARK(BM_TabWidthChangeThenLongestLine)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// A 10 MB line (a tab every 37 bytes) between ordinary lines.
struct TLongLine {
  std::unique_ptr<TBenchEditor> b;
};

TLongLine& LongLine() {
  static TLongLine l = [] {
    TLongLine r;
    r.b = std::make_unique<TBenchEditor>();
    std::string huge(10 * 1024 * 1024, 'x');
    for (size_t i = 0; i < huge.size(); i += 37) huge[i] = '\t';
    std::string text = GenerateTtlText(20);
    text += huge + "\r\n" + GenerateTtlText(20);
    r.b->editor.Lines().LoadFromBuffer(std::move(text));
    // Scrolling past the line ends would limit the view to the scroll width;
    // without it the whole line can be reached.
    r.b->editor.SetOptions(r.b->editor.Options() - TEditorOptions{eoScrollPastEol});
    r.b->FitScreen();
    return r;
  }();
  return l;
}

void BM_LongLineScrollAndPaint(benchmark::State& state) {
  TBenchEditor& b = *LongLine().b;
  b.editor.SetLeftColumn(5000000);
  if (b.editor.LeftColumn() != 5000000) state.SkipWithError("cannot scroll that far");
  int step = 0;
  for (auto _ : state) {
    b.editor.Scroll(TScrollBarKind::Horizontal,
                    (step++ & 1) ? TScrollCode::PageUp : TScrollCode::PageDown, 0);
    b.PaintScreen();
  }
}
BENCHMARK(BM_LongLineScrollAndPaint)->Unit(benchmark::kMicrosecond);

void BM_TypingBesideLongLine(benchmark::State& state) {
  TBenchEditor& b = *LongLine().b;
  b.editor.SetLeftColumn(1);
  b.editor.SetCaretPos({1, 5});
  std::string line = b.editor.LineText(5);
  b.host.ClearRecords();
  std::size_t ops = 0;
  for (auto _ : state) {
    // What a typed character does to the buffer, and the repaint it causes.
    line.push_back('a');
    if (line.size() > 200) line.resize(40);
    b.editor.Lines().SetLine(4, line);
    b.PaintInvalidated();
    ops += b.canvas.Ops().size();
  }
  state.counters["ops"] = static_cast<double>(ops) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TypingBesideLongLine)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
