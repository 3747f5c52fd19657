#pragma once
// Runs the linear program of an expression (see Program::linear). All the
// ways a match can go advance together through the text, one byte at a time,
// kept in the order in which the backtracking executor would try them. A way
// that reaches an instruction which a preferred way already holds at the same
// position is dropped: from there both would fare the same, and the preferred
// one is tried first. So the work is bounded by the text length times the
// program size, and the match and its groups are those the backtracking
// executor finds. Internal to the matcher.
#include <cstdint>
#include <string_view>
#include <vector>

#include "search/RegexExecutor.h"
#include "search/RegexProgram.h"
#include "search/RegexText.h"

namespace regex_detail {

class LinearExecutor {
 public:
  // How a search goes: whether it notes the groups (otherwise only where the
  // match starts and ends, which is cheaper), and whether the match must
  // start exactly at `from`.
  struct Mode {
    bool groups = true;
    bool at_from_only = false;
  };

  // Looks for the leftmost match that starts at or after `from` (0-based).
  bool Search(const Program& program, std::string_view text, std::size_t from, Mode mode,
              Captures& captures);
  // The text of the next searches differs from the last one's.
  void NewText() {
    starts_.Reset();
    last_non_ascii_ = kNotKnown;
  }

 private:
  // The ways under way at one position: where each stands (an instruction
  // that takes a byte, or the match) and its captures, preferred ones first.
  struct Ways {
    std::vector<std::int32_t> pcs;
    std::vector<std::int32_t> slots;
    std::size_t count = 0;
  };
  // Something left to do while following a way: go on at pc, or (slot >= 0)
  // put a capture slot back to value.
  struct Job {
    std::int32_t pc;
    std::int32_t slot;
    std::int32_t value;
  };

  // The search itself; in UTF-8 text the ways advance a character at a time.
  template <bool kUtf8>
  bool Run(Captures& captures);
  void NewRound();
  void Arrive(Ways& ways, int pc, int pos);
  void Follow(Ways& ways, int pc, int pos);
  void Keep(Ways& ways, int pc);
  std::size_t NextStart(std::size_t pos);
  bool MayStartAt(std::size_t pos);
  bool IsStart(std::size_t pos);

  const Program* program_ = nullptr;
  const StartHints* hints_ = nullptr;
  TextView view_;
  Mode mode_;
  std::size_t from_ = 0;
  int slot_count_ = 0;
  std::vector<std::uint32_t> held_;  // per instruction: the round that holds it
  std::uint32_t round_ = 0;
  std::vector<Job> jobs_;
  Captures work_{};  // the captures of the way being followed
  Ways current_;
  Ways next_;
  CharStarts starts_;
  static constexpr std::ptrdiff_t kNotKnown = -2;
  std::ptrdiff_t last_non_ascii_ = kNotKnown;  // UTF-8: the text's last byte above 127
};

}  // namespace regex_detail
