#include "win32/CompletionPopup.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "win32/EditorWindow.h"
#include "win32/GdiCanvas.h"
#include "win32/GdiPrettyCanvas.h"
#include "win32/WideString.h"
#include "win32/Win32Dpi.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_THICKFRAME | WS_VSCROLL | WS_CLIPSIBLINGS;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;

void RegisterPopupClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS | CS_DROPSHADOW;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = TCompletionPopup::ClassName();
  wc.lpfnWndProc = proc;
  RegisterClassExA(&wc);
}

}  // namespace

TCompletionPopup* TCompletionPopup::Create(HWND owner, TCompletionProposal& proposal) {
  RegisterPopupClass(&TCompletionPopup::WindowProc);
  HWND hwnd = CreateWindowExA(kExStyle, ClassName(), "", kStyle, 0, 0, proposal.Width(), 100, owner,
                              nullptr, GetModuleHandleA(nullptr), &proposal);
  return hwnd ? FromHandle(hwnd) : nullptr;
}

TCompletionPopup* TCompletionPopup::FromHandle(HWND hwnd) {
  char name[64] = {};
  if (!hwnd || !GetClassNameA(hwnd, name, sizeof name) || lstrcmpA(name, ClassName()) != 0)
    return nullptr;
  return reinterpret_cast<TCompletionPopup*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

TCompletionPopup::TCompletionPopup(HWND hwnd, TCompletionProposal& proposal)
    : hwnd_(hwnd), proposal_(proposal) {
  proposal_.SetPopupHost(this);
}

TCompletionPopup::~TCompletionPopup() {
  if (proposal_.PopupHost() == this) proposal_.SetPopupHost(nullptr);
}

LRESULT CALLBACK TCompletionPopup::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TCompletionPopup*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) {
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
      self = new TCompletionPopup(hwnd, *static_cast<TCompletionProposal*>(cs->lpCreateParams));
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    delete self;
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    // Errors must not unwind through the window system.
    MessageBoxW(GetAncestor(GetWindow(hwnd, GW_OWNER), GA_ROOT), Wide(e.what()).c_str(), L"Error",
                MB_OK | MB_ICONERROR);
    return 0;
  }
}

LRESULT TCompletionPopup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  auto& form = proposal_.Form();
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      form.MouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONDBLCLK:
      form.DoubleClick();
      return 0;
    case WM_MOUSEWHEEL:
      form.MouseWheel(GET_WHEEL_DELTA_WPARAM(wp), (GET_KEYSTATE_WPARAM(wp) & MK_CONTROL)
                                                      ? TShiftState(ssCtrl)
                                                      : TShiftState(0));
      return 0;
    case WM_VSCROLL:
      OnScroll(wp);
      return 0;
    case WM_SIZING:
      OnSizing(wp, *reinterpret_cast<RECT*>(lp));
      return TRUE;
    case WM_SIZE:
      if (IsWindowVisible(hwnd_)) form.Resized(HIWORD(lp));
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_NCHITTEST: {
      const LRESULT hit = DefWindowProcA(hwnd_, msg, wp, lp);
      if (!proposal_.Resizeable() && hit >= HTLEFT && hit <= HTBOTTOMRIGHT) return HTBORDER;
      return hit;
    }
    case WM_TIMER:
      if (wp == kTimerId) proposal_.TimerExpired();
      return 0;
    case WM_ACTIVATEAPP:
      // Another program became active: the list goes away.
      if (!wp && IsWindowVisible(hwnd_)) proposal_.Deactivate();
      return 0;
    default:
      return DefWindowProcA(hwnd_, msg, wp, lp);
  }
}

void TCompletionPopup::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  const int w = std::max<int>(1, client.right), h = std::max<int>(1, client.bottom);
  // Drawn off-screen and copied in one step, so the list never flickers.
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old_bitmap = SelectObject(mem, bitmap);
  std::exception_ptr error;
  try {
    TGdiCanvas canvas(mem, dpi_);
    // Item files and the labels of a Unicode document are UTF-8.
    TGdiPrettyCanvas text(mem, {0, 0, w, h}, dpi_, proposal_.ItemsUnicode());
    proposal_.Form().Paint(canvas, text, {0, 0, w, h});
  } catch (...) {
    error = std::current_exception();
  }
  BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(mem);
  EndPaint(hwnd_, &ps);
  if (error) std::rethrow_exception(error);
}

