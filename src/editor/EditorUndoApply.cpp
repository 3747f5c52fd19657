#include "editor/EditorUndoApply.h"

#include <algorithm>
#include <utility>

namespace {

bool IsInsertKind(TChangeReason reason) {
  return reason == ckInsert || reason == ckPaste || reason == ckDropInsert;
}

bool IsDeleteKind(TChangeReason reason) {
  return reason == ckDelete || reason == ckDeleteReversed || reason == ckDeleteBeforeCaret ||
         reason == ckDeleteAtCaret || reason == ckClearText;
}

void Push(TEditorUndoList& list, TChangeReason reason, TSelectionMode mode, TBufferCoord start,
          TBufferCoord end, std::string text, std::uint32_t group) {
  TEditorUndoItem item;
  item.Reason = reason;
  item.Mode = mode;
  item.StartPos = start;
  item.EndPos = end;
  item.ChangeText = std::move(text);
  item.GroupNumber = group;
  list.PushItem(std::move(item));
}

// A record that marks something (a pair marker, a separator, ckNone) goes to
// the other list unchanged; pair markers join the run's group so that the run
// comes back in one step, a separator keeps its own so that it keeps
// separating.
void PassOn(const TEditorUndoItem& item, TEditorUndoList& other, std::uint32_t group) {
  TEditorUndoItem copy = item;
  if (item.Reason != ckGroupSeparator) copy.GroupNumber = group;
  other.PushItem(std::move(copy));
}

void EnsureLineExists(IUndoTarget& target, int line) {
  while (target.LineCount() < line) target.InsertLine(target.LineCount() + 1, "");
}

// The column at which a block indent or unindent works on a line.
int IndentColumn(const TEditorUndoItem& item, const IUndoTarget& target, int line) {
  return item.Mode == smColumn ? target.BlockColumnChar(line, item.StartPos, item.EndPos) : 1;
}

// Replaces whatever StartPos..EndPos holds by ChangeText: the undo of an
// insertion and the redo of one are the same swap. The inverse covers the new
// text and keeps the old.
TBufferCoord SwapRange(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& other,
                       std::uint32_t group) {
  const TBufferCoord at = UndoInsertionPoint(item, target);
  std::string removed = target.DeleteRange(item.StartPos, item.EndPos, item.Mode);
  const TBufferCoord end =
      item.ChangeText.empty() ? at : target.InsertTextAt(at, item.ChangeText, item.Mode);
  Push(other, item.Reason, item.Mode, at, end, std::move(removed), group);
  return end;
}

// Joins the broken line again: the moved part goes back onto the line, and the
// line that the break made (indentation included) goes. The inverse keeps that
// line whole, so that a redo brings back exactly the text the break made.
void UndoLineBreak(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& redo,
                   std::uint32_t group) {
  const int line = item.StartPos.Line;
  EnsureLineExists(target, line);
  std::string text = target.LineText(line);
  const int cut = static_cast<int>(text.size()) + 1;
  const std::string made = target.LineText(line + 1);
  // Trailing blanks of the left part may have been trimmed when the line was
  // broken; they are put back when the moved part must follow at the break
  // column. A break beyond the end of the line moved nothing, and padding
  // then would leave spaces the user never typed.
  const auto column = static_cast<std::size_t>(std::max(item.StartPos.Char - 1, 0));
  const std::string& moved = item.ChangeText;
  if (!moved.empty() && moved[0] != ' ' && moved[0] != '\t' && text.size() < column) {
    text.resize(column, ' ');
  }
  text += moved;
  target.SetLineText(line, text);
  if (line + 1 <= target.LineCount()) target.DeleteLine(line + 1);
  Push(redo, ckLineBreak, item.Mode, item.StartPos, TBufferCoord{cut, line}, made, group);
  target.SetCaretPos(item.StartPos);
}

// Breaks the line again where the undo joined it (EndPos) and puts back the
// line the break had made (ChangeText).
void RedoLineBreak(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& undo,
                   std::uint32_t group) {
  const int line = item.EndPos.Line;
  EnsureLineExists(target, line);
  const std::string text = target.LineText(line);
  const auto cut =
      std::min(static_cast<std::size_t>(std::max(item.EndPos.Char - 1, 0)), text.size());
  std::string moved = text.substr(cut);
  target.SetLineText(line, text.substr(0, cut));
  target.InsertLine(line + 1, item.ChangeText);
  // The caret stands before the moved text, after the new line's indentation.
  const int caret_char =
      std::max(1, static_cast<int>(item.ChangeText.size()) - static_cast<int>(moved.size()) + 1);
  Push(undo, ckLineBreak, item.Mode, item.StartPos, item.EndPos, std::move(moved), group);
  target.SetCaretPos(TBufferCoord{caret_char, line + 1});
}

void UndoDeletion(const TEditorUndoItem& item, IUndoTarget& target) {
  const TBufferCoord at = UndoInsertionPoint(item, target);
  EnsureLineExists(target, at.Line);
  target.InsertTextAt(at, item.ChangeText, item.Mode);
  const bool caret_at_start = item.Reason == ckDeleteReversed || item.Reason == ckDeleteAtCaret;
  const TBufferCoord caret = caret_at_start ? item.StartPos : item.EndPos;
  if (item.Reason == ckClearText) {
    target.SetCaretAndSelection(TBufferCoord{}, item.StartPos, TBufferCoord{});
  } else if (item.Reason == ckDelete) {
    target.SetCaretAndSelection(caret, item.StartPos, item.EndPos);
  } else if (item.Reason == ckDeleteReversed) {
    // The same text is selected again, with the anchor after the caret as it was.
    target.SetCaretAndSelection(caret, item.EndPos, item.StartPos);
  } else {
    target.SetCaretPos(caret);
  }
}

void InsertPrefixes(const TEditorUndoItem& item, IUndoTarget& target) {
  const std::vector<std::string_view> prefixes = SplitUndoLines(item.ChangeText);
  for (std::size_t i = 0; i < prefixes.size(); ++i) {
    if (prefixes[i].empty()) continue;
    const int line = item.StartPos.Line + static_cast<int>(i);
    EnsureLineExists(target, line);
    std::string text = target.LineText(line);
    const auto column = static_cast<std::size_t>(IndentColumn(item, target, line) - 1);
    if (text.size() < column) text.resize(column, ' ');
    text.insert(column, prefixes[i]);
    target.SetLineText(line, text);
  }
  target.SetCaretAndSelection(item.EndPos, item.StartPos, item.EndPos);
}

void RemovePrefixes(const TEditorUndoItem& item, IUndoTarget& target) {
  const std::vector<std::string_view> prefixes = SplitUndoLines(item.ChangeText);
  for (std::size_t i = 0; i < prefixes.size(); ++i) {
    if (prefixes[i].empty()) continue;
    const int line = item.StartPos.Line + static_cast<int>(i);
    std::string text = target.LineText(line);
    const auto column = static_cast<std::size_t>(IndentColumn(item, target, line) - 1);
    // Only the prefix that the unindent removed is taken away again.
    if (text.compare(std::min(column, text.size()), prefixes[i].size(), prefixes[i]) != 0) {
      continue;
    }
    text.erase(column, prefixes[i].size());
    target.SetLineText(line, text);
  }
  TBufferCoord start = item.StartPos;
  TBufferCoord end = item.EndPos;
  if (item.Mode != smColumn && !prefixes.empty()) {
    // The ends shrink by what their own lines lost, as after the unindent.
    start.Char = std::max(1, start.Char - static_cast<int>(prefixes.front().size()));
    const int end_index = end.Line - item.StartPos.Line;
    if (end_index >= 0 && end_index < static_cast<int>(prefixes.size())) {
      end.Char = std::max(1, end.Char - static_cast<int>(prefixes[end_index].size()));
    }
  }
  target.SetCaretAndSelection(end, start, end);
}

// A change of encoding is undone and redone by the same swap.
void SwapEncoding(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& other,
                  std::uint32_t group) {
  const TBufferCoord caret = target.CaretPos();
  std::string inverse = target.SwapEncoding(item.ChangeText);
  Push(other, ckEncoding, item.Mode, caret, caret, std::move(inverse), group);
}

void SwapCaretMark(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& other,
                   TSelectionMode previous_mode, std::uint32_t group) {
  const TBufferCoord caret = target.CaretPos();
  Push(other, ckCaretMark, previous_mode, caret, caret, std::string(), group);
  // Only the caret moves; the selection a selection mark restored stays.
  target.SetCaretAndSelection(item.StartPos, target.SelectionAnchor(), target.SelectionEnd());
}

void SwapSelectionMark(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& other,
                       TSelectionMode previous_mode, std::uint32_t group) {
  Push(other, ckSelectionMark, previous_mode, target.SelectionAnchor(), target.SelectionEnd(),
       std::string(), group);
  target.SetCaretAndSelection(item.EndPos, item.StartPos, item.EndPos);
}

}  // namespace

