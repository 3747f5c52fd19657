#include "app/Commands.h"

#include <initializer_list>
#include <iterator>

namespace {

constexpr TShortCut Ctrl(char key) { return static_cast<TShortCut>(scCtrl | key); }
constexpr TShortCut kF1 = 0x70, kF3 = 0x72, kF4 = 0x73, kF8 = 0x77, kF9 = 0x78, kF12 = 0x7B;
constexpr TShortCut kLeft = 0x25;
constexpr TMenuItemDef kSeparator{cmNone, "", 0};

// The editing items, shared by the Edit menu and the editor's context menu.
const TMenuItemDef kEditItems[] = {
    {cmUndo, "Undo", Ctrl('Z')},
    {cmRedo, "Redo", static_cast<TShortCut>(scCtrl | scAlt | 'Z')},
    kSeparator,
    {cmCut, "Cut", Ctrl('X')},
    {cmCopy, "Copy", Ctrl('C')},
    {cmPaste, "Paste", Ctrl('V')},
    {cmSelectAll, "Select All", Ctrl('A')},
};

std::vector<TMenuItemDef> EditItemsAnd(std::initializer_list<TMenuItemDef> more) {
  std::vector<TMenuItemDef> items(std::begin(kEditItems), std::end(kEditItems));
  items.insert(items.end(), more);
  return items;
}

}  // namespace

const std::vector<TMenuDef>& MainMenuDefs() {
  static const std::vector<TMenuDef> menus = {
      {"File",
       {{cmNew, "New", Ctrl('N')},
        {cmOpen, "Open ...", Ctrl('O')},
        {cmSave, "Save", Ctrl('S')},
        {cmSaveAs, "Save as ...", 0},
        kSeparator,
        {cmImportTemplate, "Import macro Template", 0},
        {cmEncoding, "Encoding", 0},
        kSeparator,
        {cmPrinterSetup, "Printer setup ...", 0},
        {cmPrintPreview, "Print preview", 0},
        {cmPrint, "Print ...", Ctrl('P')},
        kSeparator,
        {cmExit, "Exit", 0}}},
      {"Edit", EditItemsAnd({kSeparator, {cmSettings, "Settings ...", 0}})},
      {"Search",
       {{cmFind, "Find", Ctrl('F')},
        {cmFindNext, "Find Next", kF3},
        {cmFindPrevious, "Find Previous", static_cast<TShortCut>(scShift | kF3)},
        {cmReplace, "Replace", Ctrl('R')},
        kSeparator,
        // Neither the editor's keys nor another item use these.
        {cmNextProblem, "Next problem", kF4},
        {cmPreviousProblem, "Previous problem", static_cast<TShortCut>(scShift | kF4)},
        kSeparator,
        {cmGotoLabel, "Go to label", kF12},
        {cmGoBack, "Go back", static_cast<TShortCut>(scAlt | kLeft)},
        {cmLabels, "Labels ...", static_cast<TShortCut>(scCtrl | scShift | 'O')}}},
      {"Actions", {{cmRunToCursor, "Run to cursor", kF8}, {cmRun, "Run", kF9}}},
      {"Help",
       {{cmHelp, "TeraTerm Help", static_cast<TShortCut>(scCtrl | scShift | kF1)},
        kSeparator,
        {cmAbout, "About Quillon", 0}}},
  };
  return menus;
}

const std::vector<TMenuItemDef>& EditorPopupDefs() {
  static const std::vector<TMenuItemDef> items =
      EditItemsAnd({kSeparator, {cmRunToCursor, "Run to Cursor", kF8}, {cmRun, "Run", kF9}});
  return items;
}

const std::vector<TToolButtonDef>& ToolButtonDefs() {
  static const std::vector<TToolButtonDef> buttons = {
      {cmNew, 3, "New (Ctrl+N)", false},
      {cmOpen, 27, "Open ... (Ctrl+O)", false},
      {cmSave, 51, "Save (Ctrl+S)", false},
      {cmSaveAs, 75, "Save as ...", false},
      {cmToolPrint, 109, "Print", false},
      {cmPrintPreview, 133, "Print preview", false},
      {cmUndo, 168, "Undo (Ctrl+Z)", false},
      {cmRedo, 192, "Redo (Ctrl+Alt+Z)", false},
      {cmCut, 216, "Cut (Ctrl+X)", false},
      {cmCopy, 240, "Copy (Ctrl+C)", false},
      {cmPaste, 264, "Paste (Ctrl+V)", false},
      {cmShowSpecial, 305, "Show special characters", true},
      {cmRunToCursor, 342, "Run to cursor (F8)", false},
      {cmRun, 369, "Run (F9)", false},
  };
  return buttons;
}

std::string ShortCutText(TShortCut shortcut) {
  if (shortcut == 0) return "";
  std::string text;
  if (shortcut & scCtrl) text += "Ctrl+";
  if (shortcut & scShift) text += "Shift+";
  if (shortcut & scAlt) text += "Alt+";
  const int key = shortcut & 0xFF;
  if (key >= 0x70 && key <= 0x87) {
    text += "F" + std::to_string(key - 0x70 + 1);
  } else if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    text += static_cast<char>(key);
  } else if (key >= 0x25 && key <= 0x28) {
    static const char* const kArrows[] = {"Left", "Up", "Right", "Down"};
    text += kArrows[key - 0x25];
  } else {
    text += "#" + std::to_string(key);
  }
  return text;
}

bool CommandImplemented(TCommandId id) {
  switch (id) {
    case cmNew:
    case cmOpen:
    case cmSave:
    case cmSaveAs:
    case cmExit:
    case cmUndo:
    case cmRedo:
    case cmCut:
    case cmCopy:
    case cmPaste:
    case cmSelectAll:
    case cmFind:
    case cmFindNext:
    case cmFindPrevious:
    case cmReplace:
    case cmRun:
    case cmRunToCursor:
    case cmShowSpecial:
    case cmSettings:
    case cmPrinterSetup:
    case cmPrint:
    case cmPrintPreview:
    case cmToolPrint:
    case cmHelp:
    case cmAbout:
    case cmParam2:
    case cmParam3:
    case cmNextProblem:
    case cmPreviousProblem:
    case cmGotoLabel:
    case cmGoBack:
    case cmLabels:
      return true;
    default:
      return false;
  }
}
