#pragma once
// Finds where one of a few literal texts stands in a line, for expressions
// every match of which starts with one of them (such as alternatives of words
// after a word boundary). Sixteen positions are tested at a time for the
// texts' first bytes where the processor allows; only those candidates are
// compared in full. Internal to the matcher.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace regex_detail {

class StartScanner {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  static constexpr std::size_t kMaxTexts = 8;

  // `folded` holds the texts' bytes already passed through `fold`; none is empty.
  void Reset(const std::vector<std::string>& folded, const std::array<unsigned char, 256>& fold);
  bool Active() const { return !texts_.empty(); }

  // The first position at or after `from` where one of the texts stands, or npos.
  std::size_t Find(const unsigned char* text, std::size_t length, std::size_t from) const;
  // Whether one of the texts stands at pos.
  bool At(const unsigned char* text, std::size_t length, std::size_t pos) const;

 private:
  static constexpr int kMaxBlockBytes = 8;
  std::vector<std::string> texts_;
  std::array<unsigned char, 256> fold_{};
  std::array<bool, 256> first_{};  // raw bytes a text can start with
  // The raw first bytes, when few enough to compare a block against each.
  int block_bytes_ = 0;
  std::array<unsigned char, kMaxBlockBytes> block_byte_{};
};

}  // namespace regex_detail
