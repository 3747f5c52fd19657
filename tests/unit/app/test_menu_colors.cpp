#include <gtest/gtest.h>

#include <map>

#include "app/MenuColors.h"

namespace {

struct Rgb3 {
  int r, g, b;
};
TColor C(Rgb3 c) { return Rgb(c.r, c.g, c.b); }

TEST(MenuColors, LightenMovesEachChannelTowardsWhite) {
  struct Case {
    Rgb3 in;
    int v;
    Rgb3 out;
  } cases[] = {
      {{0, 0, 0}, 50, {128, 128, 128}},  // 127.5 rounds up
      {{100, 150, 200}, 86, {233, 240, 247}}, {{255, 255, 255}, 60, {255, 255, 255}},
      {{12, 34, 56}, 0, {12, 34, 56}},        {{12, 34, 56}, 100, {255, 255, 255}},
      {{12, 34, 56}, 250, {255, 255, 255}},  // more than 100 counts as 100
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LightenColor(C(c.in), c.v), C(c.out))
        << c.in.r << "," << c.in.g << "," << c.in.b << " by " << c.v;
  }
}

TEST(MenuColors, ShadeDarkensRedAndBlueMoreThanGreenAndStaysInRange) {
  struct Case {
    Rgb3 in;
    int v;
    Rgb3 out;
  } cases[] = {
      {{100, 100, 100}, 30, {70, 72, 70}},
      {{212, 208, 200}, 50, {162, 160, 150}},
      {{10, 10, 10}, 50, {0, 0, 0}},          // no wrap-around to bright values
      {{250, 254, 250}, 0, {250, 255, 250}},  // green's +2 stops at 255
  };
  for (const Case& c : cases) EXPECT_EQ(ShadeColor(C(c.in), c.v), C(c.out)) << c.v;
}

TEST(MenuColors, GreyIsTheAverageRaisedAndCappedAt240) {
  struct Case {
    Rgb3 in;
    int v;
    int grey;
  } cases[] = {
      {{30, 60, 90}, 10, 70},     {{0, 0, 0}, 0, 0},
      {{1, 1, 2}, 0, 1},  // the average is rounded down
      {{255, 255, 255}, 10, 240}, {{230, 230, 230}, 5, 235},
  };
  for (const Case& c : cases) EXPECT_EQ(GreyColor(C(c.in), c.v), Rgb(c.grey, c.grey, c.grey));
}

