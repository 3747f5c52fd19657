#include "platform/Utf8CodePage.h"

#include <algorithm>

#include "platform/UnicodeProperties.h"
#include "platform/Utf8.h"

namespace {

TUtf8Char At(std::string_view text, std::size_t i) { return DecodeUtf8Quick(text, i); }

// A code point that draws over the character before it.
bool IsCombining(const TUtf8Char& c) { return c.Valid && CodePointCells(c.CodePoint) == 0; }

// Combining marks join a character that is neither a control nor a byte that
// does not decode.
bool TakesMarks(const TUtf8Char& c) { return c.Valid && c.CodePoint >= 0x20; }

// Start of the code point that holds byte i: the nearest byte before it that is
// no continuation byte, when the sequence starting there reaches byte i.
std::size_t CodePointStart(std::string_view text, std::size_t i) {
  std::size_t k = i;
  while (k > 0 && i - k < 3 && IsUtf8Continuation(static_cast<unsigned char>(text[k]))) --k;
  if (k == i) return i;
  const TUtf8Char c = At(text, k);
  return c.Valid && k + c.Length > i ? k : i;
}

// The length of the character at i, its cells, and its UTF-16 form appended
// to *units when asked for.
std::size_t MeasureChar(std::string_view text, std::size_t i, int& cells, std::u16string* units) {
  const TUtf8Char first = At(text, i);
  // A mark on its own shows in a cell of its own.
  cells = first.Valid ? std::max(CodePointCells(first.CodePoint), 1) : 1;
  if (units) AppendUtf16(*units, first.CodePoint);
  std::size_t end = i + first.Length;
  if (!TakesMarks(first)) return first.Length;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  while (end < text.size() && MayStartCombiningMark(p + end, text.size() - end)) {
    const TUtf8Char next = At(text, end);
    if (!IsCombining(next)) break;
    if (units) AppendUtf16(*units, next.CodePoint);
    end += next.Length;
  }
  return end - i;
}

}  // namespace

std::size_t TUtf8CodePage::Utf8CharLengthCells(std::string_view text, std::size_t i,
                                               int& cells) const {
  return MeasureChar(text, i, cells, nullptr);
}

std::size_t TUtf8CodePage::Utf8AppendCharAsUtf16(std::string_view text, std::size_t i, int& cells,
                                                 std::u16string& units) const {
  return MeasureChar(text, i, cells, &units);
}

std::size_t TUtf8CodePage::Utf8WalkCells(std::string_view text, std::size_t i, std::size_t end,
                                         int tab_width, long long& col) const {
  // One call for a whole stretch, each code point decoded once: the editor
  // walks lines of wide characters on every key. A mark that follows a
  // character taking marks adds nothing, also past `end`.
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  bool takes_marks = false;
  while (i < text.size()) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      if (i >= end) break;
      col += b == '\t' ? tab_width - col % tab_width : 1;
      takes_marks = b >= 0x20;
      ++i;
      continue;
    }
    // Every valid code point of the short forms is at least U+0080, so it
    // takes marks.
    char32_t code_point = 0;
    std::size_t n = DecodeUtf8Short(p + i, text.size() - i, code_point);
    int cells;
    bool valid = true;
    if (n != 0) {
      cells = CodePointCells(code_point);
    } else {
      const TUtf8Char c = At(text, i);
      n = c.Length;
      valid = c.Valid;
      cells = c.Valid ? CodePointCells(c.CodePoint) : 1;
    }
    if (cells == 0 && takes_marks) {
      i += n;
      continue;
    }
    if (i >= end) break;
    col += cells == 0 ? 1 : cells;
    takes_marks = valid;
    i += n;
  }
  return i;
}

std::size_t TUtf8CodePage::MultiByteCharLength(std::string_view text, std::size_t i) const {
  int cells = 0;
  return Utf8CharLengthCells(text, i, cells);
}

int TUtf8CodePage::Utf8CharCells(std::string_view text, std::size_t i) const {
  const TUtf8Char c = At(text, i);
  return c.Valid ? std::max(CodePointCells(c.CodePoint), 1) : 1;
}

