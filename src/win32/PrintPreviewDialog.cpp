#include "win32/PrintPreviewDialog.h"

#include <commctrl.h>

#include <algorithm>

#include "print/PrintJob.h"
#include "win32/ToolTip.h"
#include "win32/WideString.h"
#include "win32/Win32Dpi.h"

namespace {

const char kDialogClass[] = "QuillonPrintPreviewDlg";
enum : int {
  idFirst = 101,
  idPrevious,
  idNext,
  idLast,
  idScale,
  idPrint,
  idClose,
  idStatus,
};
// The layout at 96 dpi.
constexpr int kBarHeight = 33;
constexpr int kClientWidth = 612;
constexpr int kClientHeight = 447;
struct TBarControl {
  int id, x, width;
};
constexpr TBarControl kBarControls[] = {
    {idFirst, 11, 23}, {idPrevious, 37, 23}, {idNext, 63, 23}, {idLast, 89, 23},
    {idScale, 125, 143}, {idPrint, 284, 23}, {idClose, 321, 65},
};

}  // namespace

TPrintPreviewDlg::~TPrintPreviewDlg() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (status_font_) DeleteObject(status_font_);
  if (gui_font_) DeleteObject(gui_font_);
}

bool TPrintPreviewDlg::Create() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kDialogClass;
    registered = RegisterClassA(&wc) != 0;
  }
  // Centred on the screen, at the dpi of the monitor there.
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  dpi_ = DpiForRect(RECT{screen_w / 2, screen_h / 2, screen_w / 2 + 1, screen_h / 2 + 1});
  RECT r{0, 0, ScaleForDpi(kClientWidth, dpi_), ScaleForDpi(kClientHeight, dpi_)};
  AdjustWindowRectForDpi(r, style, false, 0, dpi_);
  const int w = r.right - r.left, h = r.bottom - r.top;
  hwnd_ = CreateWindowExA(0, kDialogClass, "Quillonar Print Preview", style, (screen_w - w) / 2,
                          (screen_h - h) / 2, w, h, nullptr, nullptr, GetModuleHandleA(nullptr),
                          this);
  if (!hwnd_) return false;
  dpi_ = WindowDpi(hwnd_);
  tips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd_,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
  btn_first_ = AddButton(idFirst, "|<", "First page");
  btn_previous_ = AddButton(idPrevious, "<", "Previous page");
  btn_next_ = AddButton(idNext, ">", "Next page");
  btn_last_ = AddButton(idLast, ">|", "Last page");
  cb_scale_ = CreateWindowExA(0, "COMBOBOX", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 0, 0,
                              hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idScale)),
                              GetModuleHandleA(nullptr), nullptr);
  for (int i = 0; i < kPreviewScaleCount; ++i)
    SendMessageA(cb_scale_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PreviewScaleText(i)));
  btn_print_ = AddButton(idPrint, "Print", "Print");
  btn_close_ = AddButton(idClose, "Close", "Close print preview");
  status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(idStatus)),
                            GetModuleHandleA(nullptr), nullptr);
  PlaceControls();

  preview_.Create(hwnd_, 0, ScaleForDpi(kBarHeight, dpi_), ScaleForDpi(kClientWidth, dpi_),
                  ScaleForDpi(kClientHeight - kBarHeight - 19, dpi_));
  preview_.SetScaleMode(pscWholePage);
  preview_.OnPreviewPage = [this](TEditorPrintPreview* sender, int page) {
    const std::string text = PreviewPageText(page, sender->PageCount());
    SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
  };
  preview_.OnMouseDown = [this](TEditorPrintPreview*, int button) {
    const int current = static_cast<int>(SendMessageA(cb_scale_, CB_GETCURSEL, 0, 0));
    const int next = PreviewZoomAfterClick(current, button == 0, button == 1);
    if (next >= 0) ApplyZoom(next);
  };
  LayoutChildren();
  ApplyZoom(ReadScaleIndex ? ReadScaleIndex() : 4);
  return true;
}

void TPrintPreviewDlg::PlaceControls() {
  const TDpiScale s{dpi_};
  HFONT old_gui = gui_font_;
  gui_font_ = dpi_ == kDesignDpi ? nullptr : CreatePixelFont("MS Shell Dlg", -11, dpi_);
  HFONT gui = gui_font_ ? gui_font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const TBarControl& c : kBarControls) {
    HWND control = GetDlgItem(hwnd_, c.id);
    if (c.id == idScale)
      MoveWindow(control, s(c.x), s(6), s(c.width), s(21 + 9 * 16), TRUE);
    else
      MoveWindow(control, s(c.x), s(4), s(c.width), s(22), TRUE);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(gui), TRUE);
  }
  if (old_gui) DeleteObject(old_gui);
  int parts[2] = {s(500), s(600)};
  SendMessageA(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  HFONT old_status = status_font_;
  // 8 points.
  status_font_ = CreatePixelFont("Microsoft Sans Serif", -MulDiv(8, kDesignDpi, 72), dpi_, FW_BOLD,
                                 DEFAULT_PITCH | FF_DONTCARE, ANSI_CHARSET);
  SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(status_font_), TRUE);
  if (old_status) DeleteObject(old_status);
}

