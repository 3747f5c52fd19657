// Geometry and rules of the print preview.
#include <gtest/gtest.h>

#include "print/EditorPrintPreviewLayout.h"

namespace {

TEST(PreviewLayout, PlacesThePageForEachZoom) {
  // An A4 sheet at 300 dpi on a 96 dpi screen.
  struct Case {
    TPreviewScale mode;
    int percent, client_w, client_h;
    int page_w, page_h, offset_x, offset_y;
  } cases[] = {
      // Wider than the page: height limits, centred horizontally.
      {pscWholePage, 100, 1000, 526, 354, 500, 12 + (1000 - 380) / 2, 12},
      // Taller than the page: width limits, centred vertically.
      {pscWholePage, 100, 380, 1000, 354, 500, 12, 12 + (1000 - 526) / 2},
      {pscPageWidth, 100, 380, 300, 354, 500, 12, 12},
      {pscUserScaled, 100, 300, 300, 794, 1122, 12, 12},
      {pscUserScaled, 50, 2000, 300, 397, 561, 12 + (2000 - 423) / 2, 12},
  };
  for (const auto& c : cases) {
    TPreviewLayout layout;
    layout.SetPage(true, 2481, 3507, 300, 300, 96, 96);
    layout.Layout(c.mode, c.percent, c.client_w, c.client_h);
    EXPECT_EQ(layout.PageWidth, c.page_w) << c.mode << " " << c.percent;
    EXPECT_EQ(layout.PageHeight, c.page_h) << c.mode << " " << c.percent;
    EXPECT_EQ(layout.VirtualWidth, c.page_w + 26);
    EXPECT_EQ(layout.OffsetX, c.offset_x) << c.mode;
    EXPECT_EQ(layout.OffsetY, c.offset_y) << c.mode;
  }
}

TEST(PreviewLayout, WithoutAnEngineKeepsTheDefaultProportionAndNoUserSize) {
  TPreviewLayout layout;
  layout.SetPage(false, 0, 0, 0, 0, 96, 96);
  EXPECT_EQ(layout.HeightForWidth(100), 141);
  EXPECT_EQ(layout.WidthForHeight(141), 100);
  layout.Layout(pscUserScaled, 400, 500, 500);
  EXPECT_EQ(layout.PageWidth, 0);
  EXPECT_EQ(layout.PageHeight, 0);
}

TEST(PreviewLayout, ScrollingStaysWithinTheVirtualPage) {
  struct Case {
    int pos, client, virt, expected;
  } cases[] = {{10, 100, 300, 0}, {-50, 100, 300, -50}, {-250, 100, 300, -200}, {-5, 400, 300, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(ClampPreviewScroll(c.pos, c.client, c.virt), c.expected) << c.pos;
}

TEST(PreviewZoomList, MapsEntriesToModesAndClicksToNeighbours) {
  EXPECT_STREQ(PreviewScaleText(0), "Whole Page");
  EXPECT_STREQ(PreviewScaleText(1), "Page Width");
  EXPECT_STREQ(PreviewScaleText(8), "400%");
  struct Case {
    int index;
    TPreviewScale mode;
    int percent;
  } zooms[] = {{0, pscWholePage, 100},  {1, pscPageWidth, 100},  {2, pscUserScaled, 25},
               {5, pscUserScaled, 150}, {8, pscUserScaled, 400}, {42, pscUserScaled, 100}};
  for (const auto& z : zooms) {
    EXPECT_EQ(PreviewZoom(z.index).mode, z.mode) << z.index;
    if (z.mode == pscUserScaled) {
      EXPECT_EQ(PreviewZoom(z.index).percent, z.percent) << z.index;
    }
  }
  struct Click {
    int index;
    bool left, right;
    int expected;
  } clicks[] = {{8, true, false, -1},
                {7, true, false, 8},
                {0, false, true, -1},
                {1, false, true, 0},
                {4, false, false, -1}};
  for (const auto& c : clicks)
    EXPECT_EQ(PreviewZoomAfterClick(c.index, c.left, c.right), c.expected) << c.index;
}

TEST(PreviewPages, TextAndButtonsFollowThePage) {
  EXPECT_EQ(PreviewPageText(2, 5), " Page 2 of 5");
  struct Case {
    bool printer;
    int page, count;
    bool first, last;
  } cases[] = {{true, 1, 1, false, false},
               {true, 1, 3, false, true},
               {true, 2, 3, true, true},
               {true, 3, 3, true, false},
               {false, 2, 3, false, false}};
  for (const auto& c : cases) {
    const TPreviewButtons b = PreviewButtonStates(c.printer, c.page, c.count);
    EXPECT_EQ(b.first, c.first) << c.page << "/" << c.count;
    EXPECT_EQ(b.previous, c.first);
    EXPECT_EQ(b.last, c.last) << c.page << "/" << c.count;
    EXPECT_EQ(b.next, c.last);
  }
}

}  // namespace
