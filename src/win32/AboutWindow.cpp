#include "win32/AboutWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include "win32/PixelDialog.h"
#include "win32/ProgramIcon.h"
#include "win32/Shell.h"
#include "win32/WideString.h"

namespace {

constexpr char kCaption[] = "About Quillonar";
constexpr char kProgramName[] = "Quillonar";
constexpr char kHomeLinkText[] = "Tera Term project home page";
constexpr char kHomeLink[] = "https://teratermproject.github.io/";
constexpr COLORREF kLinkColor = RGB(0, 0, 160);  // a link within the window
constexpr COLORREF kUrlHoverColor = RGB(0, 0, 255);
constexpr int kClientWidth = 391;
constexpr int kClientHeight = 423;

const char* const kPageCaptions[] = {"About", "Disclaimer", "What's New"};

constexpr char kDescription[] = "A macro editor for Tera Term macro (TTL) files.";
constexpr char kFeatures[] =
    "It colours the macro language, proposes macro commands as you type, inserts macro "
    "templates and runs your macro, whole or up to the caret line, through Tera Term's "
    "macro interpreter.";
constexpr char kHelpNote[] =
    "Ctrl+F1 opens the help topic of the macro command under the caret in Tera Term's help "
    "file, teraterm.chm, which must lie beside the program.";
constexpr char kCopyright[] = "Copyright (C) Brevik";
constexpr char kDisclaimerLinkText[] = "Please read the disclaimer";

constexpr char kDisclaimer[] =
    "Quillonar is provided \"as is\", without warranty of any kind, express or implied, "
    "including but not limited to the warranties of merchantability, fitness for a "
    "particular purpose and noninfringement.\r\n\r\n"
    "In no event shall the authors be liable for any claim, damages or other liability "
    "arising from the use of this program.\r\n\r\n"
    "A macro run by this program acts on your live Tera Term connections. Try new macros "
    "on a test connection first, and keep copies of the macro files you rely on.";

constexpr char kWhatsNew[] =
    "Version 1.0\r\n\r\n"
    "- Colouring of the Tera Term macro language, in colours of your choice.\r\n"
    "- Macro command proposals while you type.\r\n"
    "- Ready-made macro templates from a template file.\r\n"
    "- Run the whole macro, or only up to the caret line, with two parameters.\r\n"
    "- Context help on macro commands with Ctrl+F1.\r\n"
    "- Find and replace, also with regular expressions.\r\n"
    "- Printing with header and footer, and a print preview.\r\n"
    "- Recent files and the .ttl file association.";

void AppendWide(std::vector<WORD>& out, const std::string& text) {
  if (!text.empty()) {
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    for (wchar_t c : wide) out.push_back(static_cast<WORD>(c));
  }
  out.push_back(0);
}

void AppendDword(std::vector<WORD>& out, DWORD value) {
  out.push_back(LOWORD(value));
  out.push_back(HIWORD(value));
}

// An extended dialog template with the shell's dialog font, so the window
// looks like the system's own dialogs; its size is set in pixels later.
std::vector<WORD> AboutTemplate() {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT;
  std::vector<WORD> t;
  t.push_back(1);       // version
  t.push_back(0xFFFF);  // extended template
  AppendDword(t, 0);    // help id
  AppendDword(t, WS_EX_DLGMODALFRAME);
  AppendDword(t, style);
  for (int i = 0; i < 5; ++i) t.push_back(0);  // no items, x, y, cx, cy
  t.push_back(0);                              // no menu
  t.push_back(0);                              // the standard dialog class
  AppendWide(t, kCaption);
  t.push_back(8);          // points
  t.push_back(FW_NORMAL);  // weight
  t.push_back(MAKEWORD(FALSE, DEFAULT_CHARSET));
  AppendWide(t, "MS Shell Dlg");
  return t;
}

// A function of the version module, found at run time.
template <typename F>
F VersionFunction(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

SIZE TextSize(HWND control, const std::string& text) {
  SIZE size{0, 0};
  HDC dc = GetDC(control);
  if (!dc) return size;
  const std::wstring wide = Wide(text);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size;
}

// Visual styles paint the page control's body in another colour than the
// window, while the pages' texts are drawn on the window's colour: the body
// gets the window's colour after the control has painted.
LRESULT CALLBACK PagesPaintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, PagesPaintProc, 0);
  const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
  if (msg == WM_PAINT) {
    RECT body{};
    GetClientRect(hwnd, &body);
    SendMessageA(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&body));
    if (HDC dc = GetDC(hwnd)) {
      FillRect(dc, &body, GetSysColorBrush(COLOR_BTNFACE));
      ReleaseDC(hwnd, dc);
    }
  }
  return result;
}

