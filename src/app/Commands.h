#pragma once
// The main window's commands: every menu item, tool-bar button and context-menu
// item, with its caption and shortcut. The window builds its menus, accelerators
// and tool bar from these tables.
#include <cstdint>
#include <string>
#include <vector>

enum TCommandId : int {
  cmNone = 0,
  cmNew = 101,
  cmOpen,
  cmSave,
  cmSaveAs,
  cmImportTemplate,
  cmPrinterSetup,
  cmPrintPreview,
  cmPrint,
  cmExit,
  cmUndo,
  cmRedo,
  cmCut,
  cmCopy,
  cmPaste,
  cmSelectAll,
  cmSettings,
  cmFind,
  cmFindNext,
  cmFindPrevious,
  cmReplace,
  cmRunToCursor,
  cmRun,
  cmHelp,
  cmAbout,
  cmToolPrint,    // the tool bar's Print: prints at once, without a dialog
  cmShowSpecial,  // the tool bar's "Show special characters" toggle
  cmParam2,
  cmParam3,
  cmEncoding,  // the "Encoding" submenu of "File"
  // Problems the macro checker found, and the macro's labels (Search menu).
  cmNextProblem,
  cmPreviousProblem,
  cmGotoLabel,
  cmGoBack,
  cmLabels,
  cmLastCommand = cmLabels,
};

// Shortcut: low byte the virtual-key code, plus these modifier bits.
using TShortCut = std::uint16_t;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };

struct TMenuItemDef {
  TCommandId id;  // cmNone for a separator
  const char* caption;
  TShortCut shortcut;
};

struct TMenuDef {
  const char* caption;
  std::vector<TMenuItemDef> items;
};

// The main menu bar, left to right.
const std::vector<TMenuDef>& MainMenuDefs();
// The editor's context menu; its items share the main menu's handlers and shortcuts.
const std::vector<TMenuItemDef>& EditorPopupDefs();

struct TToolButtonDef {
  TCommandId id;
  int x;            // left edge on the tool bar, in pixels
  const char* tip;  // tool tip
  bool toggle;
};
const std::vector<TToolButtonDef>& ToolButtonDefs();

// "Ctrl+Alt+Z", "Shift+F3", "F9": the text shown beside a menu caption.
std::string ShortCutText(TShortCut shortcut);

// Whether the program can carry out the command at all. Commands whose
// windows are not part of the program yet stay visible but disabled.
bool CommandImplemented(TCommandId id);
