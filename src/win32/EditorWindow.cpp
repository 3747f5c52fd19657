#include "win32/EditorWindow.h"

#include <imm.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Utf8.h"
#include "win32/GdiCanvas.h"
#include "win32/Win32Dpi.h"
#include "win32/WideString.h"

namespace {

constexpr const char* kHintClassName = "QuillonScrollHint";
// A size change that arrived while a scroll bar was being shown or hidden is
// handled once that is over.
constexpr UINT kDeferredResize = WM_APP + 0x151;

std::function<void(HWND, const std::exception&)>& ErrorHandler() {
  static std::function<void(HWND, const std::exception&)> handler = [](HWND hwnd,
                                                                       const std::exception& e) {
    // A message may name a file, in UTF-8.
    MessageBoxW(GetAncestor(hwnd, GA_ROOT), Wide(e.what()).c_str(), L"Error", MB_OK | MB_ICONERROR);
  };
  return handler;
}

void RegisterClasses(WNDPROC editor_proc, WNDPROC hint_proc) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.lpszClassName = TEditorWindow::ClassName();
  wc.lpfnWndProc = editor_proc;
  RegisterClassExW(&wc);
  WNDCLASSEXA hint{};
  hint.cbSize = sizeof hint;
  hint.hInstance = wc.hInstance;
  hint.hCursor = LoadCursor(nullptr, IDC_ARROW);
  hint.lpszClassName = kHintClassName;
  hint.lpfnWndProc = hint_proc;
  RegisterClassExA(&hint);
}

TShiftState KeyShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState MouseShift(WPARAM wp) {
  const auto keys = GET_KEYSTATE_WPARAM(wp);
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TScrollCode ScrollCodeOf(int code) {
  switch (code) {
    case SB_LINEUP:
      return TScrollCode::LineUp;
    case SB_LINEDOWN:
      return TScrollCode::LineDown;
    case SB_PAGEUP:
      return TScrollCode::PageUp;
    case SB_PAGEDOWN:
      return TScrollCode::PageDown;
    case SB_THUMBPOSITION:
      return TScrollCode::ThumbPosition;
    case SB_THUMBTRACK:
      return TScrollCode::ThumbTrack;
    case SB_TOP:
      return TScrollCode::Top;
    case SB_BOTTOM:
      return TScrollCode::Bottom;
    default:
      return TScrollCode::EndScroll;
  }
}

// The input-method calls the editor uses. The library is loaded when first
// needed, so that the program runs without it.
struct TImm {
  HIMC(WINAPI* GetContext)(HWND) = nullptr;
  BOOL(WINAPI* ReleaseContext)(HWND, HIMC) = nullptr;
  LONG(WINAPI* GetCompositionString)(HIMC, DWORD, LPVOID, DWORD) = nullptr;
  BOOL(WINAPI* SetCompositionWindow)(HIMC, COMPOSITIONFORM*) = nullptr;
  BOOL(WINAPI* SetCompositionFont)(HIMC, LOGFONTW*) = nullptr;
  bool Usable() const {
    return GetContext && ReleaseContext && GetCompositionString && SetCompositionWindow &&
           SetCompositionFont;
  }
};

template <typename F>
void Load(HMODULE module, const char* name, F& f) {
  f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const TImm& Imm() {
  static const TImm imm = [] {
    TImm i;
    if (HMODULE module = LoadLibraryW(L"imm32.dll")) {
      Load(module, "ImmGetContext", i.GetContext);
      Load(module, "ImmReleaseContext", i.ReleaseContext);
      Load(module, "ImmGetCompositionStringW", i.GetCompositionString);
      Load(module, "ImmSetCompositionWindow", i.SetCompositionWindow);
      Load(module, "ImmSetCompositionFontW", i.SetCompositionFont);
    }
    return i;
  }();
  return imm;
}

// The finished string of an input-method composition, as UTF-16.
std::u16string CompositionResult(HWND hwnd) {
  const TImm& imm = Imm();
  if (!imm.Usable()) return std::u16string();
  HIMC context = imm.GetContext(hwnd);
  if (!context) return std::u16string();
  std::u16string text;
  const LONG bytes = imm.GetCompositionString(context, GCS_RESULTSTR, nullptr, 0);
  if (bytes > 0) {
    text.resize(static_cast<std::size_t>(bytes) / sizeof(char16_t));
    const LONG got =
        imm.GetCompositionString(context, GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
    text.resize(got > 0 ? static_cast<std::size_t>(got) / sizeof(char16_t) : 0);
  }
  imm.ReleaseContext(hwnd, context);
  return text;
}

std::u16string_view WideView(LPARAM lp) {
  if (!lp) return {};
  const auto* text = reinterpret_cast<const char16_t*>(lp);
  return std::u16string_view(text);
}

struct CreateParams {
  TEditorMemo* editor;
};

}  // namespace

// ---- creation and lookup

HWND TEditorWindow::Create(HWND parent, int id, TEditorMemo& editor, DWORD extra_style) {
  RegisterClasses(&TEditorWindow::WindowProc, &TEditorWindow::HintProc);
  CreateParams params{&editor};
  const DWORD style =
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_CLIPCHILDREN | extra_style;
  HWND hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, ClassName(), L"", style, 0, 0, 100, 100, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), &params);
  return hwnd;
}

