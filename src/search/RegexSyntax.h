#pragma once
// The parsed form of a regular expression: a tree of nodes kept in one vector.
// Internal to the matcher.
#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/RegexCharClass.h"

namespace regex_detail {

using ByteSet = std::bitset<256>;

constexpr int kMaxGroups = 14;  // parenthesised sub-expressions; group 0 is the match
constexpr int kUnbounded = -1;  // upper bound of * + and {n,}
constexpr int kMaxBraceCount = 0x7FFFFFFE;

// The modifier letters and their state. All of them act while the expression
// is compiled, so changing one means compiling again.
struct Modifiers {
  bool i = false;  // case-insensitive
  bool r = true;   // Cyrillic ranges also take in the letters yo
  bool s = true;   // dot matches line separators
  bool g = true;   // repetition is greedy
  bool m = false;  // ^ and $ also match at line separators
  bool x = false;  // blanks ignored, # comments to the end of the line
  friend bool operator==(const Modifiers&, const Modifiers&) = default;
};

// Line separators as the anchors of multi-line mode and the dot see them.
struct Separators {
  ByteSet single;       // each byte ends a line
  int pair_first = -1;  // a two-byte separator, or -1 for none
  int pair_second = -1;
  friend bool operator==(const Separators&, const Separators&) = default;
};

enum class NodeKind : std::uint8_t {
  Empty,
  Literal,
  Class,
  Assert,
  Backref,
  Group,
  Concat,
  Alternation,
  Repeat,
};

enum class AssertKind : std::uint8_t {
  TextStart,       // ^ and \A
  TextEnd,         // $ and \Z
  LineStart,       // ^ in multi-line mode
  LineEnd,         // $ in multi-line mode
  WordBoundary,    // \b
  NotWordBoundary  // \B
};

struct Node {
  NodeKind kind = NodeKind::Empty;
  // Literal: the byte, and whether it is compared through the fold table
  // (then `byte` holds the folded value). Backref: whether case is ignored.
  unsigned char byte = 0;
  bool fold = false;
  // Literal of a UTF-8 expression: one whole character, its bytes in `chars`
  // (`byte` is the first). With fold_points its code points are compared by
  // their simple case folds, and `chars` holds the folded form; `fold` then
  // stays for ASCII letters whose case forms are all ASCII.
  std::string chars;
  bool fold_points = false;
  AssertKind assertion = AssertKind::TextStart;
  int set = -1;   // Class: index into Syntax::sets (UTF-8: Syntax::char_classes)
  int group = 0;  // Group and Backref: group number
  int min = 0;    // Repeat bounds; max is kUnbounded for no limit
  int max = 0;
  bool greedy = true;
  bool may_be_empty = true;   // Backref: the group it names can match nothing
  std::vector<int> children;  // Concat, Alternation; Group and Repeat have one
};

struct Syntax {
  std::vector<Node> nodes;
  std::vector<ByteSet> sets;
  std::vector<CharClass> char_classes;
  int root = -1;
  int group_count = 0;
};

// What the code page says about bytes: the fold table, the bytes that share
// their fold with another byte, and the lead bytes of double-byte characters.
// In UTF-8 the expression and the text are made of whole characters instead,
// and the fold table lower-cases ASCII only.
struct CaseInfo {
  std::array<unsigned char, 256> fold{};
  std::array<bool, 256> has_partner{};
  std::array<bool, 256> lead{};
  bool double_byte = false;
  bool utf8 = false;
};

// Switches one modifier letter (either case) on or off; false for an unknown letter.
bool ApplyModifierLetter(Modifiers& modifiers, char letter, bool on);

// Parses an expression; raises ERegexMatcher with the code and 1-based position
// of the first fault.
Syntax ParseExpression(std::string_view expression, const Modifiers& modifiers,
                       const Separators& separators, const CaseInfo& case_info);

// Whether a node can match without consuming input.
bool CanMatchEmpty(const Syntax& syntax, int node);

}  // namespace regex_detail
