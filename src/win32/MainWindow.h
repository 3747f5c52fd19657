#pragma once
// The main window: menus, tool bar, editor and status bar around the one open
// document.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandState.h"
#include "app/CompletionProposal.h"
#include "app/Document.h"
#include "app/LabelNavigation.h"
#include "app/MacroRun.h"
#include "app/MacroTemplates.h"
#include "app/SettingsStore.h"
#include "app/SearchCommands.h"
#include "app/WindowPlacement.h"
#include "platform/ProgramDir.h"
#include "platform/Prompts.h"
#include "win32/MainStatusBar.h"
#include "win32/MainToolBar.h"
#include "win32/ProgramIcon.h"
#include "win32/Win32CodePage.h"

class TEditorMemo;
class TEditorPrint;
class TFlatMenuPainter;
class TForm6;
class TPrintPreviewDlg;
class TWin32Printer;
class TfrmSettings;
class THelpCommand;
class TRecentFilesMenu;
class TTtlHighlighter;
class TLiveMacroCheck;
class IRegistry;

// What the window is given from outside, so that tests can point it at a
// temporary program directory, a scripted user and a test registry key.
struct TMainWindowServices {
  IUserPrompts* prompts = nullptr;
  IRegistry* registry = nullptr;
  std::string program_dir;
  // Closing the window ends the message loop (false for windows made by tests).
  bool quit_on_close = true;
  // Find, Replace and the replace confirmation; the real dialogs when null.
  ISearchDialogs* search_dialogs = nullptr;
};

class TForm1 : public IDocumentView {
 public:
  explicit TForm1(const TMainWindowServices& services);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Creates the window and runs the start-up steps that belong to it; the
  // window stays hidden, placed where it was left last time.
  HWND Create();
  // How to show the window first: maximized when it was left maximized.
  int FirstShowCommand(int start_show_command) const;
  // The rest of start-up: the command-line file and the data files.
  void FinishStartup(const std::vector<std::string>& args);

  HWND Handle() const { return handle_; }
  // The dpi the window is laid out for (that of its monitor).
  int Dpi() const { return dpi_; }
  HWND EditorHandle() const { return editor_handle_; }
  TEditorMemo& Memo1() { return *memo_; }
  TTtlHighlighter& TTM() { return *ttm_; }
  TDocument& Document() { return document_; }
  TMainToolBar& ToolBar() { return toolbar_; }
  TMainStatusBar& StatusBar() { return status_bar_; }
  TSearchCommands& Search() { return *search_; }
  TLiveMacroCheck& MacroCheck() { return *check_; }
  // The text of the tool tip over the problem marks, as it stands.
  std::string ProblemTip() const;
  // The timer and the message of the macro check.
  static constexpr UINT_PTR kMacroCheckTimer = 0x4D43;
  static constexpr UINT kMacroCheckAnswer = WM_APP + 0x4D43;
  TCompletionProposal& SCP() { return *scp_; }
  // Template items carry command identifiers from here on, one per template.
  static constexpr int kFirstTemplateCommand = 1000;
  const TProgramDirectory& ProgramDir() const { return program_dir_; }

  // Runs a menu or tool-bar command as if the user chose it; a disabled
  // command does nothing.
  void ExecuteCommand(TCommandId id);
  // Turns a key press into a menu shortcut when one matches an enabled item;
  // true when the key was used. Called by the message loop before dispatching.
  bool HandleShortCut(const MSG& msg);
  // Keeps the status bar in step after a key was released in the window, and
  // the problem tip after the mouse moved over the editor.
  void AfterDispatch(const MSG& msg);
  // Ctrl+F1 in the editor: help on the word at the caret, else on the selection.
  void ContextHelp();
  // Receives the help-topic number that context help looked up (0 for the
  // table of contents).
  std::function<void(std::int32_t topic)> OnHelpTopic;

