#pragma once
// The program's quill icon, from the executable's first icon group.
#include <windows.h>

// The icon's image nearest to size x size pixels, made for that size; the
// caller destroys it. The system's generic program icon when the running
// executable carries no quill (the test program).
HICON LoadProgramIcon(int size);

// The icons of one window's caption and taskbar button, for its dpi; the
// previous ones are destroyed when the window gets new ones.
class TWindowIcons {
 public:
  TWindowIcons() = default;
  ~TWindowIcons();
  TWindowIcons(const TWindowIcons&) = delete;
  TWindowIcons& operator=(const TWindowIcons&) = delete;
  void Apply(HWND window, int dpi);

 private:
  HICON big_ = nullptr;
  HICON small_ = nullptr;
};