void TCompletionPopup::OnScroll(WPARAM wp) {
  auto& form = proposal_.Form();
  const int top = form.TopIndex(), page = form.LinesInWindow();
  int target = top;
  switch (LOWORD(wp)) {
    case SB_LINEUP:
      target = top - 1;
      break;
    case SB_LINEDOWN:
      target = top + 1;
      break;
    case SB_PAGEUP:
      target = top - page;
      break;
    case SB_PAGEDOWN:
      target = top + page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd_, SB_VERT, &si);
      target = si.nTrackPos;
      break;
    }
    case SB_TOP:
      target = 0;
      break;
    case SB_BOTTOM:
      target = form.ShownCount();
      break;
    default:
      return;
  }
  form.Scrolled(target);
}

void TCompletionPopup::OnSizing(WPARAM edge, RECT& r) {
  const int height = proposal_.Form().SnapHeight(r.bottom - r.top);
  if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
    r.top = r.bottom - height;
  else
    r.bottom = r.top + height;
  const int min_width = 2 * FrameThickness() + SystemMetricForDpi(SM_CXVSCROLL, dpi_);
  if (r.right - r.left < min_width) {
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
      r.left = r.right - min_width;
    else
      r.right = r.left + min_width;
  }
}

// ---- ICompletionPopupHost

void TCompletionPopup::ShowPopup(const TRect& b) {
  SetWindowPos(hwnd_, HWND_TOPMOST, b.left, b.top, b.Width(), b.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RECT client;
  GetClientRect(hwnd_, &client);
  proposal_.Form().Resized(client.bottom);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void TCompletionPopup::HidePopup() { ShowWindow(hwnd_, SW_HIDE); }

bool TCompletionPopup::PopupVisible() { return IsWindowVisible(hwnd_) != FALSE; }

TRect TCompletionPopup::PopupBounds() {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void TCompletionPopup::InvalidatePopup() { InvalidateRect(hwnd_, nullptr, FALSE); }

void TCompletionPopup::SetPopupScrollBar(const TScrollBarInfo& info) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = info.Max;
  si.nPage = static_cast<UINT>(info.Page);
  si.nPos = info.Pos;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  EnableScrollBar(
      hwnd_, SB_VERT,
      info.DisableStartArrow && info.DisableEndArrow ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
}

int TCompletionPopup::FrameThickness() {
  RECT r{0, 0, 0, 0};
  AdjustWindowRectForDpi(r, kStyle & ~WS_VSCROLL, false, kExStyle, dpi_);
  return -r.top;
}

TRect TCompletionPopup::ScreenArea(TPoint at) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromPoint(POINT{at.x, at.y}, MONITOR_DEFAULTTONEAREST), &info))
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

int TCompletionPopup::TextHeight(const TFont& font) {
  return TGdiPrettyCanvas::LineHeight(font, dpi_);
}

void TCompletionPopup::SetDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  // An open list is laid out for the old dpi; it opens anew at the next key.
  proposal_.Deactivate();
  dpi_ = dpi;
}

int TCompletionPopup::WheelScrollLines() {
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return static_cast<int>(lines);
}

TPoint TCompletionPopup::EditorToScreen(TCustomEditor& editor, TPoint client) {
  POINT p{client.x, client.y};
  if (auto* window = dynamic_cast<TEditorWindow*>(editor.Host()))
    ClientToScreen(window->Handle(), &p);
  return {p.x, p.y};
}

void TCompletionPopup::StartTimer(int milliseconds) {
  SetTimer(hwnd_, kTimerId, static_cast<UINT>(milliseconds), nullptr);
}

void TCompletionPopup::StopTimer() { KillTimer(hwnd_, kTimerId); }

bool TCompletionPopup::ApplicationActive() {
  HWND foreground = GetForegroundWindow();
  if (!foreground) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId();
}
