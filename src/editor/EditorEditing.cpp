// The text primitives behind every editing operation: lines put, inserted and
// removed with the marks following them, ranges removed and text inserted in
// the three selection modes, and the selected-text setter.
#include <algorithm>
#include <climits>

#include "editor/Editor.h"
#include "editor/EditorUndoApply.h"

namespace {

std::string_view Part(std::string_view s, int from_char, int to_char) {
  const int len = static_cast<int>(s.size());
  from_char = std::clamp(from_char, 1, len + 1);
  to_char = std::clamp(to_char, from_char, len + 1);
  return s.substr(static_cast<std::size_t>(from_char - 1),
                  static_cast<std::size_t>(to_char - from_char));
}

}  // namespace

// ---- lines

void TCustomEditor::PutLine(int line, std::string_view text) {
  std::string_view t = text;
  if (options_.Contains(eoTrimTrailingSpaces)) {
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  }
  while (lines_->Count() < line - 1) {
    lines_->Add("");
  }
  if (line - 1 == lines_->Count()) {
    lines_->Add(t);
    return;
  }
  if (lines_->LineView(line - 1) == t) return;
  lines_->SetLine(line - 1, t);
}

void TCustomEditor::InsertLinesAt(int line, const std::vector<std::string_view>& texts) {
  if (texts.empty()) return;
  const int n = static_cast<int>(texts.size());
  const int index = std::clamp(line - 1, 0, lines_->Count());
  lines_->BeginUpdate();
  lines_->InsertEmptyLines(index, n);
  for (int i = 0; i < n; ++i) {
    if (!texts[static_cast<std::size_t>(i)].empty() || options_.Contains(eoTrimTrailingSpaces))
      PutLine(index + i + 1, texts[static_cast<std::size_t>(i)]);
  }
  lines_->EndUpdate();
  MarksLinesInserted(index + 1, n);
}

void TCustomEditor::RemoveLines(int line, int count) {
  if (count <= 0 || line < 1 || line > lines_->Count()) return;
  count = std::min(count, lines_->Count() - line + 1);
  lines_->DeleteLineRange(line - 1, count);
  MarksLinesDeleted(line - 1, count);
}

void TCustomEditor::MarksLinesInserted(int line, int count) {
  bool moved = false;
  for (auto& m : marks_) {
    if (m->Line >= line) {
      m->Line += count;
      moved = true;
    }
  }
  if (moved) InvalidateGutterLines(line, INT_MAX);
}

void TCustomEditor::MarksLinesDeleted(int after_line, int count) {
  bool moved = false;
  for (auto& m : marks_) {
    if (m->Line > after_line + count) {
      m->Line -= count;
      moved = true;
    } else if (m->Line > after_line) {
      m->Line = std::max(1, after_line);
      moved = true;
    }
  }
  if (moved) InvalidateGutterLines(std::max(1, after_line), INT_MAX);
}

// ---- ranges

std::string TCustomEditor::RangeText(TBufferCoord a, TBufferCoord b, TSelectionMode mode) const {
  if (b < a) std::swap(a, b);
  std::string result;
  switch (mode) {
    case smNormal: {
      if (a.Line == b.Line) return std::string(Part(lines_->LineView(a.Line - 1), a.Char, b.Char));
      result = Part(lines_->LineView(a.Line - 1), a.Char, INT_MAX);
      for (int l = a.Line + 1; l < b.Line; ++l) {
        result += "\r\n";
        result += lines_->LineView(l - 1);
      }
      result += "\r\n";
      result += Part(lines_->LineView(b.Line - 1), 1, b.Char);
      return result;
    }
    case smLine:
      for (int l = a.Line; l <= b.Line && l <= lines_->Count(); ++l) {
        result += lines_->LineView(l - 1);
        if (l < lines_->Count()) result += "\r\n";
      }
      return result;
    case smColumn: {
      int c1 = BufferToDisplayPos(a).Column, c2 = BufferToDisplayPos(b).Column;
      if (c1 > c2) std::swap(c1, c2);
      for (int l = a.Line; l <= b.Line; ++l) {
        if (l > a.Line) result += "\r\n";
        const int x1 = DisplayToBufferPos({c1, l}).Char, x2 = DisplayToBufferPos({c2, l}).Char;
        result += Part(lines_->LineView(l - 1), x1, x2);
      }
      return result;
    }
  }
  return result;
}

