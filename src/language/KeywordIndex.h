#pragma once
// Finds the first entry of a keyword list that equals a word, in constant time.
// It answers exactly what a search of the list from the top would answer, so
// the first occurrence of a word decides its family.
//
// The scanner looks words up straight from the line, in whatever letter case
// they were typed, without building a lower-case copy first: it lower-cases
// the word's first sixteen bytes eight at a time, and the hash and the
// comparison work on those two chunks.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

class TKeywordIndex {
 public:
  // The list must outlive the index and stay unchanged while it is used.
  void Build(const std::vector<std::string>& keywords);
  void Clear();

  // Index of the first entry equal to word (exact byte comparison), or -1.
  int Find(std::string_view word) const;

  // Index of the first entry equal to the word lower-cased (ASCII letters
  // only), or -1. The word's bytes must all be below 128, and the 7 bytes
  // after it must be readable (their values do not matter).
  int FindAnyCaseAscii(const char* word, std::size_t size) const {
    if (size > max_length_) return -1;
    std::uint64_t chunk0 = LowerAscii8(Load8(word) & PrefixMask(size));
    std::uint64_t chunk1 = 0;
    if (size > 8) chunk1 = LowerAscii8(Load8(word + 8) & PrefixMask(size - 8));
    const std::uint64_t tag = TagOf(chunk0, chunk1, size);
    for (std::uint32_t s = static_cast<std::uint32_t>(tag) & mask_;; s = (s + 1) & mask_) {
      const Slot& slot = slots_[s];
      if (slot.tag == tag) {
        const Entry& entry = entries_[slot.entry];
        if (entry.chunk0 == chunk0 && entry.chunk1 == chunk1 &&
            (size <= 16 || TailEqualsLowered(word, size, entry))) {
          return entry.index;
        }
      } else if (slot.tag == 0) {
        return -1;
      }
    }
  }

  // Length of the longest entry: no longer word can match.
  std::size_t MaxLength() const { return max_length_; }

  // Lower-cases the ASCII capitals among eight bytes that are all below 128.
  static std::uint64_t LowerAscii8(std::uint64_t x) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    // Bytes below 128 cannot carry into their neighbours in these sums.
    const std::uint64_t at_least_a = x + kOnes * (0x80 - 'A');
    const std::uint64_t above_z = x + kOnes * (0x80 - 'Z' - 1);
    const std::uint64_t capitals = at_least_a & ~above_z & (kOnes * 0x80);
    return x | (capitals >> 2);
  }

 private:
  // A used slot of the open-addressing table; tag 0 marks an empty one.
  struct Slot {
    std::uint64_t tag = 0;
    std::uint32_t entry = 0;  // into entries_
  };
  // A distinct word of the list, by its first occurrence.
  struct Entry {
    std::uint64_t chunk0 = 0;  // bytes 0..7, zero-padded
    std::uint64_t chunk1 = 0;  // bytes 8..15, zero-padded
    std::int32_t index = 0;    // in the keyword list
  };

  static std::uint64_t Load8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
  }
  // Keeps the first size bytes (in memory order) of an eight-byte load.
  static std::uint64_t PrefixMask(std::size_t size) {
    if (size >= 8) return ~0ull;
    if constexpr (std::endian::native == std::endian::little) {
      return (1ull << (8 * size)) - 1;
    } else {
      return size == 0 ? 0 : ~0ull << (64 - 8 * size);
    }
  }
  // Hash (low half) and size (high half) of a word from its first two
  // chunks; never 0.
  static std::uint64_t TagOf(std::uint64_t chunk0, std::uint64_t chunk1, std::size_t size) {
    std::uint64_t h = (chunk0 ^ (chunk1 * 0xC2B2AE3D27D4EB4Full) ^ size) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 32;
    return (static_cast<std::uint64_t>(size + 1) << 32) | (h & 0xFFFFFFFFull);
  }
  // The first two chunks of any word, reading only its own bytes.
  static void ChunksOf(std::string_view word, std::uint64_t& chunk0, std::uint64_t& chunk1);
  // Bytes 16.. of a long word, lower-cased, against the entry's.
  bool TailEqualsLowered(const char* word, std::size_t size, const Entry& entry) const;

  std::vector<Slot> slots_;
  std::vector<Entry> entries_;
  const std::vector<std::string>* keywords_ = nullptr;
  std::uint32_t mask_ = 0;
  std::size_t max_length_ = 0;
};
