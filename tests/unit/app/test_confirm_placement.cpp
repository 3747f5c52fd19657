#include <gtest/gtest.h>

#include "app/ConfirmPlacement.h"

namespace {

TEST(ConfirmPlacement, DialogSitsBesideTheOccurrence) {
  // A main window client area of 800 x 600 at (100, 50); the dialog is 334 x 127.
  const TRect area{100, 50, 900, 650};
  constexpr int kW = 334, kH = 127;
  struct Case {
    const char* name;
    TRect area;
    int x, y1, y2;
    TPoint expected;
  } cases[] = {
      {"upper part: below the line, at x", area, 200, 100, 116, {200, 120}},
      {"line ending exactly at two thirds: still below", area, 200, 434, 450, {200, 454}},
      {"line ending just past two thirds: above", area, 200, 435, 451, {200, 435 - kH - 4}},
      {"lower third: above the line", area, 300, 600, 616, {300, 600 - kH - 4}},
      {"near the right edge: clamped to it", area, 800, 100, 116, {900 - kW, 120}},
      {"just fits at x", area, 900 - kW, 100, 116, {900 - kW, 120}},
      {"window narrower than the dialog: centred",
       TRect{100, 50, 300, 650},
       150,
       100,
       116,
       {100 - (kW - 200) / 2, 120}},
      {"odd difference truncates", TRect{100, 50, 301, 650}, 150, 100, 116, {100 - 66, 120}},
      {"window exactly as wide: centred (no shift)",
       TRect{100, 50, 100 + kW, 650},
       150,
       100,
       116,
       {100, 120}},
      {"one pixel wider: at x, clamped", TRect{100, 50, 101 + kW, 650}, 150, 100, 116, {101, 120}},
      {"area on a negative screen position",
       TRect{-900, -600, -100, 0},
       -500,
       -100,
       -84,
       {-500, -100 - kH - 4}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConfirmDialogPosition(c.area, c.x, c.y1, c.y2, kW, kH), c.expected) << c.name;
  }
}

TEST(ConfirmPlacement, TwoThirdsOfTheHeightRoundToNearest) {
  // Height 100: two thirds are 66.67, which rounds to 67, so the boundary row
  // is top + 67. Height 101: 67.33 rounds to 67 as well; 102 gives 68.
  struct Case {
    int height;
    int boundary;
  } cases[] = {{100, 67}, {101, 67}, {102, 68}, {1, 1}, {0, 0}};
  for (const auto& c : cases) {
    const TRect area{0, 1000, 500, 1000 + c.height};
    const int y2_below = 1000 + c.boundary;
    EXPECT_EQ(ConfirmDialogPosition(area, 10, y2_below - 16, y2_below, 50, 30).y, y2_below + 4)
        << "height " << c.height << ": a line ending on the boundary goes below";
    EXPECT_EQ(ConfirmDialogPosition(area, 10, y2_below - 15, y2_below + 1, 50, 30).y,
              y2_below - 15 - 30 - 4)
        << "height " << c.height << ": one row further goes above";
  }
}

}  // namespace
