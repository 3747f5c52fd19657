#pragma once
// Runs a compiled expression over a text. Backtracking works on an explicit
// stack of its own, never on the call stack, and all work is charged to a
// budget: an expression that would take too long or need too much memory on a
// text ends with "Loop Stack Exceeded" instead of freezing the program.
// Internal to the matcher.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "search/RegexProgram.h"
#include "search/RegexText.h"

namespace regex_detail {

// Two capture slots per group (start, end; -1 while unset), group 0 first,
// then the pending starts of groups that refer to themselves.
using Captures = std::array<int, kSlotCount>;

class Executor {
 public:
  // Backtracking entries the stack may hold (16 bytes each).
  static constexpr std::size_t kMaxFrames = 2'000'000;

  // Looks for the leftmost match that starts at or after `from` (0-based).
  // `budget` is reduced by the work done; at zero the search gives up with
  // ERegexMatcher "Loop Stack Exceeded".
  bool Search(const Program& program, std::string_view text, std::size_t from, std::int64_t& budget,
              Captures& captures);
  // The text of the next searches differs from the last one's.
  void NewText() {
    starts_.Reset();
    last_non_ascii_ = kNotKnown;
  }

 private:
  // A run of an unbounded repetition from start to end (where its item first
  // failed) whose every continuation failed, in search `stamp`. Where
  // failures hold, a pass that starts inside that run fails too: it can only
  // offer the same continuations or fewer.
  struct FailedRun {
    std::uint32_t stamp = 0;
    std::int32_t start = 0;
    std::int32_t end = 0;
  };

  struct Frame {
    std::int32_t kind;
    std::int32_t at;     // instruction, capture slot or counter
    std::int32_t pos;    // text position or saved value
    std::int32_t extra;  // repeat count or saved mark
  };

  // Both are compiled apart for UTF-8 text (kUtf8), so that the search of
  // other text runs exactly as it did before UTF-8 was known.
  template <bool kUtf8>
  bool SearchIn(const Program& program, std::string_view text, std::size_t from,
                std::int64_t& budget, Captures& captures);
  template <bool kUtf8>
  bool MatchAt(int start, std::int64_t& budget, Captures& captures);
  bool TakeUtf8(const Inst& in, int& pc, int& pos, std::int64_t& budget);
  std::size_t FindPrefix(const StartHints& hints, std::size_t from) const;
  const StartHints& HintsFrom(std::size_t from);
  void Push(std::int32_t kind, std::int32_t at, std::int32_t pos, std::int32_t extra);
  bool ItemMatches(const Inst& inst, unsigned char c) const;
  bool InFailedRun(const Inst& inst, int pos) const;
  int RunEnd(const Inst& inst, int pos) const;

  const Program* program_ = nullptr;
  const unsigned char* text_ = nullptr;
  int length_ = 0;
  TextView view_;
  std::vector<Frame> stack_;
  std::vector<std::int32_t> counters_;
  std::vector<std::int32_t> marks_;
  std::vector<FailedRun> failed_runs_;  // by RepeatSimple number
  std::uint32_t stamp_ = 0;
  CharStarts starts_;
  // UTF-8: where the text's last byte above 127 stands, worked out when first needed.
  static constexpr std::ptrdiff_t kNotKnown = -2;
  std::ptrdiff_t last_non_ascii_ = kNotKnown;
};

}  // namespace regex_detail
