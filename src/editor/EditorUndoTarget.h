#pragma once
// What undo and redo need from the editor: a handful of primitive text, caret
// and selection operations. None of them may add undo records; the undo and
// redo runs record the inverse of every change themselves.
#include <algorithm>
#include <string>
#include <string_view>

#include "editor/EditorTypes.h"

class IUndoTarget {
 public:
  virtual ~IUndoTarget() = default;

  // Bracket one whole Undo or Redo. The editor holds its paint lock in between
  // and lets positions lie beyond the ends of lines for the moment.
  virtual void BeginUndoRedo() = 0;
  virtual void EndUndoRedo() = 0;

  // ---- text (lines are 1-based)
  virtual int LineCount() const = 0;
  // The line's text; empty for a line that does not exist.
  virtual std::string LineText(int line) const = 0;
  virtual void SetLineText(int line, std::string_view text) = 0;
  // Inserts a line so that it becomes line `line` (LineCount() + 1 appends);
  // marks on and below it move down.
  virtual void InsertLine(int line, std::string_view text) = 0;
  // Removes a line; marks below it move up.
  virtual void DeleteLine(int line) = 0;
  // Removes the text between two positions (in either order) as a selection of
  // that mode would cover it, and returns it as the editor's selected text
  // (lines joined by CR LF). Equal positions remove nothing.
  virtual std::string DeleteRange(TBufferCoord start, TBufferCoord end, TSelectionMode mode) = 0;
  // Inserts text at a position by the insertion rules of the mode and returns
  // the position just after it. An empty text changes nothing. In column mode
  // an empty piece leaves its line as it is (no padding).
  virtual TBufferCoord InsertTextAt(TBufferCoord at, std::string_view text,
                                    TSelectionMode mode) = 0;

  // Puts the document into the encoding, and its lines into the bytes, that a
  // ckEncoding record holds (packed as PackEncodingChange packs them), the
  // caret and selection keeping their cells; returns the record of what it
  // replaced, which swaps back.
  virtual std::string SwapEncoding(std::string_view change) = 0;

  // ---- caret and selection
  virtual TBufferCoord CaretPos() const = 0;
  // Moves the caret and collapses the selection there.
  virtual void SetCaretPos(TBufferCoord value) = 0;
  virtual TBufferCoord SelectionAnchor() const = 0;
  virtual TBufferCoord SelectionEnd() const = 0;
  virtual void SetCaretAndSelection(TBufferCoord caret, TBufferCoord anchor, TBufferCoord end) = 0;
  virtual TSelectionMode ActiveSelectionMode() const = 0;
  virtual void SetActiveSelectionMode(TSelectionMode value) = 0;

  // The character position on `line` of the left edge of the column block
  // spanned by two positions (the smaller of their display columns). This
  // default holds for text in which every character takes one column; an
  // editor with TABs converts through display columns.
  virtual int BlockColumnChar(int /*line*/, TBufferCoord a, TBufferCoord b) const {
    return std::min(a.Char, b.Char);
  }
};
