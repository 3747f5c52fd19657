#pragma once
// What both executors ask of the text: where characters start, what a word
// character is, and whether a zero-width assertion holds at a position. Kept
// in one place so that a change in how characters are stored touches only
// this file. Internal to the matcher.
#include <cstddef>
#include <cstring>

#include "search/RegexProgram.h"
#include "search/Utf8Chars.h"

namespace regex_detail {

// The text being searched, as the assertions see it.
struct TextView {
  const Program* program = nullptr;
  const unsigned char* text = nullptr;
  int length = 0;

  bool IsWordAt(int pos) const {
    return pos >= 0 && pos < length && utf8_chars::IsAsciiWordByte(text[pos]);
  }
  // Whether the character before pos, and the one at pos, belong to words;
  // in UTF-8 they are whole characters and words take in every script.
  template <bool kUtf8>
  bool IsWordBefore(int pos) const {
    if constexpr (kUtf8) {
      return utf8_chars::IsWordCharBefore(text, Size(), static_cast<std::size_t>(pos));
    } else {
      return IsWordAt(pos - 1);
    }
  }
  template <bool kUtf8>
  bool IsWordAtPos(int pos) const {
    if constexpr (kUtf8) {
      return utf8_chars::IsWordCharAt(text, Size(), static_cast<std::size_t>(pos));
    } else {
      return IsWordAt(pos);
    }
  }

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

  // For the zero-width instructions: whether they hold at pos (kUtf8: in UTF-8 text).
  template <bool kUtf8>
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
        return IsWordBefore<kUtf8>(pos) != IsWordAtPos<kUtf8>(pos);
      default:  // NotWordBoundary
        return IsWordBefore<kUtf8>(pos) == IsWordAtPos<kUtf8>(pos);
    }
  }

  // ---- UTF-8 text: positions are character starts, pos < length unless said.
  std::size_t Size() const { return static_cast<std::size_t>(length); }
  int CharLen(int pos) const {
    return static_cast<int>(utf8_chars::CharLength(text, Size(), static_cast<std::size_t>(pos)));
  }
  // Any pos up to the length.
  bool IsCharStart(int pos) const {
    return utf8_chars::IsCharStart(text, Size(), static_cast<std::size_t>(pos));
  }
  // 0 < pos <= length.
  int PrevCharStart(int pos) const {
    return static_cast<int>(utf8_chars::PrevCharStart(text, Size(), static_cast<std::size_t>(pos)));
  }

  bool ClassTakes(int set, int pos) const {
    const CharClass& cls = program->char_classes[static_cast<std::size_t>(set)];
    if (text[pos] < 0x80) return cls.AsciiTakes()[text[pos]];
    std::size_t bytes = 0;
    return cls.Takes(utf8_chars::CodePointAt(text, Size(), static_cast<std::size_t>(pos), &bytes));
  }

  // Where `count` case-blind literal characters (from folded_chars[index] on)
  // end when they stand at pos (any pos up to the length), or -1.
  int FoldedCharsEnd(int index, int count, int pos) const {
    const char32_t* wanted = program->folded_chars.data() + index;
    for (int c = 0; c < count; ++c) {
      if (pos >= length) return -1;
      const auto points = static_cast<int>(*wanted++);
      const int end = pos + CharLen(pos);
      int k = 0;
      for (int at = pos; at < end; ++k) {
        std::size_t bytes = 1;
        const char32_t cp = text[at] < 0x80
                                ? program->fold[text[at]]
                                : SimpleCaseFold(utf8_chars::CodePointAt(
                                      text, Size(), static_cast<std::size_t>(at), &bytes));
        if (k >= points || cp != wanted[k]) return -1;
        at += static_cast<int>(bytes);
      }
      if (k != points) return -1;
      wanted += points;
      pos = end;
    }
    return pos;
  }

  // Whether a character-taking UTF-8 instruction takes the character of
  // `len` bytes at pos.
  bool TakesChar(const Inst& inst, int pos, int len) const {
    switch (inst.op) {
      case Op::UChar:
        return len == 1 && text[pos] == inst.a;
      case Op::UCharFold:
        return len == 1 && program->fold[text[pos]] == inst.a;
      case Op::UText:
        return len == inst.c && std::memcmp(text + pos, program->literals.data() + inst.a,
                                            static_cast<std::size_t>(len)) == 0;
      case Op::UTextFold:
        return FoldedCharsEnd(inst.a, 1, pos) == pos + len;
      case Op::USet:
        return ClassTakes(inst.a, pos);
      default:  // UAny
        return true;
    }
  }

  // For RepeatChars: the bytes of the character at pos when the item takes
  // it, else 0.
  int ItemChar(const Inst& inst, int pos) const {
    switch (inst.item) {
      case Item::Char:
        return text[pos] == inst.a && CharLen(pos) == 1 ? 1 : 0;
      case Item::CharFold:
        return program->fold[text[pos]] == inst.a && CharLen(pos) == 1 ? 1 : 0;
      case Item::Set:
        return ClassTakes(inst.a, pos) ? CharLen(pos) : 0;
      case Item::Any:
        return CharLen(pos);
    }
    return 0;
  }

  // Where the text from..to stands again at pos, compared by simple case
  // folds when fold; -1 when it does not.
  int BackrefEnd(int from, int to, int pos, bool fold) const {
    if (!fold) {
      const int n = to - from;
      if (length - pos < n ||
          std::memcmp(text + from, text + pos, static_cast<std::size_t>(n)) != 0)
        return -1;
      return IsCharStart(pos + n) ? pos + n : -1;
    }
    while (from < to) {
      if (pos >= length) return -1;
      std::size_t a_bytes = 1, b_bytes = 1;
      const char32_t a =
          utf8_chars::CodePointAt(text, Size(), static_cast<std::size_t>(from), &a_bytes);
      const char32_t b =
          utf8_chars::CodePointAt(text, Size(), static_cast<std::size_t>(pos), &b_bytes);
      const bool same = a == utf8_chars::kUndecodable ? b == a && text[from] == text[pos]
                                                      : SimpleCaseFold(a) == SimpleCaseFold(b);
      if (!same) return -1;
      from += static_cast<int>(a_bytes);
      pos += static_cast<int>(b_bytes);
    }
    return IsCharStart(pos) ? pos : -1;
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
