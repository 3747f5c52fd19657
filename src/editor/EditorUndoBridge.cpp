// Undo and redo on the editor: the primitive operations the undo history works
// through, and the editor's Undo, Redo and Modified.
#include <algorithm>
#include <climits>

#include "editor/Editor.h"
#include "editor/EditorUndoApply.h"

class TEditorUndoAdapter : public IUndoTarget {
 public:
  explicit TEditorUndoAdapter(TCustomEditor& e) : e_(e) {}

  void BeginUndoRedo() override {
    e_.BeginUpdate();
    e_.DoPaintTransient(ttBefore);
    // Positions recorded beyond the ends of lines must be reachable.
    past_eol_ = e_.options_.Contains(eoScrollPastEol);
    e_.options_ += TEditorOptions{eoScrollPastEol};
    mode_ = e_.active_selection_mode_;
  }
  void EndUndoRedo() override {
    if (!past_eol_) e_.options_ -= TEditorOptions{eoScrollPastEol};
    e_.InternalSetCaretPos(e_.caret_, true);
    e_.DoPaintTransient(ttAfter);
    e_.EndUpdate();
  }
  int LineCount() const override { return e_.lines_->Count(); }
  std::string LineText(int line) const override { return e_.LineStr(line); }
  void SetLineText(int line, std::string_view text) override { e_.PutLine(line, text); }
  void InsertLine(int line, std::string_view text) override { e_.InsertLinesAt(line, {text}); }
  void DeleteLine(int line) override { e_.RemoveLines(line, 1); }
  std::string DeleteRange(TBufferCoord start, TBufferCoord end, TSelectionMode mode) override {
    return e_.RemoveRange(start, end, mode);
  }
  TBufferCoord InsertTextAt(TBufferCoord at, std::string_view text, TSelectionMode mode) override {
    if (text.empty()) return at;
    if (mode == smColumn) {
      if (e_.lines_->Count() == 0) e_.lines_->Add("");
      return e_.InsertColumn(at, text, false, false);
    }
    // Lines removed whole come back before the line that stands there now
    // (text without a final line break had emptied the last line).
    if (mode == smLine) at.Char = 1;
    return e_.InsertTextAtPos(at, text, smNormal, false);
  }
  std::string SwapEncoding(std::string_view change) override { return e_.SwapEncoding(change); }
  TBufferCoord CaretPos() const override { return e_.caret_; }
  void SetCaretPos(TBufferCoord value) override { e_.PlaceCaret(value); }
  TBufferCoord SelectionAnchor() const override { return e_.sel_anchor_; }
  TBufferCoord SelectionEnd() const override { return e_.sel_end_; }
  void SetCaretAndSelection(TBufferCoord caret, TBufferCoord anchor, TBufferCoord end) override {
    e_.SelectRange(anchor, end, caret);
  }
  TSelectionMode ActiveSelectionMode() const override { return e_.active_selection_mode_; }
  void SetActiveSelectionMode(TSelectionMode value) override { e_.SetActiveSelectionMode(value); }
  int BlockColumnChar(int line, TBufferCoord a, TBufferCoord b) const override {
    const int column = std::min(e_.BufferToDisplayPos(a).Column, e_.BufferToDisplayPos(b).Column);
    return e_.DisplayToBufferPos({column, line}).Char;
  }

 private:
  TCustomEditor& e_;
  bool past_eol_ = false;
  TSelectionMode mode_ = smNormal;
};

void TCustomEditor::Undo() {
  if (read_only_) return;
  TEditorUndoAdapter target(*this);
  undo_history_.Undo(target);
}

void TCustomEditor::Redo() {
  if (read_only_) return;
  TEditorUndoAdapter target(*this);
  undo_history_.Redo(target);
}

void TCustomEditor::SetModified(bool value) {
  undo_history_.SetModified(value);
  if (modified_ != undo_history_.Modified()) {
    modified_ = undo_history_.Modified();
    StatusChanged(TStatusChanges{scModified});
  }
}
