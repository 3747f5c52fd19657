#pragma once
// Small value types shared by every layer, so that portable code never needs
// the platform's own headers.
#include <cstdint>

// 0x00BBGGRR for an RGB colour; the special values below name "none", "default"
// and the platform's system colour roles, resolved only when drawn.
using TColor = std::uint32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor SystemColor(int role) {
  return 0xFF000000u | static_cast<std::uint32_t>(role & 0xFF);
}
constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == 0xFF000000u; }
constexpr TColor Rgb(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBlack = Rgb(0, 0, 0);
constexpr TColor clWhite = Rgb(255, 255, 255);
constexpr TColor clYellow = Rgb(255, 255, 0);
constexpr TColor clSilver = Rgb(192, 192, 192);

// Font style bits, also the stored bit mask.
enum : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

// Modifier and mouse-button state that accompanies keys and mouse events.
enum : std::uint16_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using TShiftState = std::uint16_t;

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};
