#pragma once
// The print engine's drawing surface on a GDI device context: the printer's
// during a job, the screen's for measuring, the preview window's when shown.
#include <windows.h>

#include <functional>

#include "print/PrintSurface.h"
#include "win32/GdiCanvas.h"

class TGdiPrintSurface : public IPrintSurface {
 public:
  // release, when given, is called with the context when the surface goes.
  explicit TGdiPrintSurface(HDC dc, std::function<void(HDC)> release = nullptr);
  ~TGdiPrintSurface() override;
  TGdiPrintSurface(const TGdiPrintSurface&) = delete;
  TGdiPrintSurface& operator=(const TGdiPrintSurface&) = delete;

  HDC Handle() const { return dc_; }
  ICanvas& Canvas() override { return canvas_; }
  TPrintFontMetrics MeasurePrintFont(const TFont& font, TFontStyles style) override;
  int TextWidth(const TFont& font, TFontStyles style, std::string_view text) override;
  void DrawPlainText(int x, int y, std::string_view text, const TFont& font, TColor color) override;

 private:
  HDC dc_;
  std::function<void(HDC)> release_;
  TGdiCanvas canvas_;
};
