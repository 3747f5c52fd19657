// Search speed on a large macro: the plain engine and the regular-expression
// engine walk every line of a million-line file as the editor's search does,
// measured in the same run as grep counting the same text in the same file.
// The same searches run over a UTF-8 version of the file (a non-ASCII
// character every 50 lines) as a Unicode document, against grep in a UTF-8
// locale, with a few searches for non-ASCII text besides.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "BenchData.h"
#include "platform/CodePage1252.h"
#include "platform/Utf8CodePage.h"
#include "search/EditorRegexSearch.h"
#include "search/EditorSearch.h"

// Every allocation of the program is counted, so a scan can show it makes none.
// The replacements pair malloc with free themselves; the compiler cannot see
// that once they are inlined into callers.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<long long> g_allocations{0};
}
void* operator new(std::size_t n) {
  ++g_allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using Clock = std::chrono::steady_clock;

struct Corpus {
  std::string text;
  std::vector<std::string_view> lines;
  std::string path;
};

Corpus MakeCorpus(std::string text, const char* name) {
  Corpus c;
  c.text = std::move(text);
  std::size_t start = 0;
  while (start < c.text.size()) {
    std::size_t end = c.text.find("\r\n", start);
    if (end == std::string::npos) end = c.text.size();
    c.lines.emplace_back(c.text.data() + start, end - start);
    start = end + 2;
  }
  c.path = WriteBenchFile(name, c.text);
  return c;
}

const Corpus& AnsiLines() {
  static const Corpus corpus = MakeCorpus(GenerateTtlText(1000000), "quillon_search_bench.ttl");
  return corpus;
}

// The same macro with one accented, Cyrillic, Greek, Japanese or emoji
// character in every 50th line, made only when a search asks for it.
const Corpus& Utf8Lines() {
  static const Corpus corpus = [] {
    static const char* const kChars[] = {"é", "É", "ü", "ж", "Ж", "Ω", "日", "😀"};
    std::string text;
    text.reserve(AnsiLines().text.size() + AnsiLines().lines.size() / 10);
    int line = 0;
    for (std::string_view content : AnsiLines().lines) {
      if (line++ % 50 == 0) {
        // In the middle of the line, so that it sits between words or in one.
        const std::size_t half = content.size() / 2;
        text.append(content.substr(0, half));
        text += kChars[(line / 50) % 8];
        text.append(content.substr(half));
      } else {
        text.append(content);
      }
      text += "\r\n";
    }
    return MakeCorpus(std::move(text), "quillon_search_bench_utf8.ttl");
  }();
  return corpus;
}

// The ANSI file (all of it ASCII) or its UTF-8 version.
const Corpus& MillionLines(bool utf8 = false) { return utf8 ? Utf8Lines() : AnsiLines(); }

// grep's count of matching lines, and its best time.
struct Baseline {
  long long count = -1;
  double seconds = -1;
};

// Runs the command with its output read through a pipe, as a user sees it:
// with the output sent to /dev/null, grep notices and stops at the first
// matching line. Returns the output and the best wall-clock time of `runs`.
std::string RunPiped(const std::string& command, int runs, double* best_seconds) {
  std::string output;
  double best = 1e30;
  for (int k = 0; k < runs; ++k) {
    output.clear();
    const auto start = Clock::now();
    std::FILE* f = popen(command.c_str(), "r");
    if (!f) return {};
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) output.append(buffer, n);
    const bool ok = pclose(f) == 0;
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    if (!ok) best = -1;
  }
  *best_seconds = best;
  return output;
}

// grep counts the lines that hold an occurrence, as the engines do here; on
// the UTF-8 file in a UTF-8 locale, so that it too works on characters.
Baseline Grep(const std::string& options, const std::string& pattern, bool utf8 = false) {
  const std::string command = std::string(utf8 ? "LC_ALL=C.UTF-8" : "LC_ALL=C") + " grep -c " +
                              options + " \"" + pattern + "\" " + MillionLines(utf8).path;
  Baseline b;
  const std::string output = RunPiped(command, 5, &b.seconds);
  if (std::sscanf(output.c_str(), "%lld", &b.count) != 1) b.count = -1;
  return b;
}

