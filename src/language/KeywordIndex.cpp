#include "language/KeywordIndex.h"

std::uint32_t TKeywordIndex::Hash(std::string_view word) {
  std::uint32_t h = kHashSeed;
  for (char c : word) h = HashStep(h, static_cast<unsigned char>(c));
  return h;
}

void TKeywordIndex::Clear() {
  keywords_ = nullptr;
  slots_.clear();
  mask_ = 0;
  max_length_ = 0;
}

void TKeywordIndex::Build(const std::vector<std::string>& keywords) {
  Clear();
  keywords_ = &keywords;
  std::size_t capacity = 16;
  while (capacity < keywords.size() * 2) capacity *= 2;
  slots_.assign(capacity, Slot{});
  mask_ = static_cast<std::uint32_t>(capacity - 1);
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    const std::string& word = keywords[i];
    if (word.size() > max_length_) max_length_ = word.size();
    const std::uint32_t h = Hash(word);
    std::uint32_t s = h & mask_;
    bool seen = false;
    while (slots_[s].index >= 0) {
      if (slots_[s].hash == h && keywords[static_cast<std::size_t>(slots_[s].index)] == word) {
        seen = true;  // an earlier occurrence keeps the word
        break;
      }
      s = (s + 1) & mask_;
    }
    if (!seen) slots_[s] = Slot{h, static_cast<std::int32_t>(i)};
  }
}

int TKeywordIndex::Find(std::string_view word, std::uint32_t h) const {
  if (!keywords_ || word.size() > max_length_) return -1;
  std::uint32_t s = h & mask_;
  while (slots_[s].index >= 0) {
    if (slots_[s].hash == h && (*keywords_)[static_cast<std::size_t>(slots_[s].index)] == word) {
      return slots_[s].index;
    }
    s = (s + 1) & mask_;
  }
  return -1;
}
