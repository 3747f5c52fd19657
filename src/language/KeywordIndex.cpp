#include "language/KeywordIndex.h"

#include <algorithm>

void TKeywordIndex::ChunksOf(std::string_view word, std::uint64_t& chunk0, std::uint64_t& chunk1) {
  chunk0 = 0;
  chunk1 = 0;
  if (word.empty()) return;
  std::memcpy(&chunk0, word.data(), std::min<std::size_t>(word.size(), 8));
  if (word.size() > 8)
    std::memcpy(&chunk1, word.data() + 8, std::min<std::size_t>(word.size() - 8, 8));
}

bool TKeywordIndex::TailEqualsLowered(const char* word, std::size_t size,
                                      const Entry& entry) const {
  const std::string& listed = (*keywords_)[static_cast<std::size_t>(entry.index)];
  for (std::size_t k = 16; k < size; ++k) {
    char c = word[k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != listed[k]) return false;
  }
  return true;
}

void TKeywordIndex::Clear() {
  slots_.clear();
  entries_.clear();
  keywords_ = nullptr;
  mask_ = 0;
  max_length_ = 0;
}

void TKeywordIndex::Build(const std::vector<std::string>& keywords) {
  Clear();
  keywords_ = &keywords;
  // At most a quarter full, so a miss (most words of a macro) ends at an
  // empty slot after one or two probes.
  std::size_t capacity = 16;
  while (capacity < keywords.size() * 4) capacity *= 2;
  slots_.assign(capacity, Slot{});
  mask_ = static_cast<std::uint32_t>(capacity - 1);
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    const std::string& word = keywords[i];
    Entry entry;
    ChunksOf(word, entry.chunk0, entry.chunk1);
    entry.index = static_cast<std::int32_t>(i);
    const std::uint64_t tag = TagOf(entry.chunk0, entry.chunk1, word.size());
    std::uint32_t s = static_cast<std::uint32_t>(tag) & mask_;
    bool seen = false;
    for (; slots_[s].tag != 0; s = (s + 1) & mask_) {
      if (slots_[s].tag == tag &&
          keywords[static_cast<std::size_t>(entries_[slots_[s].entry].index)] == word) {
        seen = true;  // an earlier occurrence keeps the word
        break;
      }
    }
    if (seen) continue;
    if (word.size() > max_length_) max_length_ = word.size();
    slots_[s] = Slot{tag, static_cast<std::uint32_t>(entries_.size())};
    entries_.push_back(entry);
  }
}

int TKeywordIndex::Find(std::string_view word) const {
  if (slots_.empty() || word.size() > max_length_) return -1;
  std::uint64_t chunk0 = 0;
  std::uint64_t chunk1 = 0;
  ChunksOf(word, chunk0, chunk1);
  const std::uint64_t tag = TagOf(chunk0, chunk1, word.size());
  for (std::uint32_t s = static_cast<std::uint32_t>(tag) & mask_;; s = (s + 1) & mask_) {
    const Slot& slot = slots_[s];
    if (slot.tag == tag) {
      const Entry& entry = entries_[slot.entry];
      if ((*keywords_)[static_cast<std::size_t>(entry.index)] == word) return entry.index;
    } else if (slot.tag == 0) {
      return -1;
    }
  }
}
