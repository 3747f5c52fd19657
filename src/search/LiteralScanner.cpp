#include "search/LiteralScanner.h"

#include <cstring>

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
  {
    const std::size_t n = folded_.size();
    std::array<std::uint32_t, 256> by_fold;
    by_fold.fill(static_cast<std::uint32_t>(n));
    for (std::size_t i = 0; i + 1 < n; ++i) {
      by_fold[static_cast<unsigned char>(folded_[i])] = static_cast<std::uint32_t>(n - 1 - i);
    }
    for (int b = 0; b < 256; ++b)
      skip_[static_cast<std::size_t>(b)] = by_fold[fold[static_cast<std::size_t>(b)]];
  }
  const auto first = static_cast<unsigned char>(folded_.front());
  const auto last = static_cast<unsigned char>(folded_.back());
  unsigned char first_forms[kMaxForms] = {};
  unsigned char last_forms[kMaxForms] = {};
  bool fits = true;
  for (int b = 0; b < 256 && fits; ++b) {
    if (fold[b] == first) {
      if (first_forms_ == kMaxForms)
        fits = false;
      else
        first_forms[first_forms_++] = static_cast<unsigned char>(b);
    }
    if (fits && fold[b] == last) {
      if (last_forms_ == kMaxForms)
        fits = false;
      else
        last_forms[last_forms_++] = static_cast<unsigned char>(b);
    }
  }
  vectorized_ = QUILLON_BLOCK_SCAN && fits && first_forms_ > 0 && last_forms_ > 0;
  if (!vectorized_) return;
  for (int k = 0; k < kMaxForms; ++k) {
    std::memset(first_[k], first_forms[k < first_forms_ ? k : 0], 16);
    std::memset(last_[k], last_forms[k < last_forms_ ? k : 0], 16);
  }
  auto bit_form = [](const unsigned char* forms, int count, unsigned char* bit,
                     unsigned char* target) {
    if (count == 1) {
      std::memset(bit, 0, 16);
      std::memset(target, forms[0], 16);
      return true;
    }
    if (count == 2 && (forms[0] ^ forms[1]) == 0x20) {
      std::memset(bit, 0x20, 16);
      std::memset(target, forms[0] | 0x20, 16);
      return true;
    }
    return false;
  };
  bit_trick_ = bit_form(first_forms, first_forms_, first_bit_, first_target_) &&
               bit_form(last_forms, last_forms_, last_bit_, last_target_);
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
  const auto last = static_cast<unsigned char>(folded_.back());
  for (std::size_t end = from + n - 1; end < length; end += skip_[text[end]]) {
    if (fold_[text[end]] == last && EqualAt(text + end - (n - 1))) return end - (n - 1);
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
      auto load = [](const unsigned char* p) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
      };
      const __m128i first0 = load(first_[0]), first1 = load(first_[1]), first2 = load(first_[2]);
      const __m128i last0 = load(last_[0]), last1 = load(last_[1]), last2 = load(last_[2]);
      const __m128i first_bit = load(first_bit_), first_target = load(first_target_);
      const __m128i last_bit = load(last_bit_), last_target = load(last_target_);
      // Candidates of the 16 starts from `at`, as a bit mask.
      auto candidates = [&](std::size_t at) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + n - 1));
        __m128i hit_first, hit_last;
        if (bit_trick_) {
          hit_first = _mm_cmpeq_epi8(_mm_or_si128(a, first_bit), first_target);
          hit_last = _mm_cmpeq_epi8(_mm_or_si128(z, last_bit), last_target);
        } else {
          // Unused form slots repeat the first form, so all three can be tested.
          hit_first =
              _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(a, first0), _mm_cmpeq_epi8(a, first1)),
                           _mm_cmpeq_epi8(a, first2));
          hit_last = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(z, last0), _mm_cmpeq_epi8(z, last1)),
                                  _mm_cmpeq_epi8(z, last2));
        }
        return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_and_si128(hit_first, hit_last)));
      };
      // Two blocks per round while they fit, then one; the last block is moved
      // back to end at the last start and ignores the starts already seen.
      std::size_t block = from;
      for (;;) {
        std::uint32_t mask;
        bool final_round = false;
        std::size_t stride = 32;
        if (block + 31 <= last_start) {
          mask = candidates(block) | candidates(block + 16) << 16;
        } else if (block + 15 <= last_start) {
          mask = candidates(block);
          stride = 16;
        } else {
          final_round = true;
          const std::size_t back = last_start - 15;
          mask = candidates(back);
          if (back < block) mask &= ~0u << (block - back);
          block = back;
        }
        while (mask != 0) {
          const std::size_t s = block + static_cast<std::size_t>(__builtin_ctz(mask));
          if (EqualAt(text + s)) return s;
          mask &= mask - 1;
        }
        if (final_round) return npos;
        block += stride;
        if (block > last_start) return npos;
      }
    }
  }
#endif
  return FindScalar(text, length, from);
}
