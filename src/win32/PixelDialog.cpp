#include "win32/PixelDialog.h"

#include "win32/WideString.h"
#include "win32/Win32Dpi.h"

namespace {

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

}  // namespace

std::vector<WORD> PixelDialogTemplate(const std::string& caption, bool visible) {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  if (visible) style |= WS_VISIBLE;
  const DWORD ex_style = WS_EX_DLGMODALFRAME;
  std::vector<WORD> t;
  // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy. The size
  // is set in pixels once the window exists.
  t.push_back(LOWORD(style));
  t.push_back(HIWORD(style));
  t.push_back(LOWORD(ex_style));
  t.push_back(HIWORD(ex_style));
  for (int i = 0; i < 5; ++i) t.push_back(0);
  t.push_back(0);  // no menu
  t.push_back(0);  // the standard dialog class
  AppendWide(t, caption);
  t.push_back(8);  // points
  AppendWide(t, "MS Sans Serif");
  return t;
}

int ScaleToWindow(HWND window, int pixels) { return ScaleForDpi(pixels, WindowDpi(window)); }

HWND AddDialogControl(HWND dialog, const char* window_class, const std::string& text, DWORD style,
                      int id, int left, int top, int width, int height) {
  HWND control = CreateWindowExA(
      0, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, ScaleToWindow(dialog, left),
      ScaleToWindow(dialog, top), ScaleToWindow(dialog, width), ScaleToWindow(dialog, height), dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (control) SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
  return control;
}

HWND AddWideDialogControl(HWND dialog, const wchar_t* window_class, DWORD style, int id, int left,
                          int top, int width, int height) {
  HWND control = CreateWindowExW(
      0, window_class, L"", WS_CHILD | WS_VISIBLE | style, ScaleToWindow(dialog, left),
      ScaleToWindow(dialog, top), ScaleToWindow(dialog, width), ScaleToWindow(dialog, height),
      dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control) SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  return control;
}

void SetDialogClientSize(HWND dialog, int width, int height) {
  RECT r{0, 0, ScaleToWindow(dialog, width), ScaleToWindow(dialog, height)};
  AdjustWindowRectForDpi(r, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), false,
                         static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)),
                         WindowDpi(dialog));
  SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreDialogOnOwner(HWND dialog) {
  RECT own{};
  HWND owner = GetWindow(dialog, GW_OWNER);
  HMONITOR monitor = MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoA(monitor, &info);
  const RECT work = info.rcWork;
  // A hidden or minimised owner gives no useful rectangle to centre on.
  if (!owner || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &own)) {
    own = work;
  }
  RECT me{};
  GetWindowRect(dialog, &me);
  const int w = me.right - me.left;
  const int h = me.bottom - me.top;
  int left = own.left + ((own.right - own.left) - w) / 2;
  int top = own.top + ((own.bottom - own.top) - h) / 2;
  if (left + w > work.right) left = work.right - w;
  if (top + h > work.bottom) top = work.bottom - h;
  if (left < work.left) left = work.left;
  if (top < work.top) top = work.top;
  SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string ControlText(HWND control) {
  const int n = GetWindowTextLengthA(control);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(control, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

std::string WideControlText(HWND control) {
  const int n = GetWindowTextLengthW(control);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return Utf8(text);
}

void SetWideControlText(HWND control, const std::string& utf8) {
  SetWindowTextW(control, Wide(utf8).c_str());
}

std::vector<std::string> ComboEntries(HWND combo) {
  std::vector<std::string> entries;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring entry(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
    const LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                     reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    entries.push_back(Utf8(entry));
  }
  return entries;
}

void SetComboEntries(HWND combo, const std::vector<std::string>& entries) {
  // Emptying the list also empties the edit part; the typed text is put back.
  const std::string typed = WideControlText(combo);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
  }
  SetWideControlText(combo, typed);
}
