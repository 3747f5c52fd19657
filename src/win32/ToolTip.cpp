#include "win32/ToolTip.h"

#include <commctrl.h>

namespace {

TTTOOLINFOW ToolInfo(HWND owner, HWND tool, wchar_t* text) {
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text;
  return info;
}

}  // namespace

void AddToolTip(HWND tips, HWND owner, HWND tool, UINT flags, const std::wstring& text) {
  // The tip window copies the text; it does not write to it.
  TTTOOLINFOW info = ToolInfo(owner, tool, const_cast<wchar_t*>(text.c_str()));
  info.uFlags = TTF_IDISHWND | flags;
  SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void SetToolTipText(HWND tips, HWND owner, HWND tool, const std::wstring& text) {
  TTTOOLINFOW info = ToolInfo(owner, tool, const_cast<wchar_t*>(text.c_str()));
  SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

std::wstring ToolTipText(HWND tips, HWND owner, HWND tool) {
  wchar_t buffer[4096] = L"";
  TTTOOLINFOW info = ToolInfo(owner, tool, buffer);
  SendMessageW(tips, TTM_GETTEXTW, sizeof buffer / sizeof buffer[0],
               reinterpret_cast<LPARAM>(&info));
  return buffer;
}
