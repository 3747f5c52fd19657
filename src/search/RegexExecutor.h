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

namespace regex_detail {

// Two capture slots per group (start, end; -1 while unset), group 0 first.
using Captures = std::array<int, 2 * (kMaxGroups + 1)>;

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
  void NewText() { walk_ = walk_previous_ = 0; }

 private:
  struct Frame {
    std::int32_t kind;
    std::int32_t at;     // instruction, capture slot or counter
    std::int32_t pos;    // text position or saved value
    std::int32_t extra;  // repeat count or saved mark
  };

  bool MatchAt(int start, std::int64_t& budget, Captures& captures);
  std::size_t FindPrefix(std::size_t from) const;
  void Push(std::int32_t kind, std::int32_t at, std::int32_t pos, std::int32_t extra);
  bool ItemMatches(const Inst& inst, unsigned char c) const;
  bool IsWordAt(int pos) const;
  bool IsPairAt(int pos) const;
  bool IsCharStart(std::size_t pos);

  const Program* program_ = nullptr;
  const unsigned char* text_ = nullptr;
  int length_ = 0;
  std::vector<Frame> stack_;
  std::vector<std::int32_t> counters_;
  std::vector<std::int32_t> marks_;
  // Walk over the characters of a double-byte text: walk_ is a character
  // start, walk_previous_ the start of the character before it.
  std::size_t walk_ = 0;
  std::size_t walk_previous_ = 0;
};

}  // namespace regex_detail