// Runs the engine over every line; returns the number of lines with an occurrence.
long long LinesFound(TEditorSearchCustom& engine, bool utf8) {
  long long found = 0;
  for (std::string_view line : MillionLines(utf8).lines) found += engine.FindAllInLine(line) > 0;
  return found;
}

void RunAgainstGrep(benchmark::State& state, TEditorSearchCustom& engine, const Baseline& grep,
                    bool utf8 = false) {
  engine.SetCodePage(utf8 ? Utf8CodePage() : DefaultCodePage());
  LinesFound(engine, utf8);  // warm up: the result lists reach their working size
  double best = 1e30;
  long long found = 0;
  long long allocations = 0;
  for (auto _ : state) {
    const long long before = g_allocations;
    const auto start = Clock::now();
    found = LinesFound(engine, utf8);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    allocations = g_allocations - before;
    best = std::min(best, seconds);
    state.SetIterationTime(seconds);
  }
  state.counters["lines_found"] = static_cast<double>(found);
  state.counters["grep_lines"] = static_cast<double>(grep.count);
  state.counters["engine_ms"] = best * 1000;
  state.counters["grep_ms"] = grep.seconds * 1000;
  state.counters["ratio_to_grep"] = grep.seconds > 0 ? best / grep.seconds : -1;
  state.counters["allocs_per_line"] =
      static_cast<double>(allocations) / static_cast<double>(MillionLines(utf8).lines.size());
}

// The searches, each on the ANSI file (argument 0) and the UTF-8 file (1).
void BM_PlainLiteral_MatchCase(benchmark::State& state) {
  const bool utf8 = state.range(0) != 0;
  const Baseline grep = Grep("-F", "sendln", utf8);
  TEditorSearch engine;
  engine.SetOptions({TSearchOption::MatchCase});
  engine.SetPattern("sendln");
  RunAgainstGrep(state, engine, grep, utf8);
}

void BM_PlainLiteral_IgnoreCase(benchmark::State& state) {
  const bool utf8 = state.range(0) != 0;
  const Baseline grep = Grep("-i -F", "sendln", utf8);
  TEditorSearch engine;
  engine.SetPattern("sendln");
  RunAgainstGrep(state, engine, grep, utf8);
}

void BM_RegexLiteralPrefix_MatchCase(benchmark::State& state) {
  const bool utf8 = state.range(0) != 0;
  const Baseline grep = Grep("-E", "send(ln)? '", utf8);
  TEditorRegexSearch engine;
  engine.SetOptions({TSearchOption::MatchCase});
  engine.SetPattern("send(ln)? '");
  RunAgainstGrep(state, engine, grep, utf8);
}

void BM_RegexLiteralPrefix_IgnoreCase(benchmark::State& state) {
  const bool utf8 = state.range(0) != 0;
  const Baseline grep = Grep("-i -E", "send(ln)? '", utf8);
  TEditorRegexSearch engine;
  engine.SetPattern("send(ln)? '");
  RunAgainstGrep(state, engine, grep, utf8);
}

void BM_RegexWordAlternatives(benchmark::State& state) {
  const bool utf8 = state.range(0) != 0;
  const Baseline grep = Grep("-E", "\\b(wait|sendln|goto) ", utf8);
  TEditorRegexSearch engine;
  engine.SetOptions({TSearchOption::MatchCase});
  engine.SetPattern("\\b(wait|sendln|goto) ");
  RunAgainstGrep(state, engine, grep, utf8);
}

