#pragma once
// The settings window: highlighter colours and styles, the editor's colours
// and font, tab handling, the template file and the file-type association,
// all shown at once in a read-only preview editor. It is made once at
// start-up, only hidden when closed, and stores the settings when destroyed.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/FileAssociation.h"
#include "app/SettingsStore.h"
#include "editor/EditorMemo.h"
#include "platform/Canvas.h"
#include "platform/Prompts.h"
#include "platform/Types.h"

class IRegistry;
class THighlighterAttributes;
class TTtlHighlighter;

// The font the font dialog offers and returns.
struct TFontChoice {
  TFont font;
  int charset = 1;
};

// What the window needs from the program around it.
struct TSettingsWindowServices {
  HWND owner = nullptr;
  TEditorMemo* main_editor = nullptr;
  TTtlHighlighter* main_highlighter = nullptr;
  // The preview's own highlighter (owned by the caller, outlives the window).
  TTtlHighlighter* preview_highlighter = nullptr;
  IRegistry* registry = nullptr;
  IUserPrompts* prompts = nullptr;
  // The directory of the running executable (default template file).
  std::string program_dir;
  // The executable's full path, for the file-type association.
  std::string exe_path;
  // Tells the shell that file associations changed; the shell's own
  // notification when empty.
  std::function<void()> associations_changed;

  // ---- what lies outside the window (already used while the window is made)
  // After Apply stored everything: rebuild the template submenu from
  // TemplatePath() and refresh the menus.
  std::function<void()> OnApplied;
  // Each time the preview is copied to the main editor (loading, Apply), and
  // when the stored "ShowSpecial" has been read: the tool-bar toggle takes
  // this state (without storing it again).
  std::function<void(bool on)> OnShowSpecialState;
  // Each time the stored settings are loaded and on Apply: whether macros
  // are checked while they are edited.
  std::function<void(bool on)> OnCheckMacros;
  // The completion list's width, kept here while there is no list to ask.
  std::function<int()> GetSCPWidth;
  std::function<void(int)> SetSCPWidth;
  // The open document's full path ("" when unnamed), stored for information.
  std::function<std::string()> CurrentFileName;
};

class TfrmSettings {
 public:
  enum : int {
    idElements = 301,
    idBold,
    idItalic,
    idUnderline,
    idChangeColor,
    idReset,
    idMemo3,
    idShowSpecial,
    idChangeFont,
    idTabsToSpaces,
    idSmartTabs,
    idTabWidth,
    idTemplatePath,
    idBrowse,
    idAssociate,
    idApply,
    idElementsGroup,
    idTextAttributeGroup,
    idHighlighterGroup,
    idTabulationGroup,
    idTemplatesGroup,
    idTabWidthLabel,
    idTemplateLabel,
    idCheckMacros,
  };
  // The element list's entries.
  enum TElement : int {
    elReservedWord,
    elIdentifier,
    elString,
    elWhiteSpace,
    elLabel,
    elSystemVariable,
    elComment,
    elOperation,
    elSelectedForeground,
    elSelectedBackground,
    elActiveLine,
    elBackground,
    kElementCount
  };

  // Creates the hidden window and runs its part of start-up: the tab-width
  // list, the stored settings (applied to the main editor), the element
  // controls, the association check box and the demonstration selection.
  explicit TfrmSettings(const TSettingsWindowServices& services);
  // Stores the settings (unless the window was already destroyed with its
  // owner, which stored them then).
  ~TfrmSettings();
  TfrmSettings(const TfrmSettings&) = delete;
  TfrmSettings& operator=(const TfrmSettings&) = delete;

  HWND Handle() const { return hwnd_; }
  TEditorMemo& Memo3() { return memo3_; }
  TTtlHighlighter& TTM() { return ttm_; }
  TFileAssociation& Association() { return association_; }

  // ---- tests replace these dialogs
  // The colour and font dialogs; tests replace them. nullopt: cancelled.
  std::function<std::optional<TColor>(TColor initial)> ColorDialog;
  std::function<std::optional<TFontChoice>(const TFontChoice& initial)> FontDialog;

  // ---- the settings store
  // Fills the controls and the preview from the store and applies them to
  // the main editor.
  void LoadSettings();
  // Writes the window's current values, also ones not applied.
  void SaveSettings();
  // Copies the preview to the main editor.
  void ApplySettingsToEditor();

  // "Settings ...": the "Show special characters" box takes the tool-bar
  // toggle's state (the preview follows), the store is re-read, and the
  // window is shown modally. Returns IDOK or IDCANCEL.
  int Execute(bool show_special_down);
  // Shows the window modally, Apply disabled, until OK, Cancel, Esc or the
  // close box hides it. Returns IDOK or IDCANCEL.
  int ShowModal();

  // ---- values the main window reads or sets
  std::string TemplatePath() const;
  void SetTemplatePath(const std::string& path);
  bool ShowSpecialChecked() const;
  bool CheckMacrosChecked() const { return Checked(idCheckMacros); }
  // The tool-bar toggle changed: the box follows, and the preview gets the
  // main editor's options with or without `eoShowSpecialChars`.
  void SetShowSpecialChecked(bool on);
  int PrintPreviewScale() const { return print_preview_scale_; }
  void SetPrintPreviewScale(int value) { print_preview_scale_ = value; }
  int FontCharset() const { return memo3_.Font().CharSet; }
  int SCPWidth() const;
  bool ApplyEnabled() const;

  // ---- operations behind the controls (tests call them as the user would)
  void ElementsClick();
  void btnResetClick();
  void btnApplyClick();
  void SelectDemonstrationRange();
  TElement SelectedElement() const;
  // The attribute an element edits; nullptr for elements 8-11.
  THighlighterAttributes* ElementAttribute(int element) const;
  // The colour "Change Color..." starts with for an element.
  TColor ElementColor(int element);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
  void FormCreate();
  void CreateControls();
  void SetUpPreview();
  void OnCommand(int id, int code, HWND control);
  void StyleBoxClick(int id, HWND box);
  void btnChangeColorClick();
  void btnChangeFontClick();
  void btnBrowseClick();
  void TabWidthChange();
  void OptionBoxClick(int id);
  void SetElementColor(int element, TColor color);
  void EnableApply(bool on);
  void Close(int result);
  void SaveOnDestroy();
  // The control values as the store sees them.
  TEditorSettings HeldSettings();
  void ShowSettings(const TEditorSettings& settings);
  TSettingsEditors Editors();
  bool Checked(int id) const;
  void SetChecked(int id, bool on);
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  TSettingsWindowServices services_;
  TTtlHighlighter& ttm_;
  TEditorMemo memo3_;
  TFileAssociation association_;
  HWND hwnd_ = nullptr;
  HWND memo3_window_ = nullptr;
  int modal_result_ = 0;
  int print_preview_scale_ = 4;
  int scp_width_ = 600;
  bool saved_on_destroy_ = false;
};
