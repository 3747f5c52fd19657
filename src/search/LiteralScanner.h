#pragma once
// Finds a literal in a line, comparing through a fold table, sixteen positions
// at a time where the processor allows: a position is a candidate only when
// both the first and the last byte of the literal fit there, and only
// candidates are compared in full. Both search engines use it for the literal
// text every occurrence starts with.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class TLiteralScanner {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // `folded` holds the literal's bytes already passed through `fold`.
  void Reset(const std::string& folded, const std::array<unsigned char, 256>& fold);

  // Whether the block comparison is available for this literal: each end byte
  // may take only a few raw values (its case forms).
  bool Vectorized() const { return vectorized_; }

  // The first start at or after `from` where the literal stands, or npos.
  std::size_t Find(const unsigned char* text, std::size_t length, std::size_t from) const;

 private:
  std::size_t FindScalar(const unsigned char* text, std::size_t length, std::size_t from) const;
  bool EqualAt(const unsigned char* text) const;

  static constexpr int kMaxForms = 3;
  std::string folded_;
  std::array<unsigned char, 256> fold_{};
  // Horspool shift per raw byte under the window end, for lines too short for blocks.
  std::array<std::uint32_t, 256> skip_{};
  bool vectorized_ = false;
  int first_forms_ = 0;
  int last_forms_ = 0;
  // Each form repeated over a 16-byte block, unused slots repeating the first.
  alignas(16) unsigned char first_[kMaxForms][16] = {};
  alignas(16) unsigned char last_[kMaxForms][16] = {};
  // When an end byte has one form, or two that differ only in bit 0x20 (the
  // ASCII letters), setting that bit and comparing once tests all its forms.
  bool bit_trick_ = false;
  alignas(16) unsigned char first_bit_[16] = {};
  alignas(16) unsigned char first_target_[16] = {};
  alignas(16) unsigned char last_bit_[16] = {};
  alignas(16) unsigned char last_target_[16] = {};
};
