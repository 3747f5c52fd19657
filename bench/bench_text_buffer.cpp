// Loading and saving a million-line macro file, against `wc -l` on the same
// file in the same run, and the line buffer's memory against the file size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "BenchData.h"
#include "editor/EditorTextBuffer.h"

namespace {

constexpr int kLines = 1000000;

struct TBenchFiles {
  std::string ttl_path;
  std::string save_path;
  std::string long_line_path;
  long long ttl_size = 0;
  double wc_seconds = 0;
};

const TBenchFiles& Files() {
  static const TBenchFiles files = [] {
    TBenchFiles f;
    {
      const std::string text = GenerateTtlText(kLines);
      f.ttl_size = static_cast<long long>(text.size());
      f.ttl_path = WriteBenchFile("quillon_bench_lines.ttl", text);
    }
    f.save_path = f.ttl_path + ".saved";
    std::string line(10 * 1024 * 1024, 'x');
    for (size_t i = 0; i < line.size(); i += 37) line[i] = '\t';
    f.long_line_path = WriteBenchFile("quillon_bench_long_line.ttl", line + "\r\n");
    f.wc_seconds = TimeShellCommand("wc -l '" + f.ttl_path + "'", 5);
    return f;
  }();
  return files;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_LoadFromFile(benchmark::State& state) {
  const TBenchFiles& f = Files();
  double total = 0;
  for (auto _ : state) {
    auto list = std::make_unique<TEditorStringList>();
    const auto start = std::chrono::steady_clock::now();
    list->LoadFromFile(f.ttl_path);
    const double t = Seconds(start);
    state.SetIterationTime(t);
    total += t;
    benchmark::DoNotOptimize(list->Count());
    state.PauseTiming();
    list.reset();
    state.ResumeTiming();
  }
  state.counters["x_wc"] = total / static_cast<double>(state.iterations()) / f.wc_seconds;
  state.SetBytesProcessed(state.iterations() * f.ttl_size);
}
BENCHMARK(BM_LoadFromFile)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_SaveToFile(benchmark::State& state) {
  const TBenchFiles& f = Files();
  TEditorStringList list;
  list.LoadFromFile(f.ttl_path);
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    list.SaveToFile(f.save_path);
    const double t = Seconds(start);
    state.SetIterationTime(t);
    total += t;
  }
  state.counters["x_wc"] = total / static_cast<double>(state.iterations()) / f.wc_seconds;
  state.SetBytesProcessed(state.iterations() * f.ttl_size);
  std::remove(f.save_path.c_str());
}
BENCHMARK(BM_SaveToFile)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_LongestLineAfterTabWidthChange(benchmark::State& state) {
  TEditorStringList list;
  list.LoadFromFile(Files().ttl_path);
  int width = 4;
  for (auto _ : state) {
    list.SetTabWidth(width = width == 4 ? 8 : 4);
    benchmark::DoNotOptimize(list.LongestLineLength());
  }
}
BENCHMARK(BM_LongestLineAfterTabWidthChange)->Unit(benchmark::kMillisecond);

void BM_ExpandedLineOfATenMegabyteLine(benchmark::State& state) {
  TEditorStringList list;
  list.LoadFromFile(Files().long_line_path);
  std::string scratch;
  for (auto _ : state) benchmark::DoNotOptimize(list.ExpandedLineView(0, scratch).size());
}
BENCHMARK(BM_ExpandedLineOfATenMegabyteLine)->Unit(benchmark::kMillisecond);

void BM_InsertAndDeleteNearTheTop(benchmark::State& state) {
  TEditorStringList list;
  list.LoadFromFile(Files().ttl_path);
  for (auto _ : state) {
    list.Insert(10, "\tsendln 'typed line'");
    list.Delete(10);
  }
}
BENCHMARK(BM_InsertAndDeleteNearTheTop)->Unit(benchmark::kMicrosecond);

// One line for the record: the ratios the line buffer is held to.
void PrintSummary() {
  const TBenchFiles& f = Files();
  auto best_of = [](int runs, auto&& action) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
      const auto start = std::chrono::steady_clock::now();
      action();
      best = std::min(best, Seconds(start));
    }
    return best;
  };

  const long long rss_before = ResidentBytes();
  auto list = std::make_unique<TEditorStringList>();
  list->LoadFromFile(f.ttl_path);
  const long long rss_after = ResidentBytes();

  const double load = best_of(5, [&] {
    TEditorStringList other;
    other.LoadFromFile(f.ttl_path);
  });
  const double save = best_of(5, [&] { list->SaveToFile(f.save_path); });
  std::remove(f.save_path.c_str());

  const double mb = static_cast<double>(f.ttl_size) / 1e6;
  std::printf(
      "\nline buffer summary: %d lines, %.1f MB file\n"
      "  wc -l %.1f ms | LoadFromFile %.1f ms (%.2fx wc, target <= 8x) | SaveToFile %.1f ms "
      "(%.2fx wc, target <= 8x)\n"
      "  resident growth after loading %.1f MB = %.2fx file size (target <= 2.5x); "
      "whole process %.1f MB = %.2fx\n",
      list->Count(), mb, f.wc_seconds * 1e3, load * 1e3, load / f.wc_seconds, save * 1e3,
      save / f.wc_seconds, static_cast<double>(rss_after - rss_before) / 1e6,
      static_cast<double>(rss_after - rss_before) / static_cast<double>(f.ttl_size),
      static_cast<double>(rss_after) / 1e6,
      static_cast<double>(rss_after) / static_cast<double>(f.ttl_size));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PrintSummary();  // first, while the process holds nothing else
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(Files().ttl_path.c_str());
  std::remove(Files().long_line_path.c_str());
  return 0;
}