std::size_t TUtf8CodePage::Utf8CharStart(std::string_view text, std::size_t i) const {
  // A byte that begins a code point, of no mark, starts a character: the
  // caret stands on such a byte nearly always.
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  if (!IsUtf8Continuation(p[i]) && !MayStartCombiningMark(p + i, text.size() - i)) return i;
  // Back to a code point that surely starts a character: one that is no
  // combining mark, or a mark that follows nothing it could join.
  std::size_t start = CodePointStart(text, i);
  while (start > 0 && IsCombining(At(text, start))) {
    const std::size_t before = CodePointStart(text, start - 1);
    const TUtf8Char b = At(text, before);
    if (!IsCombining(b) && !TakesMarks(b)) break;
    start = before;
  }
  // Forward from there to the character that holds byte i.
  for (;;) {
    const std::size_t next = start + CharLength(text, start);
    if (next > i) return start;
    start = next;
  }
}

bool TUtf8CodePage::Utf8AlwaysStartsChar(std::string_view text, std::size_t i) const {
  // A lead byte cannot be taken into the sequence of a byte before it, and a
  // code point other than a mark is joined to nothing.
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  return !IsUtf8Continuation(p[i]) &&
         (!MayStartCombiningMark(p + i, text.size() - i) || !IsCombining(At(text, i)));
}

void TUtf8CodePage::LowerBuffer(char* text, std::size_t n) const {
  const std::string_view view(text, n);
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      if (b >= 'A' && b <= 'Z') text[i] = static_cast<char>(b + 0x20);
      ++i;
      continue;
    }
    const TUtf8Char c = At(view, i);
    if (c.Valid) {
      std::string lower;
      AppendUtf8(lower, SimpleLowerCase(c.CodePoint));
      if (lower.size() == c.Length) lower.copy(text + i, c.Length);
    }
    i += c.Length;
  }
}

bool TUtf8CodePage::IsAlphaNumeric(unsigned char c) const {
  return c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool TUtf8CodePage::IsWordCharAt(std::string_view text, std::size_t i) const {
  const TUtf8Char c = At(text, i);
  return c.Valid && (c.CodePoint == '_' || IsWordCodePoint(c.CodePoint));
}

char32_t TUtf8CodePage::CodePointAt(std::string_view text, std::size_t i) const {
  return At(text, i).CodePoint;
}

std::string TUtf8CodePage::MapCase(std::string_view text, TCaseMapping how) const {
  std::string out;
  out.reserve(text.size());
  bool first = true;
  for (std::size_t i = 0; i < text.size();) {
    const TUtf8Char c = At(text, i);
    if (!c.Valid) {
      out.append(text.substr(i, c.Length));  // kept as it is
      i += c.Length;
      first = false;
      continue;
    }
    char32_t r = c.CodePoint;
    switch (how) {
      case TCaseMapping::Upper:
        r = SimpleUpperCase(r);
        break;
      case TCaseMapping::Lower:
        r = SimpleLowerCase(r);
        break;
      case TCaseMapping::Fold:
        r = SimpleCaseFold(r);
        break;
      case TCaseMapping::Toggle: {
        const char32_t lower = SimpleLowerCase(r);
        r = lower != r ? lower : SimpleUpperCase(r);
        break;
      }
      case TCaseMapping::Title:
        r = first ? SimpleUpperCase(r) : SimpleLowerCase(r);
        break;
    }
    // Combining marks belong to the character before them.
    if (!IsCombining(c)) first = false;
    AppendUtf8(out, r);
    i += c.Length;
  }
  return out;
}

std::u16string TUtf8CodePage::ToUtf16(std::string_view text) const { return Utf8ToUtf16(text); }

std::string TUtf8CodePage::FromUtf16(std::u16string_view text, std::size_t* lost) const {
  if (lost) *lost = 0;
  return Utf16ToUtf8(text);
}

const ICodePage& Utf8CodePage() {
  static const TUtf8CodePage code_page;
  return code_page;
}
