#include "platform/UnicodeProperties.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/UnicodeTables.h"

namespace {

using unicode_tables::TCaseRun;

char32_t MapCase(char32_t cp, const TCaseRun* runs, std::size_t count) {
  const TCaseRun* end = runs + count;
  const TCaseRun* it =
      std::upper_bound(runs, end, static_cast<std::uint32_t>(cp),
                       [](std::uint32_t v, const TCaseRun& r) { return v < r.First; });
  if (it == runs) return cp;
  const TCaseRun& run = it[-1];
  const std::uint32_t offset = static_cast<std::uint32_t>(cp) - run.First;
  if (offset % run.Stride != 0 || offset / run.Stride >= run.Count) return cp;
  return static_cast<char32_t>(static_cast<std::int64_t>(cp) + run.Delta);
}

}  // namespace

const std::vector<std::pair<char32_t, char32_t>>& FoldedCodePoints() {
  // Built once from the folding runs; the tables hold no inverse of their own.
  static const std::vector<std::pair<char32_t, char32_t>> sources = [] {
    std::vector<std::pair<char32_t, char32_t>> v;
    for (std::size_t r = 0; r < unicode_tables::kFoldRunsCount; ++r) {
      const TCaseRun& run = unicode_tables::kFoldRuns[r];
      for (std::uint32_t k = 0; k < run.Count; ++k) {
        const std::uint32_t cp = run.First + k * run.Stride;
        v.emplace_back(static_cast<char32_t>(static_cast<std::int64_t>(cp) + run.Delta),
                       static_cast<char32_t>(cp));
      }
    }
    std::sort(v.begin(), v.end());
    return v;
  }();
  return sources;
}

unsigned unicode_detail::SearchProperties(char32_t cp) {
  if (cp > 0x10FFFF) return 1;  // one cell, no class
  const std::uint32_t* begin = unicode_tables::kPropertyRanges;
  const std::uint32_t* end = begin + unicode_tables::kPropertyRangeCount;
  const std::uint32_t key = static_cast<std::uint32_t>(cp) << 8 | 0xFF;
  const std::uint32_t* it = std::upper_bound(begin, end, key);
  return it == begin ? 1 : (it[-1] & 0xFF);
}

const std::uint8_t* unicode_detail::BuildBmpProperties() {
  static const std::unique_ptr<std::uint8_t[]> table = [] {
    std::unique_ptr<std::uint8_t[]> t(new std::uint8_t[0x10000]);
    const std::uint32_t* ranges = unicode_tables::kPropertyRanges;
    const std::size_t count = unicode_tables::kPropertyRangeCount;
    for (std::size_t k = 0; k < count && (ranges[k] >> 8) < 0x10000; ++k) {
      const std::uint32_t end =
          k + 1 < count ? std::min<std::uint32_t>(ranges[k + 1] >> 8, 0x10000) : 0x10000;
      for (std::uint32_t cp = ranges[k] >> 8; cp < end; ++cp)
        t[cp] = static_cast<std::uint8_t>(ranges[k] & 0xFF);
    }
    return t;
  }();
  return table.get();
}

TCharClass CodePointClass(char32_t cp) {
  return static_cast<TCharClass>(unicode_detail::Properties(cp) >> 2 & 7);
}

bool IsWordCodePoint(char32_t cp) {
  const TCharClass c = CodePointClass(cp);
  return c != TCharClass::Other && c != TCharClass::Space;
}

char32_t SimpleCaseFold(char32_t cp) {
  if (cp < 0x80) return cp >= 'A' && cp <= 'Z' ? cp + 0x20 : cp;
  return MapCase(cp, unicode_tables::kFoldRuns, unicode_tables::kFoldRunsCount);
}

char32_t SimpleUpperCase(char32_t cp) {
  if (cp < 0x80) return cp >= 'a' && cp <= 'z' ? cp - 0x20 : cp;
  return MapCase(cp, unicode_tables::kUpperRuns, unicode_tables::kUpperRunsCount);
}

char32_t SimpleLowerCase(char32_t cp) {
  if (cp < 0x80) return cp >= 'A' && cp <= 'Z' ? cp + 0x20 : cp;
  return MapCase(cp, unicode_tables::kLowerRuns, unicode_tables::kLowerRunsCount);
}

TCaseForms CaseFoldForms(char32_t cp) {
  TCaseForms forms;
  forms.Forms[forms.Count++] = cp;
  const char32_t folded = SimpleCaseFold(cp);
  auto add = [&forms](char32_t c) {
    for (int k = 0; k < forms.Count; ++k) {
      if (forms.Forms[k] == c) return;
    }
    if (forms.Count < 4) forms.Forms[forms.Count++] = c;
  };
  add(folded);
  const auto& sources = FoldedCodePoints();
  auto it = std::lower_bound(sources.begin(), sources.end(), std::make_pair(folded, char32_t{0}));
  for (; it != sources.end() && it->first == folded; ++it) add(it->second);
  return forms;
}