HFONT DerivedFont(HWND window, HFONT base, bool underline, bool bold, int points) {
  // Wide: the system's face names may be in the user's language.
  LOGFONTW lf{};
  if (!base || !GetObjectW(base, sizeof(lf), &lf)) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    lf = metrics.lfMessageFont;
  }
  if (underline) lf.lfUnderline = TRUE;
  if (bold) lf.lfWeight = FW_BOLD;
  if (points > 0) lf.lfHeight = -ScaleToWindow(window, points * 96 / 72);
  return CreateFontIndirectW(&lf);
}

}  // namespace

std::optional<TFileVersion> ReadFileVersion(const std::string& path) {
  // The version functions live in their own system module, loaded only here.
  HMODULE module = LoadLibraryA("version.dll");
  if (!module) return std::nullopt;
  using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  const auto size_of = VersionFunction<SizeFn>(module, "GetFileVersionInfoSizeW");
  const auto info_of = VersionFunction<InfoFn>(module, "GetFileVersionInfoW");
  const auto query = VersionFunction<QueryFn>(module, "VerQueryValueW");
  std::optional<TFileVersion> version;
  if (size_of && info_of && query) {
    const std::wstring wide = Wide(path);
    DWORD handle = 0;
    const DWORD size = size_of(wide.c_str(), &handle);
    std::vector<char> data(size);
    void* fixed = nullptr;
    UINT length = 0;
    if (size != 0 && info_of(wide.c_str(), 0, size, data.data()) &&
        query(data.data(), L"\\", &fixed, &length) && fixed && length >= sizeof(VS_FIXEDFILEINFO)) {
      const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
      if (info->dwSignature == 0xFEEF04BD) {
        version = FileVersionFromParts(info->dwFileVersionMS, info->dwFileVersionLS);
      }
    }
  }
  FreeLibrary(module);
  return version;
}

std::string OwnModulePath() { return ExecutablePath(); }

// ---------------------------------------------------------------------------

TLinkLabel::TLinkLabel(HWND parent, int id, const std::string& caption, int left, int top,
                       int width, bool centred)
    : color_(kLinkColor), hover_color_(kLinkColor) {
  // SS_NOTIFY lets the label see the mouse at all.
  hwnd_ = AddDialogControl(parent, "STATIC", caption, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, id, left,
                           top, width, 16);
  if (!hwnd_) return;
  font_ = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  hover_font_ = DerivedFont(parent, font_, true, false, 0);
  // Only the text reacts to the mouse, not the empty rest of the row.
  const SIZE text = TextSize(hwnd_, caption);
  const int x =
      ScaleToWindow(parent, left) + (centred ? (ScaleToWindow(parent, width) - text.cx) / 2 : 0);
  SetWindowPos(hwnd_, nullptr, x, ScaleToWindow(parent, top), text.cx, text.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowSubclass(hwnd_, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

TLinkLabel::~TLinkLabel() {
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, SubclassProc, 0);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  if (hover_font_) DeleteObject(hover_font_);
}

void TLinkLabel::SetColors(COLORREF color, COLORREF hover_color) {
  color_ = color;
  hover_color_ = hover_color;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void TLinkLabel::MouseDown(UINT button_message) {
  if (button_message == WM_LBUTTONDOWN && OnClick) OnClick();
}

void TLinkLabel::MouseEnter() {
  if (mouse_over_) return;
  mouse_over_ = true;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = hwnd_;
  TrackMouseEvent(&track);
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(hover_font_), TRUE);
}

void TLinkLabel::MouseLeave() {
  if (!mouse_over_) return;
  mouse_over_ = false;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

LRESULT CALLBACK TLinkLabel::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                          DWORD_PTR ref) {
  auto* self = reinterpret_cast<TLinkLabel*>(ref);
  switch (msg) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // the hand
      return TRUE;
    case WM_MOUSEMOVE:
      self->MouseEnter();
      break;
    case WM_MOUSELEAVE:
      self->MouseLeave();
      break;
    case WM_SHOWWINDOW:
      // A label hidden under the mouse (its page left) hears of no leaving.
      if (!wp) self->MouseLeave();
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // The action may change pages or start another program; the press
      // still reaches the label afterwards.
      self->MouseDown(msg);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, 0);
      self->hwnd_ = nullptr;
      self->mouse_over_ = false;
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

TURLLabel::TURLLabel(HWND parent, int id, const std::string& caption, const std::string& link,
                     int left, int top, int width, bool centred)
    : TLinkLabel(parent, id, caption, left, top, width, centred), link_(link) {
  SetColors(GetSysColor(COLOR_BTNTEXT), kUrlHoverColor);
}

void TURLLabel::MouseDown(UINT) {
  if (link_.empty()) return;
  if (opener_) {
    opener_(link_);
  } else {
    ShellOpen(link_);
  }
}

// ---------------------------------------------------------------------------

TForm6::TForm6(HWND owner) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  const std::vector<WORD> dialog_template = AboutTemplate();
  CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                             reinterpret_cast<LPCDLGTEMPLATEA>(dialog_template.data()), owner,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

TForm6::~TForm6() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (name_font_) DeleteObject(name_font_);
  if (quill_) DestroyIcon(quill_);
}

INT_PTR CALLBACK TForm6::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TForm6*>(lp);
    SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    self->hwnd_ = hwnd;
    self->FormCreate();
    return FALSE;
  }
  auto* self = reinterpret_cast<TForm6*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (msg == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    self->modal_ = false;
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    return FALSE;
  }
  return self->HandleMessage(msg, wp, lp);
}

