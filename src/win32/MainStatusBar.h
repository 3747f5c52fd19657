#pragma once
// The main window's eight-panel status bar.
#include <windows.h>

#include <string>

class TMainStatusBar {
 public:
  static constexpr int kHeight = 19;  // at 96 dpi
  static constexpr int kPanelCount = 8;

  TMainStatusBar() = default;
  ~TMainStatusBar();
  TMainStatusBar(const TMainStatusBar&) = delete;
  TMainStatusBar& operator=(const TMainStatusBar&) = delete;

  void Create(HWND parent, int id, int dpi);
  // Font, height and panel widths for another dpi; the encoding's panel is
  // measured again in the new font.
  void SetDpi(int dpi);
  HWND Handle() const { return handle_; }
  // Writes a panel only when its text changes.
  void SetPanel(int panel, const std::string& text);
  std::string Panel(int panel) const;
  // Follows the parent's width.
  void Resize();

 private:
  void Place();
  // The longest encoding name in the panels' font, with its margin and the
  // size grip.
  int EncodingPanelWidth() const;
  // The panels' edges for the bar's width.
  void SetParts();

  HWND handle_ = nullptr;
  HFONT font_ = nullptr;
  int dpi_ = 96;
  int encoding_width_ = 0;
  std::string texts_[kPanelCount];
};
