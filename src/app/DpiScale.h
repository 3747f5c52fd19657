#pragma once
// Every pixel length of the program's layouts (window geometry, tool bar,
// status bar, dialogs, menus, fonts given in pixels) is written for a screen of
// 96 dots per inch and scaled to the dots per inch of the monitor its window is
// on. At 96 dpi every length stays exactly as written.
#include "platform/Types.h"

inline constexpr int kDesignDpi = 96;

// value * to / from, rounded to the nearest whole pixel with halves away from
// zero, as the system's own scaling rounds. A dpi that is not positive counts
// as 96.
int ConvertDpi(int value, int from_dpi, int to_dpi);

// A length of the 96-dpi layout at dpi, and back.
inline int ScaleForDpi(int pixels, int dpi) { return ConvertDpi(pixels, kDesignDpi, dpi); }
inline int UnscaleForDpi(int pixels, int dpi) { return ConvertDpi(pixels, dpi, kDesignDpi); }

TRect ConvertDpi(const TRect& rect, int from_dpi, int to_dpi);
// (-1, -1) means "no position" to the window system and keeps that meaning.
TPoint ConvertDpi(const TPoint& point, int from_dpi, int to_dpi);

// The scale of one window: call it with a 96-dpi length.
struct TDpiScale {
  int dpi = kDesignDpi;
  int operator()(int pixels) const { return ScaleForDpi(pixels, dpi); }
  TRect operator()(const TRect& rect) const { return ConvertDpi(rect, kDesignDpi, dpi); }
};
