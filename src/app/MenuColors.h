#pragma once
// The colours of the program's flat menus: the three colour functions and the
// working colours that the menu painter derives from its settings and from the
// system colours before it draws.
#include <functional>

#include "platform/Types.h"

// System colour roles the menus use besides those every layer knows.
inline constexpr TColor kMenuRoleInactiveCaption = SystemColor(3);
inline constexpr TColor kMenuRoleMenuText = SystemColor(7);
inline constexpr TColor kMenuRoleBtnShadow = SystemColor(16);

inline constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// Each channel moves v percent (at most 100) of the way towards white.
TColor LightenColor(TColor rgb, int v);
// Darkens red and blue by v and green by v - 2; channels stay within 0..255.
TColor ShadeColor(TColor rgb, int v);
// The grey of the channels' average plus v, never lighter than 240.
TColor GreyColor(TColor rgb, int v);
// Light enough that the menu font colour stays readable on it.
bool IsLightMenuColor(TColor rgb);

// Turns a colour that may name a system role into its RGB value.
using TColorResolver = std::function<TColor(TColor)>;

// The painter's colour properties, as the user sets them.
struct TMenuColorSettings {
  TColor Color = clBtnFace;
  TColor IconBackColor = clBtnFace;
  TColor MenuBarColor = clBtnFace;
  TColor SelectColor = clHighlight;
  TColor SelectBorderColor = clHighlight;
  TColor SelectFontColor = kMenuRoleMenuText;
  TColor DisabledColor = kMenuRoleInactiveCaption;
  TColor SeparatorColor = clBtnFace;
  TColor CheckedColor = clHighlight;
  TColor FontColor = kMenuRoleMenuText;
  bool UseSystemColors = true;
  bool UseDimColor = false;
};

// The colours items are actually drawn with, all plain RGB.
struct TMenuWorkingColors {
  TColor ItemBack = 0;
  TColor IconBack = 0;
  TColor SelectFill = 0;
  TColor SelectBorder = 0;
  TColor SelectText = 0;
  TColor MenuBar = 0;
  TColor DisabledText = 0;
  TColor Separator = 0;
  TColor CheckFrame = 0;
  TColor CheckedBack = 0;
  TColor CheckedSelectedBack = 0;
  TColor Font = 0;
  friend bool operator==(const TMenuWorkingColors&, const TMenuWorkingColors&) = default;
};

// high_color: the screen has more than 15 bits per pixel.
TMenuWorkingColors DeriveMenuColors(const TMenuColorSettings& settings, bool high_color,
                                    const TColorResolver& resolve);

struct TMenuTextState {
  bool Disabled = false;
  bool Selected = false;  // also a hot-tracked menu-bar item
  bool TopLevel = false;  // an item of the menu bar itself
};

// The caption colour of an item in the given state.
TColor MenuCaptionColor(const TMenuWorkingColors& colors, bool use_system_colors,
                        const TMenuTextState& state);
