#include "platform/CodePage.h"

#include <array>

#include "platform/Utf8.h"

std::size_t ICodePage::CharStart(std::string_view text, std::size_t i) const {
  if (i >= text.size()) return text.size();
  switch (form_) {
    case TCharForm::SingleByte:
      return i;
    case TCharForm::Utf8:
      return Utf8CharStart(text, i);
    case TCharForm::DoubleByte:
      break;
  }
  // A byte that cannot lead ends a character, so a character starts right
  // after the nearest one; from there the lead-valued bytes pair up.
  std::size_t k = i;
  if (lead_known_) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    // Eight bytes a step while all of them are lead-valued, as on a line of
    // double-byte characters whose trail bytes are lead-valued too.
    while (k >= 8 && (lead_[p[k - 1]] & lead_[p[k - 2]] & lead_[p[k - 3]] & lead_[p[k - 4]] &
                      lead_[p[k - 5]] & lead_[p[k - 6]] & lead_[p[k - 7]] & lead_[p[k - 8]]))
      k -= 8;
    while (k > 0 && lead_[p[k - 1]]) --k;
  } else {
    while (k > 0 && IsLeadByte(static_cast<unsigned char>(text[k - 1]))) --k;
  }
  return (i - k) % 2 == 1 ? i - 1 : i;
}

void ICodePage::LearnLeadBytes() {
  for (std::size_t c = 0; c < lead_.size(); ++c)
    lead_[c] = IsLeadByte(static_cast<unsigned char>(c));
  lead_known_ = true;
}

std::size_t ICodePage::MultiByteCharLength(std::string_view text, std::size_t i) const {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

bool ICodePage::IsWordCharAt(std::string_view text, std::size_t i) const {
  const auto c = static_cast<unsigned char>(text[i]);
  return IsAlphaNumeric(c) || c == '_' || (form_ == TCharForm::DoubleByte && IsLeadByte(c));
}

char32_t ICodePage::CodePointAt(std::string_view text, std::size_t i) const {
  const std::u16string u = ToUtf16(text.substr(i, CharLength(text, i)));
  if (u.empty()) return 0;
  if (IsSurrogatePairAt(u, 0)) return CodePointOfPair(u[0], u[1]);
  return u[0];
}

std::string ICodePage::MapCase(std::string_view text, TCaseMapping how) const {
  std::array<unsigned char, 256> lower, upper;
  for (int c = 0; c < 256; ++c) {
    char one = static_cast<char>(c);
    LowerBuffer(&one, 1);
    lower[c] = static_cast<unsigned char>(one);
    upper[c] = static_cast<unsigned char>(c);
  }
  // Upper case is the inverse of the code page's own lower-case table.
  for (int c = 255; c >= 0; --c)
    if (lower[c] != c && upper[lower[c]] == lower[c])
      upper[lower[c]] = static_cast<unsigned char>(c);
  std::string out(text);
  bool first = true;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto u = static_cast<unsigned char>(out[i]);
    if (CharLength(out, i) > 1) {
      ++i;  // a double-byte character keeps its bytes
      first = false;
      continue;
    }
    unsigned char r = u;
    switch (how) {
      case TCaseMapping::Upper:
        r = upper[u];
        break;
      case TCaseMapping::Lower:
      case TCaseMapping::Fold:
        r = lower[u];
        break;
      case TCaseMapping::Toggle:
        r = lower[u] != u ? lower[u] : upper[u];
        break;
      case TCaseMapping::Title:
        r = first ? upper[u] : lower[u];
        break;
    }
    first = false;
    out[i] = static_cast<char>(r);
  }
  return out;
}

std::u16string ICodePage::ToUtf16(std::string_view text) const {
  std::u16string out(text.size(), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    out[i] = UnitOfByte(static_cast<unsigned char>(text[i]));
  return out;
}

std::string ICodePage::FromUtf16(std::u16string_view text, std::size_t* lost) const {
  std::string out;
  out.reserve(text.size());
  std::size_t missing = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    const int byte = ByteOfUnit(u);
    if (byte >= 0) {
      out.push_back(static_cast<char>(byte));
      continue;
    }
    out.push_back('?');
    ++missing;
    if (IsSurrogatePairAt(text, i)) ++i;  // one character, one question mark
  }
  if (lost) *lost = missing;
  return out;
}

std::string ConvertText(std::string_view text, const ICodePage& from, const ICodePage& to,
                        std::size_t* lost) {
  if (lost) *lost = 0;
  // Every character set here agrees with ASCII.
  if (&from == &to || (from.UnicodeText() && to.UnicodeText()) ||
      AsciiPrefixLength(text) == text.size())
    return std::string(text);
  return to.FromUtf16(from.ToUtf16(text), lost);
}
