#pragma once
// Value types shared by every part of the editor control: positions, the
// option and status-change sets, selection modes and command numbers.
#include <cstdint>
#include <initializer_list>

// A set of enumerators stored as bits; the enumerator's value is its bit number.
template <typename E, typename Bits>
class TEnumSet {
 public:
  constexpr TEnumSet() = default;
  constexpr TEnumSet(E e) : bits_(Bit(e)) {}  // NOLINT: a single member converts to a set
  constexpr TEnumSet(std::initializer_list<E> members) {
    for (E e : members) bits_ |= Bit(e);
  }
  static constexpr TEnumSet FromBits(Bits bits) {
    TEnumSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr Bits ToBits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TEnumSet& operator+=(TEnumSet other) {
    bits_ |= other.bits_;
    return *this;
  }
  constexpr TEnumSet& operator-=(TEnumSet other) {
    bits_ &= static_cast<Bits>(~other.bits_);
    return *this;
  }
  friend constexpr TEnumSet operator+(TEnumSet a, TEnumSet b) { return a += b; }
  friend constexpr TEnumSet operator|(TEnumSet a, TEnumSet b) { return a += b; }
  friend constexpr TEnumSet operator-(TEnumSet a, TEnumSet b) { return a -= b; }
  // Intersection.
  friend constexpr TEnumSet operator*(TEnumSet a, TEnumSet b) {
    return FromBits(static_cast<Bits>(a.bits_ & b.bits_));
  }
  friend constexpr bool operator==(TEnumSet, TEnumSet) = default;

 private:
  static constexpr Bits Bit(E e) { return static_cast<Bits>(Bits(1) << static_cast<int>(e)); }
  Bits bits_ = 0;
};

// Buffer position: Char is the 1-based byte index in the line (length + 1 is
// just after the last character), Line the 1-based line number.
struct TBufferCoord {
  int Char = 1;
  int Line = 1;
  friend bool operator==(const TBufferCoord&, const TBufferCoord&) = default;
};

// Earlier by line, then by character.
inline bool operator<(const TBufferCoord& a, const TBufferCoord& b) {
  return a.Line < b.Line || (a.Line == b.Line && a.Char < b.Char);
}

// Display position: 1-based screen cell after tab expansion, and display row.
struct TDisplayCoord {
  int Column = 1;
  int Row = 1;
  friend bool operator==(const TDisplayCoord&, const TDisplayCoord&) = default;
};

enum TSelectionMode : std::uint8_t { smNormal = 0, smLine = 1, smColumn = 2 };

// Editor options; the value is the bit number in the stored option mask.
enum TEditorOption : int {
  eoAltSetsColumnMode = 0,
  eoAutoIndent = 1,
  eoAutoSizeMaxScrollWidth = 2,
  eoDisableScrollArrows = 3,
  eoDragDropEditing = 4,
  eoDropFiles = 5,
  eoEnhanceHomeKey = 6,
  eoEnhanceEndKey = 7,
  eoGroupUndo = 8,
  eoHalfPageScroll = 9,
  eoHideShowScrollbars = 10,
  eoKeepCaretX = 11,
  eoNoCaret = 12,
  eoNoSelection = 13,
  eoRightMouseMovesCursor = 14,
  eoScrollByOneLess = 15,
  eoScrollHintFollows = 16,
  eoScrollPastEof = 17,
  eoScrollPastEol = 18,
  eoShowScrollHint = 19,
  eoShowSpecialChars = 20,
  eoSmartTabDelete = 21,
  eoSmartTabs = 22,
  eoSpecialLineDefaultFg = 23,
  eoTabIndent = 24,
  eoTabsToSpaces = 25,
  eoTrimTrailingSpaces = 26,
};
using TEditorOptions = TEnumSet<TEditorOption, std::uint32_t>;
constexpr TEditorOptions operator|(TEditorOption a, TEditorOption b) {
  return TEditorOptions(a) | TEditorOptions(b);
}

// The option set a new editor control starts with.
constexpr TEditorOptions kDefaultEditorOptions = {
    eoAutoIndent,     eoDragDropEditing, eoEnhanceEndKey, eoGroupUndo,   eoScrollPastEol,
    eoShowScrollHint, eoSmartTabDelete,  eoSmartTabs,     eoTabsToSpaces};

// What changed since the last status notification; the value is the bit number.
enum TStatusChange : int {
  scAll = 0,
  scCaretX = 1,
  scCaretY = 2,
  scLeftChar = 3,
  scTopLine = 4,
  scInsertMode = 5,
  scModified = 6,
  scSelection = 7,
  scReadOnly = 8,
};
using TStatusChanges = TEnumSet<TStatusChange, std::uint16_t>;
constexpr TStatusChanges operator|(TStatusChange a, TStatusChange b) {
  return TStatusChanges(a) | TStatusChanges(b);
}

using TEditorCommand = std::uint16_t;

enum class TScrollBarKind { Horizontal, Vertical };
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollHintFormat : std::uint8_t { shfTopLineOnly, shfTopToBottom };
enum TEditorCaretType : std::uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum TTransientType : std::uint8_t { ttBefore, ttAfter };
enum class TMouseButton { Left, Right, Middle };

// Mouse cursor shapes, numbered as the program's cursor table numbers them.
enum : int { crDefault = 0, crArrow = -2, crIBeam = -4, crDrag = -12, crHandPoint = -21 };

// Scroll-bar requests, as the platform's scroll messages name them.
enum class TScrollCode {
  LineUp,
  LineDown,
  PageUp,
  PageDown,
  ThumbPosition,
  ThumbTrack,
  Top,
  Bottom,
  EndScroll
};
