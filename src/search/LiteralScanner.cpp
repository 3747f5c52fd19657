#include "search/LiteralScanner.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define QUILLON_BLOCK_SCAN 1
#else
#define QUILLON_BLOCK_SCAN 0
#endif

void TLiteralScanner::Reset(const std::string& folded, const std::array<unsigned char, 256>& fold) {
  folded_ = folded;
  fold_ = fold;
  first_forms_ = last_forms_ = 0;
  vectorized_ = false;
  if (folded_.empty()) return;
  const auto first = static_cast<unsigned char>(folded_.front());
  const auto last = static_cast<unsigned char>(folded_.back());
  bool fits = true;
  for (int b = 0; b < 256 && fits; ++b) {
    if (fold[b] == first) {
      if (first_forms_ == kMaxForms) fits = false;
      else first_[first_forms_++] = static_cast<unsigned char>(b);
    }
    if (fits && fold[b] == last) {
      if (last_forms_ == kMaxForms) fits = false;
      else last_[last_forms_++] = static_cast<unsigned char>(b);
    }
  }
  vectorized_ = QUILLON_BLOCK_SCAN && fits && first_forms_ > 0 && last_forms_ > 0;
}

bool TLiteralScanner::EqualAt(const unsigned char* text) const {
  const auto* p = reinterpret_cast<const unsigned char*>(folded_.data());
  for (std::size_t i = 0; i < folded_.size(); ++i) {
    if (fold_[text[i]] != p[i]) return false;
  }
  return true;
}

std::size_t TLiteralScanner::FindScalar(const unsigned char* text, std::size_t length,
                                        std::size_t from) const {
  const std::size_t n = folded_.size();
  const auto first = static_cast<unsigned char>(folded_.front());
  const auto last = static_cast<unsigned char>(folded_.back());
  for (std::size_t s = from; s + n <= length; ++s) {
    if (fold_[text[s]] == first && fold_[text[s + n - 1]] == last && EqualAt(text + s)) return s;
  }
  return npos;
}

std::size_t TLiteralScanner::Find(const unsigned char* text, std::size_t length,
                                  std::size_t from) const {
  const std::size_t n = folded_.size();
  if (n == 0 || from > length || length - from < n) return npos;
#if QUILLON_BLOCK_SCAN
  if (vectorized_) {
    const std::size_t last_start = length - n;  // the last start that fits
    // Blocks read 16 bytes at the start and at the end offset; both stay inside
    // the line while the block start is at most last_start - 15.
    if (last_start - from >= 15) {
      auto forms = [](const unsigned char* values, int count) {
        __m128i v[kMaxForms];
        for (int k = 0; k < kMaxForms; ++k) v[k] = _mm_set1_epi8(static_cast<char>(values[k < count ? k : 0]));
        return std::array<__m128i, kMaxForms>{v[0], v[1], v[2]};
      };
      const auto first = forms(first_.data(), first_forms_);
      const auto last = forms(last_.data(), last_forms_);
      std::size_t block = from;
      for (;;) {
        const bool final_block = block + 15 >= last_start;
        if (final_block) block = last_start - 15;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + block));
        const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + block + n - 1));
        __m128i hit_first = _mm_cmpeq_epi8(a, first[0]);
        __m128i hit_last = _mm_cmpeq_epi8(z, last[0]);
        for (int k = 1; k < first_forms_; ++k) hit_first = _mm_or_si128(hit_first, _mm_cmpeq_epi8(a, first[k]));
        for (int k = 1; k < last_forms_; ++k) hit_last = _mm_or_si128(hit_last, _mm_cmpeq_epi8(z, last[k]));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(hit_first, hit_last)));
        // The final block may reach back over positions already examined.
        if (block < from) mask &= ~0u << (from - block);
        while (mask != 0) {
          const std::size_t s = block + static_cast<std::size_t>(__builtin_ctz(mask));
          if (EqualAt(text + s)) return s;
          mask &= mask - 1;
        }
        if (final_block) return npos;
        from = block + 16;
        block = from;
      }
    }
  }
#endif
  return FindScalar(text, length, from);
}