TEditorWindow* TEditorWindow::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  // Read as Unicode: for a Unicode window that gives the procedure itself.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) !=
      &TEditorWindow::WindowProc)
    return nullptr;
  return reinterpret_cast<TEditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

TEditorMemo* TEditorWindow::EditorFromHandle(HWND hwnd) {
  TEditorWindow* w = FromHandle(hwnd);
  return w ? &w->editor_ : nullptr;
}

void TEditorWindow::SetErrorHandler(std::function<void(HWND, const std::exception&)> handler) {
  ErrorHandler() = std::move(handler);
}

TEditorWindow::TEditorWindow(HWND hwnd, TEditorMemo& editor)
    : hwnd_(hwnd), editor_(editor), clipboard_(hwnd) {}

TEditorWindow::~TEditorWindow() {
  if (hint_) DestroyWindow(hint_);
  if (editor_.Clipboard() == &clipboard_) editor_.SetClipboard(nullptr);
}

TEditorWindow* TEditorWindow::DropTargetAt(LPARAM lp, int& x, int& y) {
  POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  ClientToScreen(hwnd_, &p);
  HWND under = WindowFromPoint(p);
  TEditorWindow* target = FromHandle(under);
  if (!target || target == this) return nullptr;
  ScreenToClient(under, &p);
  x = p.x;
  y = p.y;
  return target;
}

void TEditorWindow::LeaveDropTarget() {
  if (!drop_target_) return;
  if (TEditorWindow* old = FromHandle(drop_target_)) old->editor_.DragLeave();
  drop_target_ = nullptr;
}

// ---- the window procedure

