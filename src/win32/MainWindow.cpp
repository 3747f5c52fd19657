#include "win32/MainWindow.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/ContextHelp.h"
#include "app/LiveMacroCheck.h"
#include "app/MainEditorConfig.h"
#include "app/PlainText.h"
#include "editor/EditorMemo.h"
#include "language/KeywordStartup.h"
#include "language/TtlHighlighter.h"
#include "platform/FileSystem.h"
#include "platform/Utf8CodePage.h"
#include "win32/EditorWindow.h"
#include "win32/MainMenus.h"
#include "print/EditorPrint.h"
#include "win32/AboutWindow.h"
#include "win32/FlatMenuPainter.h"
#include "win32/PrintPreviewDialog.h"
#include "win32/Printing.h"
#include "win32/HelpCommand.h"
#include "win32/RecentFilesMenu.h"
#include "win32/SettingsWindow.h"
#include "win32/ProgramIcon.h"
#include "win32/Shell.h"
#include "win32/Win32Dpi.h"
#include "win32/Win32WindowPlacement.h"
#include "win32/WideString.h"

namespace {

// A Unicode window class: the title and the parameter boxes hold any character.
constexpr const char* kClassName = "TQuillonMainWindow";
constexpr const wchar_t* kWideClassName = L"TQuillonMainWindow";
// The designed geometry, at 96 dpi.
constexpr int kDesignLeft = 190;
constexpr int kDesignTop = 105;
constexpr int kClientWidth = 660;
constexpr int kClientHeight = 531;
constexpr int kMinTrackWidth = 430;
constexpr int kMinTrackHeight = 200;
constexpr int kEditorMargin = 3;
constexpr int kToolBarId = 1;
constexpr int kStatusBarId = 2;
constexpr int kEditorId = 3;

void RegisterMainClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, kWideClassName, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  // Each window gets icons made for its dpi (TWindowIcons); the class's are
  // the fallback at the system's sizes.
  wc.hIcon = LoadProgramIcon(GetSystemMetrics(SM_CXICON));
  wc.hIconSm = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWideClassName;
  RegisterClassExW(&wc);
}

// Reads a file through the plain-text check in blocks, sharing it with writers.
bool FileIsPlainText(const std::string& path) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool plain = IsPlainTextStream([file](char* buffer, size_t size) -> long {
    DWORD got = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
    return static_cast<long>(got);
  });
  CloseHandle(file);
  return plain;
}

}  // namespace

TForm1::TForm1(const TMainWindowServices& services)
    : services_(services),
      prompts_(*services.prompts),
      program_dir_(services.program_dir),
      document_(*this, *services.prompts),
      ttm_(std::make_unique<TTtlHighlighter>()),
      preview_highlighter_(std::make_unique<TTtlHighlighter>()),
      memo_(std::make_unique<TEditorMemo>()) {}

TForm1::~TForm1() {
  if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
  if (popup_) DestroyMenu(popup_);
}

HWND TForm1::Create() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterMainClass(instance);
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  // The designed place and size, on the monitor there, at its dpi.
  const RECT designed{kDesignLeft, kDesignTop, kDesignLeft + kClientWidth, kDesignTop + kClientHeight};
  dpi_ = DpiForRect(designed);
  const TDpiScale s{dpi_};
  RECT r{0, 0, s(kClientWidth), s(kClientHeight)};
  AdjustWindowRectForDpi(r, style, true, 0, dpi_);
  HMENU menu = BuildMainMenu();
  handle_ = CreateWindowExW(0, kWideClassName, L"", style, s(kDesignLeft), s(kDesignTop),
                            r.right - r.left, r.bottom - r.top, nullptr, menu, instance, nullptr);
  SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TForm1::WindowProc));
  dpi_ = WindowDpi(handle_);
  OnCreate();
  if (services_.registry) {
    // The stored placement is applied at its monitor's dpi already.
    placing_ = true;
    restored_state_ = RestoreWindowPlacement(handle_, *services_.registry, kSettingsKeyPath);
    placing_ = false;
    // The stored place may lie on a monitor of another dpi.
    const int restored_dpi = WindowDpi(handle_);
    if (restored_dpi != dpi_) ApplyDpi(restored_dpi);
  }
  return handle_;
}

