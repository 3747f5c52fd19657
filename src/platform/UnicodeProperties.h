#pragma once
// Character properties of Unicode code points, from the generated tables: how
// many cells a character takes on the editor's grid, what kind of character it
// is (for word boundaries and the regular-expression classes), and its simple
// case mappings (one code point to one code point).
#include <cstdint>

enum class TCharClass : std::uint8_t { Other, Letter, Mark, Digit, Number, Connector, Space };

// 2 for wide and full-width characters (East Asian Width W and F), 0 for
// combining marks that draw over the character before them (categories Mn and
// Me), 1 for everything else, unassigned code points included.
int CodePointCells(char32_t cp);

// Letters (L*), marks (M*), decimal digits (Nd), other numbers (Nl, No),
// connector punctuation (Pc, the underscore among them), separators (Z*, and
// the controls that separate: tab, line breaks and the like), or other.
TCharClass CodePointClass(char32_t cp);

// A character that belongs to a word: letter, mark, digit, number or connector.
bool IsWordCodePoint(char32_t cp);

// Simple case folding (status C and S): the form case-blind comparison uses.
char32_t SimpleCaseFold(char32_t cp);
char32_t SimpleUpperCase(char32_t cp);
char32_t SimpleLowerCase(char32_t cp);
