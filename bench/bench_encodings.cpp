// Unicode macro files: loading a 40 MB UTF-8 file (mostly ASCII, one accented
// letter every 50 lines) and its UTF-16 form, against the same text as an ANSI
// file in the same run (x_ansi = time / ANSI time); and a key typed and painted
// on lines of wide, accented, ASCII and double-byte characters (x_ascii), and
// at the end of a 10 MB line.
#include <benchmark/benchmark.h>

#include <chrono>
#include <iterator>
#include <memory>
#include <string>

#include "BenchData.h"
#include "editor/EditorMemo.h"
#include "language/TtlHighlighter.h"
#include "platform/TextEncoding.h"
#include "support/DoubleByteCodePage.h"
#include "support/FakeEditorHost.h"

namespace {

constexpr int kLines = 1000000;

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The generated macro with `accent` at the start of every 50th line.
std::string WithAccents(const std::string& text, const std::string& accent) {
  std::string out;
  out.reserve(text.size() + text.size() / 1000);
  int line = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    if (++line % 50 == 0) out += accent;
    out.append(text, start, next - start);
    start = next;
  }
  return out;
}

struct TFiles {
  std::string ansi, utf8, utf16;
  long long ansi_size = 0, utf8_size = 0;
};

const TFiles& Files() {
  static const TFiles files = [] {
    TFiles f;
    const std::string text = GenerateTtlText(kLines);
    const std::string ansi = WithAccents(text, "\xE9");
    const std::string utf8 = WithAccents(text, "\xC3\xA9");
    f.ansi_size = static_cast<long long>(ansi.size());
    f.utf8_size = static_cast<long long>(utf8.size());
    f.ansi = WriteBenchFile("quillon_bench_ansi.ttl", ansi);
    f.utf8 = WriteBenchFile("quillon_bench_utf8.ttl", utf8);
    f.utf16 = WriteBenchFile("quillon_bench_utf16.ttl", EncodeText(utf8, TTextEncoding::Utf16LE));
    return f;
  }();
  return files;
}

// Loading as the editor does it: the file, then the widths of all lines for
// the horizontal scroll range.
double LoadSeconds(const std::string& path, TTextEncoding expected, benchmark::State& state) {
  auto list = std::make_unique<TEditorStringList>();
  const auto start = std::chrono::steady_clock::now();
  list->LoadFromFile(path);
  benchmark::DoNotOptimize(list->LongestLineLength());
  const double t = Seconds(start);
  if (list->Encoding() != expected) state.SkipWithError("the file was read in another encoding");
  state.PauseTiming();
  list.reset();
  state.ResumeTiming();
  return t;
}

