// From key strokes to commands, the command pipeline, the built-in command
// dispatcher, and bookmarks.
#include <algorithm>
#include <cstdint>

#include "editor/Editor.h"

namespace {

// Holds the editor's paint lock for a scope, also when an error passes.
class PaintLockScope {
 public:
  explicit PaintLockScope(TCustomEditor& e) : e_(e) { e_.BeginUpdate(); }
  ~PaintLockScope() { e_.EndUpdate(); }
  PaintLockScope(const PaintLockScope&) = delete;
  PaintLockScope& operator=(const PaintLockScope&) = delete;

 private:
  TCustomEditor& e_;
};

}  // namespace

// ---- keys

void TCustomEditor::KeyDown(std::uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(*this, key, shift);
  if (key == 0) return;
  kbd_handler_.ExecuteKeyDown(*this, key, shift);
  if (key == 0) return;
  // Translate with the remembered first key of a two-key binding.
  shift &= ssShift | ssAlt | ssCtrl;
  TEditorCommand command = ecNone;
  int i = keystrokes_.FindKeycode2(last_key_, last_shift_, key, shift);
  if (i >= 0) {
    command = keystrokes_.Item(i).Command();
  } else {
    i = keystrokes_.FindKeycode(key, shift);
    if (i >= 0) command = keystrokes_.Item(i).Command();
  }
  if (command != ecNone || key < 30 || key > 145) {
    last_key_ = 0;
    last_shift_ = 0;
  } else {
    last_key_ = key;
    last_shift_ = shift;
  }
  if (command != ecNone) {
    key = 0;
    ignore_next_char_ = true;
    ProcessCommand(command, 0, nullptr);
  } else {
    ignore_next_char_ = false;
  }
}

void TCustomEditor::KeyUp(std::uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(*this, key, shift);
  if (key == 0) return;
  kbd_handler_.ExecuteKeyUp(*this, key, shift);
}

void TCustomEditor::KeyPress(char& key) {
  if (ime_chars_pending_ > 0) {
    --ime_chars_pending_;
    return;
  }
  if (ignore_next_char_) {
    ignore_next_char_ = false;
    return;
  }
  if (OnKeyPress) OnKeyPress(*this, key);
  kbd_handler_.ExecuteKeyPress(*this, key);
  if (key == 0) return;
  ProcessCommand(ecChar, key, nullptr);
}

// ---- the pipeline

void TCustomEditor::RegisterCommandHandler(THookedCommandHandler handler, void* handler_data) {
  if (reinterpret_cast<std::uintptr_t>(handler.code) < 0x10000) return;
  if (!hooked_handlers_) hooked_handlers_ = std::make_unique<std::vector<HookedEntry>>();
  for (const auto& e : *hooked_handlers_)
    if (e.handler == handler) return;
  hooked_handlers_->push_back({handler, handler_data});
}

