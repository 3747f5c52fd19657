#include "win32/PrintPreviewDialog.h"

#include <commctrl.h>

#include <algorithm>

#include "print/PrintJob.h"

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
constexpr int kBarHeight = 33;

}  // namespace

TPrintPreviewDlg::~TPrintPreviewDlg() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (status_font_) DeleteObject(status_font_);
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
  // Client area 612 x 447, centred on the screen.
  RECT r{0, 0, 612, 447};
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  AdjustWindowRect(&r, style, FALSE);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  hwnd_ = CreateWindowExA(0, kDialogClass, "Quillonar Print Preview", style, x, y, w, h, nullptr,
                          nullptr, GetModuleHandleA(nullptr), this);
  if (!hwnd_) return false;
  HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  tips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd_,
                          nullptr, GetModuleHandleA(nullptr), nullptr);
  btn_first_ = AddButton(idFirst, "|<", 11, 23, "First page");
  btn_previous_ = AddButton(idPrevious, "<", 37, 23, "Previous page");
  btn_next_ = AddButton(idNext, ">", 63, 23, "Next page");
  btn_last_ = AddButton(idLast, ">|", 89, 23, "Last page");
  cb_scale_ = CreateWindowExA(
      0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 125, 6, 143,
      21 + 9 * 16, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idScale)),
      GetModuleHandleA(nullptr), nullptr);
  SendMessageA(cb_scale_, WM_SETFONT, reinterpret_cast<WPARAM>(gui), FALSE);
  for (int i = 0; i < kPreviewScaleCount; ++i)
    SendMessageA(cb_scale_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PreviewScaleText(i)));
  btn_print_ = AddButton(idPrint, "Print", 284, 23, "Print");
  btn_close_ = AddButton(idClose, "Close", 321, 65, "Close print preview");
  status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(idStatus)),
                            GetModuleHandleA(nullptr), nullptr);
  int parts[2] = {500, 600};
  SendMessageA(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  status_font_ = CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "Microsoft Sans Serif");
  SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(status_font_), FALSE);

  preview_.Create(hwnd_, 0, kBarHeight, 612, 395);
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

HWND TPrintPreviewDlg::AddButton(int id, const char* caption, int x, int width, const char* hint) {
  HWND b = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 4, width,
                           22, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  if (tips_) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(b);
    ti.lpszText = const_cast<char*>(hint);
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
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
  if (tips_) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(btn_print_);
    ti.lpszText = const_cast<char*>(print_hint_.c_str());
    SendMessageA(tips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  UpdatePreviewButtons();
  MSG msg;
  while (showing_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessageA(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
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
  if (preview_.Handle())
    MoveWindow(preview_.Handle(), 0, kBarHeight, rc.right,
               std::max(0, static_cast<int>(rc.bottom) - kBarHeight - status_height), TRUE);
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
      mm->ptMinTrackSize.x = 620;
      mm->ptMinTrackSize.y = 400;
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