// Searches for non-ASCII text in the UTF-8 file: the plain engine and the
// regular-expression engine, case-blind or not.
void BM_Utf8NonAscii(benchmark::State& state) {
  struct Search {
    const char* label;
    bool regex, match_case;
    const char* pattern;
    const char* grep_options;
  } static const searches[] = {
      {"plain É case-blind", false, false, "É", "-i -F"},
      {"plain 日", false, true, "日", "-F"},
      {"regex ж case-blind", true, false, "ж", "-i -E"},
      {"regex [éüж]", true, true, "[éüж]", "-E"},
  };
  const Search& s = searches[state.range(0)];
  const Baseline grep = Grep(s.grep_options, s.pattern, true);
  TEditorSearch plain;
  TEditorRegexSearch regex;
  TEditorSearchCustom& engine = s.regex ? static_cast<TEditorSearchCustom&>(regex) : plain;
  engine.SetOptions(s.match_case ? TSearchOptionSet{TSearchOption::MatchCase} : TSearchOptionSet{});
  engine.SetPattern(s.pattern);
  state.SetLabel(s.label);
  RunAgainstGrep(state, engine, grep, true);
}

// One line of a megabyte: a whole macro joined with blanks, or a single word.
const std::string& MegabyteLine(bool words_only) {
  static const std::string joined = [] {
    std::string text = GenerateTtlText(30000);
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    text.resize(1 << 20);
    return text;
  }();
  static const std::string word(1 << 20, 'w');
  return words_only ? word : joined;
}

// Expressions that make a backtracking search go over the rest of the line
// from every start, on a megabyte line (a macro joined, or one long word).
void BM_RegexOnMegabyteLine(benchmark::State& state) {
  static const char* const patterns[] = {"(.*)foo", "(\\w+)\\d"};
  const char* pattern = patterns[state.range(0)];
  const std::string& line = MegabyteLine(state.range(1) != 0);
  TEditorRegexSearch engine;
  engine.SetOptions({TSearchOption::MatchCase});
  engine.SetPattern(pattern);
  // The linear executor alone shows what the searches cost where the
  // backtracking one hands them over.
  if (state.range(2) != 0) engine.Matcher().SetEngine(TRegexMatcher::Engine::Linear);
  double best = 1e30;
  int found = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    found = engine.FindAllInLine(line);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    best = std::min(best, seconds);
    state.SetIterationTime(seconds);
  }
  state.SetLabel(pattern);
  state.counters["found"] = found;
  state.counters["engine_ms"] = best * 1000;
}

// What visiting every line costs at all: one library scan per line for a byte
// that never occurs.
void BM_VisitEveryLine(benchmark::State& state) {
  double best = 1e30;
  for (auto _ : state) {
    const auto start = Clock::now();
    long long hits = 0;
    for (std::string_view line : MillionLines().lines) {
      hits += std::memchr(line.data(), 1, line.size()) != nullptr;
    }
    benchmark::DoNotOptimize(hits);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    best = std::min(best, seconds);
    state.SetIterationTime(seconds);
  }
  state.counters["visit_ms"] = best * 1000;
}

void BM_RegexCompile(benchmark::State& state) {
  static const char* const patterns[] = {
      "send(ln)? '",
      "^\\s*(sendln|wait|if|goto)\\b.*'([^']*)'\\s*$",
      "(?i)[a-z_][a-z0-9_]*\\s*=\\s*\\d{1,5}",
  };
  TRegexMatcher matcher;
  std::size_t k = 0;
  for (auto _ : state) {
    matcher.SetExpression(patterns[k++ % 3]);
    matcher.Compile();
  }
  state.counters["us_per_compile"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

#define QUILLON_FILE_SEARCH(name)                                                         \
  BENCHMARK(name)->ArgName("utf8")->Arg(0)->Arg(1)->UseManualTime()->Iterations(5)->Unit( \
      benchmark::kMillisecond)
QUILLON_FILE_SEARCH(BM_PlainLiteral_MatchCase);
QUILLON_FILE_SEARCH(BM_PlainLiteral_IgnoreCase);
QUILLON_FILE_SEARCH(BM_RegexLiteralPrefix_MatchCase);
QUILLON_FILE_SEARCH(BM_RegexLiteralPrefix_IgnoreCase);
QUILLON_FILE_SEARCH(BM_RegexWordAlternatives);
BENCHMARK(BM_Utf8NonAscii)
    ->ArgName("search")
    ->DenseRange(0, 3)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegexOnMegabyteLine)
    ->ArgNames({"pattern", "words_only", "linear_only"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisitEveryLine)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegexCompile)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
