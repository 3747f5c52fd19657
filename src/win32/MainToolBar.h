#pragma once
// The tool-bar strip of the main window: the command buttons with their tool
// tips, and the two macro-parameter caption buttons with their edit boxes.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/Commands.h"

class TMainToolBar {
 public:
  // At 96 dpi; StripHeight() gives it at the window's dpi.
  static constexpr int kStripHeight = 33;

  TMainToolBar() = default;
  ~TMainToolBar();
  TMainToolBar(const TMainToolBar&) = delete;
  TMainToolBar& operator=(const TMainToolBar&) = delete;

  // Creates the strip's windows laid out for the parent's dpi.
  void Create(HWND parent, int id, int dpi);
  // Lays the strip out anew for another dpi: glyphs, buttons, gaps, the
  // parameter boxes and their font.
  void SetDpi(int dpi);
  int Dpi() const { return dpi_; }
  int StripHeight() const;
  HWND Handle() const { return toolbar_; }
  // The buttons' images, which the menus show beside their items too.
  HIMAGELIST Images() const { return images_; }
  HWND ParamEdit(int which) const { return which == 2 ? ed_param2_ : ed_param3_; }
  // The text of a parameter box exactly as typed.
  std::string ParamText(int which) const;
  void SetParamText(int which, const std::string& text);

  // Writes a button's state only when it differs.
  void SetEnabled(TCommandId id, bool enabled);
  bool Enabled(TCommandId id) const;
  void SetChecked(TCommandId id, bool checked);
  bool Checked(TCommandId id) const;
  void SetTip(TCommandId id, const std::string& tip);
  std::string Tip(TCommandId id) const;

  // Answers the tool tips' request for text.
  bool HandleNotify(NMHDR* header);
  // Draws the etched edges at the top and bottom of the strip.
  void PaintStrip(HDC dc, int width) const;

 private:
  void Place();

  HWND toolbar_ = nullptr;
  HWND btn_param2_ = nullptr;
  HWND btn_param3_ = nullptr;
  HWND ed_param2_ = nullptr;
  HWND ed_param3_ = nullptr;
  HIMAGELIST images_ = nullptr;
  // The parameter boxes' font at a dpi other than 96 (the stock font at 96).
  HFONT font_ = nullptr;
  int dpi_ = 96;
  std::string tips_[cmParam3 + 1];
  std::wstring tip_shown_;  // the wide text a tip was last handed
};