std::string TCustomEditor::RemoveRange(TBufferCoord a, TBufferCoord b, TSelectionMode mode) {
  if (b < a) std::swap(a, b);
  if (a == b && mode != smLine) return std::string();
  if (lines_->Count() == 0) return std::string();
  a.Line = std::clamp(a.Line, 1, lines_->Count());
  b.Line = std::clamp(b.Line, 1, lines_->Count());
  std::string removed = RangeText(a, b, mode);
  lines_->BeginUpdate();
  switch (mode) {
    case smNormal: {
      const std::string first = LineStr(a.Line), last = LineStr(b.Line);
      std::string joined(Part(first, 1, a.Char));
      joined += Part(last, b.Char, INT_MAX);
      if (a.Line == b.Line && a.Char > static_cast<int>(first.size()) + 1) break;
      PutLine(a.Line, joined);
      RemoveLines(a.Line + 1, b.Line - a.Line);
      break;
    }
    case smLine:
      if (b.Line >= lines_->Count()) {
        RemoveLines(a.Line, b.Line - a.Line);
        PutLine(a.Line, "");
      } else {
        RemoveLines(a.Line, b.Line - a.Line + 1);
      }
      break;
    case smColumn: {
      int c1 = BufferToDisplayPos(a).Column, c2 = BufferToDisplayPos(b).Column;
      if (c1 > c2) std::swap(c1, c2);
      for (int l = a.Line; l <= b.Line; ++l) {
        const int x1 = DisplayToBufferPos({c1, l}).Char, x2 = DisplayToBufferPos({c2, l}).Char;
        const std::string s = LineStr(l);
        if (x1 > static_cast<int>(s.size())) continue;
        std::string t(Part(s, 1, x1));
        t += Part(s, x2, INT_MAX);
        PutLine(l, t);
      }
      break;
    }
  }
  lines_->EndUpdate();
  return removed;
}

TBufferCoord TCustomEditor::InsertColumn(TBufferCoord at, std::string_view text, bool record,
                                         bool pad_empty_pieces) {
  const std::vector<std::string_view> pieces = SplitUndoLines(text);
  const int column = BufferToDisplayPos(at).Column;
  TBufferCoord end = at;
  lines_->BeginUpdate();
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const int line = at.Line + static_cast<int>(i);
    if (line > lines_->Count()) {
      if (lines_->Count() == 0) lines_->Add("");
      if (line > lines_->Count()) {
        const int prev = lines_->Count();
        if (record)
          UndoList().AddRecord(ckLineBreak, {LineLength(prev) + 1, prev}, smNormal, std::string(),
                               {LineLength(prev) + 1, prev});
        InsertLinesAt(prev + 1, {std::string_view()});
      }
    }
    const std::string_view piece = pieces[i];
    std::string s = LineStr(line);
    const int ch = i == 0 ? at.Char : DisplayToBufferPos({column, line}).Char;
    if (piece.empty() && !pad_empty_pieces) {
      end = {ch, line};
      continue;
    }
    const int len = static_cast<int>(s.size());
    const int start = std::min(ch, len + 1);
    if (len < ch - 1) s.resize(static_cast<std::size_t>(ch - 1), ' ');
    s.insert(static_cast<std::size_t>(ch - 1), piece);
    PutLine(line, s);
    end = {ch + static_cast<int>(piece.size()), line};
    if (record && end.Char > start)
      UndoList().AddRecord(ckPaste, {start, line}, smNormal, std::string(), end);
  }
  lines_->EndUpdate();
  return end;
}