int TForm1::FirstShowCommand(int start_show_command) const {
  return ::FirstShowCommand(restored_state_, start_show_command);
}

void TForm1::OnCreate() {
  icons_.Apply(handle_, dpi_);
  toolbar_.Create(handle_, kToolBarId, dpi_);
  status_bar_.Create(handle_, kStatusBarId, dpi_);
  editor_handle_ = TEditorWindow::Create(handle_, kEditorId, *memo_);
  TEditorWindow::SetDpi(editor_handle_, dpi_);
  ConfigureEditor();
  CreateMacroCheck();
  CreateSearch();
  CreateCompletion();
  CreateMacroRunner();
  LoadWindowSettings();
  CreateRecentFiles();
  CreatePrinting();
  CreateHelp();
  Guarded([&] { CreateSettingsWindow(); });
  popup_ = BuildEditorPopup();
  CreateMenuPainter();
  DragAcceptFiles(handle_, TRUE);
  UpdateInsertModePanel();
  SetModifiedPanel(false);
  UpdateLockKeyPanels();
  document_.New();
  Layout();
}

void TForm1::FinishStartup(const std::vector<std::string>& args) {
  // Only the first argument is a file to open; there are no switches.
  if (!args.empty()) Guarded([&] { document_.OpenFileByPath(args.front()); });
  LoadCompletionItemFile();
  Guarded([&] { LoadKeywordFileAtStartup(program_dir_, *ttm_, *preview_highlighter_, prompts_); });
  Guarded([&] { BuildTemplateMenu(); });
  RefreshMenuPainter();
  UpdateCommandState();
}

