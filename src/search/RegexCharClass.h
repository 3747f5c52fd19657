#pragma once
// A class of characters in an expression searched over UTF-8 text: a bracket
// class, the dot or a shorthand such as \w. It takes a whole character (a
// code point with its combining marks) and decides by the character's first
// code point. Internal to the matcher.
#include <array>
#include <bitset>
#include <cstdint>
#include <utility>
#include <vector>

namespace regex_detail {

class CharClass {
 public:
  // The shorthand families: \d digits (Unicode decimal digits), \w word
  // characters (letters, marks, digits, connectors such as the underscore),
  // \s white space (the ASCII blanks of the expression language, and the
  // Unicode separators beyond ASCII).
  enum Shorthand : std::uint8_t {
    kDigit = 1,
    kNotDigit = 2,
    kWord = 4,
    kNotWord = 8,
    kSpace = 16,
    kNotSpace = 32,
  };

  void Add(char32_t cp) { AddRange(cp, cp); }
  void AddRange(char32_t low, char32_t high);
  // d D w W s S.
  void AddShorthand(char letter);
  // Members are compared by their simple case folds.
  void SetFold(bool fold) { fold_ = fold; }
  void SetNegated(bool negated) { negated_ = negated; }
  // Call once all members are in, before asking anything.
  void Finish();

  // Whether the class takes a character that starts with cp (utf8_chars::kUndecodable
  // for a byte that does not decode).
  bool Takes(char32_t cp) const {
    if (cp < 0x80) return ascii_takes_[cp];
    return TakesBeyondAscii(cp);
  }
  // The answer for each ASCII code point.
  const std::array<bool, 128>& AsciiTakes() const { return ascii_takes_; }
  // Whether the class may take a character beyond ASCII (or a byte that does not decode).
  bool TakesBeyondAscii() const { return takes_beyond_ascii_; }
  // Whether it takes every character.
  bool TakesAll() const;

 private:
  bool TakesBeyondAscii(char32_t cp) const;
  bool Member(char32_t cp) const;
  bool InShorthand(char32_t cp) const;

  std::bitset<128> ascii_;
  std::vector<std::pair<char32_t, char32_t>> ranges_;  // from 128 on; sorted and joined by Finish
  std::uint8_t shorthands_ = 0;
  bool fold_ = false;
  bool negated_ = false;
  std::array<bool, 128> ascii_takes_{};
  bool takes_beyond_ascii_ = false;
};

}  // namespace regex_detail
