#pragma once
// Cell marks of the lines whose characters take other numbers of cells than
// bytes (UTF-8 text). Turning a byte position of such a line into a display
// column, or back, means walking its characters, and a key typed on the line
// does that several times (caret, scrolling, painting, the line's width); for
// the few lines being edited or painted the line buffer keeps marks every few
// dozen bytes (a character boundary and the cells before it), so a conversion
// walks from the nearest mark instead of from the line's start. An edit moves
// the marks after it instead of forgetting them, and tells the line's new
// width from the walk of the changed stretch alone.
//
// A mark is a place where a walk of the line's cells stops, so a walk can set
// off from it. Marks are made on demand, from the line's start on. They live
// beside the line records, which stay small: only recently used lines have
// them.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class ICodePage;

struct TCellMark {
  std::size_t Byte = 0;  // a character starts here, or the line ends here
  long long Cells = 0;   // the cells before it, tabs expanded
};

// How the characters of the lines are measured: their character set and the
// tab width. Marks are forgotten whenever either changes.
struct TCellMeasure {
  const ICodePage& CodePage;
  int TabWidth;
};

class TEditorCellMarks {
 public:
  // Bytes between marks, the most a conversion walks: a few dozen wide
  // characters, more on a line so long that its marks would take more than
  // about kMostMarks entries.
  static constexpr std::size_t kMinSpacing = 64;
  static constexpr std::size_t kMostMarks = 4096;
  // Lines with marks, more than a screen has rows; the one used longest ago
  // is let go for a new one.
  static constexpr std::size_t kLinesKept = 80;

  // Where a walk of the characters of the line `text` (0-based line index)
  // toward byte `byte` stops, the first character boundary at or after it,
  // and the cells before that; walked from the nearest mark, or from the
  // place the last such walk on the line stopped, which a caret asked about
  // over and over makes free.
  TCellMark WalkToByte(int line, std::string_view text, std::size_t byte, const TCellMeasure& m);
  // The last mark with at most `cells` cells before it; marks up to there are
  // made as needed.
  TCellMark AtOrBeforeCells(int line, std::string_view text, long long cells,
                            const TCellMeasure& m);

  // What an edit of a line made of it: the cells of the new text from those
  // of the old (both tabs expanded), and whether the new text has a tab.
  struct TEdit {
    long long Cells = -1;  // -1: not known, the line must be walked
    bool HasTabs = false;
  };
  // The line's text becomes new_text. With marks for the line, they follow
  // the edit and the answer tells its new width; otherwise nothing is known.
  // Call before the old text goes away, then Rebind to the new text's place.
  TEdit Replace(int line, std::string_view old_text, std::string_view new_text, long long old_cells,
                bool old_has_tabs, const TCellMeasure& m);
  void Rebind(int line, std::string_view text);
  bool Holds(int line) const;

  void Forget(int line);
  void LinesInserted(int line, int count);
  void LinesDeleted(int line, int count);
  void LinesExchanged(int a, int b);
  void Clear() { lines_.clear(); }

 private:
  struct TLine {
    int index = 0;
    const char* text = nullptr;
    std::size_t size = 0;
    std::size_t spacing = kMinSpacing;
    std::vector<TCellMark> marks;  // marks[0] is the line's start; byte order
    TCellMark last;                // where the last WalkToByte stopped
    std::uint64_t used = 0;
  };
  TLine* Find(int line);
  // The marks of a line, made afresh when they belong to other text.
  TLine& Marks(int line, std::string_view text);
  // One more mark, `spacing` bytes or so after the last; false at the end.
  static bool Extend(TLine& l, std::string_view text, const TCellMeasure& m);

  std::vector<TLine> lines_;
  std::uint64_t clock_ = 0;
  std::vector<TCellMark> scratch_;  // the marks of an edit's changed stretch
};
