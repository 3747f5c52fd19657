#include "win32/SettingsCommonDialogs.h"

#include <commdlg.h>

#include <cstring>

#include "win32/WideString.h"
#include "win32/Win32Dpi.h"

COLORREF ResolveColor(TColor color, TColor fallback) {
  if (color == clNone || color == clDefault) color = fallback;
  if (color == clNone || color == clDefault) color = clWindow;
  if (IsSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFF);
}

std::optional<TColor> RunColorDialog(HWND owner, TColor initial) {
  // The custom colours last as long as the program, as the user expects.
  static COLORREF custom_colors[16] = {};
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner;
  cc.rgbResult = ResolveColor(initial, clWindow);
  cc.lpCustColors = custom_colors;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_SOLIDCOLOR | CC_ANYCOLOR;
  if (!ChooseColorA(&cc)) return std::nullopt;
  return static_cast<TColor>(cc.rgbResult & 0x00FFFFFF);
}

std::optional<TFontChoice> RunFontDialog(HWND owner, const TFontChoice& initial) {
  // The dialog works in pixels of the system's dpi; the program keeps font
  // heights at 96 dpi.
  const int dpi = SystemDpi();
  LOGFONTW lf{};
  lf.lfHeight = ScaleForDpi(initial.font.Height, dpi);
  lf.lfWeight = (initial.font.Style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (initial.font.Style & fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (initial.font.Style & fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (initial.font.Style & fsStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = static_cast<BYTE>(initial.charset);
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  Wide(initial.font.Name).copy(lf.lfFaceName, LF_FACESIZE - 1);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = owner;
  cf.lpLogFont = &lf;
  cf.rgbColors = ResolveColor(initial.font.Color, clWindowText);
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_FIXEDPITCHONLY | CF_FORCEFONTEXIST |
             CF_NOSIMULATIONS | CF_EFFECTS;
  if (!ChooseFontW(&cf)) return std::nullopt;
  TFontChoice choice = initial;
  choice.font.Name = Utf8(lf.lfFaceName);
  choice.font.Height = UnscaleForDpi(lf.lfHeight, dpi);
  TFontStyles style = 0;
  if (lf.lfWeight >= FW_BOLD) style |= fsBold;
  if (lf.lfItalic) style |= fsItalic;
  if (lf.lfUnderline) style |= fsUnderline;
  if (lf.lfStrikeOut) style |= fsStrikeOut;
  choice.font.Style = style;
  // A colour the user left alone stays a system colour.
  if (cf.rgbColors != ResolveColor(initial.font.Color, clWindowText)) {
    choice.font.Color = static_cast<TColor>(cf.rgbColors & 0x00FFFFFF);
  }
  choice.charset = lf.lfCharSet;
  return choice;
}
