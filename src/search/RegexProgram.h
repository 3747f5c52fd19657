#pragma once
// The compiled form of a regular expression: a flat instruction list for the
// backtracking executor, the same expression spelled out for the linear-time
// executor where that is possible, and what is known about where a match can
// start. Internal to the matcher.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "search/LiteralScanner.h"
#include "search/RegexStartScanner.h"
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
  Commit,        // a: group; its pending start and the position become its capture
  Split,         // try a first, b on backtracking
  Jump,          // a: target
  RepeatSimple,  // item/a: one-byte item, b: min, c: max (kUnbounded), greedy,
                 // d: number among the unbounded ones
  LoopInit,      // a: counter
  LoopTest,      // a: counter, b: min, c: max, d: exit, greedy; body follows
  LoopMark,      // a: counter; notes where the iteration began
  LoopStep,      // a: counter, b: the LoopTest, c: exit
  Match,
  // Instructions of expressions searched over UTF-8 text. Each takes whole
  // characters (a code point with its combining marks), so every position a
  // match passes is the start of a character.
  UChar,        // a: ASCII byte; the character that is this byte alone
  UCharFold,    // a: folded ASCII byte; same, compared through the fold table
  UText,        // a: offset into literals, c: length; characters with exactly these bytes
  UTextFold,    // a: index into folded_chars, c: number of characters; compared by folds
  USet,         // a: index into char_classes
  UAny,         // any character
  RepeatChars,  // RepeatSimple over characters; its Char and CharFold items are
                // characters of one byte, Set names a char_classes entry
};

// The UTF-8 instructions that take one character or a few (UChar to UAny).
inline bool TakesChars(Op op) { return op >= Op::UChar && op <= Op::UAny; }

// What a RepeatSimple instruction repeats: one byte of some kind.
enum class Item : std::uint8_t { Char, CharFold, Set, Any };

// In the linear program an instruction that takes a byte names the one that
// follows it in `b` (see Program::linear); everywhere else the next is the
// following instruction.
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

// Where a match can start: only where `prefix` stands (compared through the
// fold table when prefix_fold); or only where one of a few texts stands
// (`starts`); or only on a byte of first_bytes; or anywhere; or, with `none`,
// nowhere.
struct StartHints {
  bool none = false;
  std::string prefix;
  bool prefix_fold = false;
  TLiteralScanner prefix_scanner;
  StartScanner starts;
  bool use_first_bytes = false;
  ByteTable first_bytes{};
};

// Capture slots: start and end of each group (group 0 first), then, for groups
// that refer to themselves, where the pass under way began. Such a group keeps
// the capture of its previous pass until the new pass closes, so that a
// back-reference inside it sees that capture.
constexpr int kCaptureSlots = 2 * (kMaxGroups + 1);
constexpr int kPendingSlot = kCaptureSlots;  // + group number
constexpr int kSlotCount = kCaptureSlots + kMaxGroups + 1;

struct Program {
  std::vector<Inst> code;
  // The linear program, empty when there is none: the expression refers back
  // to a group, or spelling out its counted repetitions would make it too big.
  // It has no strings, one-byte repetitions, counters or commits; every
  // repetition is written out as choices and jumps, so where a match can go
  // from an instruction depends only on the instruction and the position.
  std::vector<Inst> linear;
  // For each linear instruction a way can arrive at (the first one and the
  // successors of byte-taking ones): the byte-taking instructions and the
  // match it leads to without taking a byte, preferred first, as a range of
  // linear_reach; begin is -1 where an assertion lies on the way (the
  // executor then follows the way step by step) or where none was worked out.
  // Captures are passed over: this serves searches that want no groups.
  std::vector<std::int32_t> linear_reach_begin;
  std::vector<std::int32_t> linear_reach_end;
  std::vector<std::int32_t> linear_reach;
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
  // UTF-8 text: matches start and end where characters do, and the U*
  // instructions take the characters.
  bool utf8 = false;
  std::vector<CharClass> char_classes;
  // For each UTextFold character: its number of code points, then their folds.
  std::vector<char32_t> folded_chars;

  // A match can only begin at the text start.
  bool anchored = false;
  // The program opens with an unbounded one-byte repetition (at
  // leading_run_pc, after captures that nothing refers back to): a start
  // inside the run such a failed attempt took can fail only the same way.
  bool leading_run = false;
  int leading_run_pc = 0;
  // Whether a way that failed from an instruction and position fails there
  // whatever came before: no back-references and no counted loops.
  bool failures_hold = false;
  int unbounded_runs = 0;  // unbounded RepeatSimple and RepeatChars instructions
  StartHints hints;
  // UTF-8: hints that hold where the rest of the text is ASCII, which most
  // macro text is. They differ when a case-blind letter has a form beyond
  // ASCII (the Kelvin sign for k, the long s for s), which `hints` must allow.
  StartHints ascii_hints;
  bool ascii_hints_differ = false;

  // The hints for a search from `from`, given the last byte above 127 in the text (or -1).
  const StartHints& HintsFrom(std::size_t from, std::ptrdiff_t last_non_ascii) const {
    return ascii_hints_differ && static_cast<std::ptrdiff_t>(from) > last_non_ascii ? ascii_hints
                                                                                    : hints;
  }
};

// Compiles a parsed expression; raises "Regexp Too Big" when the program
// would grow beyond reason.
Program CompileSyntax(const Syntax& syntax, const CaseInfo& case_info, const Separators& separators,
                      std::size_t expression_length);

}  // namespace regex_detail
