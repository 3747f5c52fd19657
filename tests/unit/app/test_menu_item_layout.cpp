#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "app/MenuItemLayout.h"

namespace {

// A font where "W" is 10 pixels wide, "&" 4 and every other character 6;
// lines are 15 pixels high.
class FakeMeasure final : public IMenuTextMeasure {
 public:
  explicit FakeMeasure(int height = 15) : height_(height) {}
  int TextWidth(const std::string& text) const override {
    int w = 0;
    for (char ch : text) w += ch == 'W' ? 10 : ch == '&' ? 4 : 6;
    return w;
  }
  int TextHeight() const override { return height_; }

 private:
  int height_;
};

TMenuMeasureInput Item(std::string caption, std::string shortcut = {}) {
  TMenuMeasureInput in;
  in.Caption = std::move(caption);
  in.ShortCut = std::move(shortcut);
  return in;
}

TEST(MenuItemLayout, MeasuredSizes) {
  struct Case {
    const char* what;
    TMenuMeasureInput in;
    int text_height;
    TMenuItemSize reported;
    TMenuItemSize want;
  };
  auto with = [](TMenuMeasureInput in, auto change) {
    change(in);
    return in;
  };
  const Case cases[] = {
      // 4 + 3 + 6 characters: 24 + 30 + 36, plus 5, plus the icon column.
      {"caption, gap and shortcut", Item("Save", "Ctrl+S"), 15, {}, {119, 26}},
      {"no shortcut, no gap", Item("Save"), 15, {}, {53, 26}},
      {"accelerator marker not counted", Item("&Open"), 15, {}, {53, 26}},
      {"small image stays in the column",
       with(Item("Save", "Ctrl+S"),
            [](auto& i) {
              i.Image = {16, 16};
            }),
       15,
       {},
       {119, 26}},
      {"image wider and taller than the column",
       with(Item("Save", "Ctrl+S"),
            [](auto& i) {
              i.Image = {32, 32};
            }),
       15,
       {},
       {127, 38}},
      {"image sets the height of a small font",
       with(Item("Save"),
            [](auto& i) {
              i.Image = {16, 16};
            }),
       12,
       {},
       {53, 22}},
      {"small font without image", Item("Save"), 12, {}, {53, 21}},
      {"sub-menu arrow room",
       with(Item("Import"), [](auto& i) { i.HasSubItems = true; }),
       15,
       {},
       {71, 26}},
      {"menu bar item: no icon column, no arrow room",
       with(Item("File"),
            [](auto& i) {
              i.DropDown = false;
              i.HasSubItems = true;
            }),
       15,
       {},
       {29, 26}},
      {"separator is thin", with(Item(""), [](auto& i) { i.Separator = true; }), 15, {}, {29, 4}},
      {"dash caption is a separator", Item("-"), 15, {}, {29, 4}},
      {"separator ignores a taller reported height",
       with(Item(""), [](auto& i) { i.Separator = true; }),
       15,
       {10, 20},
       {29, 4}},
      {"larger reported size is kept", Item("Save"), 15, {200, 30}, {200, 30}},
      {"wider icon column",
       with(Item("Save"), [](auto& i) { i.IconWidth = 30; }),
       15,
       {},
       {59, 26}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MeasureMenuItem(c.in, FakeMeasure(c.text_height), c.reported), c.want) << c.what;
  }
}

TEST(MenuItemLayout, ShortcutsOfOneMenuLineUpAfterTheLongestCaption) {
  // Each item is as wide as its own caption, gap and shortcut: the platform
  // takes the widest and right-aligns every shortcut in it.
  const int save = MeasureMenuItem(Item("Save", "Ctrl+S"), FakeMeasure()).Width;
  const int save_as = MeasureMenuItem(Item("Save as ..."), FakeMeasure()).Width;
  EXPECT_GT(save, save_as);
  EXPECT_EQ(save - MeasureMenuItem(Item("Save"), FakeMeasure()).Width, 30 + 36);
}

TMenuDrawInput DropDown(TMenuItemSize image = {}, bool rtl = false) {
  TMenuDrawInput in;
  in.Item = {3, 10, 153, 36};  // 150 x 26
  in.Image = image;
  in.RightToLeft = rtl;
  in.TextHeightW = 15;
  return in;
}

TEST(MenuItemLayout, DropDownItemPaintsTheMarginAndReservesTheIconColumn) {
  const TMenuDrawLayout l = LayoutMenuItem(DropDown());
  EXPECT_EQ(l.Bitmap, (TRect{-1, 10, 153, 36}));
  EXPECT_EQ(l.Area, (TRect{4, 0, 154, 26}));
  EXPECT_EQ(l.IconColumn, (TRect{4, 0, 28, 26}));
  EXPECT_EQ(l.TextArea, (TRect{28, 0, 154, 26}));
  EXPECT_EQ(l.Selection, (TRect{4, 1, 154, 25}));
  EXPECT_EQ(l.ImageFrame, (TRect{5, 2, 25, 24}));
  EXPECT_EQ(l.CheckBox, (TRect{11, 8, 21, 18}));
  EXPECT_EQ(l.SeparatorY, 13);
  EXPECT_EQ(l.SeparatorLeft, 35);
  EXPECT_EQ(l.SeparatorRight, 154);
  EXPECT_EQ(l.Caption, (TPoint{31, 5}));
  EXPECT_EQ(l.ShortCutEdge, 144);
}

TEST(MenuItemLayout, ImagePlacement) {
  struct Case {
    TMenuItemSize image;
    bool rtl;
    TPoint at;
    int text_left;
  } cases[] = {
      {{16, 16}, false, {8, 3}, 28},  // centred in the column
      {{23, 16}, false, {4, 3}, 28},  // 0.5 pixel rounds towards the left
      {{24, 16}, false, {6, 3}, 28},  // as wide as the column: 2 in from its edge
      {{30, 16}, false, {6, 3}, 34},  // wider: the text moves right
      {{16, 16}, true, {134, 3}, 4},
      {{30, 16}, true, {122, 3}, 4},  // 2 in from the column's right edge
  };
  for (const Case& c : cases) {
    const TMenuDrawLayout l = LayoutMenuItem(DropDown(c.image, c.rtl));
    EXPECT_EQ(l.Image, c.at) << c.image.Width << (c.rtl ? " rtl" : "");
    EXPECT_EQ(l.TextArea.left, c.text_left) << c.image.Width << (c.rtl ? " rtl" : "");
  }
}

TEST(MenuItemLayout, RightToLeftMirrorsColumnSeparatorAndShortcut) {
  const TMenuDrawLayout l = LayoutMenuItem(DropDown({}, true));
  EXPECT_EQ(l.IconColumn, (TRect{130, 0, 154, 26}));
  EXPECT_EQ(l.TextArea, (TRect{4, 0, 130, 26}));
  EXPECT_EQ(l.Caption, (TPoint{127, 5}));
  EXPECT_EQ(l.ShortCutEdge, 14);
  EXPECT_EQ(l.SeparatorLeft, 4);
  EXPECT_EQ(l.SeparatorRight, 123);
}

TEST(MenuItemLayout, MenuBarItemIsDrawnInItsOwnRectangle) {
  TMenuDrawInput in;
  in.Item = {40, 0, 80, 20};
  in.DropDown = false;
  in.TextHeightW = 13;
  const TMenuDrawLayout l = LayoutMenuItem(in);
  EXPECT_EQ(l.Bitmap, (TRect{40, 0, 80, 19}));
  EXPECT_EQ(l.Area, (TRect{0, 0, 40, 19}));
  EXPECT_TRUE(l.IconColumn.IsEmpty());
  EXPECT_EQ(l.TextArea.left, 4);
  EXPECT_EQ(l.Caption, (TPoint{7, 3}));
  // The selection frame leaves room for the shadow down the right side.
  EXPECT_EQ(l.Selection, (TRect{0, 0, 38, 19}));
  EXPECT_EQ(l.BarShadow.left, 38);
  EXPECT_EQ(l.BarShadow.right, 40);
}

TEST(MenuItemLayout, TickStaysInsideItsBox) {
  const TRect box{11, 8, 21, 18};
  const auto lines = MenuTickLines(box);
  ASSERT_FALSE(lines.empty());
  for (const TMenuLine& line : lines) {
    for (TPoint p : {line.From, line.To}) {
      EXPECT_GE(p.x, box.left + 1);
      EXPECT_LT(p.x, box.right - 1);
      EXPECT_GE(p.y, box.top + 1);
      EXPECT_LT(p.y, box.bottom - 1);
    }
  }
}

TEST(MenuItemLayout, ImageLookFollowsTheItemState) {
  struct Case {
    bool disabled, checked, selected, high;
    TMenuImageLook look;
  } cases[] = {
      {true, false, false, true, TMenuImageLook::Greyed},
      {true, true, true, true, TMenuImageLook::Greyed},
      {false, true, false, true, TMenuImageLook::Plain},
      {false, true, true, true, TMenuImageLook::Plain},
      {false, false, true, true, TMenuImageLook::Raised},
      {false, false, true, false, TMenuImageLook::Raised},
      {false, false, false, true, TMenuImageLook::Dimmed},
      {false, false, false, false, TMenuImageLook::Plain},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MenuImageLookFor(c.disabled, c.checked, c.selected, c.high), c.look)
        << c.disabled << c.checked << c.selected << c.high;
  }
}

