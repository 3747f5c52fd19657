#include "language/KeywordIndex.h"

#include <algorithm>

std::uint32_t TKeywordIndex::HashOf(std::string_view word) {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  if (!word.empty()) std::memcpy(&first, word.data(), std::min<std::size_t>(word.size(), 8));
  if (word.size() > 8) std::memcpy(&last, word.data() + word.size() - 8, 8);
  return Mix(first, last, word.size());
}

void TKeywordIndex::Clear() {
  slots_.clear();
  pool_.clear();
  mask_ = 0;
  max_length_ = 0;
}

void TKeywordIndex::Build(const std::vector<std::string>& keywords) {
  Clear();
  // At most a quarter full, so a miss (most words of a macro) ends at an
  // empty slot after one or two probes.
  std::size_t capacity = 16;
  while (capacity < keywords.size() * 4) capacity *= 2;
  slots_.assign(capacity, Slot{});
  mask_ = static_cast<std::uint32_t>(capacity - 1);
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    const std::string& word = keywords[i];
    const std::uint32_t h = HashOf(word);
    std::uint32_t s = h & mask_;
    bool seen = false;
    while (slots_[s].index >= 0) {
      if (slots_[s].hash == h && keywords[static_cast<std::size_t>(slots_[s].index)] == word) {
        seen = true;  // an earlier occurrence keeps the word
        break;
      }
      s = (s + 1) & mask_;
    }
    if (seen) continue;
    if (word.size() > max_length_) max_length_ = word.size();
    const std::size_t offset = pool_.size();
    pool_.resize(offset + (word.size() + 7) / 8, 0);
    if (!word.empty()) std::memcpy(pool_.data() + offset, word.data(), word.size());
    slots_[s] = Slot{h, static_cast<std::int32_t>(i), static_cast<std::uint32_t>(word.size()),
                     static_cast<std::uint32_t>(offset)};
  }
}

int TKeywordIndex::Find(std::string_view word) const {
  if (slots_.empty() || word.size() > max_length_) return -1;
  const std::uint32_t h = HashOf(word);
  for (std::uint32_t s = h & mask_;; s = (s + 1) & mask_) {
    const Slot& slot = slots_[s];
    if (slot.index < 0) return -1;
    if (slot.hash == h && slot.length == word.size() &&
        (word.empty() || std::memcmp(pool_.data() + slot.offset, word.data(), word.size()) == 0)) {
      return slot.index;
    }
  }
}
