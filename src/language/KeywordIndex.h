#pragma once
// Finds the first entry of a keyword list that equals a word, in constant time.
// It answers exactly what a search of the list from the top would answer, so
// the first occurrence of a word decides its family.
//
// The scanner looks words up straight from the line, in whatever letter case
// they were typed, without building a lower-case copy first: the hash ignores
// the 0x20 bit of every byte (so both cases of a letter hash alike) and the
// comparison lower-cases eight bytes at a time.
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
    const std::uint64_t first = Load8(word) & PrefixMask(size);
    const std::uint64_t last = size > 8 ? Load8(word + size - 8) : 0;
    const std::uint32_t h = Mix(first, last, size);
    for (std::uint32_t s = h & mask_;; s = (s + 1) & mask_) {
      const Slot& slot = slots_[s];
      if (slot.index < 0) return -1;
      if (slot.hash == h && slot.length == size && EqualsLowered(word, size, slot.offset)) {
        return slot.index;
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
  struct Slot {
    std::uint32_t hash = 0;
    std::int32_t index = -1;  // -1: empty slot
    std::uint32_t length = 0;
    std::uint32_t offset = 0;  // of the entry's first chunk in pool_
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
  // first: the word's first (up to) eight bytes, zero-padded; last: its last
  // eight bytes when it is longer than eight, else 0. The 0x20 bit of every
  // byte is set first, so the letter case does not change the hash.
  static std::uint32_t Mix(std::uint64_t first, std::uint64_t last, std::size_t size) {
    constexpr std::uint64_t kCaseBits = 0x2020202020202020ull;
    first |= kCaseBits & PrefixMask(size);
    if (size > 8) last |= kCaseBits;
    std::uint64_t h = (first ^ (last * 0xC2B2AE3D27D4EB4Full) ^ size) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 32;
    return static_cast<std::uint32_t>(h);
  }
  // Hash of any word, reading only its own bytes.
  static std::uint32_t HashOf(std::string_view word);

  bool EqualsLowered(const char* word, std::size_t size, std::uint32_t offset) const {
    const std::uint64_t* entry = pool_.data() + offset;
    std::size_t k = 0;
    for (; k + 8 <= size; k += 8, ++entry) {
      if (LowerAscii8(Load8(word + k)) != *entry) return false;
    }
    // The entry's last chunk is zero-padded, like the masked tail.
    return k == size || LowerAscii8(Load8(word + k) & PrefixMask(size - k)) == *entry;
  }

  std::vector<Slot> slots_;
  // Every distinct entry, each starting on a fresh chunk and zero-padded to a
  // whole number of chunks.
  std::vector<std::uint64_t> pool_;
  std::uint32_t mask_ = 0;
  std::size_t max_length_ = 0;
};
