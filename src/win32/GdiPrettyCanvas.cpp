#include "win32/GdiPrettyCanvas.h"

#include <map>
#include <tuple>

#include "app/DpiScale.h"
#include "win32/GdiCanvas.h"
#include "win32/WideString.h"

namespace {

using FontKey = std::tuple<std::string, int, int, int>;

// "MS Sans Serif" is a bitmap font: a few sizes and the characters of one
// code page. Its outline twin scales to every dpi and, through font linking,
// shows the characters of other scripts.
std::wstring OutlineFace(const std::string& name) {
  return Wide(name == "MS Sans Serif" ? std::string("Microsoft Sans Serif") : name);
}

// Lives for the whole program, like the editor's fonts.
std::map<FontKey, HFONT>& Fonts() {
  static std::map<FontKey, HFONT> fonts;
  return fonts;
}

}  // namespace

HFONT TGdiPrettyCanvas::ProportionalFont(const TFont& font, int dpi) {
  const FontKey key{font.Name, font.Height, font.Style & 0x0F, dpi};
  auto it = Fonts().find(key);
  if (it != Fonts().end()) return it->second;
  HFONT f = CreateFontW(
      ScaleForDpi(font.Height, dpi), 0, 0, 0, (font.Style & fsBold) ? FW_BOLD : FW_NORMAL,
      (font.Style & fsItalic) ? TRUE : FALSE, (font.Style & fsUnderline) ? TRUE : FALSE,
      (font.Style & fsStrikeOut) ? TRUE : FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
      OutlineFace(font.Name).c_str());
  Fonts().emplace(key, f);
  return f;
}

int TGdiPrettyCanvas::LineHeight(const TFont& font, int dpi) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, ProportionalFont(font, dpi));
  SIZE size{};
  GetTextExtentPoint32W(dc, L"CompletionProposal", 18, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cy > 0 ? size.cy : ScaleForDpi(font.Height < 0 ? -font.Height : font.Height, dpi);
}

TGdiPrettyCanvas::TGdiPrettyCanvas(HDC dc, const TRect& clip, int dpi, bool utf8)
    : dc_(dc), clip_{clip.left, clip.top, clip.right, clip.bottom}, dpi_(dpi), utf8_(utf8) {
  original_font_ = GetCurrentObject(dc_, OBJ_FONT);
  SelectObject(dc_, ProportionalFont(font_, dpi_));
}

TGdiPrettyCanvas::~TGdiPrettyCanvas() {
  SelectObject(dc_, original_font_);
  SetBkMode(dc_, OPAQUE);
}

void TGdiPrettyCanvas::SetFont(const TFont& font) {
  font_ = font;
  SelectObject(dc_, ProportionalFont(font_, dpi_));
}

std::wstring TGdiPrettyCanvas::WideText(std::string_view text) const {
  return utf8_ ? Wide(text) : WideFromAnsi(text);
}

int TGdiPrettyCanvas::TextWidth(std::string_view text) {
  const std::wstring wide = WideText(text);
  SIZE size{};
  GetTextExtentPoint32W(dc_, wide.data(), static_cast<int>(wide.size()), &size);
  return size.cx;
}

void TGdiPrettyCanvas::PaintText(int x, int y, std::string_view text) {
  const std::wstring wide = WideText(text);
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_LEFT | TA_TOP);
  SetTextColor(dc_, TGdiCanvas::ToColorRef(font_.Color));
  ExtTextOutW(dc_, x, y, ETO_CLIPPED, &clip_, wide.data(), static_cast<UINT>(wide.size()), nullptr);
}
