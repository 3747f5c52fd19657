// The component: opening, closing, the editor hooks, the delay timer and the
// insertion of the chosen entry.
#include "app/CompletionProposal.h"

#include <algorithm>

#include "editor/EditorUndo.h"
#include "editor/EditorVirtualKeys.h"
#include "language/EditorHighlighter.h"

namespace {

// The character the window system sends after a key the list took, so that
// it can be dropped instead of reaching the editor once the list is closed.
char CharOfKey(std::uint16_t key, TShiftState shift) {
  const bool ctrl = (shift & ssCtrl) != 0;
  switch (key) {
    case vk::Back:
      return ctrl ? '\x7F' : '\b';
    case vk::Tab:
      return '\t';
    case vk::Return:
      return ctrl ? '\n' : '\r';
    case vk::Escape:
      return '\x1B';
    case 0x20:
      return ctrl ? ' ' : 0;
    default:
      if (ctrl && key >= 'A' && key <= 'Z') return static_cast<char>(key - 'A' + 1);
      return 0;
  }
}

// Holds the editor's paint lock for a scope.
class PaintLock {
 public:
  explicit PaintLock(TCustomEditor& e) : e_(e) { e_.BeginUpdate(); }
  ~PaintLock() { e_.EndUpdate(); }
  PaintLock(const PaintLock&) = delete;
  PaintLock& operator=(const PaintLock&) = delete;

 private:
  TCustomEditor& e_;
};

// The paint lock and one undo group for a scope; the group closes first.
class EditScope {
 public:
  explicit EditScope(TCustomEditor& e) : lock_(e), block_(e.UndoList()) {}

 private:
  PaintLock lock_;
  TEditorUndoBlockScope block_;
};

}  // namespace

// ---- the base component

TBaseCompletionProposal::TBaseCompletionProposal() : form_(*this) {
  form_.SetLinesInWindow(nb_lines_in_window_);
}

TBaseCompletionProposal::~TBaseCompletionProposal() = default;

void TBaseCompletionProposal::SetNbLinesInWindow(int value) {
  nb_lines_in_window_ = std::max(1, value);
  form_.SetLinesInWindow(nb_lines_in_window_);
}

bool TBaseCompletionProposal::Visible() { return host_ && host_->PopupVisible(); }

void TBaseCompletionProposal::Execute(std::string input, int x, int y, TCompletionType kind) {
  bool can_execute = true;
  if (OnExecute) OnExecute(kind, *this, input, x, y, can_execute);
  if (!can_execute || ItemList().empty()) {
    if (kind == ctParams && Visible()) host_->HidePopup();
    return;
  }
  form_.ResetAssignedList();
  form_.SetLinesInWindow(nb_lines_in_window_);
  form_.SetCurrentString(input);
  if (host_) {
    const int frame = host_->FrameThickness();
    const int width = ScaleForDpi(width_, host_->Dpi());
    const int height = form_.ItemHeight() * nb_lines_in_window_ + form_.TitleHeight() + 2 * frame;
    const TRect screen = host_->ScreenArea({x, y});
    if (x + width > screen.right) x = std::max(screen.left, screen.right - width - 5);
    if (y + height > screen.bottom) {
      const int line = form_.CurrentEditor() ? form_.CurrentEditor()->RowHeight() : 0;
      y = std::max(screen.top, y - height - line - 2);
    }
    if (!options_.Contains(scoLimitToMatchedText)) {
      const int p = form_.Position();
      if (p >= nb_lines_in_window_) form_.Scrolled(p - nb_lines_in_window_ + 1);
    }
    form_.UpdateScrollBar();
    if (form_.ShownCount() > 0) {
      host_->ShowPopup({x, y, x + width, y + height});
      if (OnShow) OnShow(*this);
    }
  }
  StopTimerIfAny();
}

