#include <gtest/gtest.h>

#include <map>

#include "app/CommandState.h"
#include "editor/EditorKeyCmds.h"

namespace {

TEST(CommandState, EmptyDocumentDisablesWhatNeedsText) {
  TEditorSnapshot empty;
  const auto s = ComputeCommandState(empty);
  for (TCommandId id : {cmNew, cmCopy, cmCut, cmRun, cmRunToCursor, cmPrint, cmPrintPreview, cmFind,
                        cmReplace, cmSelectAll, cmSave}) {
    EXPECT_FALSE(CommandEnabled(id, s)) << id;
  }
  EXPECT_TRUE(CommandEnabled(cmOpen, s));
  EXPECT_TRUE(CommandEnabled(cmSaveAs, s));
  EXPECT_EQ(s.print_tip, "No default printer");
}

TEST(CommandState, OnlyBlanksEnableNewButNotRun) {
  TEditorSnapshot blanks;
  blanks.text_empty = false;
  blanks.has_macro_text = HasMacroText("  \t\r\n \x01 ");
  blanks.editor_focused = true;
  blanks.printer_known = true;
  const auto s = ComputeCommandState(blanks);
  EXPECT_TRUE(s.new_enabled);
  EXPECT_FALSE(s.run_enabled);
  EXPECT_FALSE(s.run_to_cursor_enabled);
  EXPECT_FALSE(s.print_enabled);
  EXPECT_FALSE(s.find_enabled);
}

TEST(CommandState, RunToCursorNeedsTheEditorFocus) {
  TEditorSnapshot e;
  e.text_empty = false;
  e.has_macro_text = HasMacroText("  sendln 'x'");
  e.editor_focused = false;
  EXPECT_TRUE(ComputeCommandState(e).run_enabled);
  EXPECT_FALSE(ComputeCommandState(e).run_to_cursor_enabled);
  e.editor_focused = true;
  EXPECT_TRUE(ComputeCommandState(e).run_to_cursor_enabled);
}

TEST(CommandState, SelectionDrivesCopyCutAndSelectAll) {
  TEditorSnapshot e;
  e.text_empty = false;
  e.has_macro_text = true;
  e.has_selection = true;
  auto s = ComputeCommandState(e);
  EXPECT_TRUE(s.copy_enabled);
  EXPECT_TRUE(s.cut_enabled);
  EXPECT_TRUE(s.select_all_enabled);
  e.selection_covers_all = true;
  EXPECT_FALSE(ComputeCommandState(e).select_all_enabled);
}

TEST(CommandState, PrintFollowsThePrinterAndNamesItInTheTip) {
  TEditorSnapshot e;
  e.text_empty = false;
  e.has_macro_text = true;
  e.printer_known = true;
  e.printer_name = "Office";
  const auto s = ComputeCommandState(e);
  EXPECT_TRUE(s.print_enabled);
  EXPECT_EQ(s.print_tip, "Print [Office]");
}

TEST(CommandState, PrinterSetupNeedsAnInstalledPrinterOnly) {
  struct Case {
    bool installed, known, macro_text;
    bool setup, print;
  } cases[] = {
      {false, false, true, false, false},
      {true, false, true, true, false},  // installed, none selected
      {true, true, false, true, false},  // nothing to print
      {true, true, true, true, true},
  };
  for (const Case& c : cases) {
    TEditorSnapshot e;
    e.text_empty = !c.macro_text;
    e.has_macro_text = c.macro_text;
    e.printers_installed = c.installed;
    e.printer_known = c.known;
    const auto s = ComputeCommandState(e);
    EXPECT_EQ(CommandEnabled(cmPrinterSetup, s), c.setup);
    for (TCommandId id : {cmPrint, cmPrintPreview, cmToolPrint})
      EXPECT_EQ(CommandEnabled(id, s), c.print) << id;
  }
}

TEST(ShortCuts, MenuTextsMatchTheKeys) {
  struct Case {
    TShortCut key;
    const char* text;
  } cases[] = {{0x404E, "Ctrl+N"},
               {0xC05A, "Ctrl+Alt+Z"},
               {static_cast<TShortCut>(scCtrl | scShift | 0x70), "Ctrl+Shift+F1"},
               {static_cast<TShortCut>(scShift | 0x72), "Shift+F3"},
               {0x78, "F9"},
               {static_cast<TShortCut>(scAlt | 0x25), "Alt+Left"},
               {0x7B, "F12"},
               {0, ""}};
  for (const auto& c : cases) EXPECT_EQ(ShortCutText(c.key), c.text);
}

TEST(ShortCuts, ProblemAndLabelKeysAreNoneOfTheEditorsKeys) {
  TEditorKeyStrokes editor_keys;
  editor_keys.SetDefaultKeystrokes();
  int checked = 0;
  for (const auto& menu : MainMenuDefs()) {
    for (const auto& item : menu.items) {
      if (item.id < cmNextProblem || item.id > cmLabels) continue;
      std::uint16_t key = 0;
      TShiftState shift = 0;
      ShortCutToKey(item.shortcut, key, shift);
      EXPECT_LT(editor_keys.FindKeycode(key, shift), 0) << item.caption;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 5);
}

TEST(CommandTables, EveryShortcutBelongsToExactlyOneCommand) {
  std::map<TShortCut, TCommandId> seen;
  for (const auto& menu : MainMenuDefs()) {
    for (const auto& item : menu.items) {
      if (!item.shortcut) continue;
      auto [it, fresh] = seen.emplace(item.shortcut, item.id);
      EXPECT_TRUE(fresh) << item.caption;
    }
  }
  // The context menu shares the main menu's shortcuts.
  for (const auto& item : EditorPopupDefs()) {
    if (item.shortcut) {
      EXPECT_EQ(seen[item.shortcut], item.id) << item.caption;
    }
  }
}

}  // namespace

namespace {

TEST(CommandState, SearchCommandsNeedTextAndFindNextASearchTextBefore) {
  struct Case {
    const char* text;
    bool search_text_entered;
    bool find, find_next;
  } cases[] = {
      {"", true, false, false},
      {" \t\r\n ", true, false, false},  // blanks only: nothing to find
      {"wait 'x'", false, true, false},  // Find Next needs a confirmed search text
      {"wait 'x'", true, true, true},
  };
  for (const Case& c : cases) {
    TEditorSnapshot e;
    e.text_empty = c.text[0] == '\0';
    e.has_macro_text = HasMacroText(c.text);
    e.search_text_entered = c.search_text_entered;
    const auto s = ComputeCommandState(e);
    EXPECT_EQ(CommandEnabled(cmFind, s), c.find) << c.text;
    EXPECT_EQ(CommandEnabled(cmReplace, s), c.find) << c.text;
    EXPECT_EQ(CommandEnabled(cmFindNext, s), c.find_next) << c.text;
    EXPECT_EQ(CommandEnabled(cmFindPrevious, s), c.find_next) << c.text;
  }
}

TEST(CommandState, AFocusedEditBoxDecidesTheEditCommandsOnly) {
  // An editor with text, a selection and both histories.
  TEditorSnapshot e;
  e.text_empty = false;
  e.has_macro_text = true;
  e.has_selection = true;
  e.can_undo = true;
  e.can_redo = true;
  e.modified = true;
  struct Case {
    TEditBoxSnapshot box;
    bool clipboard;
    bool undo, copy, paste, select_all;
  };
  const Case cases[] = {
      {{true, false, false, false}, false, false, false, false, false},  // empty box
      {{false, false, false, true}, true, true, false, true, true},      // typed into, caret only
      {{false, true, true, false}, true, false, true, true, false},      // all of it selected
      {{false, true, false, false}, false, false, true, false, true},    // part selected
  };
  for (const Case& c : cases) {
    TCommandState s = ComputeCommandState(e);
    ApplyEditBoxState(s, c.box, c.clipboard);
    EXPECT_EQ(CommandEnabled(cmUndo, s), c.undo);
    EXPECT_EQ(CommandEnabled(cmCopy, s), c.copy);
    EXPECT_EQ(CommandEnabled(cmCut, s), c.copy);
    EXPECT_EQ(CommandEnabled(cmPaste, s), c.paste);
    EXPECT_EQ(CommandEnabled(cmSelectAll, s), c.select_all);
    EXPECT_FALSE(CommandEnabled(cmRedo, s)) << "not the editor's behind the box";
    // The rest stays the editor's.
    EXPECT_TRUE(CommandEnabled(cmNew, s));
    EXPECT_TRUE(CommandEnabled(cmSave, s));
    EXPECT_TRUE(CommandEnabled(cmRun, s));
  }
  for (TCommandId id : {cmUndo, cmCut, cmCopy, cmPaste, cmSelectAll})
    EXPECT_TRUE(IsEditBoxCommand(id)) << id;
  for (TCommandId id : {cmRedo, cmNew, cmFind, cmRun, cmSettings})
    EXPECT_FALSE(IsEditBoxCommand(id)) << id;
}

}  // namespace
