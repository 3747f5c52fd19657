#include "search/RegexCharClass.h"

#include <algorithm>

#include "platform/UnicodeProperties.h"

namespace regex_detail {
namespace {

bool IsAsciiDigit(char32_t cp) { return cp >= '0' && cp <= '9'; }
bool IsAsciiWord(char32_t cp) {
  return IsAsciiDigit(cp) || (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') || cp == '_';
}
// The white space of the expression language; beyond ASCII the Unicode separators.
bool IsAsciiSpace(char32_t cp) {
  return cp == ' ' || cp == '\t' || cp == '\n' || cp == '\r' || cp == '\f';
}

}  // namespace

void CharClass::AddRange(char32_t low, char32_t high) {
  for (char32_t cp = low; cp <= high && cp < 0x80; ++cp) ascii_.set(cp);
  if (high >= 0x80) ranges_.emplace_back(std::max<char32_t>(low, 0x80), high);
}

void CharClass::AddShorthand(char letter) {
  switch (letter) {
    case 'd':
      shorthands_ |= kDigit;
      break;
    case 'D':
      shorthands_ |= kNotDigit;
      break;
    case 'w':
      shorthands_ |= kWord;
      break;
    case 'W':
      shorthands_ |= kNotWord;
      break;
    case 's':
      shorthands_ |= kSpace;
      break;
    default:
      shorthands_ |= kNotSpace;
      break;
  }
}

bool CharClass::Member(char32_t cp) const {
  if (cp < 0x80) return ascii_.test(cp);
  auto it = std::upper_bound(ranges_.begin(), ranges_.end(), cp,
                             [](char32_t v, const auto& r) { return v < r.first; });
  return it != ranges_.begin() && cp <= (it - 1)->second;
}

bool CharClass::InShorthand(char32_t cp) const {
  if (shorthands_ == 0) return false;
  const bool ascii = cp < 0x80;
  const TCharClass kind = ascii ? TCharClass::Other : CodePointClass(cp);
  const bool digit = ascii ? IsAsciiDigit(cp) : kind == TCharClass::Digit;
  const bool word = ascii ? IsAsciiWord(cp) : IsWordCodePoint(cp);
  const bool space = ascii ? IsAsciiSpace(cp) : kind == TCharClass::Space;
  return ((shorthands_ & kDigit) && digit) || ((shorthands_ & kNotDigit) && !digit) ||
         ((shorthands_ & kWord) && word) || ((shorthands_ & kNotWord) && !word) ||
         ((shorthands_ & kSpace) && space) || ((shorthands_ & kNotSpace) && !space);
}

bool CharClass::TakesBeyondAscii(char32_t cp) const {
  if (!takes_beyond_ascii_) return false;
  return (Member(fold_ ? SimpleCaseFold(cp) : cp) || InShorthand(cp)) != negated_;
}

bool CharClass::TakesAll() const {
  return negated_ && ascii_.none() && ranges_.empty() && shorthands_ == 0;
}

void CharClass::Finish() {
  auto join = [this] {
    std::sort(ranges_.begin(), ranges_.end());
    std::vector<std::pair<char32_t, char32_t>> joined;
    for (const auto& r : ranges_) {
      if (!joined.empty() && r.first <= joined.back().second + 1) {
        joined.back().second = std::max(joined.back().second, r.second);
      } else {
        joined.push_back(r);
      }
    }
    ranges_ = std::move(joined);
  };
  join();
  bool folds_in_from_beyond_ascii = false;
  if (fold_) {
    // A character is taken when its fold is the fold of a member, so the
    // members' folds join the members.
    std::vector<char32_t> folds;
    for (const auto& [folded, cp] : FoldedCodePoints()) {
      if (Member(cp)) folds.push_back(folded);
    }
    for (char32_t f : folds) Add(f);
    join();
    for (const auto& [folded, cp] : FoldedCodePoints()) {
      if (cp >= 0x80 && Member(folded)) folds_in_from_beyond_ascii = true;
    }
  }
  takes_beyond_ascii_ =
      negated_ || shorthands_ != 0 || !ranges_.empty() || folds_in_from_beyond_ascii;
  for (char32_t cp = 0; cp < 0x80; ++cp) {
    ascii_takes_[cp] = (Member(fold_ ? SimpleCaseFold(cp) : cp) || InShorthand(cp)) != negated_;
  }
}

}  // namespace regex_detail
