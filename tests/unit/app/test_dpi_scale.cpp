#include <gtest/gtest.h>

#include "app/DpiScale.h"

namespace {

TEST(DpiScale, LayoutLengthsFollowTheMonitorAndStayExactAt96) {
  struct Case {
    int pixels, dpi, scaled;
  } cases[] = {
      // unchanged at 96 dpi
      {33, 96, 33},
      {531, 96, 531},
      {-12, 96, -12},
      // halves round away from zero
      {33, 144, 50},
      {19, 144, 29},
      {3, 144, 5},
      // font heights keep their sign
      {-11, 144, -17},
      {-12, 144, -18},
      {24, 120, 30},
      {660, 192, 1320},
      {22, 168, 39},
      // an unknown dpi counts as 96
      {5, 0, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
    EXPECT_EQ(TDpiScale{c.dpi}(c.pixels), c.scaled);
  }
  EXPECT_EQ(UnscaleForDpi(50, 144), 33);
  EXPECT_EQ(UnscaleForDpi(-990, 144), -660);
}

TEST(DpiScale, RectanglesAndPositionsConvertBetweenMonitors) {
  EXPECT_EQ(ConvertDpi(TRect{190, 105, 866, 675}, 96, 144), (TRect{285, 158, 1299, 1013}));
  EXPECT_EQ(ConvertDpi(TRect{285, 158, 1299, 1013}, 144, 96), (TRect{190, 105, 866, 675}));
  EXPECT_EQ(ConvertDpi(TPoint{-1, -1}, 96, 144), (TPoint{-1, -1})) << "no position stays none";
  EXPECT_EQ(ConvertDpi(TPoint{-8, 10}, 96, 144), (TPoint{-12, 15}));
}

}  // namespace