void TForm1::Layout() {
  RECT client;
  GetClientRect(handle_, &client);
  status_bar_.Resize();
  RECT bar;
  GetWindowRect(status_bar_.Handle(), &bar);
  const int status_height = bar.bottom - bar.top;
  const int margin = ScaleForDpi(kEditorMargin, dpi_);
  const int top = toolbar_.StripHeight() + margin;
  const int bottom = client.bottom - status_height - margin;
  MoveWindow(editor_handle_, margin, top, client.right - 2 * margin,
             bottom > top ? bottom - top : 0, TRUE);
  // The strip's edges span the whole width.
  RECT strip{0, 0, client.right, toolbar_.StripHeight()};
  InvalidateRect(handle_, &strip, TRUE);
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->HandleMessage(msg, wp, lp);
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT painted = 0;
  if (menu_painter_ && menu_painter_->HandleMessage(msg, wp, lp, painted)) return painted;
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = POINT{ScaleForDpi(kMinTrackWidth, dpi_), ScaleForDpi(kMinTrackHeight, dpi_)};
      return 0;
    }
    case WM_DPICHANGED: {
      // The window moved to a monitor of another dpi (or that monitor's
      // scale changed): take the size Windows suggests, then lay out anew.
      const auto* suggested = reinterpret_cast<const RECT*>(lp);
      ApplyDpi(HIWORD(wp));
      if (placing_) return 0;
      SetWindowPos(handle_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(handle_, &ps);
      RECT client;
      GetClientRect(handle_, &client);
      toolbar_.PaintStrip(dc, client.right);
      EndPaint(handle_, &ps);
      return 0;
    }
    case WM_SETFOCUS:
      SetFocus(editor_handle_);
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (lp && reinterpret_cast<HWND>(lp) == editor_handle_) {
        EditorFocusChanged(HIWORD(wp) == EN_SETFOCUS);
        return 0;
      }
      if (lp && IsEditBox(reinterpret_cast<HWND>(lp))) {
        // The edit commands follow a box of the tool bar while it has the focus.
        const UINT code = HIWORD(wp);
        if (code == EN_SETFOCUS || code == EN_KILLFOCUS || code == EN_CHANGE) {
          edit_box_losing_focus_ = code == EN_KILLFOCUS;
          UpdateCommandState();
          edit_box_losing_focus_ = false;
        }
        return 0;
      }
      // A menu item, a tool-bar button or a shortcut: the completion list,
      // which belongs to the editor's text, goes away first.
      CloseCompletion();
      // Menus send code 0, accelerators 1, and a clicked button BN_CLICKED (0).
      // A click has already moved the toggle button; the menu-less command
      // (ExecuteCommand) moves it itself.
      if (HIWORD(wp) == 0 && mru_) {
        bool used = false;
        Guarded([&] { used = mru_->HandleMenuCommand(id); });
        if (used) return 0;
      }
      if (id == cmShowSpecial)
        ApplyShowSpecial(toolbar_.Checked(cmShowSpecial));
      else if (id >= kFirstTemplateCommand && HIWORD(wp) == 0)
        InsertTemplate(id - kFirstTemplateCommand);
      else if (id >= static_cast<int>(kFirstEncodingCommand) &&
               id < static_cast<int>(kFirstEncodingCommand + std::size(kAllTextEncodings)) &&
               HIWORD(wp) == 0)
        Guarded([&] { ChooseEncoding(id - static_cast<int>(kFirstEncodingCommand)); });
      else if (id >= cmNew && id <= cmLastCommand && HIWORD(wp) <= 1)
        ExecuteCommand(static_cast<TCommandId>(id));
      return 0;
    }
    case WM_NOTIFY:
      if (toolbar_.HandleNotify(reinterpret_cast<NMHDR*>(lp))) return 0;
      break;
    case WM_TIMER:
      if (wp == kMacroCheckTimer && check_) {
        check_->TimerElapsed();
        return 0;
      }
      break;
    case kMacroCheckAnswer:
      if (check_) check_->AnswerArrived();
      return 0;
    case WM_ENTERMENULOOP:
      CloseCompletion();
      break;
    case WM_PARENTNOTIFY: {
      // A click on the tool bar or the status bar takes the completion list
      // away, as a click anywhere outside it does.
      const UINT event = LOWORD(wp);
      if (event == WM_LBUTTONDOWN || event == WM_RBUTTONDOWN || event == WM_MBUTTONDOWN) {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (ChildWindowFromPoint(handle_, p) != editor_handle_) CloseCompletion();
      }
      break;
    }
    case WM_INITMENUPOPUP:
      // Each menu recomputes its items when it opens.
      UpdateCommandState();
      ApplyMenuState(reinterpret_cast<HMENU>(wp), CurrentCommandState());
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == editor_handle_) {
        ShowEditorPopup(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return 0;
      }
      break;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wp));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_QUERYENDSESSION: {
      bool may_close = false;
      Guarded([&] { may_close = document_.CloseQuery(); });
      return may_close;
    }
    case WM_ENDSESSION:
      // Windows may end the process as soon as this returns, without the
      // window ever being destroyed.
      if (wp) OnEndSession();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(handle_, msg, wp, lp);
}

void TForm1::ApplyDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  icons_.Apply(handle_, dpi_);
  toolbar_.SetDpi(dpi_);
  status_bar_.SetDpi(dpi_);
  TEditorWindow::SetDpi(editor_handle_, dpi_);
  ApplyCompletionDpi();
  if (menu_painter_) {
    // The tool bar drew its glyphs anew at the new size.
    SetMenuImages();
    menu_painter_->SetDpi(dpi_);
  }
  DrawMenuBar(handle_);
  Layout();
}