LRESULT CALLBACK TEditorWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TEditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) {
    if (msg == WM_NCCREATE) {
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
      const auto* params = static_cast<const CreateParams*>(cs->lpCreateParams);
      if (params && params->editor) {
        self = new TEditorWindow(hwnd, *params->editor);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    self->editor_.SetHost(nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete self;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    // Errors must not unwind through the window system.
    if (ErrorHandler()) ErrorHandler()(hwnd, e);
    return 0;
  }
}

LRESULT TEditorWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      if (!editor_.Clipboard()) editor_.SetClipboard(&clipboard_);
      editor_.SetHost(this);
      return 0;
    case WM_SIZE:
      if (updating_scroll_bar_)
        PostMessageA(hwnd_, kDeferredResize, 0, 0);
      else
        editor_.Resize();
      return 0;
    case kDeferredResize:
      editor_.Resize();
      return 0;
    case kDpiChangedAfterParent:
      // The window that holds this one moved to a monitor of another dpi.
      SetDpi(hwnd_, WindowDpi(hwnd_));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      std::exception_ptr error;
      try {
        TGdiCanvas canvas(dc, dpi_);
        editor_.Paint(canvas,
                      {ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
      } catch (...) {
        error = std::current_exception();
      }
      EndPaint(hwnd_, &ps);
      if (error) std::rethrow_exception(error);
      return 0;
    }
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (editor_.WantTabs()) code |= DLGC_WANTTAB;
      if (editor_.WantReturns()) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      std::uint16_t key = static_cast<std::uint16_t>(wp);
      editor_.KeyDown(key, KeyShift());
      key_made_command_ = key == 0;
      if (msg == WM_SYSKEYDOWN && key != 0) return DefWindowProcW(hwnd_, msg, wp, lp);
      return 0;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      std::uint16_t key = static_cast<std::uint16_t>(wp);
      editor_.KeyUp(key, KeyShift());
      if (msg == WM_SYSKEYUP && key != 0) return DefWindowProcW(hwnd_, msg, wp, lp);
      return 0;
    }
    case WM_CHAR:
      OnCharUnit(wp);
      return 0;
    case WM_IME_STARTCOMPOSITION:
      composing_ = true;
      PlaceComposition(true);
      return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_IME_ENDCOMPOSITION:
      composing_ = false;
      return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_IME_COMPOSITION:
      if (lp & GCS_RESULTSTR) {
        const std::u16string text = CompositionResult(hwnd_);
        if (!text.empty()) {
          // Handled here: the window system then sends no characters for it.
          editor_.InsertInputText(text);
          PlaceComposition(false);
          return 0;
        }
      }
      return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_SYSCHAR:
      // The character of an Alt key that already ran a command is dropped.
      if (key_made_command_) {
        key_made_command_ = false;
        OnCharUnit(wp);
        return 0;
      }
      return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const TMouseButton b = msg == WM_LBUTTONDOWN   ? TMouseButton::Left
                             : msg == WM_RBUTTONDOWN ? TMouseButton::Right
                                                     : TMouseButton::Middle;
      editor_.MouseDown(b, MouseShift(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      editor_.MouseDown(TMouseButton::Left, MouseShift(wp) | ssDouble, GET_X_LPARAM(lp),
                        GET_Y_LPARAM(lp));
      editor_.DoubleClick();
      return 0;
    case WM_MOUSEMOVE:
      if (editor_.DragActive()) {
        int x = 0, y = 0;
        if (TEditorWindow* target = DropTargetAt(lp, x, y)) {
          if (drop_target_ != target->hwnd_) LeaveDropTarget();
          drop_target_ = target->hwnd_;
          const bool accepted = target->editor_.DragOver(editor_, x, y, MouseShift(wp));
          SetCursor(LoadCursorA(nullptr, accepted ? IDC_ARROW : IDC_NO));
          return 0;
        }
        LeaveDropTarget();
      }
      editor_.MouseMove(MouseShift(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONUP:
      if (editor_.DragActive()) {
        int x = 0, y = 0;
        TEditorWindow* target = DropTargetAt(lp, x, y);
        LeaveDropTarget();
        if (target) {
          target->editor_.DragDrop(editor_, x, y, MouseShift(wp));
          editor_.CancelDrag();
        }
      }
      [[fallthrough]];
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const TMouseButton b = msg == WM_LBUTTONUP   ? TMouseButton::Left
                             : msg == WM_RBUTTONUP ? TMouseButton::Right
                                                   : TMouseButton::Middle;
      editor_.MouseUp(b, MouseShift(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      if (msg == WM_RBUTTONUP) return DefWindowProcW(hwnd_, msg, wp, lp);  // context menu
      return 0;
    }
    case WM_MOUSEWHEEL:
      editor_.MouseWheel(GET_WHEEL_DELTA_WPARAM(wp), MouseShift(wp));
      return 0;
    case WM_VSCROLL:
      OnScrollMessage(SB_VERT, wp);
      return 0;
    case WM_HSCROLL:
      OnScrollMessage(SB_HORZ, wp);
      return 0;
    case WM_SETFOCUS:
      editor_.FocusGained();
      NotifyParent(EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      editor_.FocusLost();
      NotifyParent(EN_KILLFOCUS);
      return 0;
    case WM_TIMER:
      editor_.TimerTick(static_cast<int>(wp));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd_, &p);
        const int cursor = editor_.CursorAt(p.x, p.y);
        LPCSTR shape = IDC_ARROW;
        if (cursor == crIBeam) shape = IDC_IBEAM;
        if (cursor == crHandPoint) shape = IDC_HAND;
        SetCursor(LoadCursorA(nullptr, shape));
        return TRUE;
      }
      return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_CONTEXTMENU:
      if (OnContextPopup && OnContextPopup(GET_X_LPARAM(lp), GET_Y_LPARAM(lp))) return 0;
      if (popup_) {
        int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
        if (x == -1 && y == -1) {  // from the keyboard: at the caret
          const TPoint c = editor_.RowColumnToPixels(editor_.CaretDisplayPos());
          POINT p{c.x, c.y + editor_.RowHeight()};
          ClientToScreen(hwnd_, &p);
          x = p.x;
          y = p.y;
        }
        HWND owner = GetParent(hwnd_) ? GetParent(hwnd_) : hwnd_;
        TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
        return 0;
      }
      return DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_DROPFILES:
      if (HWND parent = GetParent(hwnd_)) return SendMessageA(parent, msg, wp, lp);
      return 0;
    default: {
      LRESULT text_result = 0;
      if (HandleTextMessage(msg, wp, lp, text_result)) return text_result;
      bool handled = false;
      const std::intptr_t result = editor_.EditMessage(msg, static_cast<std::uintptr_t>(wp),
                                                       static_cast<std::intptr_t>(lp), handled);
      if (handled) return static_cast<LRESULT>(result);
      return DefWindowProcW(hwnd_, msg, wp, lp);
    }
  }
}

void TEditorWindow::NotifyParent(WORD code) {
  // As an edit control tells its parent.
  if (HWND parent = GetParent(hwnd_))
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), code),
                 reinterpret_cast<LPARAM>(hwnd_));
}

void TEditorWindow::OnCharUnit(WPARAM wp) {
  const auto unit = static_cast<char16_t>(wp);
  if (IsHighSurrogate(unit)) {
    high_surrogate_ = unit;  // the low half follows in the next message
    return;
  }
  if (IsLowSurrogate(unit) && high_surrogate_) {
    const char16_t pair[2] = {high_surrogate_, unit};
    high_surrogate_ = 0;
    editor_.TypeText(std::u16string_view(pair, 2));
    return;
  }
  high_surrogate_ = 0;
  editor_.TypeText(std::u16string_view(&unit, 1));
}

bool TEditorWindow::HandleTextMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  // The window's text is the document's text seen as UTF-16; a program that
  // asks in its code page gets it converted by the window system.
  const ICodePage* cp = editor_.CharSet();
  const auto wide = [&](std::string_view text) {
    return cp ? cp->ToUtf16(text) : std::u16string(text.begin(), text.end());
  };
  const auto copy_out = [](const std::u16string& text, char16_t* out, std::size_t room) {
    const std::size_t n = std::min(text.size(), room);
    std::copy_n(text.data(), n, out);
    return n;
  };
  switch (msg) {
    case WM_GETTEXTLENGTH:
      result = static_cast<LRESULT>(wide(editor_.Text()).size());
      return true;
    case WM_GETTEXT: {
      result = 0;
      if (wp == 0 || !lp) return true;
      auto* out = reinterpret_cast<char16_t*>(lp);
      const std::size_t n = copy_out(wide(editor_.Text()), out, wp - 1);
      out[n] = 0;
      result = static_cast<LRESULT>(n);
      return true;
    }
    case WM_SETTEXT:
      editor_.SetText(editor_.DocumentText(Utf16ToUtf8(WideView(lp)), true));
      result = TRUE;
      return true;
    case EM_GETLINE: {
      result = 0;
      const int index = static_cast<int>(wp);
      auto* out = reinterpret_cast<char16_t*>(lp);
      if (!out || index < 0 || index >= editor_.LineCount()) return true;
      const std::size_t room = static_cast<std::uint16_t>(out[0]);
      result = static_cast<LRESULT>(copy_out(wide(editor_.Lines().LineView(index)), out, room));
      return true;
    }
    case EM_REPLACESEL:
      editor_.ReplaceSelection(editor_.DocumentText(Utf16ToUtf8(WideView(lp)), true), wp != 0);
      result = 0;
      return true;
    default:
      return false;
  }
}

