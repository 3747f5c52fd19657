#pragma once
// Finds the first entry of a keyword list that equals a word, in constant time.
// It answers exactly what a search of the list from the top would answer, so
// the first occurrence of a word decides its family.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TKeywordIndex {
 public:
  // The list must outlive the index and stay unchanged while it is used.
  void Build(const std::vector<std::string>& keywords);
  void Clear();

  // Index of the first entry equal to word (exact byte comparison), or -1.
  int Find(std::string_view word) const { return Find(word, Hash(word)); }
  // The same with the word's Hash computed by the caller (HashStep per byte
  // from kHashSeed), so a scanner can hash while it copies.
  int Find(std::string_view word, std::uint32_t hash) const;
  static constexpr std::uint32_t kHashSeed = 2166136261u;
  static std::uint32_t HashStep(std::uint32_t h, unsigned char c) { return (h ^ c) * 16777619u; }
  static std::uint32_t Hash(std::string_view word);

  // Length of the longest entry: no longer word can match.
  std::size_t MaxLength() const { return max_length_; }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::int32_t index = -1;  // -1: empty slot
  };
  const std::vector<std::string>* keywords_ = nullptr;
  std::vector<Slot> slots_;
  std::uint32_t mask_ = 0;
  std::size_t max_length_ = 0;
};