  TCommandState CurrentCommandState();
  void UpdateCommandState() override;
  void SetModifiedPanel(bool on) override;
  void UpdateCaretPanel(bool show);
  void UpdateInsertModePanel();
  void UpdateLockKeyPanels();

  // IDocumentView
  void LoadText(const std::string& path) override;
  void SaveText(const std::string& path) override;
  void ClearText() override;
  void ShowTitle(const std::string& title) override;
  std::string DisplayName(const std::string& path) override;
  bool IsPlainTextFile(const std::string& path) override;
  void AddRecentFile(const std::string& path) override;

 private:
  static void ReportEditorError(HWND editor, const std::exception& error);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCreate();
  void ConfigureEditor();
  void Layout();
  // Lays everything out for the window's new dpi: icons, tool bar, status
  // bar, the editor's fonts and the menus.
  void ApplyDpi(int dpi);
  void OnDropFiles(HDROP drop);
  void OnClose();
  // Windows is ending the session: the exit's stores and clean-up, at once.
  void OnEndSession();
  void OnDestroy();
  void ShowEditorPopup(int x, int y);
  void FocusParamEdit(int which);
  // The edit box of the main window (a parameter box of the tool bar) that
  // has the keyboard focus, else nullptr; the edit commands act on it then.
  HWND FocusedEditBox() const;
  bool IsEditBox(HWND window) const;
  // Undo, Cut, Copy, Paste or Select All on an edit box.
  void EditBoxCommand(HWND box, TCommandId id);
  // The editor gained or lost the keyboard focus.
  void EditorFocusChanged(bool gained);
  void AfterEditCommand();
  // Run and Run to cursor (MainMacroRun.cpp).
  void CreateMacroRunner();
  void RunMacro(bool whole_text);
  void DeleteTempMacroFiles();
  // The completion proposal of the main editor (MainCompletion.cpp).
  void CreateCompletion();
  void LoadCompletionItemFile();
  // Closes the completion list without inserting, where it is shown.
  void CloseCompletion();
  // The list is drawn for the window's dpi.
  void ApplyCompletionDpi();
  // Printer setup, Print, the tool bar's Print and Print preview, and what
  // the commands know of the printers (MainPrint.cpp).
  void CreatePrinting();
  // The cached printer count above 0; refresh counts the printers again.
  bool DetectPrinters(bool refresh);
  bool PrinterKnown();
  bool PreparePrint();
  void PrintCommand(TCommandId id);
  // Menus drawn by the program (MainMenuPainter.cpp).
  void CreateMenuPainter();
  void SetMenuImages();
  void RefreshMenuPainter();
  // "TeraTerm Help", context help and "About Quillon" (MainHelp.cpp).
  void CreateHelp();
  // The recent files after "Exit" in the "File" menu (MainRecentFiles.cpp).
  void CreateRecentFiles();
  void RecentFileChosen(const std::string& path);
  void RecentFileMissing(const std::string& path);
  // The document's encoding: the question before an ANSI file would lose a
  // character, File > Encoding with its check mark, the status bar's panel 7
  // and the highlighter's character set (MainEncoding.cpp).
  void ConfigureEncoding();
  void EncodingChanged();
  void ChooseEncoding(int index);
  HMENU EncodingMenu() const;
  // The "Import macro Template" submenu from the template file, and inserting
  // a chosen template (MainTemplates.cpp).
  void BuildTemplateMenu();
  void InsertTemplate(int template_index);
  HMENU TemplateMenu() const;
  // The settings window and the values the window keeps itself
  // (MainSettings.cpp).
  void CreateSettingsWindow();
  void OpenSettings();
  // The template file the settings name.
  std::string TemplatePath() const;
  void LoadWindowSettings();
  void SaveWindowSettings();
  // The tool-bar toggle is down or up: the editor follows and the state is
  // stored at once.
  void ApplyShowSpecial(bool on);
  // Search commands and the editor's replace prompt (MainSearch.cpp).
  void CreateSearch();
  TReplaceAction ConfirmReplaceAt(const std::string& search, int line, int column);
  // After a search run, which empties the problem panel.
  void AfterSearchCommand();
  // The macro checked while it is edited, and moving between its labels
  // (MainMacroCheck.cpp).
  void CreateMacroCheck();
  // The checking thread ends before the window does.
  void DestroyMacroCheck();
  void SetMacroChecking(bool on);
  // Included files are looked for beside the document, and its text is read
  // in its character set.
  void FollowDocument();
  void MacroProblemsChanged();
  void UpdateProblemPanel();
  void StepToProblem(bool backwards);
  // Moves the caret, remembering where it was for "Go back".
  void JumpTo(TBufferCoord place);
  void GotoLabel();
  void GoBack();
  void ShowLabels();
  // The tool tip over underlines and gutter dots follows the mouse.
  void CreateProblemTip();
  void ProblemTipAt(int x, int y);
  void RelayToProblemTip(const MSG& msg);
  // The completion list is opened on the name after a goto or call.
  bool LabelCompletionAtCaret();
  TEditorSnapshot Snapshot();
  // Runs an action; an error it raises is shown in an error box and the
  // program carries on.
  template <typename F>
  void Guarded(F&& action);

