#include "win32/PrintingSurface.h"

#include "win32/WideString.h"

TGdiPrintSurface::TGdiPrintSurface(HDC dc, std::function<void(HDC)> release)
    : dc_(dc), release_(std::move(release)), canvas_(dc) {}

TGdiPrintSurface::~TGdiPrintSurface() {
  if (release_) release_(dc_);
}

TPrintFontMetrics TGdiPrintSurface::MeasurePrintFont(const TFont& font, TFontStyles style) {
  // Measured on this context: a printer's fonts differ from the screen's.
  HGDIOBJ old = SelectObject(dc_, TGdiCanvas::SharedFont(font, style));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc_, &tm);
  SelectObject(dc_, old);
  TPrintFontMetrics m;
  m.AveCharWidth = tm.tmAveCharWidth;
  m.Height = tm.tmHeight;
  m.ExternalLeading = tm.tmExternalLeading;
  m.Descent = tm.tmDescent;
  return m;
}

int TGdiPrintSurface::TextWidth(const TFont& font, TFontStyles style, std::string_view text) {
  const std::wstring wide = Wide(text);
  HGDIOBJ old = SelectObject(dc_, TGdiCanvas::SharedFont(font, style));
  SIZE size{};
  GetTextExtentPoint32W(dc_, wide.data(), static_cast<int>(wide.size()), &size);
  SelectObject(dc_, old);
  return size.cx;
}

void TGdiPrintSurface::DrawPlainText(int x, int y, std::string_view text, const TFont& font,
                                     TColor color) {
  const std::wstring wide = Wide(text);
  HGDIOBJ old = SelectObject(dc_, TGdiCanvas::SharedFont(font, font.Style));
  const int old_mode = SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, TGdiCanvas::ToColorRef(canvas_.ResolveColor(color)));
  SetTextAlign(dc_, TA_LEFT | TA_TOP);
  ExtTextOutW(dc_, x, y, 0, nullptr, wide.data(), static_cast<UINT>(wide.size()), nullptr);
  SetBkMode(dc_, old_mode);
  SelectObject(dc_, old);
}
