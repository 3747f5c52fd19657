// Scanning speed of the macro highlighter: the editor's rescan of a large
// macro after loading, every token of it, one screen; whole-file scans are set
// against the same scan with keywords looked up by walking the keyword list,
// measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "BenchData.h"
#include "editor/EditorMemo.h"
#include "language/TtlHighlighter.h"
#include "support/FakeEditorHost.h"

namespace {

// The build names the source tree's data folder, wherever the program runs from.
std::string ShippedKeywordFile() { return std::string(QUILLON_DATA_DIR) + "/KeyFile.ini"; }

std::vector<std::string_view> SplitLines(const std::string& text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.emplace_back(text.data() + start, end - start);
    start = end + 2;
  }
  return lines;
}

const std::string& MillionLineText() {
  static const std::string text = GenerateTtlText(1000000);
  return text;
}

const std::vector<std::string_view>& MillionLines() {
  static const std::vector<std::string_view> lines = SplitLines(MillionLineText());
  return lines;
}

// Scans every token of every line through the concrete type; returns the
// number of tokens, so the work cannot be optimised away.
long long ScanAll(TTtlHighlighter& hl, const std::vector<std::string_view>& lines) {
  long long tokens = 0;
  hl.ResetLineState();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    hl.SetLineText(lines[i], static_cast<int>(i));
    while (!hl.AtLineEnd()) {
      ++tokens;
      hl.NextToken();
    }
    benchmark::DoNotOptimize(hl.GetLineState());
  }
  return tokens;
}