using Pixels = std::map<std::pair<int, int>, TColor>;

Pixels Paint(const TMenuImage& image, TMenuImageLook look, int x = 5, int y = 5) {
  Pixels out;
  TMenuImageTint tint{10, 30, Rgb(100, 100, 100)};
  PaintMenuImage(image, x, y, look, tint, [&out](int px, int py, TColor c) { out[{px, py}] = c; });
  return out;
}

// 2 x 2: a coloured pixel top-left, a transparent one top-right, background
// colour bottom-left, coloured bottom-right.
TMenuImage Sample() {
  TMenuImage image;
  image.Width = 2;
  image.Height = 2;
  image.Pixels = {Rgb(30, 60, 90), Rgb(9, 9, 9), Rgb(192, 192, 192), Rgb(100, 150, 200)};
  image.Opaque = {true, false, true, true};
  return image;
}

TEST(MenuItemLayout, ImagePixelsByLook) {
  const TColor bg = Rgb(192, 192, 192);
  EXPECT_EQ(Paint(Sample(), TMenuImageLook::Plain),
            (Pixels{{{5, 5}, Rgb(30, 60, 90)}, {{5, 6}, bg}, {{6, 6}, Rgb(100, 150, 200)}}));
  // grey 60 + 10 = 70, then 40 % towards white; 192 + 10 = 202 -> 223.
  EXPECT_EQ(Paint(Sample(), TMenuImageLook::Greyed), (Pixels{{{5, 5}, Rgb(144, 144, 144)},
                                                             {{5, 6}, Rgb(223, 223, 223)},
                                                             {{6, 6}, Rgb(198, 198, 198)}}));
  EXPECT_EQ(Paint(Sample(), TMenuImageLook::Dimmed), (Pixels{{{5, 5}, Rgb(98, 119, 140)},
                                                             {{5, 6}, Rgb(211, 211, 211)},
                                                             {{6, 6}, Rgb(147, 182, 217)}}));
}