void TForm1::ExecuteCommand(TCommandId id) {
  if (!CommandEnabled(id, CurrentCommandState())) return;
  CloseCompletion();
  if (HWND box = FocusedEditBox(); box && IsEditBoxCommand(id)) {
    EditBoxCommand(box, id);
    return;
  }
  switch (id) {
    case cmNew: Guarded([&] { document_.New(); }); break;
    case cmOpen: Guarded([&] { document_.Open(); }); break;
    case cmSave: Guarded([&] { document_.Save(); }); break;
    case cmSaveAs: Guarded([&] { document_.SaveAs(); }); break;
    case cmExit: SendMessageA(handle_, WM_CLOSE, 0, 0); break;
    case cmUndo: Guarded([&] { memo_->Undo(); }); AfterEditCommand(); break;
    case cmRedo: Guarded([&] { memo_->Redo(); }); AfterEditCommand(); break;
    case cmCut: Guarded([&] { memo_->CutToClipboard(); }); AfterEditCommand(); break;
    case cmPaste: Guarded([&] { memo_->PasteFromClipboard(); }); AfterEditCommand(); break;
    case cmCopy:
      Guarded([&] { memo_->CopyToClipboard(); });
      UpdateCommandState();
      break;
    case cmSelectAll:
      memo_->SelectAllText();
      UpdateCommandState();
      break;
    case cmFind: Guarded([&] { search_->OpenSearchDialog(false); }); AfterSearchCommand(); break;
    case cmReplace: Guarded([&] { search_->OpenSearchDialog(true); }); AfterSearchCommand(); break;
    case cmFindNext: Guarded([&] { search_->RunSearch(false, false); }); AfterSearchCommand(); break;
    case cmFindPrevious: Guarded([&] { search_->RunSearch(false, true); }); AfterSearchCommand(); break;
    case cmNextProblem: StepToProblem(false); break;
    case cmPreviousProblem: StepToProblem(true); break;
    case cmGotoLabel: Guarded([&] { GotoLabel(); }); break;
    case cmGoBack: GoBack(); break;
    case cmLabels: Guarded([&] { ShowLabels(); }); break;
    case cmShowSpecial:
      toolbar_.SetChecked(cmShowSpecial, !toolbar_.Checked(cmShowSpecial));
      ApplyShowSpecial(toolbar_.Checked(cmShowSpecial));
      break;
    case cmPrinterSetup:
    case cmPrint:
    case cmPrintPreview:
    case cmToolPrint: Guarded([&] { PrintCommand(id); }); break;
    case cmSettings: Guarded([&] { OpenSettings(); }); break;
    case cmHelp: Guarded([&] { help_->TeraTermHelp(); }); break;
    case cmAbout: about_->ShowModal(); break;
    case cmRun: Guarded([&] { RunMacro(true); }); break;
    case cmRunToCursor: Guarded([&] { RunMacro(false); }); break;
    case cmParam2: FocusParamEdit(2); break;
    case cmParam3: FocusParamEdit(3); break;
    default: break;
  }
}

void TForm1::AfterEditCommand() {
  // These commands mark the document even when they changed nothing.
  SetModifiedPanel(true);
  UpdateCommandState();
}

bool TForm1::HandleShortCut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (msg.hwnd != handle_ && !IsChild(handle_, msg.hwnd)) return false;
  if (msg.hwnd == editor_handle_ && msg.wParam == VK_F1 &&
      ShortCutFromKey(msg.wParam) == (scCtrl | VK_F1)) {
    ContextHelp();
    return true;
  }
  const TCommandId id = CommandForShortCut(ShortCutFromKey(msg.wParam));
  if (id == cmNone) return false;
  UpdateCommandState();
  if (!CommandEnabled(id, CurrentCommandState())) {
    // A disabled item ignores its shortcut: the key does nothing in the
    // editor (Ctrl+N would insert a line there), while an edit box of the
    // tool bar still gets its own keys (Ctrl+C, Ctrl+V).
    return msg.hwnd == editor_handle_ || msg.hwnd == handle_;
  }
  ExecuteCommand(id);
  return true;
}

