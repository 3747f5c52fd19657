#pragma once
// Pretty text on a GDI device context in a proportional font: the list's
// display texts are drawn in their real character widths, with the wide
// text functions, so every character of the texts shows.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/PrettyText.h"

class TGdiPrettyCanvas : public IPrettyCanvas {
 public:
  // Text is clipped to `clip` (client pixels). Font heights are given at 96
  // dpi and made for dpi; texts are UTF-8 when utf8, else in the ANSI code
  // page.
  TGdiPrettyCanvas(HDC dc, const TRect& clip, int dpi = 96, bool utf8 = false);
  ~TGdiPrettyCanvas() override;
  TGdiPrettyCanvas(const TGdiPrettyCanvas&) = delete;
  TGdiPrettyCanvas& operator=(const TGdiPrettyCanvas&) = delete;

  TFont Font() const override { return font_; }
  void SetFont(const TFont& font) override;
  int TextWidth(std::string_view text) override;
  void PaintText(int x, int y, std::string_view text) override;

  // The shared font for a description (its Style included) at dpi, made once.
  static HFONT ProportionalFont(const TFont& font, int dpi = 96);
  // Height of a line of text in the font at dpi.
  static int LineHeight(const TFont& font, int dpi = 96);

 private:
  std::wstring WideText(std::string_view text) const;

  HDC dc_;
  RECT clip_;
  int dpi_;
  bool utf8_;
  TFont font_;
  HGDIOBJ original_font_;
};
