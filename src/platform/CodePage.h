#pragma once
// The character set a text is in: the ANSI code page (one byte per character,
// or a lead and a trail byte in the East-Asian double-byte code pages) or UTF-8
// for Unicode documents. Everything that steps over characters, counts the
// cells they take on the editor's grid, changes their case or converts them to
// and from UTF-16 asks here; nothing else looks at lead bytes or UTF-8.
//
// Positions are byte offsets into one line of text. A UTF-8 character is one
// code point together with the combining marks that follow it (they draw over
// it and take no cell of their own); a byte that does not decode is a character
// of one byte and one cell. Tabs are the callers' business: here a tab is a
// character of one cell.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/UnicodeProperties.h"
#include "platform/Utf8.h"

// How characters are made of bytes.
enum class TCharForm : std::uint8_t { SingleByte, DoubleByte, Utf8 };

enum class TCaseMapping : std::uint8_t { Upper, Lower, Toggle, Title, Fold };

class ICodePage {
 public:
  // A code page that does not say otherwise may have lead bytes.
  explicit ICodePage(TCharForm form = TCharForm::DoubleByte) : form_(form) {}
  virtual ~ICodePage() = default;

  // ---- bytes
  // Lower-cases n bytes in place, as the code page's own table does. In UTF-8
  // only characters whose lower-case form has the same length change.
  virtual void LowerBuffer(char* text, std::size_t n) const = 0;
  virtual bool IsAlphaNumeric(unsigned char c) const = 0;
  // True for the first byte of a double-byte character (never in UTF-8).
  virtual bool IsLeadByte(unsigned char c) const = 0;

  // ---- what the text is like
  TCharForm Form() const { return form_; }
  // Every character is one byte.
  bool OneBytePerChar() const { return form_ == TCharForm::SingleByte; }
  // Every character takes one cell per byte, so a line's byte positions are its
  // display columns once tabs are expanded.
  bool CellsAreBytes() const { return form_ != TCharForm::Utf8; }
  // The text is UTF-8, and characters have Unicode properties.
  bool UnicodeText() const { return form_ == TCharForm::Utf8; }