double SecondsOf(TTtlHighlighter& hl, const std::vector<std::string_view>& lines,
                 long long* tokens) {
  const auto start = std::chrono::steady_clock::now();
  *tokens = ScanAll(hl, lines);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The macro highlighter without its rescan shortcut: the editor's rescan
// then runs every token of every line, looking every word up.
class TTokenByTokenHighlighter final : public TCustomHighlighter {
 public:
  explicit TTokenByTokenHighlighter(TTtlHighlighter& inner) : inner_(inner) {}
  THighlighterAttributes* DefaultAttribute(int role) const override {
    return inner_.DefaultAttribute(role);
  }
  void SetLineText(std::string_view text, int lineIndex) override {
    inner_.SetLineText(text, lineIndex);
  }
  void NextToken() override { inner_.NextToken(); }
  bool AtLineEnd() const override { return inner_.AtLineEnd(); }
  std::string TokenText() const override { return inner_.TokenText(); }
  int TokenStart() const override { return inner_.TokenStart(); }
  int TokenLength() const override { return inner_.TokenLength(); }
  int TokenKind() const override { return inner_.TokenKind(); }
  THighlighterAttributes* TokenAttribute() const override { return inner_.TokenAttribute(); }
  TLineState GetLineState() const override { return inner_.GetLineState(); }
  void SetLineState(TLineState value) override { inner_.SetLineState(value); }
  void ResetLineState() override { inner_.ResetLineState(); }

 private:
  TTtlHighlighter& inner_;
};

// Loads the shipped keywords into both; walking then looks every word up by
// walking the keyword list.
bool LoadBothLookups(benchmark::State& state, TTtlHighlighter& indexed, TTtlHighlighter& walking) {
  if (!indexed.LoadKeywordFile(ShippedKeywordFile()) ||
      !walking.LoadKeywordFile(ShippedKeywordFile())) {
    state.SkipWithError("KeyFile.ini not found");
    return false;
  }
  walking.SetLinearKeywordSearch(true);
  return true;
}

// The editor's line-state rescan of the whole text, as attaching a
// highlighter to a freshly loaded file runs it.
double RescanSeconds(TCustomHighlighter& hl) {
  static TFakeEditorHost host;
  static TEditorMemo editor;
  if (editor.Lines().Count() < 2) {
    editor.SetHost(&host);
    editor.SetText(MillionLineText());
  }
  editor.SetHighlighter(nullptr);
  const auto start = std::chrono::steady_clock::now();
  editor.SetHighlighter(&hl);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  editor.SetHighlighter(nullptr);
  return seconds;
}

// The rescan after loading, against the same rescan done token by token with
// every word looked up by walking the keyword list (the baseline), and the
// token-by-token scan with the index that painting uses.
void BM_RescanMillionLines(benchmark::State& state) {
  TTtlHighlighter indexed;
  TTtlHighlighter walking;
  if (!LoadBothLookups(state, indexed, walking)) return;
  TTokenByTokenHighlighter walking_tokens(walking);
  TTokenByTokenHighlighter indexed_tokens(indexed);
  double best_rescan = 1e30, best_walking = 1e30, best_indexed_tokens = 1e30;
  for (auto _ : state) {
    best_walking = std::min(best_walking, RescanSeconds(walking_tokens));
    best_indexed_tokens = std::min(best_indexed_tokens, RescanSeconds(indexed_tokens));
    const double seconds = RescanSeconds(indexed);
    best_rescan = std::min(best_rescan, seconds);
    state.SetIterationTime(seconds);
  }
  state.counters["rescan_s"] = best_rescan;
  state.counters["list_walk_tokens_s"] = best_walking;
  state.counters["indexed_tokens_s"] = best_indexed_tokens;
  state.counters["speedup"] = best_walking / best_rescan;
  state.counters["speedup_tokens"] = best_walking / best_indexed_tokens;
}
// Best of five: other builds share the machine.
BENCHMARK(BM_RescanMillionLines)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Every token of every line through the concrete type: the scanner's own
// speed with the index, with the list walk, and with no keywords loaded.
void BM_TokenizeMillionLines(benchmark::State& state) {
  const auto& lines = MillionLines();
  TTtlHighlighter indexed;
  TTtlHighlighter walking;
  if (!LoadBothLookups(state, indexed, walking)) return;
  TTtlHighlighter no_keywords;
  double best_indexed = 1e30, best_walking = 1e30, best_bare = 1e30;
  long long tokens = 0;
  for (auto _ : state) {
    long long walking_tokens = 0;
    best_walking = std::min(best_walking, SecondsOf(walking, lines, &walking_tokens));
    long long bare_tokens = 0;
    best_bare = std::min(best_bare, SecondsOf(no_keywords, lines, &bare_tokens));
    const double seconds = SecondsOf(indexed, lines, &tokens);
    best_indexed = std::min(best_indexed, seconds);
    state.SetIterationTime(seconds);
    if (walking_tokens != tokens) state.SkipWithError("the two lookups disagree");
  }
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["tokens"] = static_cast<double>(tokens);
  state.counters["indexed_s"] = best_indexed;
  state.counters["list_walk_s"] = best_walking;
  state.counters["no_keywords_s"] = best_bare;
  state.counters["speedup"] = best_walking / best_indexed;
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(MillionLineText().size()));
}
BENCHMARK(BM_TokenizeMillionLines)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// One screen: 60 lines of the large macro, taken from its middle.
void BM_ScanOneScreen(benchmark::State& state) {
  const auto& all = MillionLines();
  const std::vector<std::string_view> screen(all.begin() + 500000, all.begin() + 500060);
  TTtlHighlighter hl;
  if (!hl.LoadKeywordFile(ShippedKeywordFile())) {
    state.SkipWithError("KeyFile.ini not found");
    return;
  }
  for (auto _ : state) {
    long long tokens = 0;
    for (std::size_t i = 0; i < screen.size(); ++i) {
      hl.SetLineState(0);
      hl.SetLineText(screen[i], static_cast<int>(500000 + i));
      while (!hl.AtLineEnd()) {
        benchmark::DoNotOptimize(hl.TokenAttribute());
        benchmark::DoNotOptimize(hl.TokenStart());
        benchmark::DoNotOptimize(hl.TokenLength());
        ++tokens;
        hl.NextToken();
      }
    }
    benchmark::DoNotOptimize(tokens);
  }
}
BENCHMARK(BM_ScanOneScreen)->Unit(benchmark::kMicrosecond);

void BM_LoadShippedKeywordFile(benchmark::State& state) {
  for (auto _ : state) {
    TTtlHighlighter hl;
    if (!hl.LoadKeywordFile(ShippedKeywordFile())) {
      state.SkipWithError("KeyFile.ini not found");
      return;
    }
  }
}
BENCHMARK(BM_LoadShippedKeywordFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
