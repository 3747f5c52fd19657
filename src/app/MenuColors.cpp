#include "app/MenuColors.h"

#include <algorithm>
#include <cmath>

namespace {

int Channel(int x) { return std::clamp(x, 0, 255); }

}  // namespace

TColor LightenColor(TColor rgb, int v) {
  const int level = std::clamp(v, 0, 100);
  auto up = [level](int x) {
    return Channel(x + static_cast<int>(std::lround((255 - x) * level / 100.0)));
  };
  return Rgb(up(RedOf(rgb)), up(GreenOf(rgb)), up(BlueOf(rgb)));
}

TColor ShadeColor(TColor rgb, int v) {
  // Clamped, so a shade of a dark colour stays dark instead of wrapping round
  // to a bright one.
  return Rgb(Channel(RedOf(rgb) - v), Channel(GreenOf(rgb) - v + 2), Channel(BlueOf(rgb) - v));
}

TColor GreyColor(TColor rgb, int v) {
  const int level = Channel(std::min(240, (RedOf(rgb) + GreenOf(rgb) + BlueOf(rgb)) / 3 + v));
  return Rgb(level, level, level);
}

bool IsLightMenuColor(TColor rgb) {
  return (RedOf(rgb) + BlueOf(rgb)) / 2 > 150 || GreenOf(rgb) > 200;
}

TMenuWorkingColors DeriveMenuColors(const TMenuColorSettings& s, bool high_color,
                                    const TColorResolver& resolve) {
  TMenuWorkingColors c;
  c.Font = resolve(s.FontColor);
  if (!s.UseSystemColors) {
    const TColor select = resolve(s.SelectColor);
    c.ItemBack = resolve(s.Color);
    c.IconBack = resolve(s.IconBackColor);
    c.SelectFill = s.UseDimColor && high_color ? LightenColor(select, 68) : select;
    c.SelectBorder = resolve(s.SelectBorderColor);
    c.SelectText = resolve(s.SelectFontColor);
    c.MenuBar = resolve(s.MenuBarColor);
    c.DisabledText = resolve(s.DisabledColor);
    c.CheckFrame = resolve(s.CheckedColor);
    c.Separator = resolve(s.SeparatorColor);
    if (high_color) {
      c.CheckedBack = LightenColor(select, 80);
      c.CheckedSelectedBack = s.UseDimColor ? LightenColor(select, 50) : select;
    } else {
      c.CheckedBack = clWhite;
      c.CheckedSelectedBack = clSilver;
    }
    return c;
  }
  const TColor face = resolve(clBtnFace);
  const TColor highlight = resolve(clHighlight);
  const TColor shadow = resolve(kMenuRoleBtnShadow);
  c.SelectBorder = highlight;
  c.SelectText = c.Font;
  c.MenuBar = face;
  c.CheckFrame = highlight;
  if (high_color) {
    c.ItemBack = LightenColor(face, 86);
    c.IconBack = LightenColor(face, 16);
    c.SelectFill = LightenColor(highlight, 68);
    c.DisabledText = LightenColor(shadow, 10);
    c.Separator = LightenColor(shadow, 25);
    c.CheckedBack = LightenColor(highlight, 80);
    c.CheckedSelectedBack = LightenColor(highlight, 50);
  } else {
    c.ItemBack = clWhite;
    c.IconBack = face;
    c.SelectFill = clWhite;
    c.DisabledText = shadow;
    c.Separator = shadow;
    c.CheckedBack = clWhite;
    c.CheckedSelectedBack = clWhite;
  }
  return c;
}

TColor MenuCaptionColor(const TMenuWorkingColors& colors, bool use_system_colors,
                        const TMenuTextState& state) {
  if (state.Disabled) return colors.DisabledText;
  if (state.Selected && state.TopLevel && use_system_colors)
    return IsLightMenuColor(colors.IconBack) ? colors.Font : LightenColor(colors.IconBack, 90);
  if (state.Selected) return colors.SelectText;
  return colors.Font;
}
