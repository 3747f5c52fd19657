#pragma once
// Which of the main window's commands are enabled, worked out from what the
// editor and the document look like at the moment.
#include <string>
#include <string_view>

#include "app/Commands.h"

struct TEditorSnapshot {
  bool text_empty = true;
  bool has_macro_text = false;  // something besides spaces and control characters
  bool selection_covers_all = false;
  bool modified = false;       // the title carries the "*" marker
  bool clipboard_has_text = false;
  bool can_undo = false;
  bool can_redo = false;
  bool has_selection = false;
  bool editor_focused = false;
  bool printers_installed = false;  // the cached printer count is above 0
  bool printer_known = false;       // a printer is installed and one is selected
  std::string printer_name;
  bool search_text_entered = false;
  bool has_problems = false;  // the macro checker marks some
  bool can_go_back = false;   // a jump to a label can be returned from
};

struct TCommandState {
  bool new_enabled = false;
  bool save_enabled = false;
  bool paste_enabled = false;
  bool undo_enabled = false;
  bool redo_enabled = false;
  bool copy_enabled = false;
  bool cut_enabled = false;
  bool run_enabled = false;
  bool print_enabled = false;  // Print and Print preview always agree
  bool printer_setup_enabled = false;
  bool run_to_cursor_enabled = false;
  bool select_all_enabled = false;
  bool find_enabled = false;
  bool find_next_enabled = false;
  bool problem_steps_enabled = false;  // Next and Previous problem
  bool go_back_enabled = false;
  std::string print_tip;
};

// True when the text holds something besides spaces and control characters.
bool HasMacroText(std::string_view text);

TCommandState ComputeCommandState(const TEditorSnapshot& editor);

// A focused edit box of the tool bar (a macro parameter) as the edit commands
// see it.
struct TEditBoxSnapshot {
  bool text_empty = true;
  bool has_selection = false;
  bool selection_covers_all = false;
  bool can_undo = false;
};

// Undo, Cut, Copy, Paste and Select All act on the edit box that has the
// focus, so their state is the box's then, and Redo is off; every other
// command keeps the editor's.
void ApplyEditBoxState(TCommandState& state, const TEditBoxSnapshot& box, bool clipboard_has_text);

// The commands that act on a focused edit box instead of the editor.
bool IsEditBoxCommand(TCommandId id);

// The enabled state of one command, as its menu item shows it. Commands the
// program cannot carry out yet are always disabled.
bool CommandEnabled(TCommandId id, const TCommandState& state);