std::vector<std::string_view> SplitUndoLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

TBufferCoord UndoInsertionPoint(const TEditorUndoItem& item, const IUndoTarget& target) {
  if (item.Mode == smColumn) {
    const int line = std::min(item.StartPos.Line, item.EndPos.Line);
    return TBufferCoord{target.BlockColumnChar(line, item.StartPos, item.EndPos), line};
  }
  return item.EndPos < item.StartPos ? item.EndPos : item.StartPos;
}

void ReverseUndoItem(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& redo,
                     std::uint32_t group) {
  const TSelectionMode previous_mode = target.ActiveSelectionMode();
  target.SetActiveSelectionMode(item.Mode);
  if (IsInsertKind(item.Reason)) {
    const TBufferCoord start = UndoInsertionPoint(item, target);
    SwapRange(item, target, redo, group);
    target.SetCaretPos(start);
  } else if (IsDeleteKind(item.Reason)) {
    UndoDeletion(item, target);
    Push(redo, item.Reason, item.Mode, item.StartPos, item.EndPos, std::string(), group);
  } else if (item.Reason == ckLineBreak) {
    UndoLineBreak(item, target, redo, group);
  } else if (item.Reason == ckIndent) {
    target.SetCaretAndSelection(item.EndPos, item.StartPos, item.EndPos);
    PassOn(item, redo, group);
  } else if (item.Reason == ckUnindent) {
    InsertPrefixes(item, target);
    PassOn(item, redo, group);
  } else if (item.Reason == ckEncoding) {
    SwapEncoding(item, target, redo, group);
  } else if (item.Reason == ckCaretMark) {
    SwapCaretMark(item, target, redo, previous_mode, group);
  } else if (item.Reason == ckSelectionMark) {
    SwapSelectionMark(item, target, redo, previous_mode, group);
  } else {
    PassOn(item, redo, group);
  }
}

