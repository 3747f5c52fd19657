#include "win32/PrintingSurface.h"

TGdiPrintSurface::TGdiPrintSurface(HDC dc, std::function<void(HDC)> release)
    : dc_(dc), release_(std::move(release)), canvas_(dc) {}

TGdiPrintSurface::~TGdiPrintSurface() {
  if (release_) release_(dc_);
}

TPrintFontMetrics TGdiPrintSurface::MeasurePrintFont(const TFont& font, TFontStyles style) {
  // Measured on this context: a printer's fonts differ from the screen's.
  HGDIOBJ old = SelectObject(dc_, TGdiCanvas::SharedFont(font, style));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  SelectObject(dc_, old);
  TPrintFontMetrics m;
  m.AveCharWidth = tm.tmAveCharWidth;
  m.Height = tm.tmHeight;
  m.ExternalLeading = tm.tmExternalLeading;
  m.Descent = tm.tmDescent;
  return m;
}

int TGdiPrintSurface::TextWidth(const TFont& font, TFontStyles style, std::string_view text) {
  HGDIOBJ old = SelectObject(dc_, TGdiCanvas::SharedFont(font, style));
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc_, old);
  return size.cx;
}

void TGdiPrintSurface::DrawPlainText(int x, int y, std::string_view text, const TFont& font,
                                     TColor color) {
  HGDIOBJ old = SelectObject(dc_, TGdiCanvas::SharedFont(font, font.Style));
  const int old_mode = SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, TGdiCanvas::ToColorRef(canvas_.ResolveColor(color)));
  SetTextAlign(dc_, TA_LEFT | TA_TOP);
  ExtTextOutA(dc_, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
  SetBkMode(dc_, old_mode);
  SelectObject(dc_, old);
}
