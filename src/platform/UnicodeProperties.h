#pragma once
// Character properties of Unicode code points, from the generated tables: how
// many cells a character takes on the editor's grid, what kind of character it
// is (for word boundaries and the regular-expression classes), and its simple
// case mappings (one code point to one code point).
#include <cstdint>
#include <utility>
#include <vector>

enum class TCharClass : std::uint8_t { Other, Letter, Mark, Digit, Number, Connector, Space };

namespace unicode_detail {
// The properties byte of a code point (bits 0-1 cells, 2-4 class): the Basic
// Multilingual Plane, where nearly every character of a macro lives, unpacked
// on first use into one byte per code point, for the editor asks for the cells
// of every character it steps over; the planes above from the ranges.
const std::uint8_t* BuildBmpProperties();
unsigned SearchProperties(char32_t cp);
inline unsigned Properties(char32_t cp) {
  static const std::uint8_t* const bmp = BuildBmpProperties();
  return cp < 0x10000 ? bmp[cp] : SearchProperties(cp);
}
}  // namespace unicode_detail

// 2 for wide and full-width characters (East Asian Width W and F), 0 for
// combining marks that draw over the character before them (categories Mn and
// Me), 1 for everything else, unassigned code points included.
inline int CodePointCells(char32_t cp) {
  // Nothing below the combining diacritics is wide or zero.
  return cp < 0x300 ? 1 : static_cast<int>(unicode_detail::Properties(cp) & 3);
}

// Letters (L*), marks (M*), decimal digits (Nd), other numbers (Nl, No),
// connector punctuation (Pc, the underscore among them), separators (Z*, and
// the controls that separate: tab, line breaks and the like), or other.
TCharClass CodePointClass(char32_t cp);

// A character that belongs to a word: letter, mark, digit, number or connector.
bool IsWordCodePoint(char32_t cp);

// Simple case folding (status C and S): the form case-blind comparison uses.
char32_t SimpleCaseFold(char32_t cp);
// Every code point with the same simple case fold as cp, cp itself first: k, K
// and the Kelvin sign; s, S and the long s. No fold joins more than four.
struct TCaseForms {
  char32_t Forms[4] = {};
  int Count = 0;
};
TCaseForms CaseFoldForms(char32_t cp);
// (fold, code point) for every code point whose simple case fold is another
// code point, sorted.
const std::vector<std::pair<char32_t, char32_t>>& FoldedCodePoints();
char32_t SimpleUpperCase(char32_t cp);
char32_t SimpleLowerCase(char32_t cp);
