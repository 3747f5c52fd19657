#include "win32/ProgramIcon.h"

#include "app/DpiScale.h"
#include "win32/res/resource.h"

HICON LoadProgramIcon(int size) {
  HICON icon =
      static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUILLON),
                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  if (icon) return icon;
  // A copy, so that every icon handed out is the caller's to destroy.
  return CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
}

TWindowIcons::~TWindowIcons() {
  if (big_) DestroyIcon(big_);
  if (small_) DestroyIcon(small_);
}

void TWindowIcons::Apply(HWND window, int dpi) {
  // The caption shows the small icon, Alt+Tab and the taskbar the large one.
  HICON big = LoadProgramIcon(ScaleForDpi(32, dpi));
  HICON small = LoadProgramIcon(ScaleForDpi(16, dpi));
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (big_) DestroyIcon(big_);
  if (small_) DestroyIcon(small_);
  big_ = big;
  small_ = small;
}
