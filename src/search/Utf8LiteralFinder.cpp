#include "search/Utf8LiteralFinder.h"

#include "platform/UnicodeProperties.h"
#include "platform/Utf8.h"
#include "search/Utf8Chars.h"

using namespace utf8_chars;

namespace {

// A code point to compare case-blind; a byte that does not decode stands for
// itself, apart from every code point and every other byte.
char32_t FoldedAt(const unsigned char* text, std::size_t length, std::size_t pos,
                  std::size_t* bytes) {
  const char32_t cp = CodePointAt(text, length, pos, bytes);
  return cp == kUndecodable ? kUndecodable + text[pos] : SimpleCaseFold(cp);
}

// An occurrence from start to end passes the whole-word test when neither the
// character before it nor the one after it belongs to words.
bool IsWholeWord(const unsigned char* text, std::size_t length, std::size_t start,
                 std::size_t end) {
  return !IsWordCharBefore(text, length, start) && !IsWordCharAt(text, length, end);
}

}  // namespace

void TUtf8LiteralFinder::Reset(const std::string& pattern, bool case_sensitive) {
  case_sensitive_ = case_sensitive;
  pattern_length_ = pattern.size();
  folded_.clear();
  first_byte_.fill(false);
  if (pattern.empty()) return;
  std::array<unsigned char, 256> fold;
  for (int b = 0; b < 256; ++b) fold[b] = static_cast<unsigned char>(b);
  if (case_sensitive) {
    scanner_.Reset(pattern, fold);
    return;
  }
  for (int b = 'A'; b <= 'Z'; ++b) fold[b] = static_cast<unsigned char>(b + 0x20);
  const auto* bytes = reinterpret_cast<const unsigned char*>(pattern.data());
  folded_ascii_ = true;
  std::string ascii;
  for (std::size_t i = 0; i < pattern.size();) {
    std::size_t n = 1;
    const char32_t f = FoldedAt(bytes, pattern.size(), i, &n);
    folded_ += f;
    folded_ascii_ = folded_ascii_ && f < 0x80;
    if (f < 0x80) ascii += static_cast<char>(f);
    i += n;
  }
  if (folded_ascii_) scanner_.Reset(ascii, fold);
  // Every form the first code point can take in the text starts with one of these bytes.
  const char32_t first = folded_[0];
  if (first >= kUndecodable) {
    first_byte_[first - kUndecodable] = true;
    return;
  }
  const TCaseForms forms = CaseFoldForms(first);
  for (int k = 0; k < forms.Count; ++k) {
    std::string encoded;
    AppendUtf8(encoded, forms.Forms[k]);
    first_byte_[static_cast<unsigned char>(encoded[0])] = true;
  }
}

std::size_t TUtf8LiteralFinder::FoldedMatchEnd(const unsigned char* text, std::size_t length,
                                               std::size_t pos) const {
  for (char32_t wanted : folded_) {
    if (pos >= length) return std::string_view::npos;
    std::size_t n = 1;
    if (FoldedAt(text, length, pos, &n) != wanted) return std::string_view::npos;
    pos += n;
  }
  return IsCharStart(text, length, pos) ? pos : std::string_view::npos;
}

// Candidates from the byte scan; in UTF-8 a candidate may still start or end
// inside a character.
void TUtf8LiteralFinder::ScanBytes(const unsigned char* text, std::size_t length, bool whole_word,
                                   std::vector<int>& starts, std::vector<int>& lengths) const {
  std::size_t from = 0;
  for (;;) {
    const std::size_t start = scanner_.Find(text, length, from);
    if (start == TLiteralScanner::npos) return;
    const std::size_t end = start + pattern_length_;
    if (IsCharStart(text, length, start) && IsCharStart(text, length, end) &&
        (!whole_word || IsWholeWord(text, length, start, end))) {
      starts.push_back(static_cast<int>(start + 1));
      lengths.push_back(static_cast<int>(pattern_length_));
      from = end;
    } else {
      from = start + 1;
    }
  }
}

void TUtf8LiteralFinder::FindAll(std::string_view line, bool whole_word, std::vector<int>& starts,
                                 std::vector<int>& lengths) const {
  const auto* text = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t length = line.size();
  if (case_sensitive_) {
    ScanBytes(text, length, whole_word, starts, lengths);
    return;
  }
  // Only ASCII forms can stand in ASCII text, and those the byte scan sees.
  if (LastNonAscii(text, length) < 0) {
    if (folded_ascii_) ScanBytes(text, length, whole_word, starts, lengths);
    return;
  }
  for (std::size_t pos = 0; pos < length;) {
    if (first_byte_[text[pos]] && IsCharStart(text, length, pos)) {
      const std::size_t end = FoldedMatchEnd(text, length, pos);
      if (end != std::string_view::npos && (!whole_word || IsWholeWord(text, length, pos, end))) {
        starts.push_back(static_cast<int>(pos + 1));
        lengths.push_back(static_cast<int>(end - pos));
        pos = end;
        continue;
      }
    }
    ++pos;
  }
}