HWND TPrintPreviewDlg::AddButton(int id, const char* caption, const char* hint) {
  HWND b = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0,
                           hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  if (tips_) AddToolTip(tips_, hwnd_, b, TTF_SUBCLASS, Wide(hint));
  return b;
}

std::string TPrintPreviewDlg::StatusPanelText(int panel) const {
  const int length = LOWORD(SendMessageA(status_, SB_GETTEXTLENGTHA, panel, 0));
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(status_, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void TPrintPreviewDlg::ApplyZoom(int index) {
  if (index < 0 || index >= kPreviewScaleCount) index = 4;
  SendMessageA(cb_scale_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  const TPreviewZoom zoom = PreviewZoom(index);
  if (zoom.mode == pscUserScaled)
    preview_.SetScalePercent(zoom.percent);
  else
    preview_.SetScaleMode(zoom.mode);
  if (WriteScaleIndex) WriteScaleIndex(index);
}

void TPrintPreviewDlg::UpdatePreviewButtons() {
  const TPreviewButtons b =
      PreviewButtonStates(printer_known_, preview_.CurrentPage(), preview_.PageCount());
  EnableWindow(btn_first_, b.first);
  EnableWindow(btn_previous_, b.previous);
  EnableWindow(btn_next_, b.next);
  EnableWindow(btn_last_, b.last);
}

void TPrintPreviewDlg::ShowModal(HWND owner, TEditorPrint* engine, bool printer_known,
                                 const std::string& printer_name) {
  if (!hwnd_ || showing_) return;
  owner_ = owner;
  printer_known_ = printer_known;
  preview_.SetEditorPrint(engine);
  if (ReadScaleIndex) ApplyZoom(ReadScaleIndex());
  showing_ = true;
  if (owner_) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOWMAXIMIZED);
  LayoutChildren();
  preview_.UpdatePreview();
  preview_.FirstPage();
  print_hint_ = PrintButtonHint(printer_known, printer_name);
  // The printer's name may hold any character.
  if (tips_) SetToolTipText(tips_, hwnd_, btn_print_, Wide(print_hint_));
  UpdatePreviewButtons();
  MSG msg;
  while (showing_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  showing_ = false;
  if (owner_) {
    EnableWindow(owner_, TRUE);
    SetActiveWindow(owner_);
  }
  ShowWindow(hwnd_, SW_HIDE);
}

void TPrintPreviewDlg::LayoutChildren() {
  if (!hwnd_) return;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  SendMessageA(status_, WM_SIZE, 0, 0);
  RECT sr{};
  GetWindowRect(status_, &sr);
  const int status_height = sr.bottom - sr.top;
  const int bar = ScaleForDpi(kBarHeight, dpi_);
  if (preview_.Handle())
    MoveWindow(preview_.Handle(), 0, bar, rc.right,
               std::max(0, static_cast<int>(rc.bottom) - bar - status_height), TRUE);
}

void TPrintPreviewDlg::OnCommand(int id, int code) {
  switch (id) {
    case idFirst:
      preview_.FirstPage();
      UpdatePreviewButtons();
      break;
    case idPrevious:
      preview_.PreviousPage();
      UpdatePreviewButtons();
      break;
    case idNext:
      preview_.NextPage();
      UpdatePreviewButtons();
      break;
    case idLast:
      preview_.LastPage();
      UpdatePreviewButtons();
      break;
    case idPrint:
      preview_.PrintFromPreview();
      break;
    case idClose:
      PostMessageA(hwnd_, WM_CLOSE, 0, 0);
      break;
    case idScale:
      if (code == CBN_SELCHANGE)
        ApplyZoom(static_cast<int>(SendMessageA(cb_scale_, CB_GETCURSEL, 0, 0)));
      break;
  }
}

LRESULT CALLBACK TPrintPreviewDlg::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    static_cast<TPrintPreviewDlg*>(cs->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<TPrintPreviewDlg*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->HandleMessage(msg, wp, lp);
}

LRESULT TPrintPreviewDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_SIZE:
      LayoutChildren();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
      mm->ptMinTrackSize.x = ScaleForDpi(620, dpi_);
      mm->ptMinTrackSize.y = ScaleForDpi(400, dpi_);
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      PlaceControls();
      preview_.SetDpi(dpi_);
      const auto* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      LayoutChildren();
      return 0;
    }
    case WM_CLOSE:
      // The window is kept for the next preview.
      showing_ = false;
      ShowWindow(hwnd_, SW_HIDE);
      return 0;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      return 0;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}
