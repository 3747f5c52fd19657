#include "win32/PrintPreview.h"

#include <algorithm>
#include <cstdlib>

#include "win32/GdiCanvas.h"
#include "win32/PrintingSurface.h"
#include "win32/Win32Dpi.h"

namespace {

const char kPreviewClass[] = "QuillonPrintPreview";

void RegisterPreviewClass(WNDPROC proc) {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kPreviewClass;
  RegisterClassA(&wc);
  done = true;
}

void Fill(HDC dc, int l, int t, int r, int b, COLORREF colour) {
  if (r <= l || b <= t) return;
  RECT rc{l, t, r, b};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

HWND g_hint = nullptr;

LRESULT CALLBACK HintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(dc, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

HWND TEditorPrintPreview::ScrollHintWindow() { return g_hint; }

void TEditorPrintPreview::ShowPageHint(int page) {
  // One hint window for every preview, made when first needed.
  if (!g_hint) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &HintProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillonPreviewHint";
    RegisterClassA(&wc);
    g_hint = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "QuillonPreviewHint", "", WS_POPUP,
                             0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!g_hint) return;
  }
  char text[32];
  wsprintfA(text, "Page: %d", page);
  SetWindowTextA(g_hint, text);
  HDC dc = GetDC(g_hint);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT measure{0, 0, 200, 0};
  DrawTextA(dc, text, -1, &measure, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(g_hint, dc);
  const int w = measure.right + 8, h = measure.bottom + 4;
  RECT rc;
  GetWindowRect(hwnd_, &rc);
  SetWindowPos(g_hint, HWND_TOPMOST, rc.right - 4 - w, rc.top + 10, w, h,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(g_hint, nullptr, TRUE);
}

TEditorPrintPreview::~TEditorPrintPreview() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool TEditorPrintPreview::Create(HWND parent, int x, int y, int width, int height) {
  RegisterPreviewClass(&WndProc);
  hwnd_ = CreateWindowExA(WS_EX_CLIENTEDGE, kPreviewClass, "",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN, x, y,
                          width, height, parent, nullptr, GetModuleHandleA(nullptr), this);
  if (hwnd_) {
    dpi_ = WindowDpi(hwnd_);
    Relayout();
  }
  return hwnd_ != nullptr;
}

void TEditorPrintPreview::SetDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  Relayout();
}

LRESULT CALLBACK TEditorPrintPreview::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    static_cast<TEditorPrintPreview*>(cs->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<TEditorPrintPreview*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->HandleMessage(msg, wp, lp);
}

int TEditorPrintPreview::PageCount() const { return engine_ ? engine_->GetPageCount() : 0; }

void TEditorPrintPreview::SetEditorPrint(TEditorPrint* value) {
  engine_ = value;
  current_page_ = 1;
  Relayout();
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TEditorPrintPreview::SetScaleMode(TPreviewScale value) {
  if (value == scale_mode_) return;
  scale_mode_ = value;
  scroll_ = {};
  Relayout();
  if (OnScaleChange) OnScaleChange(this);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TEditorPrintPreview::SetScalePercent(int value) {
  if (value == scale_percent_) {
    SetScaleMode(pscUserScaled);
  } else {
    scale_mode_ = pscUserScaled;
    scroll_ = {};
    scale_percent_ = value;
    Relayout();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
  }
  if (OnScaleChange) OnScaleChange(this);
}

void TEditorPrintPreview::SetPageBGColor(TColor value) {
  page_bg_color_ = value;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TEditorPrintPreview::Relayout() {
  if (!hwnd_ || in_layout_) return;
  in_layout_ = true;
  if (engine_) {
    const TEditorPrinterInfo& info = engine_->PrinterInfo();
    layout_.SetPage(true, info.PhysicalWidth(), info.PhysicalHeight(), info.XPixPerInch(),
                    info.YPixPerInch(), dpi_, dpi_);
  } else {
    layout_.SetPage(false, 0, 0, 0, 0, dpi_, dpi_);
  }
  RECT rc;
  GetClientRect(hwnd_, &rc);
  layout_.Layout(scale_mode_, scale_percent_, rc.right, rc.bottom);
  scroll_ = {};
  UpdateScrollBars();
  // Showing or hiding a scroll bar changes the client area: lay out once more.
  RECT after;
  GetClientRect(hwnd_, &after);
  if (after.right != rc.right || after.bottom != rc.bottom) {
    layout_.Layout(scale_mode_, scale_percent_, after.right, after.bottom);
    UpdateScrollBars();
  }
  in_layout_ = false;
}

void TEditorPrintPreview::UpdateScrollBars() {
  if (!hwnd_) return;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  if (scale_mode_ == pscWholePage) {
    ShowScrollBar(hwnd_, SB_HORZ, FALSE);
    si.nMin = 1;
    si.nMax = std::max(1, PageCount());
    si.nPage = 1;
    si.nPos = current_page_;
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    return;
  }
  si.nMin = 0;
  si.nMax = layout_.VirtualHeight;
  si.nPage = static_cast<UINT>(std::max(0L, rc.bottom));
  si.nPos = -scroll_.y;
  si.fMask = SIF_ALL;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  if (scale_mode_ == pscPageWidth) {
    ShowScrollBar(hwnd_, SB_HORZ, FALSE);
    return;
  }
  si.nMax = layout_.VirtualWidth;
  si.nPage = static_cast<UINT>(std::max(0L, rc.right));
  si.nPos = -scroll_.x;
  SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
}

void TEditorPrintPreview::ScrollTo(int x, int y) {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  x = ClampPreviewScroll(x, rc.right, layout_.VirtualWidth);
  y = ClampPreviewScroll(y, rc.bottom, layout_.VirtualHeight);
  const int dx = x - scroll_.x, dy = y - scroll_.y;
  if (dx == 0 && dy == 0) return;
  scroll_ = {x, y};
  UpdateScrollBars();
  // A long jump repaints everything; a short one moves what is there.
  if (std::abs(dx) > rc.right / 2 || std::abs(dy) > rc.bottom / 2)
    InvalidateRect(hwnd_, nullptr, FALSE);
  else
    ScrollWindowEx(hwnd_, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
}

void TEditorPrintPreview::GoToPage(int page) {
  const int count = PageCount();
  if (!engine_ || count <= 0) return;
  current_page_ = std::clamp(page, 1, count);
  UpdateScrollBars();
  if (OnPreviewPage) OnPreviewPage(this, current_page_);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TEditorPrintPreview::FirstPage() { GoToPage(1); }
void TEditorPrintPreview::LastPage() { GoToPage(PageCount()); }
void TEditorPrintPreview::NextPage() { GoToPage(current_page_ + 1); }
void TEditorPrintPreview::PreviousPage() { GoToPage(current_page_ - 1); }

void TEditorPrintPreview::UpdatePreview() {
  const TPreviewScale mode = scale_mode_;
  const int percent = scale_percent_;
  scale_mode_ = pscUserScaled;
  scale_percent_ = 100;
  if (engine_ && hwnd_) {
    TGdiPrintSurface surface(GetDC(hwnd_), [this](HDC dc) { ReleaseDC(hwnd_, dc); });
    engine_->PreparePages(surface);
  }
  current_page_ = std::clamp(current_page_, 1, std::max(1, PageCount()));
  scale_mode_ = mode;
  if (mode == pscUserScaled) scale_percent_ = percent;
  Relayout();
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
  if (OnPreviewPage) OnPreviewPage(this, current_page_);
}

void TEditorPrintPreview::PrintFromPreview() {
  if (!engine_) return;
  engine_->PrintDocument();
  UpdatePreview();
}

void TEditorPrintPreview::OnScroll(int bar, int code, int thumb) {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  if (scale_mode_ == pscWholePage) {
    if (bar != SB_VERT || !engine_) return;
    const int count = PageCount();
    int page = current_page_;
    switch (code) {
      case SB_LINEUP:
      case SB_PAGEUP:
        page = std::max(1, page - 1);
        break;
      case SB_LINEDOWN:
      case SB_PAGEDOWN:
        page = std::min(count, page + 1);
        break;
      case SB_TOP:
        page = 1;
        break;
      case SB_BOTTOM:
        page = count;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        page = std::clamp(thumb, 1, std::max(1, count));
        if (show_scroll_hint_) ShowPageHint(page);
        break;
      case SB_ENDSCROLL:
        if (g_hint) ShowWindow(g_hint, SW_HIDE);
        return;
      default:
        return;
    }
    GoToPage(page);
    return;
  }
  const bool horizontal = bar == SB_HORZ;
  const int client = horizontal ? rc.right : rc.bottom;
  const int virt = horizontal ? layout_.VirtualWidth : layout_.VirtualHeight;
  int pos = horizontal ? scroll_.x : scroll_.y;
  switch (code) {
    case SB_LINEUP:
      pos += client / 10;
      break;
    case SB_LINEDOWN:
      pos -= client / 10;
      break;
    case SB_PAGEUP:
      pos += client / 2;
      break;
    case SB_PAGEDOWN:
      pos -= client / 2;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      pos = -thumb;
      break;
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = -virt;
      break;
    default:
      return;
  }
  if (horizontal)
    ScrollTo(pos, scroll_.y);
  else
    ScrollTo(scroll_.x, pos);
}

RECT TEditorPrintPreview::PageRect() const {
  RECT r;
  r.left = layout_.OffsetX + scroll_.x;
  r.top = layout_.OffsetY + (scale_mode_ != pscWholePage ? scroll_.y : 0);
  r.right = r.left + layout_.PageWidth;
  r.bottom = r.top + layout_.PageHeight;
  return r;
}

void TEditorPrintPreview::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  TGdiCanvas resolver(dc);
  const COLORREF back = TGdiCanvas::ToColorRef(resolver.ResolveColor(color_));
  if (!engine_) {
    Fill(dc, 0, 0, client.right, client.bottom, back);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 12, 12, 55, 42);
    SelectObject(dc, old_brush);
    return;
  }
  const RECT page = PageRect();
  Fill(dc, 0, 0, client.right, page.top, back);
  Fill(dc, 0, page.bottom, client.right, client.bottom, back);
  Fill(dc, 0, page.top, page.left, page.bottom, back);
  Fill(dc, page.right, page.top, client.right, page.bottom, back);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  for (int i = 1; i <= 2; ++i) {
    MoveToEx(dc, page.left + i, page.bottom + i - 1, nullptr);
    LineTo(dc, page.right + i - 1, page.bottom + i - 1);
    LineTo(dc, page.right + i - 1, page.top + i - 1);
  }
  HBRUSH paper = CreateSolidBrush(TGdiCanvas::ToColorRef(resolver.ResolveColor(page_bg_color_)));
  HGDIOBJ old_brush = SelectObject(dc, paper);
  Rectangle(dc, page.left, page.top, page.right, page.bottom);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(paper);

  // The printer's page mapped onto the page rectangle, clipped to its printable part.
  const TEditorPrinterInfo& info = engine_->PrinterInfo();
  if (layout_.PageWidth <= 0 || layout_.PageHeight <= 0) return;
  const int saved = SaveDC(dc);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, info.PhysicalWidth(), info.PhysicalHeight(), nullptr);
  SetViewportExtEx(dc, layout_.PageWidth, layout_.PageHeight, nullptr);
  SetViewportOrgEx(
      dc, page.left + MulDivRound(info.OffsetLeft(), layout_.PageWidth, info.PhysicalWidth()),
      page.top + MulDivRound(info.OffsetTop(), layout_.PageHeight, info.PhysicalHeight()), nullptr);
  IntersectClipRect(dc, 0, 0, info.PrintableWidth(), info.PrintableHeight());
  {
    TGdiPrintSurface surface(dc);
    engine_->PrintPageToCanvas(surface, current_page_);
  }
  RestoreDC(dc, saved);
}

LRESULT TEditorPrintPreview::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_SIZE:
      Relayout();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd_, msg == WM_VSCROLL ? SB_VERT : SB_HORZ, &si);
      OnScroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wp), si.nTrackPos);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      wheel_rest_ += GET_WHEEL_DELTA_WPARAM(wp);
      while (wheel_rest_ >= WHEEL_DELTA) {
        wheel_rest_ -= WHEEL_DELTA;
        if (scale_mode_ != pscWholePage) ScrollTo(scroll_.x, scroll_.y + 120);
      }
      while (wheel_rest_ <= -WHEEL_DELTA) {
        wheel_rest_ += WHEEL_DELTA;
        if (scale_mode_ != pscWholePage) ScrollTo(scroll_.x, scroll_.y - 120);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetFocus(hwnd_);
      if (OnMouseDown) OnMouseDown(this, msg == WM_LBUTTONDOWN ? 0 : msg == WM_RBUTTONDOWN ? 1 : 2);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return 0;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}