  // ---- characters; i < text.size()
  // Bytes of the character that starts at i (at least 1, never past the end).
  std::size_t CharLength(std::string_view text, std::size_t i) const {
    if (form_ == TCharForm::SingleByte) return 1;
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80 && (form_ == TCharForm::DoubleByte || i + 1 == text.size() ||
                     static_cast<unsigned char>(text[i + 1]) < 0x80))
      return 1;
    return MultiByteCharLength(text, i);
  }
  // Cells of the character that starts at i: 2 for wide characters (and for
  // the two bytes of a double-byte character), else 1.
  int CharCells(std::string_view text, std::size_t i) const {
    if (form_ != TCharForm::Utf8) return static_cast<int>(CharLength(text, i));
    if (static_cast<unsigned char>(text[i]) < 0x80) return 1;
    return Utf8CharCells(text, i);
  }
  // Both at once: the length of the character at i, its cells in `cells`.
  std::size_t CharLengthCells(std::string_view text, std::size_t i, int& cells) const {
    if (form_ != TCharForm::Utf8) {
      const std::size_t n = CharLength(text, i);
      cells = static_cast<int>(n);
      return n;
    }
    if (static_cast<unsigned char>(text[i]) < 0x80 &&
        (i + 1 == text.size() || static_cast<unsigned char>(text[i + 1]) < 0x80)) {
      cells = 1;
      return 1;
    }
    return Utf8CharLengthCells(text, i, cells);
  }
  // The character at i when it is one code point below U+10000 that no mark
  // follows, as nearly every character of a Unicode document is: returns its
  // length, its cells in `cells` and its UTF-16 unit in `unit`; 0 for any
  // other character, and in a code page.
  std::size_t SimpleChar(std::string_view text, std::size_t i, int& cells, char16_t& unit) const {
    if (form_ != TCharForm::Utf8) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + i;
    const std::size_t left = text.size() - i;
    char32_t code_point = 0;
    const std::size_t n = DecodeUtf8Short(p, left, code_point);
    if (n == 0) return 0;
    if (n < left && MayStartCombiningMark(p + n, left - n)) return 0;
    const int c = CodePointCells(code_point);
    if (c == 0) return 0;  // a mark on its own
    cells = c;
    unit = static_cast<char16_t>(code_point);
    return n;
  }
  // The character at i decoded once for drawing: returns its length, puts its
  // cells in `cells` and appends its UTF-16 form to `units` (a byte that does
  // not decode gives the replacement character).
  std::size_t AppendCharAsUtf16(std::string_view text, std::size_t i, int& cells,
                                std::u16string& units) const {
    if (form_ == TCharForm::Utf8) {
      char16_t unit = 0;
      const std::size_t n = SimpleChar(text, i, cells, unit);
      if (n == 0) return Utf8AppendCharAsUtf16(text, i, cells, units);
      units.push_back(unit);
      return n;
    }
    const std::size_t n = CharLength(text, i);
    cells = static_cast<int>(n);
    units += ToUtf16(text.substr(i, n));
    return n;
  }
  // Walks whole characters from byte i while they start before byte `end`,
  // adding their cells to col (a tab reaches the next multiple of tab_width);
  // returns where it stopped, a character boundary at or after `end`.
  std::size_t WalkCells(std::string_view text, std::size_t i, std::size_t end, int tab_width,
                        long long& col) const {
    if (form_ == TCharForm::Utf8) return Utf8WalkCells(text, i, end, tab_width, col);
    while (i < end) {
      if (text[i] == '\t') {
        col += tab_width - col % tab_width;
        ++i;
      } else {
        const std::size_t n = CharLength(text, i);
        col += static_cast<long long>(n);
        i += n;
      }
    }
    return i;
  }
  // Whether a character starts at i whatever the bytes before i are: a walk
  // from any earlier character boundary passes i as a boundary. Where an
  // edit kept the end of a line, walks of the old and the new line meet again
  // at such a place.
  bool AlwaysStartsChar(std::string_view text, std::size_t i) const {
    const auto c = static_cast<unsigned char>(text[i]);
    // No code page uses bytes below 0x40 as trail bytes.
    if (form_ == TCharForm::SingleByte || c < 0x40) return true;
    if (form_ == TCharForm::DoubleByte) return false;
    return c < 0x80 || Utf8AlwaysStartsChar(text, i);
  }
  // Start of the character that holds byte i (i itself when a character
  // starts there; text.size() for i >= text.size()).
  std::size_t CharStart(std::string_view text, std::size_t i) const;
  // Start of the character that ends just before position i (0 < i <= size).
  std::size_t PrevCharStart(std::string_view text, std::size_t i) const {
    return CharStart(text, i - 1);
  }
  // The position after the character at i.
  std::size_t NextCharStart(std::string_view text, std::size_t i) const {
    return i + CharLength(text, i);
  }

  // A character of words (letters and digits; the editor adds its own word
  // characters): the byte's alphanumeric test in a code page, the Unicode
  // letters, marks and digits in UTF-8.
  virtual bool IsWordCharAt(std::string_view text, std::size_t i) const;
  // The Unicode code point of the character at i (its first one in UTF-8).
  virtual char32_t CodePointAt(std::string_view text, std::size_t i) const;

  // Case conversion of a whole text; in a code page the lower-case table and
  // its inverse, byte by byte, trail bytes left alone. Title makes the first
  // character upper case and the rest lower case. Fold gives the form a
  // case-blind comparison uses.
  virtual std::string MapCase(std::string_view text, TCaseMapping how) const;

  // ---- UTF-16
  // A single-byte code page converts byte by byte through UnitOfByte and
  // ByteOfUnit; the others replace these.
  virtual std::u16string ToUtf16(std::string_view text) const;
  // Characters the code page cannot hold become '?' and are counted in *lost.
  virtual std::string FromUtf16(std::u16string_view text, std::size_t* lost = nullptr) const;

 protected:
  // The UTF-16 unit of a byte, and the byte of a unit (-1: none). Without a
  // table of its own a code page stands for U+0000-U+00FF.
  virtual char16_t UnitOfByte(unsigned char b) const { return b; }
  virtual int ByteOfUnit(char16_t u) const { return u <= 0xFF ? u : -1; }
  // Characters whose first byte is above 127, or ASCII followed by such a byte.
  virtual std::size_t MultiByteCharLength(std::string_view text, std::size_t i) const;
  virtual int Utf8CharCells(std::string_view, std::size_t) const { return 1; }
  virtual std::size_t Utf8CharLengthCells(std::string_view text, std::size_t i, int& cells) const {
    cells = 1;
    return CharLength(text, i);
  }
  virtual std::size_t Utf8AppendCharAsUtf16(std::string_view text, std::size_t i, int& cells,
                                            std::u16string& units) const {
    const std::size_t n = Utf8CharLengthCells(text, i, cells);
    units += ToUtf16(text.substr(i, n));
    return n;
  }
  virtual std::size_t Utf8WalkCells(std::string_view, std::size_t i, std::size_t, int,
                                    long long&) const {
    return i;
  }
  virtual std::size_t Utf8CharStart(std::string_view, std::size_t i) const { return i; }
  virtual bool Utf8AlwaysStartsChar(std::string_view, std::size_t) const { return true; }

  // A code page whose lead bytes never change calls this once its own
  // IsLeadByte answers, from its constructor: the walk back to a character's
  // start, over every byte of a line of double-byte characters, then reads a
  // table instead of asking byte by byte.
  void LearnLeadBytes();

 private:
  TCharForm form_;
  bool lead_known_ = false;
  std::array<bool, 256> lead_{};
};

// Text of one character set in another (the same text when both are one).
// Characters the target cannot hold become '?' and are counted in *lost.
std::string ConvertText(std::string_view text, const ICodePage& from, const ICodePage& to,
                        std::size_t* lost = nullptr);