void TEditorWindow::PlaceComposition(bool with_font) {
  const TImm& imm = Imm();
  if (!imm.Usable()) return;
  HIMC context = imm.GetContext(hwnd_);
  if (!context) return;
  const TPoint caret = editor_.RowColumnToPixels(editor_.CaretDisplayPos());
  COMPOSITIONFORM form{};
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = {caret.x, caret.y};
  imm.SetCompositionWindow(context, &form);
  if (with_font) {
    LOGFONTW font{};
    HFONT shared = TGdiCanvas::SharedFont(editor_.Font(), editor_.Font().Style, dpi_);
    if (GetObjectW(shared, sizeof font, &font)) imm.SetCompositionFont(context, &font);
  }
  imm.ReleaseContext(hwnd_, context);
}

void TEditorWindow::OnScrollMessage(int bar, WPARAM wp) {
  const int code = LOWORD(wp);
  int pos = HIWORD(wp);
  if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
    // The 16-bit position in the message is not enough for long files.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    if (GetScrollInfo(hwnd_, bar, &si)) pos = si.nTrackPos;
  }
  editor_.Scroll(bar == SB_VERT ? TScrollBarKind::Vertical : TScrollBarKind::Horizontal,
                 ScrollCodeOf(code), pos);
}

// ---- IEditorHost

