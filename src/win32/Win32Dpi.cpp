#include "win32/Win32Dpi.h"

namespace {

template <typename F>
F User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

int MonitorDpi(HMONITOR monitor) {
  // Windows 8.1 and later tell each monitor's dpi.
  static const GetDpiForMonitorFn get = [] {
    HMODULE shcore = LoadLibraryA("shcore.dll");
    return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  UINT x = 0, y = 0;
  if (get && monitor && get(monitor, 0 /* effective dpi */, &x, &y) == S_OK && y > 0)
    return static_cast<int>(y);
  return SystemDpi();
}

}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  static const auto get = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (get && window) {
    const UINT dpi = get(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return window ? MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : SystemDpi();
}

int DpiForRect(const RECT& rect) {
  return MonitorDpi(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto get = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (get) return get(index, static_cast<UINT>(dpi));
  // Older systems give the metric at the system's dpi.
  return ConvertDpi(GetSystemMetrics(index), SystemDpi(), dpi);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD ex_style, int dpi) {
  static const auto adjust = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  if (adjust && adjust(&rect, style, menu ? TRUE : FALSE, ex_style, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(&rect, style, menu ? TRUE : FALSE, ex_style);
}

HFONT CreatePixelFont(const char* face, int height96, int dpi, int weight, DWORD pitch_and_family,
                      DWORD charset) {
  return CreateFontA(ScaleForDpi(height96, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, charset,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     pitch_and_family, face);
}