void TBaseCompletionProposal::CancelCompletion() {
  Deactivate();
  if (TCustomEditor* e = form_.CurrentEditor(); e && e->Host()) e->Host()->TakeFocus();
  if (OnCancelled) OnCancelled(*this);
}

void TBaseCompletionProposal::Deactivate() {
  StopTimerIfAny();
  if (!Visible()) return;
  // Kept at 96 dpi, whatever screen the list was on.
  const int width = host_->PopupBounds().Width();
  if (width > 0) width_ = UnscaleForDpi(width, host_->Dpi());
  nb_lines_in_window_ = form_.LinesInWindow();
  host_->HidePopup();
  if (OnClose) OnClose(*this);
}

// ---- binding to editors

TCompletionProposal::~TCompletionProposal() {
  StopTimer();
  SetEditor(nullptr);
}

void TCompletionProposal::SetEditor(TCustomEditor* editor) {
  if (!editor) {
    while (!editors_.empty()) RemoveEditor(*editors_.back());
    return;
  }
  auto it = std::find(editors_.begin(), editors_.end(), editor);
  if (it == editors_.end()) {
    AddEditor(*editor);
    it = std::find(editors_.begin(), editors_.end(), editor);
  }
  std::rotate(editors_.begin(), it, it + 1);
}

void TCompletionProposal::AddEditor(TCustomEditor& editor) {
  if (std::find(editors_.begin(), editors_.end(), &editor) != editors_.end()) return;
  editors_.push_back(&editor);
  editor.AddKeyDownHandler({&TCompletionProposal::EditorKeyDown, this});
  editor.AddKeyPressHandler({&TCompletionProposal::EditorKeyPress, this});
  editor.AddMouseDownHandler({&TCompletionProposal::EditorMouseDown, this});
  editor.AddMouseWheelHandler({&TCompletionProposal::EditorMouseWheel, this});
  editor.RegisterCommandHandler({&TCompletionProposal::EditorCommand, this}, nullptr);
}

void TCompletionProposal::RemoveEditor(TCustomEditor& editor) {
  auto it = std::find(editors_.begin(), editors_.end(), &editor);
  if (it == editors_.end()) return;
  if (form_.CurrentEditor() == &editor) {
    Deactivate();
    form_.SetCurrentEditor(nullptr);
  }
  if (timer_editor_ == &editor) StopTimer();
  editors_.erase(it);
  editor.RemoveKeyDownHandler({&TCompletionProposal::EditorKeyDown, this});
  editor.RemoveKeyPressHandler({&TCompletionProposal::EditorKeyPress, this});
  editor.RemoveMouseDownHandler({&TCompletionProposal::EditorMouseDown, this});
  editor.RemoveMouseWheelHandler({&TCompletionProposal::EditorMouseWheel, this});
  editor.UnregisterCommandHandler({&TCompletionProposal::EditorCommand, this});
}

// ---- options and timer

void TCompletionProposal::SetOptions(TCompletionOptions value) {
  TBaseCompletionProposal::SetOptions(value);
  if (!value.Contains(scoUseBuiltInTimer)) StopTimer();
}

void TCompletionProposal::SetTimerInterval(int value) {
  timer_interval_ = value;
  if (timer_running_ && host_) host_->StartTimer(timer_interval_);
}

void TCompletionProposal::StartTimer(TCustomEditor& editor) {
  if (!HasTimer()) return;
  timer_editor_ = &editor;
  timer_running_ = true;
  if (host_) host_->StartTimer(timer_interval_);
}

void TCompletionProposal::StopTimer() {
  if (timer_running_ && host_) host_->StopTimer();
  timer_running_ = false;
}

void TCompletionProposal::TimerExpired() {
  TCustomEditor* editor = timer_editor_;
  StopTimer();
  if (host_ && host_->ApplicationActive()) {
    if (editor && std::find(editors_.begin(), editors_.end(), editor) != editors_.end())
      ActivateCompletion(*editor);
    no_next_key_ = 0;
  } else if (Visible()) {
    host_->HidePopup();
  }
}

