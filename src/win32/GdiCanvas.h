#pragma once
// The canvas on a GDI device context. Fonts are made once per face, height,
// style and dpi and shared by every canvas of the program. Font heights are
// given at 96 dpi (as the program's fonts are described) and made for the
// canvas's dpi.
#include <windows.h>

#include <string_view>
#include <vector>

#include "platform/Canvas.h"

class TGdiCanvas : public ICanvas {
 public:
  explicit TGdiCanvas(HDC dc, int dpi = 96);
  ~TGdiCanvas() override;
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  HDC Handle() const { return dc_; }

  TColor ResolveColor(TColor color) override;
  void FillRect(const TRect& rect, TColor color) override;
  void DrawLine(TPoint from, TPoint to, TColor color) override;
  void DrawWave(int x1, int x2, int y, int height, TColor color) override;
  void UseFont(const TFont& font, TFontStyles style) override;
  void DrawTextRun(int x, int y, const TRect& clip, std::string_view text, int advance,
                   TColor foreground, TColor background, bool opaque) override;
  void DrawWideTextRun(int x, int y, const TRect& clip, std::u16string_view text,
                       std::span<const int> advances, TColor foreground, TColor background,
                       bool opaque) override;

  // The shared font for a description and style, made for dpi.
  static HFONT SharedFont(const TFont& font, TFontStyles style, int dpi = 96);
  // Advance ("M" plus overhang), cell height and overhang of a font at dpi.
  static TFontMetrics Measure(const TFont& font, TFontStyles style, int dpi = 96);
  static COLORREF ToColorRef(TColor color);

 private:
  HDC dc_;
  int dpi_;
  HGDIOBJ original_font_ = nullptr;
  // Per-character advances for the text output call, grown in blocks of 64.
  std::vector<INT> advances_;
};
