#pragma once
// The editor class the program uses: the control plus answers to the
// platform's edit-control messages, so that code written for a plain edit
// box can talk to it.
#include <cstdint>
#include <string_view>

#include "editor/Editor.h"

// The edit-control message numbers it answers.
namespace em {
constexpr unsigned GetSel = 0x00B0;
constexpr unsigned SetSel = 0x00B1;
constexpr unsigned GetModify = 0x00B8;
constexpr unsigned SetModify = 0x00B9;
constexpr unsigned GetLineCount = 0x00BA;
constexpr unsigned ReplaceSel = 0x00C2;
constexpr unsigned GetLine = 0x00C4;
constexpr unsigned CanUndo = 0x00C6;
constexpr unsigned Undo = 0x00C7;
constexpr unsigned GetFirstVisibleLine = 0x00CE;
constexpr unsigned CharFromPos = 0x00D7;
constexpr unsigned GetSelText = 0x043E;
}  // namespace em

class TEditorMemo : public TCustomEditor {
 public:
  // Replaces the selection (or inserts at the caret) as one undo group; with
  // can_undo, a deletion of the old selection and a paste of the new text are
  // recorded, else nothing is.
  void ReplaceSelection(std::string_view text, bool can_undo);
  // Answers one message; `handled` is false for a message it does not answer
  // (the window then passes it on). Pointers travel in the parameters as the
  // platform passes them.
  virtual std::intptr_t EditMessage(unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                                    bool& handled);
};