void TCustomEditor::UnregisterCommandHandler(THookedCommandHandler handler) {
  if (!hooked_handlers_) return;
  auto& v = *hooked_handlers_;
  for (auto i = v.size(); i-- > 0;) {
    if (v[i].handler == handler) {
      v.erase(v.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

void TCustomEditor::ProcessCommand(TEditorCommand command, char achar, void* data) {
  if (command >= ecUserFirst) {
    if (OnProcessUserCommand) OnProcessUserCommand(*this, command, achar, data);
  } else {
    if (OnProcessCommand) OnProcessCommand(*this, command, achar, data);
  }
  auto run_hooks = [&](bool after) {
    if (!hooked_handlers_ || command == ecNone) return;
    bool handled = false;
    // A copy: a handler may unregister itself while running.
    const auto entries = *hooked_handlers_;
    for (const auto& e : entries)
      e.handler.code(e.handler.object, *this, after, handled, command, achar, data, e.data);
    if (handled) command = ecNone;
  };
  run_hooks(false);
  if (command != ecNone && command < ecUserFirst) ExecuteBuiltInCommand(command, achar, data);
  run_hooks(true);
  if (OnCommandProcessed) OnCommandProcessed(*this, command, achar, data);
}

void TCustomEditor::ExecuteBuiltInCommand(TEditorCommand command, char achar, void* data) {
  PaintLockScope lock(*this);
  const bool select = command >= ecSelLeft && command <= ecSelGotoXY;
  switch (command) {
    case ecLeft:
    case ecSelLeft:
      MoveCaretHorz(-1, select);
      break;
    case ecRight:
    case ecSelRight:
      MoveCaretHorz(1, select);
      break;
    case ecPageLeft:
    case ecSelPageLeft:
      MoveCaretHorz(-visible_columns_, select);
      break;
    case ecPageRight:
    case ecSelPageRight:
      MoveCaretHorz(visible_columns_, select);
      break;
    case ecUp:
    case ecSelUp:
      MoveCaretVert(-1, select);
      break;
    case ecDown:
    case ecSelDown:
      MoveCaretVert(1, select);
      break;
    case ecPageUp:
    case ecSelPageUp:
    case ecPageDown:
    case ecSelPageDown: {
      int page = PageSize();
      if (command == ecPageUp || command == ecSelPageUp) page = -page;
      SetTopRow(top_row_ + page);
      MoveCaretVert(page, select);
      break;
    }
    case ecPageTop:
    case ecSelPageTop:
    case ecPageBottom:
    case ecSelPageBottom: {
      TDisplayCoord d = CaretDisplayPos();
      d.Row = (command == ecPageTop || command == ecSelPageTop) ? top_row_
                                                                : top_row_ + visible_rows_ - 1;
      d.Row = std::clamp(d.Row, 1, std::max(1, DisplayRowCount()));
      MoveCaretAndSelection(caret_, DisplayToBufferPos(d), select);
      break;
    }
    case ecLineStart:
    case ecSelLineStart:
      DoSmartHome(select);
      break;
    case ecLineEnd:
    case ecSelLineEnd:
      DoSmartEnd(select);
      break;
    case ecEditorTop:
    case ecSelEditorTop:
      MoveCaretAndSelection(caret_, {1, 1}, select);
      break;
    case ecEditorBottom:
    case ecSelEditorBottom: {
      const int last = std::max(1, lines_->Count());
      MoveCaretAndSelection(caret_, {LineLength(last) + 1, last}, select);
      break;
    }
    case ecWordLeft:
    case ecSelWordLeft:
      MoveCaretAndSelection(caret_, PrevWordPos(caret_), select);
      break;
    case ecWordRight:
    case ecSelWordRight:
      MoveCaretAndSelection(caret_, NextWordPos(caret_), select);
      break;
    case ecGotoXY:
    case ecSelGotoXY:
      if (data) MoveCaretAndSelection(caret_, *static_cast<const TBufferCoord*>(data), select);
      break;
    case ecSelWord:
      SelectWordAt(caret_);
      break;
    case ecSelectAll:
      SelectAllText();
      break;
    case ecScrollUp:
      DoScrollLines(-1);
      break;
    case ecScrollDown:
      DoScrollLines(1);
      break;
    case ecScrollLeft:
      SetLeftColumn(left_column_ - 1);
      break;
    case ecScrollRight:
      SetLeftColumn(left_column_ + 1);
      break;
    case ecInsertMode:
      SetInsertMode(true);
      break;
    case ecOverwriteMode:
      SetInsertMode(false);
      break;
    case ecToggleMode:
      SetInsertMode(!insert_mode_);
      break;
    case ecNormalSelect:
      SetSelectionMode(smNormal);
      break;
    case ecColumnSelect:
      SetSelectionMode(smColumn);
      break;
    case ecLineSelect:
      SetSelectionMode(smLine);
      break;
    case ecMatchBracket:
      DoMatchBracket();
      break;
    case ecContextHelp:
      if (OnContextHelp) OnContextHelp(*this, WordAtCaret());
      break;
    default:
      if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
        if (bookmark_options_.EnableKeys()) GotoBookMark(command - ecGotoMarker0);
      } else if (command >= ecSetMarker0 && command <= ecSetMarker9) {
        if (bookmark_options_.EnableKeys()) {
          const TBufferCoord at = data ? *static_cast<const TBufferCoord*>(data) : caret_;
          ToggleBookmark(command - ecSetMarker0, at);
        }
      } else if (IsEditingCommand(command)) {
        if (read_only_) break;
        if (command == ecCut && !HasSelection()) break;
        if (command == ecClearAll)
          ClearAll();
        else
          ExecuteEditingCommand(command, achar, data);
      } else if (command == ecCopy) {
        ExecuteEditingCommand(command, achar, data);
      }
      break;
  }
}

// ---- bookmarks and marks

TEditorMark* TCustomEditor::BookMark(int number) const {
  for (const auto& m : marks_)
    if (m->BookmarkNumber == number) return m.get();
  return nullptr;
}

bool TCustomEditor::GetBookMark(int number, int& x, int& y) const {
  if (const TEditorMark* m = BookMark(number)) {
    x = m->Char;
    y = m->Line;
    return true;
  }
  return false;
}

void TCustomEditor::ToggleBookmark(int number, TBufferCoord at) {
  if (const TEditorMark* m = BookMark(number)) {
    const int line = m->Line;
    RemoveBookmark(number);
    if (line != at.Line) PlaceBookmark(number, at);
  } else {
    PlaceBookmark(number, at);
  }
}

void TCustomEditor::SetBookMark(int number, int x, int y) { PlaceBookmark(number, {x, y}); }

void TCustomEditor::PlaceBookmark(int number, TBufferCoord at) {
  if (number < 0 || number > 9) return;
  if (at.Line < 1 || at.Line > std::max(1, lines_->Count())) return;
  auto mark = std::make_unique<TEditorMark>();
  mark->Line = at.Line;
  mark->Char = at.Char;
  mark->ImageIndex = number;
  mark->BookmarkNumber = number;
  mark->Visible = true;
  mark->InternalImage = bookmark_options_.BookmarkImages() == nullptr;
  TEditorMark* offered = mark.get();
  if (OnPlaceBookmark) OnPlaceBookmark(*this, offered);
  if (!offered) return;  // refused
  if (BookMark(number)) RemoveBookmark(number);
  marks_.push_back(std::move(mark));
  InvalidateGutterLines(at.Line, at.Line);
}

void TCustomEditor::RemoveBookmark(int number) {
  TEditorMark* m = BookMark(number);
  if (!m) return;
  TEditorMark* told = m;
  if (OnClearBookmark) OnClearBookmark(*this, told);
  const int line = m->Line;
  marks_.erase(std::find_if(marks_.begin(), marks_.end(),
                            [m](const std::unique_ptr<TEditorMark>& p) { return p.get() == m; }));
  InvalidateGutterLines(line, line);
}

void TCustomEditor::ClearBookMark(int number) { RemoveBookmark(number); }

void TCustomEditor::GotoBookMark(int number) {
  const TEditorMark* m = BookMark(number);
  if (!m || m->Line > lines_->Count()) return;
  BeginUpdate();
  InternalSetCaretPos({m->Char, m->Line}, false);
  ScrollCaretIntoViewCentered();
  SetSelectionAnchor(caret_);
  EndUpdate();
}

TEditorMark* TCustomEditor::AddMark(int line, int image_index) {
  auto mark = std::make_unique<TEditorMark>();
  mark->Line = line;
  mark->Char = 1;
  mark->ImageIndex = image_index;
  mark->Visible = true;
  marks_.push_back(std::move(mark));
  InvalidateGutterLines(line, line);
  return marks_.back().get();
}

void TCustomEditor::ClearMarks() {
  if (marks_.empty()) return;
  marks_.clear();
  InvalidateGutterLines(-1, -1);
}