void ReapplyRedoItem(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& undo,
                     std::uint32_t group) {
  const TSelectionMode previous_mode = target.ActiveSelectionMode();
  target.SetActiveSelectionMode(item.Mode);
  if (IsInsertKind(item.Reason)) {
    const TBufferCoord start = UndoInsertionPoint(item, target);
    const TBufferCoord end = SwapRange(item, target, undo, group);
    if (item.Reason == ckDropInsert) {
      target.SetCaretAndSelection(end, start, end);
    } else {
      target.SetCaretPos(end);
    }
  } else if (IsDeleteKind(item.Reason)) {
    // The caret goes where the text closed up, whichever end the caret held
    // before the deletion.
    const TBufferCoord at = UndoInsertionPoint(item, target);
    std::string removed = target.DeleteRange(item.StartPos, item.EndPos, item.Mode);
    if (!item.ChangeText.empty()) target.InsertTextAt(at, item.ChangeText, item.Mode);
    Push(undo, item.Reason, item.Mode, item.StartPos, item.EndPos, std::move(removed), group);
    target.SetCaretPos(at);
  } else if (item.Reason == ckLineBreak) {
    RedoLineBreak(item, target, undo, group);
  } else if (item.Reason == ckIndent) {
    target.SetCaretAndSelection(item.EndPos, item.StartPos, item.EndPos);
    PassOn(item, undo, group);
  } else if (item.Reason == ckUnindent) {
    RemovePrefixes(item, target);
    PassOn(item, undo, group);
  } else if (item.Reason == ckEncoding) {
    SwapEncoding(item, target, undo, group);
  } else if (item.Reason == ckCaretMark) {
    SwapCaretMark(item, target, undo, previous_mode, group);
  } else if (item.Reason == ckSelectionMark) {
    SwapSelectionMark(item, target, undo, previous_mode, group);
  } else {
    PassOn(item, undo, group);
  }
}
