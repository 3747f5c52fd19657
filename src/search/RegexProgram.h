#pragma once
// The compiled form of a regular expression: a flat instruction list for the
// backtracking executor, plus what is known about where a match can start.
// Internal to the matcher.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "search/LiteralScanner.h"
#include "search/RegexSyntax.h"

namespace regex_detail {

enum class Op : std::uint8_t {
  Char,        // a: byte
  CharFold,    // a: folded byte
  String,      // a: offset into literals, b: length
  StringFold,  // same, bytes stored folded
  Set,         // a: set index
  AnyByte,
  TextStart,
  TextEnd,
  LineStart,
  LineEnd,
  WordBoundary,
  NotWordBoundary,
  Backref,       // a: group, fold: ignore case
  Save,          // a: capture slot
  Split,         // try a first, b on backtracking
  Jump,          // a: target
  RepeatSimple,  // item/a: one-byte item, b: min, c: max (kUnbounded), greedy
  LoopInit,      // a: counter
  LoopTest,      // a: counter, b: min, c: max, d: exit, greedy; body follows
  LoopMark,      // a: counter; notes where the iteration began
  LoopStep,      // a: counter, b: the LoopTest, c: exit
  Match,
};

// What a RepeatSimple instruction repeats: one byte of some kind.
enum class Item : std::uint8_t { Char, CharFold, Set, Any };

struct Inst {
  Op op = Op::Match;
  Item item = Item::Char;
  bool greedy = true;
  bool fold = false;
  std::int32_t a = 0;
  std::int32_t b = 0;
  std::int32_t c = 0;
  std::int32_t d = 0;
};

using ByteTable = std::array<bool, 256>;

struct Program {
  std::vector<Inst> code;
  std::string literals;
  std::vector<ByteTable> sets;
  std::array<unsigned char, 256> fold{};
  Separators separators;
  ByteTable separator_bytes{};  // single separators and both bytes of the pair
  int group_count = 0;
  int counter_count = 0;
  // Double-byte code page: matches start only where a character starts.
  bool double_byte = false;
  ByteTable lead_bytes{};

  // Start hints: a match can only begin at the text start; or only where
  // `prefix` stands (compared through the fold table when prefix_fold); or
  // only on a byte of first_bytes.
  bool anchored = false;
  // The program opens with an unbounded one-byte repetition: a start inside
  // the run such a failed attempt took can fail only the same way.
  bool leading_run = false;
  std::string prefix;
  bool prefix_fold = false;
  TLiteralScanner prefix_scanner;
  bool use_first_bytes = false;
  ByteTable first_bytes{};
};

// Compiles a parsed expression; raises "Regexp Too Big" when the program
// would grow beyond reason.
Program CompileSyntax(const Syntax& syntax, const CaseInfo& case_info, const Separators& separators,
                      std::size_t expression_length);

}  // namespace regex_detail
