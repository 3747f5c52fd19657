#include "search/RegexStartScanner.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define QUILLON_BLOCK_SCAN 1
#else
#define QUILLON_BLOCK_SCAN 0
#endif

namespace regex_detail {

void StartScanner::Reset(const std::vector<std::string>& folded,
                         const std::array<unsigned char, 256>& fold) {
  texts_ = folded;
  fold_ = fold;
  first_.fill(false);
  block_bytes_ = 0;
  for (std::size_t b = 0; b < 256; ++b) {
    for (const std::string& t : texts_) {
      if (fold[b] == static_cast<unsigned char>(t.front())) first_[b] = true;
    }
    if (!first_[b]) continue;
    if (block_bytes_ <= kMaxBlockBytes) {
      if (block_bytes_ < kMaxBlockBytes)
        block_byte_[static_cast<std::size_t>(block_bytes_)] = static_cast<unsigned char>(b);
      ++block_bytes_;
    }
  }
}

bool StartScanner::At(const unsigned char* text, std::size_t length, std::size_t pos) const {
  if (pos >= length || !first_[text[pos]]) return false;
  for (const std::string& t : texts_) {
    if (length - pos < t.size()) continue;
    std::size_t k = 1;
    while (k < t.size() && fold_[text[pos + k]] == static_cast<unsigned char>(t[k])) ++k;
    if (k == t.size()) return true;
  }
  return false;
}

std::size_t StartScanner::Find(const unsigned char* text, std::size_t length,
                               std::size_t from) const {
  std::size_t pos = from;
#if QUILLON_BLOCK_SCAN
  if (block_bytes_ > 0 && block_bytes_ <= kMaxBlockBytes) {
    __m128i wanted[kMaxBlockBytes];
    for (int k = 0; k < block_bytes_; ++k) {
      wanted[k] = _mm_set1_epi8(static_cast<char>(block_byte_[static_cast<std::size_t>(k)]));
    }
    for (; pos + 16 <= length; pos += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
      __m128i hits = _mm_cmpeq_epi8(block, wanted[0]);
      for (int k = 1; k < block_bytes_; ++k) {
        hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, wanted[k]));
      }
      auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
      while (mask != 0) {
        const std::size_t at = pos + static_cast<std::size_t>(__builtin_ctz(mask));
        if (At(text, length, at)) return at;
        mask &= mask - 1;
      }
    }
  }
#endif
  for (; pos < length; ++pos) {
    if (At(text, length, pos)) return pos;
  }
  return npos;
}

}  // namespace regex_detail
