#pragma once
// Pretty text on a GDI device context in a proportional font: the list's
// display texts are drawn in their real character widths.
#include <windows.h>

#include <string_view>

#include "app/PrettyText.h"

class TGdiPrettyCanvas : public IPrettyCanvas {
 public:
  // Text is clipped to `clip` (client pixels).
  TGdiPrettyCanvas(HDC dc, const TRect& clip);
  ~TGdiPrettyCanvas() override;
  TGdiPrettyCanvas(const TGdiPrettyCanvas&) = delete;
  TGdiPrettyCanvas& operator=(const TGdiPrettyCanvas&) = delete;

  TFont Font() const override { return font_; }
  void SetFont(const TFont& font) override;
  int TextWidth(std::string_view text) override;
  void PaintText(int x, int y, std::string_view text) override;

  // The shared font for a description (its Style included), made once.
  static HFONT ProportionalFont(const TFont& font);
  // Height of a line of text in the font.
  static int LineHeight(const TFont& font);

 private:
  HDC dc_;
  RECT clip_;
  TFont font_;
  HGDIOBJ original_font_;
};