TFontMetrics TEditorWindow::MeasureFont(const TFont& font, TFontStyles style) {
  return TGdiCanvas::Measure(font, style, dpi_);
}

void TEditorWindow::SetDpi(HWND hwnd, int dpi) {
  TEditorWindow* self = FromHandle(hwnd);
  if (!self || dpi <= 0 || dpi == self->dpi_) return;
  self->dpi_ = dpi;
  // Attaching again drops the measurements made at the old dpi.
  self->editor_.SetHost(self);
  self->editor_.SetDpi(dpi);
}

int TEditorWindow::ClientWidth() {
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.right;
}

int TEditorWindow::ClientHeight() {
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.bottom;
}

bool TEditorWindow::HasBorder() {
  return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_BORDER) != 0 ||
         (GetWindowLongA(hwnd_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}

void TEditorWindow::InvalidateRect(const TRect& rect) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::InvalidateRect(hwnd_, &r, FALSE);
}

void TEditorWindow::ScrollPixels(int dx, int dy, const TRect& area) {
  RECT r{area.left, area.top, area.right, area.bottom};
  // Pixels waiting to be repainted would be moved to the wrong place.
  if (GetUpdateRect(hwnd_, nullptr, FALSE)) {
    ::InvalidateRect(hwnd_, &r, FALSE);
    return;
  }
  ScrollWindowEx(hwnd_, dx, dy, &r, &r, nullptr, nullptr, SW_INVALIDATE);
}