  TMainWindowServices services_;
  IUserPrompts& prompts_;
  TProgramDirectory program_dir_;
  TDocument document_;
  TWin32CodePage code_page_;
  // The macro highlighter of the main editor, and the one the settings
  // window's preview uses; both get the keyword file at start-up. They outlive
  // the editor that refers to them.
  std::unique_ptr<TTtlHighlighter> ttm_;
  std::unique_ptr<TTtlHighlighter> preview_highlighter_;
  std::unique_ptr<TEditorMemo> memo_;
  // Bound to memo_, so it goes first.
  std::unique_ptr<TCompletionProposal> scp_;
  // Follows memo_'s lines, so it goes first too.
  std::unique_ptr<TLiveMacroCheck> check_;
  TJumpHistory jumps_;
  HWND problem_tip_ = nullptr;
  std::string problem_tip_text_;
  // The entries of the item file, offered again after the labels were.
  TCompletionLists command_lists_;
  bool labels_offered_ = false;
  HWND completion_popup_ = nullptr;
  std::unique_ptr<TRecentFilesMenu> mru_;
  std::unique_ptr<THelpCommand> help_;
  std::unique_ptr<TForm6> about_;
  std::unique_ptr<TfrmSettings> settings_;
  std::unique_ptr<TWin32Printer> printer_;
  std::unique_ptr<TEditorPrint> print_;
  std::unique_ptr<TPrintPreviewDlg> print_preview_;
  int printer_count_ = -1;  // not counted yet
  bool is_nt_ = true;       // printers are counted the NT family's way
  std::unique_ptr<TFlatMenuPainter> menu_painter_;
  TWindowState restored_state_ = TWindowState::wsNormal;
  TMacroTemplates templates_;
  std::unique_ptr<IMacroPlatform> macro_platform_;
  std::unique_ptr<TMacroRunner> macro_runner_;
  std::unique_ptr<ISearchDialogs> own_search_dialogs_;
  ISearchDialogs* search_dialogs_ = nullptr;
  std::unique_ptr<TSearchCommands> search_;
  HWND handle_ = nullptr;
  HWND editor_handle_ = nullptr;
  int dpi_ = 96;
  bool placing_ = false;  // the stored placement is being applied
  bool editor_losing_focus_ = false;
  bool edit_box_losing_focus_ = false;
  TWindowIcons icons_;
  HMENU popup_ = nullptr;
  TMainToolBar toolbar_;
  TMainStatusBar status_bar_;
};

template <typename F>
void TForm1::Guarded(F&& action) {
  try {
    action();
  } catch (const std::exception& e) {
    prompts_.Message(e.what(), "Error", TMessageKind::Error, TMessageButtons::Ok);
  }
}