TBufferCoord TCustomEditor::InsertTextAtPos(TBufferCoord at, std::string_view text,
                                            TSelectionMode mode, bool record) {
  if (text.empty()) return at;
  if (lines_->Count() == 0) lines_->Add("");
  at.Line = std::clamp(at.Line, 1, lines_->Count());
  at.Char = std::max(1, at.Char);
  if (mode == smColumn) return InsertColumn(at, text, record, false);
  std::vector<std::string_view> pieces = SplitUndoLines(text);
  lines_->BeginUpdate();
  TBufferCoord end = at;
  if (mode == smLine) {
    // Whole lines, before the caret's line; a final line break ends the last
    // line rather than starting another.
    if (pieces.size() > 1 && pieces.back().empty()) pieces.pop_back();
    int line = at.Line;
    if (!insert_mode_) {
      const int replace =
          std::min(static_cast<int>(pieces.size()), std::max(0, lines_->Count() - line));
      if (replace > 0) {
        if (record)
          UndoList().AddRecord(ckDelete, {1, line}, smNormal,
                               RangeText({1, line}, {1, line + replace}, smNormal),
                               {1, line + replace});
        RemoveLines(line, replace);
      }
    }
    InsertLinesAt(line, pieces);
    end = {1, line + static_cast<int>(pieces.size())};
  } else {
    const std::string s = LineStr(at.Line);
    std::string left(Part(s, 1, at.Char));
    if (static_cast<int>(left.size()) < at.Char - 1)
      left.resize(static_cast<std::size_t>(at.Char - 1), ' ');
    const std::string right(Part(s, at.Char, INT_MAX));
    if (pieces.size() == 1) {
      left += pieces[0];
      end = {static_cast<int>(left.size()) + 1, at.Line};
      left += right;
      PutLine(at.Line, left);
    } else {
      left += pieces[0];
      PutLine(at.Line, left);
      std::string last(pieces.back());
      end = {static_cast<int>(last.size()) + 1, at.Line + static_cast<int>(pieces.size()) - 1};
      last += right;
      pieces.back() = last;
      pieces.erase(pieces.begin());
      InsertLinesAt(at.Line + 1, pieces);
    }
  }
  lines_->EndUpdate();
  return end;
}

// ---- caret and selection without undo separators

void TCustomEditor::PlaceCaret(TBufferCoord p) {
  BeginUpdate();
  const bool had = HasSelection();
  if (had) InvalidateSelection();
  InternalSetCaretPos(p, true);
  sel_anchor_ = sel_end_ = caret_;
  if (had) StatusChanged(TStatusChanges{scSelection});
  EndUpdate();
}

void TCustomEditor::SelectRange(TBufferCoord anchor, TBufferCoord end, TBufferCoord caret) {
  BeginUpdate();
  InvalidateSelection();
  InternalSetCaretPos(caret, true);
  const int count = std::max(1, lines_->Count());
  anchor.Line = std::clamp(anchor.Line, 1, count);
  end.Line = std::clamp(end.Line, 1, count);
  sel_anchor_ = anchor;
  sel_end_ = end;
  InvalidateSelection();
  StatusChanged(TStatusChanges{scSelection});
  EndUpdate();
}

// ---- recorded editing steps