void BM_LoadUnicodeFiles(benchmark::State& state) {
  const TFiles& f = Files();
  double ansi = 0, utf8 = 0, utf16 = 0;
  for (auto _ : state) {
    const double a = LoadSeconds(f.ansi, TTextEncoding::Ansi, state);
    const double u = LoadSeconds(f.utf8, TTextEncoding::Utf8, state);
    const double w = LoadSeconds(f.utf16, TTextEncoding::Utf16LE, state);
    ansi += a;
    utf8 += u;
    utf16 += w;
    state.SetIterationTime(a + u + w);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ansi_ms"] = ansi / n * 1e3;
  state.counters["utf8_ms"] = utf8 / n * 1e3;
  state.counters["utf16_ms"] = utf16 / n * 1e3;
  state.counters["utf8_x_ansi"] = utf8 / ansi;
  state.counters["utf16_x_ansi"] = utf16 / ansi;
  state.counters["MB"] = static_cast<double>(f.utf8_size) / 1e6;
}
BENCHMARK(BM_LoadUnicodeFiles)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Draws nothing: the painting code's own work is what is measured.
class TNullCanvas : public ICanvas {
 public:
  TColor ResolveColor(TColor color) override { return color; }
  void FillRect(const TRect&, TColor) override {}
  void DrawLine(TPoint, TPoint, TColor) override {}
  void DrawWave(int, int, int, int, TColor) override {}
  void UseFont(const TFont&, TFontStyles) override {}
  void DrawTextRun(int, int, const TRect&, std::string_view text, int, TColor, TColor,
                   bool) override {
    benchmark::DoNotOptimize(text.data());
  }
  void DrawWideTextRun(int, int, const TRect&, std::u16string_view text, std::span<const int>,
                       TColor, TColor, bool) override {
    benchmark::DoNotOptimize(text.data());
  }
};

// The kinds of document a key is typed in: the bytes the file starts with and
// the character set of an ANSI document.
struct TDocKind {
  const char* bom;
  const ICodePage* code_page;
};
const TDoubleByteCodePage kDoubleByte;
constexpr TDocKind kUtf8Doc{"\xEF\xBB\xBF", nullptr};
constexpr TDocKind kAnsiDoc{"", nullptr};
const TDocKind kDoubleByteDoc{"", &kDoubleByte};

// A highlighted document of `lines` lines, each a string of `count` times the
// character.
struct TKeyBench {
  TFakeEditorHost host;
  TEditorMemo editor;
  TTtlHighlighter highlighter;
  TKeyBench(const std::string& character, int count, int lines, const TDocKind& kind = kUtf8Doc) {
    host.client_height = 60 * 16;
    host.client_width = 1700;
    editor.SetHost(&host);
    editor.SetTabWidth(4);
    if (kind.code_page) editor.SetCodePage(kind.code_page);
    std::string line = "sendln '";
    line.reserve(line.size() + character.size() * static_cast<std::size_t>(count) + 1);
    for (int i = 0; i < count; ++i) line += character;
    line += "'";
    std::string text;
    for (int i = 0; i < lines; ++i) text += line + "\r\n";
    editor.Lines().LoadFromBuffer(kind.bom + text);
    editor.SetHighlighter(&highlighter);
  }
  ~TKeyBench() {
    editor.SetHighlighter(nullptr);
    editor.SetHost(nullptr);
  }
  // A key typed in the middle of line 30 and the line painted, then undone.
  double TypeAndPaint() {
    TNullCanvas canvas;
    const std::string line = editor.LineText(30);
    editor.SetCaretPos({static_cast<int>(line.size()) / 2 + 1, 30});
    const auto start = std::chrono::steady_clock::now();
    editor.ProcessCommand(ecChar, 'x', nullptr);
    const TPoint p = editor.RowColumnToPixels(editor.CaretDisplayPos());
    editor.Paint(canvas, {0, p.y, host.client_width, p.y + editor.RowHeight()});
    const double t = Seconds(start);
    editor.Undo();
    return t;
  }
  // The caret from the start of line 1 to its end, a key there, and the
  // screen painted.
  double EndKeyAndPaint() {
    TNullCanvas canvas;
    editor.SetCaretPos({1, 1});
    editor.SetLeftColumn(1);
    const auto start = std::chrono::steady_clock::now();
    editor.ProcessCommand(ecLineEnd, 0, nullptr);
    editor.ProcessCommand(ecChar, 'x', nullptr);
    editor.Paint(canvas, {0, 0, host.client_width, host.client_height});
    const double t = Seconds(start);
    editor.Undo();
    return t;
  }
};

// Keys on lines of state.range(0) characters, each document typed in by
// turns: UTF-8 lines of wide (3 bytes, 2 cells) and of accented (2 bytes, 1
// cell) characters against an ASCII line of a UTF-8 document (x_ascii), and
// the same ASCII line in an ANSI document and a line of double-byte
// characters in a double-byte one.
void BM_KeyOnWideLine(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TKeyBench ascii("a", count, 60), wide("\xE6\x97\xA5", count, 60), accented("\xC3\xA9", count, 60),
      ansi("a", count, 60, kAnsiDoc), dbcs("\x93\xFA", count, 60, kDoubleByteDoc);
  TKeyBench* const docs[] = {&ascii, &wide, &accented, &ansi, &dbcs};
  double t[std::size(docs)] = {};
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < std::size(docs); ++i) {
      const double ti = docs[i]->TypeAndPaint();
      t[i] += ti;
      sum += ti;
    }
    state.SetIterationTime(sum);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ascii_us"] = t[0] / n * 1e6;
  state.counters["wide_us"] = t[1] / n * 1e6;
  state.counters["accented_us"] = t[2] / n * 1e6;
  state.counters["ansi_us"] = t[3] / n * 1e6;
  state.counters["dbcs_us"] = t[4] / n * 1e6;
  state.counters["wide_x_ascii"] = t[1] / t[0];
  state.counters["accented_x_ascii"] = t[2] / t[0];
  state.counters["ansi_x_ascii"] = t[3] / t[0];
  state.counters["dbcs_x_ascii"] = t[4] / t[0];
}
BENCHMARK(BM_KeyOnWideLine)->Arg(200)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A 10 MB line: End, a key and a paint, wide characters against ASCII of the
// same size.
void BM_KeyAtEndOfHugeLine(benchmark::State& state) {
  constexpr int kBytes = 10 * 1024 * 1024;
  static TKeyBench ascii("a", kBytes, 1), wide("\xE6\x97\xA5", kBytes / 3, 1);
  double a = 0, w = 0;
  for (auto _ : state) {
    const double ta = ascii.EndKeyAndPaint();
    const double tw = wide.EndKeyAndPaint();
    a += ta;
    w += tw;
    state.SetIterationTime(ta + tw);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ascii_ms"] = a / n * 1e3;
  state.counters["wide_ms"] = w / n * 1e3;
  state.counters["wide_x_ascii"] = w / a;
}
BENCHMARK(BM_KeyAtEndOfHugeLine)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
