#include "editor/EditorUndoHistory.h"

#include "editor/EditorUndoApply.h"

namespace {

// Holds both lists locked and the target bracketed for one Undo or Redo, and
// lets go again even when a primitive throws.
class TRunScope {
 public:
  TRunScope(TEditorUndoList& undo, TEditorUndoList& redo, IUndoTarget& target, bool& running)
      : undo_(undo), redo_(redo), target_(target), running_(running) {
    running_ = true;
    undo_.Lock();
    redo_.Lock();
    target_.BeginUndoRedo();
  }
  ~TRunScope() {
    target_.EndUndoRedo();
    redo_.Unlock();
    undo_.Unlock();
    undo_.SetInsideRedo(false);
    running_ = false;
  }
  TRunScope(const TRunScope&) = delete;
  TRunScope& operator=(const TRunScope&) = delete;

 private:
  TEditorUndoList& undo_;
  TEditorUndoList& redo_;
  IUndoTarget& target_;
  bool& running_;
};

}  // namespace

TEditorUndoHistory::TEditorUndoHistory() {
  undo_.OnRecordAdded = [this](TEditorUndoList& sender) { RecordAdded(sender); };
  redo_.OnRecordAdded = [this](TEditorUndoList& sender) { RecordAdded(sender); };
}

void TEditorUndoHistory::SetMaxUndo(int value) {
  undo_.SetMaxUndo(value);
  redo_.SetMaxUndo(value);
  RefreshModified();
}

void TEditorUndoHistory::SetModified(bool value) {
  if (value == modified_) return;
  modified_ = value;
  if (value) {
    undo_.UnmarkTopAsClean();
  } else {
    // Grouped undo does not run across a save.
    if (group_undo_ && undo_.UndoAvailable()) undo_.AddSeparator();
    undo_.MarkTopAsClean();
  }
  if (OnModifiedChange) OnModifiedChange();
}

void TEditorUndoHistory::ClearUndoHistory() {
  undo_.Clear();
  redo_.Clear();
}

void TEditorUndoHistory::CaretMoved() {
  if (group_undo_ && undo_.UndoAvailable()) undo_.AddSeparator();
}

bool TEditorUndoHistory::Continues(const TEditorUndoItem& first, const TEditorUndoItem& done,
                                   const TEditorUndoItem& next, bool pair_run) const {
  if (pair_run) return next.Reason != MatchingPairReason(first.Reason);
  // A group that grouped undo has run into is finished too, so that no step
  // leaves half an action behind.
  if (next.GroupNumber == first.GroupNumber || next.GroupNumber == done.GroupNumber) return true;
  return group_undo_ && next.Reason == done.Reason && done.Reason != ckIndent &&
         done.Reason != ckUnindent && done.Reason != ckEncoding;
}

void TEditorUndoHistory::Undo(IUndoTarget& target) {
  if (running_ || !undo_.UndoAvailable()) return;
  bool changed = false;
  {
    TRunScope scope(undo_, redo_, target, running_);
    while (undo_.LastKind() == ckGroupSeparator) redo_.PushItem(undo_.PopItem());
    if (undo_.UndoAvailable()) {
      const TEditorUndoItem first = *undo_.PeekItem();
      const bool pair_run = IsPairClose(first.Reason);
      for (;;) {
        const TEditorUndoItem item = undo_.PopItem();
        ReverseUndoItem(item, target, redo_, first.GroupNumber);
        changed = true;
        const TEditorUndoItem* next = undo_.PeekItem();
        if (next == nullptr || !Continues(first, item, *next, pair_run)) break;
      }
      if (pair_run && undo_.LastKind() == MatchingPairReason(first.Reason)) {
        ReverseUndoItem(undo_.PopItem(), target, redo_, first.GroupNumber);
      }
    }
  }
  RefreshModified();
  if (changed) NotifyChange();
}

void TEditorUndoHistory::Redo(IUndoTarget& target) {
  if (running_ || !redo_.UndoAvailable()) return;
  bool changed = false;
  {
    TRunScope scope(undo_, redo_, target, running_);
    undo_.SetInsideRedo(true);
    while (redo_.LastKind() == ckGroupSeparator) undo_.PushItem(redo_.PopItem());
    if (redo_.UndoAvailable()) {
      const TEditorUndoItem first = *redo_.PeekItem();
      const bool pair_run = IsPairOpen(first.Reason);
      for (;;) {
        const TEditorUndoItem item = redo_.PopItem();
        ReapplyRedoItem(item, target, undo_, first.GroupNumber);
        changed = true;
        const TEditorUndoItem* next = redo_.PeekItem();
        if (next == nullptr || !Continues(first, item, *next, pair_run)) break;
      }
      if (pair_run && redo_.LastKind() == MatchingPairReason(first.Reason)) {
        ReapplyRedoItem(redo_.PopItem(), target, undo_, first.GroupNumber);
      }
    }
    // The separator that the matching Undo took along goes back.
    if (redo_.LastKind() == ckGroupSeparator) undo_.PushItem(redo_.PopItem());
  }
  RefreshModified();
  if (changed) NotifyChange();
}

void TEditorUndoHistory::RecordAdded(TEditorUndoList& sender) {
  if (running_) return;
  RefreshModified();
  if (&sender == &undo_ && !undo_.InsideRedo() && undo_.LastKind() != ckGroupSeparator) {
    redo_.Clear();
  }
  if (sender.BlockCount() == 0) NotifyChange();
}

void TEditorUndoHistory::RefreshModified() {
  const bool value = !undo_.IsTopClean();
  if (value == modified_) return;
  modified_ = value;
  if (OnModifiedChange) OnModifiedChange();
}

void TEditorUndoHistory::NotifyChange() {
  if (OnChange) OnChange();
}