TEST(MenuColors, LightColorsAreThoseWithBrightRedBlueOrGreen) {
  struct Case {
    Rgb3 in;
    bool light;
  } cases[] = {
      {{200, 0, 200}, true}, {{151, 0, 151}, true}, {{150, 0, 151}, false},  {{150, 0, 150}, false},
      {{0, 201, 0}, true},   {{0, 200, 0}, false},  {{219, 216, 209}, true}, {{10, 36, 106}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsLightMenuColor(C(c.in)), c.light) << c.in.r;
}

// A classic grey desktop scheme.
const std::map<TColor, TColor> kPalette = {
    {clBtnFace, Rgb(212, 208, 200)},
    {clHighlight, Rgb(10, 36, 106)},
    {kMenuRoleBtnShadow, Rgb(128, 128, 128)},
    {kMenuRoleMenuText, Rgb(0, 0, 0)},
    {kMenuRoleInactiveCaption, Rgb(128, 128, 128)},
};

TColor Resolve(TColor c) {
  if (!IsSystemColor(c)) return c;
  auto it = kPalette.find(c);
  return it == kPalette.end() ? Rgb(1, 2, 3) : it->second;
}

TEST(MenuColors, SystemColorsOnAHighColorScreen) {
  const TMenuWorkingColors c = DeriveMenuColors(TMenuColorSettings{}, true, Resolve);
  EXPECT_EQ(c.ItemBack, Rgb(249, 248, 247));
  EXPECT_EQ(c.IconBack, Rgb(219, 216, 209));
  EXPECT_EQ(c.SelectFill, Rgb(177, 185, 207));
  EXPECT_EQ(c.SelectBorder, Rgb(10, 36, 106));
  EXPECT_EQ(c.SelectText, Rgb(0, 0, 0));
  EXPECT_EQ(c.MenuBar, Rgb(212, 208, 200));
  EXPECT_EQ(c.DisabledText, Rgb(141, 141, 141));
  EXPECT_EQ(c.Separator, Rgb(160, 160, 160));
  EXPECT_EQ(c.CheckFrame, Rgb(10, 36, 106));
  EXPECT_EQ(c.CheckedBack, Rgb(206, 211, 225));
  EXPECT_EQ(c.CheckedSelectedBack, Rgb(133, 146, 181));
}

TEST(MenuColors, SystemColorsIgnoreTheColourProperties) {
  TMenuColorSettings s;
  s.Color = Rgb(1, 1, 1);
  s.SelectColor = Rgb(2, 2, 2);
  s.SeparatorColor = Rgb(3, 3, 3);
  EXPECT_EQ(DeriveMenuColors(s, true, Resolve),
            DeriveMenuColors(TMenuColorSettings{}, true, Resolve));
}

TEST(MenuColors, SystemColorsOnALowColorScreenAreWhiteWithAButtonFaceColumn) {
  TMenuWorkingColors want;
  want.ItemBack = clWhite;
  want.IconBack = Rgb(212, 208, 200);
  want.SelectFill = clWhite;
  want.SelectBorder = Rgb(10, 36, 106);
  want.SelectText = Rgb(0, 0, 0);
  want.MenuBar = Rgb(212, 208, 200);
  want.DisabledText = Rgb(128, 128, 128);
  want.Separator = Rgb(128, 128, 128);
  want.CheckFrame = Rgb(10, 36, 106);
  want.CheckedBack = clWhite;
  want.CheckedSelectedBack = clWhite;
  want.Font = Rgb(0, 0, 0);
  EXPECT_EQ(DeriveMenuColors(TMenuColorSettings{}, false, Resolve), want);
}

TMenuColorSettings Custom(bool dim) {
  TMenuColorSettings s;
  s.UseSystemColors = false;
  s.UseDimColor = dim;
  s.Color = Rgb(250, 250, 250);
  s.IconBackColor = clBtnFace;  // roles are resolved here too
  s.MenuBarColor = Rgb(20, 20, 20);
  s.SelectColor = Rgb(0, 0, 100);
  s.SelectBorderColor = Rgb(0, 0, 50);
  s.SelectFontColor = Rgb(200, 0, 0);
  s.DisabledColor = Rgb(90, 90, 90);
  s.SeparatorColor = Rgb(70, 70, 70);
  s.CheckedColor = Rgb(0, 100, 0);
  s.FontColor = Rgb(5, 5, 5);
  return s;
}

TEST(MenuColors, OwnColoursAreTakenAsSet) {
  const TMenuWorkingColors c = DeriveMenuColors(Custom(false), true, Resolve);
  EXPECT_EQ(c.ItemBack, Rgb(250, 250, 250));
  EXPECT_EQ(c.IconBack, Rgb(212, 208, 200));
  EXPECT_EQ(c.MenuBar, Rgb(20, 20, 20));
  EXPECT_EQ(c.SelectFill, Rgb(0, 0, 100));
  EXPECT_EQ(c.SelectBorder, Rgb(0, 0, 50));
  EXPECT_EQ(c.SelectText, Rgb(200, 0, 0));
  EXPECT_EQ(c.DisabledText, Rgb(90, 90, 90));
  EXPECT_EQ(c.Separator, Rgb(70, 70, 70));
  EXPECT_EQ(c.CheckFrame, Rgb(0, 100, 0));
  EXPECT_EQ(c.Font, Rgb(5, 5, 5));
  EXPECT_EQ(c.CheckedBack, Rgb(204, 204, 224));
  EXPECT_EQ(c.CheckedSelectedBack, Rgb(0, 0, 100));
}

TEST(MenuColors, DimColourLightensTheSelectionOnlyOnHighColorScreens) {
  struct Case {
    bool dim;
    bool high;
    TColor fill, checked, checked_selected;
  } cases[] = {
      {true, true, Rgb(173, 173, 205), Rgb(204, 204, 224), Rgb(128, 128, 178)},
      {false, true, Rgb(0, 0, 100), Rgb(204, 204, 224), Rgb(0, 0, 100)},
      {true, false, Rgb(0, 0, 100), clWhite, clSilver},
      {false, false, Rgb(0, 0, 100), clWhite, clSilver},
  };
  for (const Case& c : cases) {
    const TMenuWorkingColors w = DeriveMenuColors(Custom(c.dim), c.high, Resolve);
    EXPECT_EQ(w.SelectFill, c.fill) << c.dim << c.high;
    EXPECT_EQ(w.CheckedBack, c.checked) << c.dim << c.high;
    EXPECT_EQ(w.CheckedSelectedBack, c.checked_selected) << c.dim << c.high;
  }
}

TEST(MenuColors, CaptionColourFollowsTheItemState) {
  TMenuWorkingColors light;
  light.DisabledText = Rgb(1, 1, 1);
  light.SelectText = Rgb(2, 2, 2);
  light.Font = Rgb(3, 3, 3);
  light.IconBack = Rgb(219, 216, 209);
  TMenuWorkingColors dark = light;
  dark.IconBack = Rgb(0, 0, 100);
  struct Case {
    const TMenuWorkingColors* colors;
    bool system;
    TMenuTextState state;
    TColor want;
  } cases[] = {
      {&light, true, {false, false, false}, Rgb(3, 3, 3)},
      {&light, true, {true, true, false}, Rgb(1, 1, 1)},
      {&light, true, {true, true, true}, Rgb(1, 1, 1)},
      {&light, true, {false, true, false}, Rgb(2, 2, 2)},
      {&light, true, {false, true, true}, Rgb(3, 3, 3)},
      {&dark, true, {false, true, true}, Rgb(230, 230, 240)},
      {&dark, false, {false, true, true}, Rgb(2, 2, 2)},
      {&dark, true, {false, false, true}, Rgb(3, 3, 3)},
  };
  int row = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(MenuCaptionColor(*c.colors, c.system, c.state), c.want) << "row " << row;
    ++row;
  }
}

}  // namespace
