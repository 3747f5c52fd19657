#include "win32/GdiPrettyCanvas.h"

#include <map>
#include <string>
#include <tuple>

#include "win32/GdiCanvas.h"
#include "win32/WideString.h"

namespace {

using FontKey = std::tuple<std::string, int, int>;

// Lives for the whole program, like the editor's fonts.
std::map<FontKey, HFONT>& Fonts() {
  static std::map<FontKey, HFONT> fonts;
  return fonts;
}

}  // namespace

HFONT TGdiPrettyCanvas::ProportionalFont(const TFont& font) {
  const FontKey key{font.Name, font.Height, font.Style & 0x0F};
  auto it = Fonts().find(key);
  if (it != Fonts().end()) return it->second;
  HFONT f = CreateFontW(
      font.Height, 0, 0, 0, (font.Style & fsBold) ? FW_BOLD : FW_NORMAL,
      (font.Style & fsItalic) ? TRUE : FALSE, (font.Style & fsUnderline) ? TRUE : FALSE,
      (font.Style & fsStrikeOut) ? TRUE : FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, Wide(font.Name).c_str());
  Fonts().emplace(key, f);
  return f;
}

int TGdiPrettyCanvas::LineHeight(const TFont& font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, ProportionalFont(font));
  SIZE size{};
  GetTextExtentPoint32A(dc, "CompletionProposal", 18, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cy > 0 ? size.cy : (font.Height < 0 ? -font.Height : font.Height);
}

TGdiPrettyCanvas::TGdiPrettyCanvas(HDC dc, const TRect& clip)
    : dc_(dc), clip_{clip.left, clip.top, clip.right, clip.bottom} {
  original_font_ = GetCurrentObject(dc_, OBJ_FONT);
  SelectObject(dc_, ProportionalFont(font_));
}

TGdiPrettyCanvas::~TGdiPrettyCanvas() {
  SelectObject(dc_, original_font_);
  SetBkMode(dc_, OPAQUE);
}

void TGdiPrettyCanvas::SetFont(const TFont& font) {
  font_ = font;
  SelectObject(dc_, ProportionalFont(font_));
}

int TGdiPrettyCanvas::TextWidth(std::string_view text) {
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void TGdiPrettyCanvas::PaintText(int x, int y, std::string_view text) {
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_LEFT | TA_TOP);
  SetTextColor(dc_, TGdiCanvas::ToColorRef(font_.Color));
  ExtTextOutA(dc_, x, y, ETO_CLIPPED, &clip_, text.data(), static_cast<UINT>(text.size()), nullptr);
}