void TCustomEditor::DeleteSelectionRecorded() {
  if (!HasSelection()) return;
  TBufferCoord b = SelectionBegin(), e = SelectionFinish();
  const TSelectionMode mode = active_selection_mode_;
  const TBufferCoord caret_b = b;
  if (mode == smNormal) {
    // Nothing stands beyond the end of a line.
    b.Char = std::min(b.Char, LineLength(b.Line) + 1);
    e.Char = std::min(e.Char, LineLength(e.Line) + 1);
  }
  const TChangeReason reason = sel_end_ < sel_anchor_ ? ckDeleteReversed : ckDelete;
  if (mode == smColumn) {
    // Column boundaries may fall inside TABs, so each line's piece is recorded
    // where it stood; the selection comes back with the last of them.
    UndoList().AddRecord(ckSelectionMark, sel_anchor_, smColumn, std::string(), sel_end_);
    int c1 = BufferToDisplayPos(b).Column, c2 = BufferToDisplayPos(e).Column;
    if (c1 > c2) std::swap(c1, c2);
    for (int l = b.Line; l <= e.Line && l <= lines_->Count(); ++l) {
      const TBufferCoord p1 = DisplayToBufferPos({c1, l}), p2 = DisplayToBufferPos({c2, l});
      const std::string piece = RemoveRange(p1, p2, smNormal);
      if (!piece.empty()) UndoList().AddRecord(ckDelete, p1, smNormal, piece, p2);
    }
  } else {
    const std::string text = RemoveRange(b, e, mode);
    UndoList().AddRecord(reason, b, mode, text, e);
  }
  TBufferCoord caret = caret_b;
  if (mode == smLine) caret = {1, b.Line};
  if (mode == smColumn) {
    const int column = std::min(BufferToDisplayPos(b).Column, BufferToDisplayPos(e).Column);
    caret = DisplayToBufferPos({column, e.Line});
  }
  const bool past = options_.Contains(eoScrollPastEol);
  options_ += TEditorOptions{eoScrollPastEol};
  PlaceCaret(caret);
  if (!past) options_ -= TEditorOptions{eoScrollPastEol};
}

void TCustomEditor::InsertAtCaretRecorded(std::string_view text, TChangeReason reason) {
  if (text.empty()) return;
  if (lines_->Count() == 0) lines_->Add("");
  const TBufferCoord at = caret_;
  const int start = std::min(at.Char, LineLength(at.Line) + 1);
  const TBufferCoord end = InsertTextAtPos(at, text, smNormal, false);
  UndoList().AddRecord(reason, {start, at.Line}, smNormal, std::string(), end);
  PlaceCaret(end);
}

void TCustomEditor::PadToCaretRecorded() {
  if (lines_->Count() == 0) lines_->Add("");
  const int len = LineLength(caret_.Line);
  if (caret_.Char <= len + 1) return;
  std::string s = LineStr(caret_.Line);
  s.resize(static_cast<std::size_t>(caret_.Char - 1), ' ');
  lines_->SetLine(caret_.Line - 1, s);
  UndoList().AddRecord(ckInsert, {len + 1, caret_.Line}, smNormal, std::string(), caret_);
}

void TCustomEditor::RemoveRecorded(TBufferCoord a, TBufferCoord b, TChangeReason reason,
                                   TBufferCoord caret) {
  if (b < a) std::swap(a, b);
  if (a == b) return;
  const std::string text = RemoveRange(a, b, smNormal);
  if (text.empty()) return;
  UndoList().AddRecord(reason, a, smNormal, text, b);
  PlaceCaret(caret);
}

void TCustomEditor::SetSelectedText(std::string_view text) {
  if (read_only_) return;
  BeginUpdate();
  TEditorUndoBlockScope block(UndoList());
  if (HasSelection()) {
    DeleteSelectionRecorded();
  } else {
    SetActiveSelectionMode(selection_mode_);
  }
  const TSelectionMode mode = active_selection_mode_;
  if (!text.empty()) {
    if (mode == smNormal) {
      InsertAtCaretRecorded(text);
    } else {
      const TBufferCoord at = mode == smLine ? TBufferCoord{1, caret_.Line} : caret_;
      const TBufferCoord end = InsertTextAtPos(at, text, mode, true);
      if (mode == smLine) UndoList().AddRecord(ckInsert, at, smNormal, std::string(), end);
      PlaceCaret(end);
    }
  }
  EndUpdate();
}