void TForm1::AfterDispatch(const MSG& msg) {
  if (msg.hwnd == editor_handle_ && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
    RelayToProblemTip(msg);
  // A selection made with the mouse in an edit box.
  if (msg.message == WM_LBUTTONUP && IsEditBox(msg.hwnd)) UpdateCommandState();
  if (msg.message != WM_KEYUP && msg.message != WM_SYSKEYUP) return;
  if (!handle_ || (msg.hwnd != handle_ && !IsChild(handle_, msg.hwnd))) return;
  if (msg.wParam == VK_CAPITAL || msg.wParam == VK_NUMLOCK || msg.wParam == VK_SCROLL)
    UpdateLockKeyPanels();
  UpdateInsertModePanel();
  UpdateCommandState();
}

void TForm1::ContextHelp() {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  const auto topic = ContextHelpId(memo_->WordAtCaret(), memo_->SelectedText(), *ttm_);
  SetCursor(previous);
  if (topic && OnHelpTopic) OnHelpTopic(*topic);
}

void TForm1::ReportEditorError(HWND editor, const std::exception& error) {
  // Errors of an editor reach the user through the window that holds it.
  HWND root = GetAncestor(editor, GA_ROOT);
  char class_name[64] = "";
  GetClassNameA(root, class_name, sizeof class_name);
  auto* form = std::string(class_name) == kClassName
                   ? reinterpret_cast<TForm1*>(GetWindowLongPtrW(root, GWLP_USERDATA))
                   : nullptr;
  if (form) {
    form->prompts_.Message(error.what(), "Error", TMessageKind::Error, TMessageButtons::Ok);
  } else {
    MessageBoxW(root, Wide(error.what()).c_str(), L"Error", MB_OK | MB_ICONERROR);
  }
}

void TForm1::EditorFocusChanged(bool gained) {
  if (gained) {
    UpdateCommandState();
    return;
  }
  // The list goes when the focus moves to another window of the program (a
  // dialog, the settings window, a parameter box).
  CloseCompletion();
  // The focus may not have moved on yet while the editor hears of it.
  editor_losing_focus_ = true;
  UpdateCommandState();
  editor_losing_focus_ = false;
}

void TForm1::FocusParamEdit(int which) {
  HWND edit = toolbar_.ParamEdit(which);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

bool TForm1::IsEditBox(HWND window) const {
  if (!window || window == editor_handle_ || !IsChild(handle_, window)) return false;
  wchar_t class_name[16] = L"";
  GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
  return lstrcmpiW(class_name, L"Edit") == 0;
}

HWND TForm1::FocusedEditBox() const {
  HWND focus = GetFocus();
  return !edit_box_losing_focus_ && IsEditBox(focus) ? focus : nullptr;
}

void TForm1::EditBoxCommand(HWND box, TCommandId id) {
  switch (id) {
    case cmUndo: SendMessageW(box, WM_UNDO, 0, 0); break;
    case cmCut: SendMessageW(box, WM_CUT, 0, 0); break;
    case cmCopy: SendMessageW(box, WM_COPY, 0, 0); break;
    case cmPaste: SendMessageW(box, WM_PASTE, 0, 0); break;
    case cmSelectAll: SendMessageW(box, EM_SETSEL, 0, -1); break;
    default: break;
  }
  UpdateCommandState();
}

void TForm1::ShowEditorPopup(int x, int y) {
  // The context menu's commands are the editor's, wherever the focus was.
  if (GetFocus() != editor_handle_) SetFocus(editor_handle_);
  UpdateCommandState();
  ApplyMenuState(popup_, CurrentCommandState());
  if (x == -1 && y == -1) {  // from the keyboard: at the caret's corner of the editor
    POINT p{0, 0};
    ClientToScreen(editor_handle_, &p);
    x = p.x;
    y = p.y;
  }
  TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, handle_, nullptr);
}

void TForm1::OnDropFiles(HDROP drop) {
  const auto files = DroppedFiles(drop);
  DragFinish(drop);
  // A drop of several files opens the first.
  if (!files.empty()) Guarded([&] { document_.OpenFileByPath(files.front()); });
}

void TForm1::OnClose() {
  bool may_close = false;
  Guarded([&] { may_close = document_.CloseQuery(); });
  if (!may_close) return;
  if (services_.registry) SaveWindowPlacement(handle_, *services_.registry, kSettingsKeyPath);
  DestroyWindow(handle_);
}

void TForm1::OnEndSession() {
  // What a normal exit keeps is kept now; nothing may be asked any more.
  if (services_.registry) SaveWindowPlacement(handle_, *services_.registry, kSettingsKeyPath);
  SaveWindowSettings();
  DeleteTempMacroFiles();
  if (mru_) mru_->Save();
  if (settings_) {
    try {
      settings_->SaveSettings();
    } catch (const std::exception&) {
    }
  }
}

void TForm1::OnDestroy() {
  DestroyMacroCheck();
  // The parameter boxes still exist: children go after their parent.
  SaveWindowSettings();
  DeleteTempMacroFiles();
  mru_.reset();       // stores the list
  settings_.reset();  // stores the settings
  print_preview_.reset();
  menu_painter_.reset();
  DragAcceptFiles(handle_, FALSE);
  SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  handle_ = nullptr;
  if (services_.quit_on_close) PostQuitMessage(0);
}

TEditorSnapshot TForm1::Snapshot() {
  TEditorSnapshot s;
  auto& lines = memo_->Lines();
  const int count = lines.Count();
  s.text_empty = count == 0 || (count == 1 && lines.LineView(0).empty());
  for (int i = 0; i < count && !s.has_macro_text; ++i) s.has_macro_text = HasMacroText(lines.LineView(i));
  s.modified = document_.Modified();
  s.clipboard_has_text = IsClipboardFormatAvailable(CF_TEXT) != 0;
  s.can_undo = memo_->CanUndo();
  s.can_redo = memo_->CanRedo();
  // Compared by position, so that no key press has to measure the whole text.
  s.has_selection = memo_->SelAvail();
  const int last = count > 0 ? count : 1;
  s.selection_covers_all =
      s.has_selection && memo_->SelectionBegin() == TBufferCoord{1, 1} &&
      memo_->SelectionFinish() ==
          TBufferCoord{static_cast<int>(lines.LineView(last - 1).size()) + 1, last};
  s.editor_focused = GetFocus() == editor_handle_ && !editor_losing_focus_;
  s.search_text_entered = search_ && search_->SearchTextEntered();
  s.has_problems = check_ && !check_->Problems().Empty();
  s.can_go_back = !jumps_.Empty();
  s.printers_installed = DetectPrinters(false);
  s.printer_known = PrinterKnown();
  if (s.printer_known) s.printer_name = printer_->PrinterName();
  return s;
}

TCommandState TForm1::CurrentCommandState() {
  TCommandState state = ComputeCommandState(Snapshot());
  if (HWND box = FocusedEditBox()) {
    TEditBoxSnapshot b;
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto length = static_cast<DWORD>(GetWindowTextLengthW(box));
    b.text_empty = length == 0;
    b.has_selection = end > start;
    b.selection_covers_all = start == 0 && end >= length && length > 0;
    b.can_undo = SendMessageW(box, EM_CANUNDO, 0, 0) != 0;
    ApplyEditBoxState(state, b, IsClipboardFormatAvailable(CF_UNICODETEXT) != 0);
  }
  return state;
}

void TForm1::UpdateCommandState() {
  if (!handle_) return;
  const TCommandState s = CurrentCommandState();
  toolbar_.SetEnabled(cmNew, CommandEnabled(cmNew, s));
  toolbar_.SetEnabled(cmSave, CommandEnabled(cmSave, s));
  toolbar_.SetEnabled(cmPaste, CommandEnabled(cmPaste, s));
  toolbar_.SetEnabled(cmUndo, CommandEnabled(cmUndo, s));
  toolbar_.SetEnabled(cmRedo, CommandEnabled(cmRedo, s));
  toolbar_.SetEnabled(cmCopy, CommandEnabled(cmCopy, s));
  UpdateCaretPanel(true);
  toolbar_.SetEnabled(cmCut, CommandEnabled(cmCut, s));
  toolbar_.SetEnabled(cmRun, CommandEnabled(cmRun, s));
  toolbar_.SetEnabled(cmToolPrint, CommandEnabled(cmToolPrint, s));
  toolbar_.SetEnabled(cmPrintPreview, CommandEnabled(cmPrintPreview, s));
  toolbar_.SetEnabled(cmRunToCursor, CommandEnabled(cmRunToCursor, s));
  toolbar_.SetTip(cmToolPrint, s.print_tip);
}

void TForm1::SetModifiedPanel(bool on) {
  status_bar_.SetPanel(2, on ? "Modified" : "");
  UpdateCommandState();
}

void TForm1::UpdateCaretPanel(bool show) {
  status_bar_.SetPanel(1, show ? "Ln. " + std::to_string(memo_->CaretY()) + ", Col. " +
                                     std::to_string(memo_->CaretX())
                               : "");
}

void TForm1::UpdateInsertModePanel() { status_bar_.SetPanel(3, memo_->InsertMode() ? "INS" : "OVR"); }

void TForm1::UpdateLockKeyPanels() {
  // A lock key counts as on when it is toggled and not held down right now.
  auto on = [](int vk) { return GetKeyState(vk) > 0; };
  status_bar_.SetPanel(4, on(VK_NUMLOCK) ? "NUM" : "");
  status_bar_.SetPanel(5, on(VK_CAPITAL) ? "CAPS" : "");
  status_bar_.SetPanel(6, on(VK_SCROLL) ? "SCROLL" : "");
}

void TForm1::LoadText(const std::string& path) {
  // The highlighter reads the lines in their character set while they load.
  std::string bytes = FileSystem().ReadWholeFile(path);
  ttm_->SetCodePage(IsUnicodeEncoding(DetectTextEncoding(bytes)) ? &Utf8CodePage() : &code_page_);
  memo_->Lines().LoadFromBuffer(std::move(bytes));
  EncodingChanged();
}

void TForm1::SaveText(const std::string& path) {
  memo_->Lines().SaveToFile(path);
  // The saved text is the clean state that undoing back to it returns to.
  memo_->SetModified(false);
}

void TForm1::ClearText() {
  memo_->ClearAll();
  // A new document is an ANSI one, as macro files always were.
  memo_->Lines().SetEncoding(TTextEncoding::Ansi);
  EncodingChanged();
  // The places belonged to the text that went.
  jumps_.Clear();
}

void TForm1::ShowTitle(const std::string& title) {
  SetWindowTextW(handle_, Wide(title).c_str());
  // The title follows every change of the document's name.
  FollowDocument();
}

std::string TForm1::DisplayName(const std::string& path) { return ShellDisplayName(path); }

bool TForm1::IsPlainTextFile(const std::string& path) { return FileIsPlainText(path); }

void TForm1::AddRecentFile(const std::string& path) {
  if (mru_) mru_->AddFile(path);
}

void TForm1::ConfigureEditor() {
  ApplyMainEditorDefaults(*memo_);
  // Double-byte characters of the system's code page stay whole.
  memo_->SetCodePage(&code_page_);
  ttm_->SetCodePage(&code_page_);
  preview_highlighter_->SetCodePage(&code_page_);
  TEditorWindow::SetErrorHandler(&TForm1::ReportEditorError);
  memo_->SetHighlighter(ttm_.get());
  memo_->OnChange = [this](TCustomEditor&) { document_.TextChanged(); };
  ConfigureEncoding();
  memo_->OnStatusChange = [this](TCustomEditor&, TStatusChanges) {
    UpdateInsertModePanel();
    UpdateCommandState();
  };
  // A click may have changed what is selected, and the clipboard may have
  // changed while another program had the focus.
  memo_->OnMouseUp = [this](TCustomEditor&, TMouseButton, TShiftState, int, int) {
    UpdateCommandState();
  };
}
