#pragma once
// The dots per inch of windows and monitors. The program declares itself
// per-monitor aware in its manifest; the functions that tell a window's or a
// monitor's own dpi exist only on newer systems and are looked up at run time,
// with the system's dpi as the answer where they are missing.
#include <windows.h>

#include "app/DpiScale.h"

// Sent to child windows after their top-level window changed its dpi
// (WM_DPICHANGED_AFTERPARENT, which the Windows 7 headers lack).
inline constexpr UINT kDpiChangedAfterParent = 0x02E3;

int SystemDpi();
int WindowDpi(HWND window);
// The dpi of the monitor that holds most of the rectangle (the nearest one
// when none does).
int DpiForRect(const RECT& rect);

// A system metric (a scroll bar's width, a frame's thickness) at dpi.
int SystemMetricForDpi(int index, int dpi);

// AdjustWindowRectEx for a window at dpi (the frame's metrics differ per dpi).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD ex_style, int dpi);

// A font of the message font's family with the height given in 96-dpi pixels
// (negative: character height) made for dpi.
HFONT CreatePixelFont(const char* face, int height96, int dpi, int weight = FW_NORMAL,
                      DWORD pitch_and_family = DEFAULT_PITCH | FF_SWISS,
                      DWORD charset = DEFAULT_CHARSET);
