#include "app/CommandState.h"

bool HasMacroText(std::string_view text) {
  for (unsigned char c : text) {
    if (c > ' ') return true;
  }
  return false;
}

TCommandState ComputeCommandState(const TEditorSnapshot& editor) {
  TCommandState s;
  s.new_enabled = !editor.text_empty;
  s.save_enabled = editor.modified;
  s.paste_enabled = editor.clipboard_has_text;
  s.undo_enabled = editor.can_undo;
  s.redo_enabled = editor.can_redo;
  s.copy_enabled = editor.has_selection;
  s.cut_enabled = s.copy_enabled;
  s.run_enabled = editor.has_macro_text;
  s.print_enabled = s.run_enabled && editor.printer_known;
  s.printer_setup_enabled = editor.printers_installed;
  s.run_to_cursor_enabled = s.run_enabled && editor.editor_focused;
  s.print_tip = editor.printer_known ? "Print [" + editor.printer_name + "]" : "No default printer";
  s.select_all_enabled = !editor.text_empty && !editor.selection_covers_all;
  s.find_enabled = s.run_enabled;
  s.find_next_enabled = s.find_enabled && editor.search_text_entered;
  s.problem_steps_enabled = editor.has_problems;
  s.go_back_enabled = editor.can_go_back;
  return s;
}

void ApplyEditBoxState(TCommandState& s, const TEditBoxSnapshot& box, bool clipboard_has_text) {
  s.undo_enabled = box.can_undo;
  // A box's one undo step undoes itself again; the editor's redo must not
  // change the text behind the box.
  s.redo_enabled = false;
  s.copy_enabled = box.has_selection;
  s.cut_enabled = box.has_selection;
  s.paste_enabled = clipboard_has_text;
  s.select_all_enabled = !box.text_empty && !box.selection_covers_all;
}

bool IsEditBoxCommand(TCommandId id) {
  return id == cmUndo || id == cmCut || id == cmCopy || id == cmPaste || id == cmSelectAll;
}

bool CommandEnabled(TCommandId id, const TCommandState& s) {
  if (!CommandImplemented(id)) return false;
  switch (id) {
    case cmNew: return s.new_enabled;
    case cmSave: return s.save_enabled;
    case cmUndo: return s.undo_enabled;
    case cmRedo: return s.redo_enabled;
    case cmCut: return s.cut_enabled;
    case cmCopy: return s.copy_enabled;
    case cmPaste: return s.paste_enabled;
    case cmSelectAll: return s.select_all_enabled;
    case cmRun: return s.run_enabled;
    case cmRunToCursor: return s.run_to_cursor_enabled;
    case cmPrinterSetup: return s.printer_setup_enabled;
    case cmPrint:
    case cmPrintPreview:
    case cmToolPrint: return s.print_enabled;
    case cmFind:
    case cmReplace: return s.find_enabled;
    case cmFindNext:
    case cmFindPrevious: return s.find_next_enabled;
    case cmNextProblem:
    case cmPreviousProblem: return s.problem_steps_enabled;
    case cmGotoLabel:
    case cmLabels: return s.find_enabled;
    case cmGoBack: return s.go_back_enabled;
    default: return true;
  }
}
