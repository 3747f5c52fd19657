#include "app/ConfirmPlacement.h"

#include <cstdint>

namespace {

// value * numerator / denominator rounded to the nearest integer, halves away
// from zero, computed wide so large coordinates cannot overflow.
int MulDivRounded(int value, int numerator, int denominator) {
  const std::int64_t product = std::int64_t{value} * numerator;
  const std::int64_t half = denominator / 2;
  const std::int64_t rounded =
      product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  return static_cast<int>(rounded);
}

}  // namespace

TPoint ConfirmDialogPosition(const TRect& area, int x, int y1, int y2, int width, int height) {
  const int w = area.Width();
  const int h = area.Height();
  TPoint position;
  if (w <= width) {
    // C++ division truncates toward zero, as the placement wants.
    position.x = area.left - (width - w) / 2;
  } else {
    position.x = x;
    if (x + width > area.right) position.x = area.right - width;
  }
  if (y2 > area.top + MulDivRounded(h, 2, 3)) {
    position.y = y1 - height - 4;
  } else {
    position.y = y2 + 4;
  }
  return position;
}
