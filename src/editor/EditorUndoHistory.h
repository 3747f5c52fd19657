#pragma once
// The editor's undo and redo lists together: Undo and Redo runs, the rules
// that group records into steps, the Modified state that follows the undo
// list's clean marker, and the change notification.
#include <cstdint>
#include <functional>

#include "editor/EditorUndo.h"
#include "editor/EditorUndoTarget.h"

class TEditorUndoHistory {
 public:
  TEditorUndoHistory();
  TEditorUndoHistory(const TEditorUndoHistory&) = delete;
  TEditorUndoHistory& operator=(const TEditorUndoHistory&) = delete;

  // Editing operations record on the undo list (AddRecord, OpenGroup,
  // CloseGroup, AddSeparator).
  TEditorUndoList& UndoList() { return undo_; }
  const TEditorUndoList& UndoList() const { return undo_; }
  TEditorUndoList& RedoList() { return redo_; }
  const TEditorUndoList& RedoList() const { return redo_; }

  // Follows the editor's eoGroupUndo option: runs of the same kind of change
  // are undone together, and separators stop the runs.
  bool GroupUndo() const { return group_undo_; }
  void SetGroupUndo(bool value) { group_undo_ = value; }

  // The limit of both lists.
  int MaxUndo() const { return undo_.MaxUndo(); }
  void SetMaxUndo(int value);

  // The text counts as modified unless the newest undo record is the one that
  // was newest when it was last marked clean.
  bool Modified() const { return modified_; }
  // Setting false marks the current text as the saved one; setting true makes
  // no state on the list count as saved.
  void SetModified(bool value);

  bool UndoAvailable() const { return undo_.UndoAvailable(); }
  bool RedoAvailable() const { return redo_.UndoAvailable(); }
  // Empties both lists; the Modified state stays as it is.
  void ClearUndoHistory();

  // A caret movement: with GroupUndo, a separator keeps the next change out of
  // the run before it.
  void CaretMoved();

  // Undoes the newest step on the target (the editor checks ReadOnly first).
  void Undo(IUndoTarget& target);
  // Applies the newest undone step again.
  void Redo(IUndoTarget& target);

  // A change was recorded outside any block, a block that recorded something
  // ended, or an Undo or Redo changed the text.
  std::function<void()> OnChange;
  // Modified changed its value.
  std::function<void()> OnModifiedChange;

 private:
  void RecordAdded(TEditorUndoList& sender);
  void RefreshModified();
  void NotifyChange();
  // Whether a run that started with `first` and has just handled `done` goes
  // on to `next`.
  bool Continues(const TEditorUndoItem& first, const TEditorUndoItem& done,
                 const TEditorUndoItem& next, bool pair_run) const;

  TEditorUndoList undo_;
  TEditorUndoList redo_;
  bool group_undo_ = true;
  bool modified_ = false;
  // Set while Undo or Redo runs: their records notify once, at the end.
  bool running_ = false;
};