void TEditorWindow::SetScrollBar(THostScrollBar bar, const TScrollBarInfo& info) {
  const int index = bar == THostScrollBar::Vertical ? 1 : 0;
  if (bars_known_[index] && last_bars_[index] == info) return;
  const bool was_hidden = bars_known_[index] && !last_bars_[index].Visible;
  bars_known_[index] = true;
  last_bars_[index] = info;
  const int sb = index == 1 ? SB_VERT : SB_HORZ;
  updating_scroll_bar_ = true;
  if (!info.Visible) {
    ShowScrollBar(hwnd_, sb, FALSE);
  } else {
    if (was_hidden) ShowScrollBar(hwnd_, sb, TRUE);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (info.DisableNoScroll ? SIF_DISABLENOSCROLL : 0);
    si.nMin = info.Min;
    si.nMax = info.Max;
    si.nPage = static_cast<UINT>(std::max(0, info.Page));
    si.nPos = info.Pos;
    SetScrollInfo(hwnd_, sb, &si, TRUE);
    UINT arrows = ESB_ENABLE_BOTH;
    if (info.DisableStartArrow && info.DisableEndArrow)
      arrows = ESB_DISABLE_BOTH;
    else if (info.DisableStartArrow)
      arrows = ESB_DISABLE_LTUP;
    else if (info.DisableEndArrow)
      arrows = ESB_DISABLE_RTDN;
    EnableScrollBar(hwnd_, sb, arrows);
  }
  updating_scroll_bar_ = false;
}

int TEditorWindow::VerticalThumbTop() {
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof sbi;
  if (!GetScrollBarInfo(hwnd_, static_cast<LONG>(OBJID_VSCROLL), &sbi)) return 10;
  POINT origin{0, 0};
  ClientToScreen(hwnd_, &origin);
  return sbi.rcScrollBar.top + sbi.xyThumbTop - origin.y;
}

void TEditorWindow::CreateCaret(int width, int height) {
  ::CreateCaret(hwnd_, nullptr, width, height);
}
void TEditorWindow::DestroyCaret() { ::DestroyCaret(); }
void TEditorWindow::SetCaretPosition(int x, int y) {
  ::SetCaretPos(x, y);
  // The composition window follows the caret.
  if (composing_) PlaceComposition(false);
}
void TEditorWindow::ShowCaret() { ::ShowCaret(hwnd_); }
void TEditorWindow::HideCaret() { ::HideCaret(hwnd_); }
void TEditorWindow::CaptureMouse() { SetCapture(hwnd_); }
void TEditorWindow::ReleaseMouse() {
  if (GetCapture() == hwnd_) ReleaseCapture();
}
bool TEditorWindow::MouseCaptured() { return GetCapture() == hwnd_; }
void TEditorWindow::StartTimer(int id, int milliseconds) {
  SetTimer(hwnd_, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
}
void TEditorWindow::StopTimer(int id) { KillTimer(hwnd_, static_cast<UINT_PTR>(id)); }
bool TEditorWindow::HasFocus() { return GetFocus() == hwnd_; }
void TEditorWindow::TakeFocus() {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
}
bool TEditorWindow::IsKeyDown(int virtual_key) { return GetKeyState(virtual_key) < 0; }
int TEditorWindow::DragThreshold() { return GetSystemMetrics(SM_CXDRAG); }
void TEditorWindow::AcceptDroppedFiles(bool accept) {
  DragAcceptFiles(hwnd_, accept ? TRUE : FALSE);
}

LRESULT CALLBACK TEditorWindow::HintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TEditorWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_PAINT && self) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    SetDCBrushColor(dc, TGdiCanvas::ToColorRef(self->hint_color_));
    ::FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    const std::wstring text = Wide(self->hint_text_);
    TextOutW(dc, 3, 1, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void TEditorWindow::ShowHint(const std::string& text, int right, int top, TColor color) {
  if (!hint_) {
    hint_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kHintClassName, "",
                            WS_POPUP | WS_BORDER, 0, 0, 10, 10, hwnd_, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hint_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  hint_text_ = text;
  hint_color_ = color;
  SIZE size{};
  HDC dc = GetDC(hint_);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  const std::wstring wide = Wide(text);
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hint_, dc);
  const int w = size.cx + 8, h = size.cy + 4;
  POINT p{right, top};
  ClientToScreen(hwnd_, &p);
  SetWindowPos(hint_, HWND_TOPMOST, p.x - w, p.y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(hint_, nullptr, TRUE);
  UpdateWindow(hint_);
}

void TEditorWindow::HideHint() {
  if (hint_) ShowWindow(hint_, SW_HIDE);
  hint_text_.clear();
}