TEST(MenuItemLayout, RaisedImageSitsUpLeftOverItsShadow) {
  const TColor shadow = Rgb(50, 52, 50);  // shade of the selection fill by 50
  // The shadow covers the pixels unlike the bottom-left one, two pixels below
  // and right of the lifted image.
  EXPECT_EQ(Paint(Sample(), TMenuImageLook::Raised), (Pixels{{{4, 4}, Rgb(30, 60, 90)},
                                                             {{4, 5}, Rgb(192, 192, 192)},
                                                             {{5, 5}, Rgb(100, 150, 200)},
                                                             {{6, 6}, shadow},
                                                             {{7, 7}, shadow}}));
}

TEST(MenuItemLayout, EmptyImagePaintsNothing) {
  EXPECT_TRUE(Paint(TMenuImage{}, TMenuImageLook::Raised).empty());
}

}  // namespace

namespace {

TEST(MenuItemLayout, OnAFinerMonitorEveryLengthOfTheDesignIsScaled) {
  struct FixedHeight : IMenuTextMeasure {
    int TextWidth(const std::string& text) const override { return static_cast<int>(text.size()) * 9; }
    int TextHeight() const override { return 18; }
  } measure;
  TMenuMeasureInput separator;
  separator.Separator = true;
  separator.Dpi = 144;
  EXPECT_EQ(MeasureMenuItem(separator, measure).Height, 6);
  TMenuMeasureInput save;
  save.Caption = "Save";
  save.Dpi = 144;
  EXPECT_EQ(MeasureMenuItem(save, measure).Width, 4 * 9 + 8 + 36) << "text, gap and icon column";

  TMenuDrawInput in;
  in.Item = {0, 0, 200, 30};
  in.TextHeightW = 18;
  in.Dpi = 144;
  const TMenuDrawLayout l = LayoutMenuItem(in);
  EXPECT_EQ(l.IconColumn, (TRect{6, 0, 42, 30}));
  EXPECT_EQ(l.Caption.x, 42 + 5);
  EXPECT_EQ(l.ShortCutEdge, 206 - 15);
  EXPECT_EQ(l.CheckBox.Width(), 15);
}

}  // namespace
