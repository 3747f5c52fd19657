#include "editor/EditorMemo.h"

#include <algorithm>
#include <cstring>

void TEditorMemo::ReplaceSelection(std::string_view text, bool can_undo) {
  if (ReadOnly()) return;
  BeginUpdate();
  try {
    if (can_undo) {
      // The replacement records itself, whatever the selection's shape and
      // however the line had to be padded to reach the caret, so one Undo
      // gives back exactly the old text.
      TEditorUndoBlockScope group(UndoList());
      SetSelectedText(text);
    } else {
      TEditorUndoList& undo = UndoList();
      undo.Lock();
      try {
        SetSelectedText(text);
      } catch (...) {
        undo.Unlock();
        throw;
      }
      undo.Unlock();
      // The history ends at a change it does not know: undoing across it would
      // put old text in the wrong places.
      ClearUndoHistory();
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  ScrollCaretIntoView();
  StatusChanged(TStatusChanges{scSelection});
  EndUpdate();
}

std::intptr_t TEditorMemo::EditMessage(unsigned message, std::uintptr_t wparam,
                                       std::intptr_t lparam, bool& handled) {
  handled = true;
  switch (message) {
    case em::GetSel: {
      const int start = SelectionStartIndex(), end = SelectionEndIndex();
      if (wparam) *reinterpret_cast<std::uint32_t*>(wparam) = static_cast<std::uint32_t>(start);
      if (lparam) *reinterpret_cast<std::uint32_t*>(lparam) = static_cast<std::uint32_t>(end);
      return static_cast<std::intptr_t>((static_cast<std::uint32_t>(start) & 0xFFFF) |
                                        ((static_cast<std::uint32_t>(end) & 0xFFFF) << 16));
    }
    case em::SetSel:
      BeginUpdate();
      SetSelectionStartIndex(static_cast<int>(static_cast<std::int32_t>(wparam)));
      SetSelectionEndIndex(static_cast<int>(static_cast<std::int32_t>(lparam)));
      EndUpdate();
      return 0;
    case em::GetModify:
      return Modified() ? 1 : 0;
    case em::SetModify:
      SetModified(wparam != 0);
      return 0;
    case em::GetLineCount:
      return LineCount();
    case em::GetLine: {
      const int index = static_cast<int>(static_cast<std::int32_t>(wparam));
      char* buffer = reinterpret_cast<char*>(lparam);
      if (!buffer || index < 0 || index >= LineCount()) return 0;
      std::uint16_t room = 0;
      std::memcpy(&room, buffer, sizeof room);
      const std::string_view line = Lines().LineView(index);
      const std::size_t n = std::min<std::size_t>(line.size(), room);
      if (n > 0) std::memcpy(buffer, line.data(), n);
      return static_cast<std::intptr_t>(n);
    }
    case em::CanUndo:
      return CanUndo() ? 1 : 0;
    case em::Undo: {
      const bool available = CanUndo();
      Undo();
      return available ? 1 : 0;
    }
    case em::ReplaceSel:
      ReplaceSelection(lparam ? reinterpret_cast<const char*>(lparam) : "", wparam != 0);
      return 0;
    case em::GetFirstVisibleLine:
      return TopRow();
    case em::CharFromPos: {
      const int x = static_cast<std::int16_t>(lparam & 0xFFFF);
      const int y = static_cast<std::int16_t>((lparam >> 16) & 0xFFFF);
      TBufferCoord p = DisplayToBufferPos(PixelsToRowColumn(x, y));
      if (p.Line > LineCount()) {
        p.Char = 1;
      } else {
        p.Char = std::min(p.Char, static_cast<int>(Lines().LineView(p.Line - 1).size()) + 1);
      }
      const int before = PositionToOffset({1, p.Line});
      const std::uint32_t low = static_cast<std::uint32_t>(p.Char + before) & 0xFFFF;
      const std::uint32_t high = static_cast<std::uint32_t>(p.Line - 1) & 0xFFFF;
      return static_cast<std::intptr_t>(low | (high << 16));
    }
    case em::GetSelText: {
      char* buffer = reinterpret_cast<char*>(lparam);
      const std::string text = SelectedText();
      if (buffer) {
        std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
      }
      return static_cast<std::intptr_t>(text.size());
    }
    default:
      handled = false;
      return 0;
  }
}
