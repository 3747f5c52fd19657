#pragma once
// What both executors ask of the text: where characters start, what a word
// character is, and whether a zero-width assertion holds at a position. Kept
// in one place so that a change in how characters are stored touches only
// this file. Internal to the matcher.
#include <cstddef>

#include "search/RegexProgram.h"

namespace regex_detail {

inline bool IsWordByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The text being searched, as the assertions see it.
struct TextView {
  const Program* program = nullptr;
  const unsigned char* text = nullptr;
  int length = 0;

  bool IsWordAt(int pos) const { return pos >= 0 && pos < length && IsWordByte(text[pos]); }

  // Whether pos lies between the two bytes of the paired line separator.
  bool IsPairAt(int pos) const {
    const Separators& s = program->separators;
    return s.pair_first >= 0 && pos > 0 && pos < length && text[pos - 1] == s.pair_first &&
           text[pos] == s.pair_second;
  }

  // Whether one byte-taking instruction takes the byte c.
  bool Takes(const Inst& inst, unsigned char c) const {
    switch (inst.op) {
      case Op::Char:
        return c == inst.a;
      case Op::CharFold:
        return program->fold[c] == inst.a;
      case Op::Set:
        return program->sets[static_cast<std::size_t>(inst.a)][c];
      default:  // AnyByte
        return true;
    }
  }

  // For the zero-width instructions: whether they hold at pos.
  bool Holds(Op op, int pos) const {
    switch (op) {
      case Op::TextStart:
        return pos == 0;
      case Op::TextEnd:
        return pos == length;
      case Op::LineStart:
        return pos == 0 || (program->separator_bytes[text[pos - 1]] && !IsPairAt(pos));
      case Op::LineEnd:
        return pos == length || (program->separator_bytes[text[pos]] && !IsPairAt(pos));
      case Op::WordBoundary:
        return IsWordAt(pos - 1) != IsWordAt(pos);
      default:  // NotWordBoundary
        return IsWordAt(pos - 1) == IsWordAt(pos);
    }
  }
};

// Walk over the characters of a double-byte text, so that matches start only
// where a character starts. Searches move forward through a text, so the walk
// usually only continues.
class CharStarts {
 public:
  void Reset() { walk_ = previous_ = 0; }
  bool IsStart(const Program& program, const unsigned char* text, std::size_t length,
               std::size_t pos) {
    if (pos < previous_) Reset();
    while (walk_ < pos) {
      previous_ = walk_;
      walk_ += (program.lead_bytes[text[walk_]] && walk_ + 1 < length) ? 2 : 1;
    }
    return walk_ == pos || previous_ == pos;
  }

 private:
  std::size_t walk_ = 0;      // a character start
  std::size_t previous_ = 0;  // the start of the character before it
};

}  // namespace regex_detail