INT_PTR TForm6::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // "Close", Enter and Esc.
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        Close();
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      Close();
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->hwndFrom == pages_control_ && header->code == TCN_SELCHANGE) {
        SetActivePageIndex(ActivePageIndex());
        return TRUE;
      }
      return FALSE;
    }
    case WM_CTLCOLORSTATIC: {
      TLinkLabel* label = LabelOf(reinterpret_cast<HWND>(lp));
      if (!label) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, label->TextColor());
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default:
      return FALSE;
  }
}

HWND TForm6::AddText(int page, int id, const std::string& text, int left, int top, int width,
                     int height, DWORD align) {
  HWND control =
      AddDialogControl(hwnd_, "STATIC", text, align | SS_NOPREFIX, id, left, top, width, height);
  page_controls_[static_cast<std::size_t>(page)].push_back(control);
  return control;
}

void TForm6::FormCreate() {
  SetDialogClientSize(hwnd_, kClientWidth, kClientHeight);
  page_controls_.assign(std::size(kPageCaptions), {});

  // The page control stays beneath the pages' controls and does not paint over them.
  pages_control_ = AddDialogControl(
      hwnd_, WC_TABCONTROLA, "", WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, idPages, 8, 8, 375, 368);
  if (pages_control_) SetWindowSubclass(pages_control_, PagesPaintProc, 0, 0);
  for (int i = 0; i < static_cast<int>(std::size(kPageCaptions)); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kPageCaptions[i]);
    SendMessageA(pages_control_, TCM_INSERTITEMA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&item));
  }
  AddDialogControl(hwnd_, "BUTTON", "Close", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, idClose, 158,
                   388, 75, 25);

  // The "About" page, centred.
  int next_id = idFirstStaticText;
  HWND name = AddText(pgAbout, idProgramName, kProgramName, 24, 46, 343, 32, SS_CENTER);
  name_font_ =
      DerivedFont(hwnd_, reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)), false,
                  true, 16);
  if (name && name_font_) SendMessageA(name, WM_SETFONT, reinterpret_cast<WPARAM>(name_font_), 0);
  HWND quill = AddText(pgAbout, idQuill, "", 28, 38, 48, 48, SS_ICON | SS_CENTERIMAGE);
  quill_ = LoadProgramIcon(ScaleToWindow(hwnd_, 48));
  if (quill && quill_) {
    SendMessageA(quill, STM_SETICON, reinterpret_cast<WPARAM>(quill_), 0);
    // Setting an icon resizes the control to the icon; keep the laid-out place.
    SetWindowPos(quill, nullptr, ScaleToWindow(hwnd_, 28), ScaleToWindow(hwnd_, 38),
                 ScaleToWindow(hwnd_, 48), ScaleToWindow(hwnd_, 48), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const TFileVersion version = FileVersionOrDefault(ReadFileVersion(OwnModulePath()));
  AddText(pgAbout, idVersion, VersionText(version), 24, 86, 343, 16, SS_CENTER);
  AddText(pgAbout, idBuild, BuildText(__DATE__), 24, 104, 343, 16, SS_CENTER);
  AddText(pgAbout, next_id++, kDescription, 24, 138, 343, 16, SS_CENTER);
  AddText(pgAbout, next_id++, kFeatures, 32, 162, 327, 48, SS_CENTER);
  AddText(pgAbout, next_id++, kHelpNote, 32, 216, 327, 48, SS_CENTER);
  home_link_ =
      std::make_unique<TURLLabel>(hwnd_, idHomeLink, kHomeLinkText, kHomeLink, 24, 272, 343, true);
  page_controls_[pgAbout].push_back(home_link_->Handle());
  AddText(pgAbout, next_id++, kCopyright, 24, 302, 343, 16, SS_CENTER);
  disclaimer_link_ = std::make_unique<TLinkLabel>(hwnd_, idDisclaimerLink, kDisclaimerLinkText, 24,
                                                  334, 343, true);
  disclaimer_link_->OnClick = [this] { SetActivePageIndex(pgDisclaimer); };
  page_controls_[pgAbout].push_back(disclaimer_link_->Handle());

  AddText(pgDisclaimer, next_id++, kDisclaimer, 24, 46, 343, 310, SS_LEFT);
  AddText(pgWhatsNew, next_id++, kWhatsNew, 24, 46, 343, 310, SS_LEFT);

  // Pages' controls were made after the page control, so they lie above it.
  SetWindowPos(pages_control_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetActivePageIndex(pgAbout);
  CentreDialogOnOwner(hwnd_);
}

TLinkLabel* TForm6::LabelOf(HWND control) const {
  if (disclaimer_link_ && control == disclaimer_link_->Handle()) return disclaimer_link_.get();
  if (home_link_ && control == home_link_->Handle()) return home_link_.get();
  return nullptr;
}

int TForm6::PageCount() const {
  return pages_control_ ? static_cast<int>(SendMessageA(pages_control_, TCM_GETITEMCOUNT, 0, 0))
                        : 0;
}

std::string TForm6::PageCaption(int index) const {
  if (!pages_control_ || index < 0 || index >= PageCount()) return {};
  char buffer[64] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = sizeof(buffer);
  SendMessageA(pages_control_, TCM_GETITEMA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
  return item.pszText ? std::string(item.pszText) : std::string();
}

int TForm6::ActivePageIndex() const {
  return pages_control_ ? static_cast<int>(SendMessageA(pages_control_, TCM_GETCURSEL, 0, 0)) : -1;
}

void TForm6::SetActivePageIndex(int index) {
  if (!hwnd_ || index < 0 || index >= static_cast<int>(page_controls_.size())) return;
  SendMessageA(pages_control_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  for (std::size_t page = 0; page < page_controls_.size(); ++page) {
    const int show = static_cast<int>(page) == index ? SW_SHOWNA : SW_HIDE;
    for (HWND control : page_controls_[page]) {
      if (control) ShowWindow(control, show);
    }
  }
}

void TForm6::SetLinkOpener(TURLLabel::TLinkOpener opener) {
  if (home_link_) home_link_->SetOpener(std::move(opener));
}

bool TForm6::PageKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0) {
    return false;
  }
  const int count = PageCount();
  if (count <= 0) return true;
  const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
  SetActivePageIndex((ActivePageIndex() + step) % count);
  return true;
}

void TForm6::Close() {
  // The modal loop hides the window once the owner is enabled again.
  if (modal_) {
    modal_ = false;
  } else if (hwnd_) {
    ShowWindow(hwnd_, SW_HIDE);
  }
}

void TForm6::ShowModal() {
  if (!hwnd_ || modal_) return;
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  HWND focus = GetFocus();
  const bool disable_owner = owner && IsWindowEnabled(owner);
  if (disable_owner) EnableWindow(owner, FALSE);
  modal_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd_, idClose)), TRUE);
  MSG msg;
  while (hwnd_ && modal_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // Leave the quit request for the program's own message loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (PageKey(msg)) continue;
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  modal_ = false;
  // The owner is enabled before the window hides, so the activation goes back
  // to it rather than to another program.
  if (disable_owner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  if (focus && IsWindow(focus)) SetFocus(focus);
}
