// Scanning speed of the macro highlighter: the whole of a large macro, one
// screen, and the same whole-file scan with keywords looked up by walking the
// keyword list, measured in the same run as the baseline.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "BenchData.h"
#include "language/TtlHighlighter.h"

namespace {

std::string ShippedKeywordFile() {
  std::string here = __FILE__;
  here.resize(here.rfind("bench/"));
  return here + "data/KeyFile.ini";
}

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

// Scans every line as the editor does when it rescans line states; returns
// the number of tokens, so the work cannot be optimised away.
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

void BM_ScanMillionLines(benchmark::State& state) {
  const auto& lines = MillionLines();
  TTtlHighlighter indexed;
  TTtlHighlighter walking;
  if (!indexed.LoadKeywordFile(ShippedKeywordFile()) ||
      !walking.LoadKeywordFile(ShippedKeywordFile())) {
    state.SkipWithError("KeyFile.ini not found");
    return;
  }
  walking.SetLinearKeywordSearch(true);
  TTtlHighlighter no_keywords;  // the scanner's own cost, without lookups
  double best_indexed = 1e30;
  double best_walking = 1e30;
  double best_bare = 1e30;
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
// Best of five: other builds share the machine.
BENCHMARK(BM_ScanMillionLines)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

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
    benchmark::DoNotOptimize(hl.LoadKeywordFile(ShippedKeywordFile()));
  }
}
BENCHMARK(BM_LoadShippedKeywordFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