bool TCompletionProposal::IsTriggerChar(char c) const {
  return c != 0 && trigger_chars_.find(c) != std::string::npos;
}

bool TCompletionProposal::StartsDelay(TCustomEditor& editor, char c) const {
  return IsTriggerChar(c) || (c != 0 && TriggerWhen && TriggerWhen(editor, c));
}

// ---- opening

void TCompletionProposal::ComputeInput(TCustomEditor& editor, std::string& input) {
  auto& breaks = form_.WordBreakChars();
  breaks.reset();
  if (Options().Contains(scoConsiderWordBreakChars)) {
    breaks |=
        editor.Highlighter() ? editor.Highlighter()->WordBreakChars() : DefaultWordBreakChars();
  }
  for (char c : EndOfTokenChr()) breaks.set(static_cast<unsigned char>(c));

  const std::string line = editor.LineText(editor.CaretLine());
  const int caret = editor.CaretChar();
  int k = caret - 1;
  if (k > static_cast<int>(line.size())) {
    input.clear();
    completion_start_ = caret;
    return;
  }
  while (k > 0) {
    const char c = line[static_cast<std::size_t>(k - 1)];
    if (static_cast<unsigned char>(c) <= 32 || form_.IsWordBreakChar(c)) break;
    --k;
  }
  completion_start_ = k + 1;
  input = line.substr(static_cast<std::size_t>(k), static_cast<std::size_t>(caret - 1 - k));
}

void TCompletionProposal::ActivateCompletion(TCustomEditor& editor) {
  if (std::find(editors_.begin(), editors_.end(), &editor) == editors_.end()) return;
  if (DefaultType() == ctCode && editor.ReadOnly()) return;
  TPoint p = editor.RowColumnToPixels(editor.CaretDisplayPos());
  p.y += editor.RowHeight();
  if (host_) p = host_->EditorToScreen(editor, p);
  form_.SetCurrentEditor(&editor);
  completion_line_ = editor.CaretLine();
  std::string input;
  ComputeInput(editor, input);
  Execute(input, p.x, p.y, DefaultType());
}

void TCompletionProposal::CharTyped(char c) {
  if (!IsTriggerChar(c) || Visible()) return;
  if (TCustomEditor* editor = form_.CurrentEditor()) ActivateCompletion(*editor);
}

// ---- closing and inserting

void TCompletionProposal::Deactivate() {
  no_next_key_ = 0;
  TBaseCompletionProposal::Deactivate();
}

void TCompletionProposal::Complete(char end_char) {
  TCustomEditor* editor = form_.CurrentEditor();
  if (!editor) return;
  // The caret left the token the list was opened for (a search or a click
  // moved it meanwhile): nothing is inserted anywhere else.
  if (editor->CaretLine() != completion_line_ || editor->CaretChar() < completion_start_) {
    CancelCompletion();
    return;
  }
  {
    EditScope scope(*editor);
    const TBufferCoord caret = editor->CaretPos();
    TBufferCoord end = caret;
    if (end_char == 0) {
      const TBufferCoord word_end = editor->WordEnd(caret);
      if (word_end.Char > caret.Char) end = word_end;
    }
    editor->SetSelectionAnchor({completion_start_, caret.Line});
    editor->SetSelectionEnd(end);

    const TCompletionOptions options = Options();
    const int position = form_.Position();
    const bool use_insert = options.Contains(scoUseInsertList);
    const bool limited = options.Contains(scoLimitToMatchedText);
    std::optional<std::string> text;
    if (position >= 0 && position < form_.ShownCount()) {
      const auto index =
          static_cast<std::size_t>(form_.AssignedList()[static_cast<std::size_t>(position)]);
      if (use_insert && limited) {
        if (index < InsertList().size()) text = InsertList()[index];
      } else if (use_insert) {
        if (static_cast<std::size_t>(position) < InsertList().size())
          text = InsertList()[static_cast<std::size_t>(position)];
      } else if (index < ItemList().size()) {
        text = ItemList()[index];
      }
    }
    if (end_char != 0 && !options.Contains(scoEndCharCompletion)) text.reset();
    if (text) text = editor->DocumentText(*text, ItemsUnicode());
    const std::string selected = editor->SelectedText();
    if (text && *text != selected) editor->SetSelectedText(*text);

    Deactivate();
    editor->SetCaretPos(editor->CaretPos());
  }
  if (editor->Host()) editor->Host()->TakeFocus();
}

