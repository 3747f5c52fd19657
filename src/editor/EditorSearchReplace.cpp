// Find and replace over the editor's text with the assigned search engine.
#include <algorithm>

#include "editor/Editor.h"
#include "search/EditorSearch.h"

namespace {

using O = TSearchOption;

// Releases what a search run holds, however it ends: the paint lock of an
// unprompted replace-all and the undo block its replacements share.
class TSearchRunScope {
 public:
  TSearchRunScope(TCustomEditor& editor, std::function<void()> on_end)
      : editor_(editor), on_end_(std::move(on_end)) {}
  ~TSearchRunScope() {
    if (locked_) editor_.EndUpdate();
    if (block_open_) editor_.UndoList().CloseGroup();
    on_end_();
  }
  TSearchRunScope(const TSearchRunScope&) = delete;
  TSearchRunScope& operator=(const TSearchRunScope&) = delete;

  void LockPainting() {
    if (locked_) return;
    editor_.BeginUpdate();
    locked_ = true;
  }
  void OpenUndoBlock() {
    if (block_open_) return;
    editor_.UndoList().OpenGroup();
    block_open_ = true;
  }

 private:
  TCustomEditor& editor_;
  std::function<void()> on_end_;
  bool locked_ = false;
  bool block_open_ = false;
};

}  // namespace

void TCustomEditor::SelectFoundText(int line, int column, int length, bool backwards) {
  // A line selection would stand for the whole line, and replacing it would
  // replace the line: an occurrence is always a plain selection.
  if (active_selection_mode_ != smNormal) SetActiveSelectionMode(smNormal);
  SetSelectionAnchor({column, line});
  // Column 1 first, so that a line far from the window comes into the middle
  // of it and the occurrence's own column is scrolled to from the left.
  InternalSetCaretPos({1, line}, false);
  ScrollCaretIntoViewCentered();
  SetSelectionEnd({column + length, line});
  InternalSetCaretPos(SelectionFinish(), true);
  InternalSetCaretPos(backwards ? SelectionBegin() : SelectionFinish(), true);
}

int TCustomEditor::SearchAndReplace(const std::string& search, const std::string& replace,
                                    TSearchOptionSet options) {
  if (!search_engine_) throw EEditorError("No search engine has been assigned");
  if (search.empty() || lines_->Count() == 0) return 0;

  const bool backwards = options.Contains(O::Backwards);
  bool prompt = options.Contains(O::PromptOnReplace);
  const bool replace_one = options.Contains(O::ReplaceOne);
  bool replace_all = options.Contains(O::ReplaceAll);
  const bool from_caret = !options.Contains(O::EntireScope);
  if (!HasSelection()) options.Exclude(O::SelectedOnly);
  const bool selected_only = options.Contains(O::SelectedOnly);
  const TSelectionMode mode = active_selection_mode_;

  TBufferCoord start{1, 1};
  TBufferCoord end{LineLength(lines_->Count()) + 1, lines_->Count()};
  if (selected_only) {
    start = SelectionBegin();
    end = SelectionFinish();
    if (mode == smLine) {
      start.Char = 1;
      end.Char = LineLength(end.Line) + 1;
    } else if (mode == smColumn && start.Char > end.Char) {
      std::swap(start.Char, end.Char);
    }
  } else if (from_caret) {
    (backwards ? end : start) = caret_;
  }
  // Range tests follow the selection's shape; occurrences themselves are
  // selected as plain text (SelectFoundText).
  const bool line_range = selected_only && mode == smLine;
  const bool column_range = selected_only && mode == smColumn;
  auto inside = [&](int line, int column, int length) {
    if (line_range) return true;
    if (column_range) return column >= start.Char && column + length <= end.Char;
    return !(line == start.Line && column < start.Char) &&
           !(line == end.Line && column + length > end.Char);
  };

  search_engine_->SetCodePage(TextCharSet());
  search_engine_->SetOptions(options);
  search_engine_->SetPattern(search);
  DoPaintTransient(ttBefore);
  TSearchRunScope run(*this, [this] { DoPaintTransient(ttAfter); });
  if (replace_all && !prompt) {
    run.LockPainting();
    run.OpenUndoBlock();
  }

  int count = 0;
  const int step = backwards ? -1 : 1;
  for (int line = backwards ? end.Line : start.Line; line >= start.Line && line <= end.Line;
       line += step) {
    const int found = search_engine_->FindAllInLine(lines_->LineView(line - 1));
    int offset = 0;  // how far replacements moved the line's later occurrences
    for (int k = 0; k < found; ++k) {
      const int i = backwards ? found - 1 - k : k;
      const int column = search_engine_->ResultAt(i) + offset;
      const int length = search_engine_->LengthAt(i);
      if (!inside(line, column, length)) continue;
      ++count;
      SelectFoundText(line, column, length, backwards);
      if (!replace_one && !replace_all) return count;

      TReplaceAction action = raReplace;
      if (prompt && OnReplaceText) {
        action = raCancel;
        OnReplaceText(*this, search, replace, line, column, action);
        if (action == raCancel) return count;
      }
      if (action != raSkip) {
        if (action == raReplaceAll) {
          if (!replace_all || prompt) {
            replace_all = true;
            run.LockPainting();
          }
          prompt = false;
          run.OpenUndoBlock();
        }
        SetSelectedText(search_engine_->ReplacementText(SelectedText(), replace));
        const int replacement_length = caret_.Char - column;
        if (!backwards) {
          SetCaretPos({column + replacement_length, line});
          if (replacement_length != length) {
            offset += replacement_length - length;
            if (mode != smColumn && caret_.Line == end.Line) {
              end.Char += replacement_length - length;
              SetSelectionEnd(end);
            }
          }
        }
      }
      if (!replace_all) return count;
    }
  }
  return count;
}
