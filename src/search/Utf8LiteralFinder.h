#pragma once
// The plain search of a Unicode document: finds a literal in lines of UTF-8
// text, case-blind by simple case folding (so "É" finds "é", and "s" the long
// s), whole words made of Unicode letters, marks, digits and connectors, and
// every occurrence on whole characters: it never starts or ends inside one, so
// "e" does not find the e of an e with a combining accent.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/LiteralScanner.h"

class TUtf8LiteralFinder {
 public:
  void Reset(const std::string& pattern, bool case_sensitive);

  // Appends every occurrence in the line, left to right and not overlapping,
  // as 1-based start and length in bytes.
  void FindAll(std::string_view line, bool whole_word, std::vector<int>& starts,
               std::vector<int>& lengths) const;

 private:
  // Where the folded pattern ends when it stands at pos (a character start), or npos.
  std::size_t FoldedMatchEnd(const unsigned char* text, std::size_t length, std::size_t pos) const;
  void ScanBytes(const unsigned char* text, std::size_t length, bool whole_word,
                 std::vector<int>& starts, std::vector<int>& lengths) const;

  bool case_sensitive_ = true;
  std::size_t pattern_length_ = 0;
  // Case-blind: the pattern's code points folded, bytes that do not decode
  // standing for themselves above every code point.
  std::u32string folded_;
  // Every folded code point is ASCII: in a line of ASCII text the byte scan
  // through the ASCII fold table finds every occurrence.
  bool folded_ascii_ = false;
  // The pattern's bytes (case-blind: its ASCII folded form) and how a byte is
  // compared (as itself, or ASCII lower-cased).
  TLiteralScanner scanner_;
  // Case-blind: the bytes a case form of the first code point starts with.
  std::array<bool, 256> first_byte_{};
};