// ---- editor hooks

void TCompletionProposal::EditorKeyDown(void* object, TCustomEditor& sender, std::uint16_t& key,
                                        TShiftState shift) {
  auto& self = *static_cast<TCompletionProposal*>(object);
  // The character of the previous key has arrived (or never will) by the time
  // the next key goes down, so nothing is waiting to be dropped any more.
  self.swallow_char_ = 0;
  self.no_next_key_ = 0;
  if (self.Visible()) {
    if (self.form_.CurrentEditor() != &sender) return;
    // Only a key the list acts on loses its character; any other character
    // goes to the editor and closes the list.
    self.swallow_char_ = self.form_.TakesKey(key, shift) ? CharOfKey(key, shift) : 0;
    const std::uint16_t k = key;
    key = 0;
    self.form_.KeyDown(k, shift);
    return;
  }
  const TShiftState mods = shift & (ssShift | ssAlt | ssCtrl);
  if (::ShortCut(key, mods) != self.shortcut_ || self.shortcut_ == 0) return;
  if (self.DefaultType() == ctCode && sender.ReadOnly()) return;
  self.no_next_key_ = CharOfKey(key, shift);
  key = 0;
  self.ActivateCompletion(sender);
}

void TCompletionProposal::EditorKeyPress(void* object, TCustomEditor& sender, char& key) {
  auto& self = *static_cast<TCompletionProposal*>(object);
  if (self.swallow_char_ != 0) {
    const char expected = self.swallow_char_;
    self.swallow_char_ = 0;
    if (key == expected) {
      key = 0;
      return;
    }
  }
  if (self.no_next_key_ != 0) {
    const char expected = self.no_next_key_;
    self.no_next_key_ = 0;
    if (key == expected) {
      key = 0;
      return;
    }
  }
  if (self.Visible() && self.form_.CurrentEditor() == &sender) {
    const char c = key;
    key = 0;
    self.form_.KeyPress(c);
    return;
  }
  if (!self.HasTimer()) return;
  if (self.StartsDelay(sender, key))
    self.StartTimer(sender);
  else
    self.StopTimer();
}

void TCompletionProposal::EditorMouseDown(void* object, TCustomEditor& sender, TMouseButton,
                                          TShiftState, int, int) {
  auto& self = *static_cast<TCompletionProposal*>(object);
  if (self.Visible() && self.form_.CurrentEditor() == &sender) self.CancelCompletion();
}

void TCompletionProposal::EditorMouseWheel(void* object, TCustomEditor& sender, int& delta,
                                           TShiftState shift) {
  // The wheel reaches the window with the focus, which is the editor's while
  // the list is shown; the list moves instead of the text.
  auto& self = *static_cast<TCompletionProposal*>(object);
  if (!self.Visible() || self.form_.CurrentEditor() != &sender) return;
  self.form_.MouseWheel(delta, shift);
  delta = 0;
}

void TCompletionProposal::EditorCommand(void* object, TCustomEditor& sender, bool after_processing,
                                        bool&, TEditorCommand& command, char& achar, void*, void*) {
  auto& self = *static_cast<TCompletionProposal*>(object);
  if (after_processing || self.Visible() || !self.timer_running_) return;
  if (command != ecChar || !self.StartsDelay(sender, achar)) self.StopTimer();
}
