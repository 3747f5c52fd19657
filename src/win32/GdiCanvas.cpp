#include "win32/GdiCanvas.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "app/DpiScale.h"
#include "win32/WideString.h"

namespace {

struct FontKey {
  std::string name;
  int height;
  int style;
  int charset;
  bool operator<(const FontKey& o) const {
    return std::tie(name, height, style, charset) < std::tie(o.name, o.height, o.style, o.charset);
  }
};

// Lives for the whole program: fonts are shared between editors and windows.
std::map<FontKey, HFONT>& FontTable() {
  static std::map<FontKey, HFONT> table;
  return table;
}

std::map<FontKey, TFontMetrics>& MetricsTable() {
  static std::map<FontKey, TFontMetrics> table;
  return table;
}

}  // namespace

TGdiCanvas::TGdiCanvas(HDC dc, int dpi) : dc_(dc), dpi_(dpi) {
  original_font_ = GetCurrentObject(dc_, OBJ_FONT);
}

TGdiCanvas::~TGdiCanvas() {
  if (original_font_) SelectObject(dc_, original_font_);
}

COLORREF TGdiCanvas::ToColorRef(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
  if (color == clNone || color == clDefault) return GetSysColor(COLOR_WINDOW);
  return static_cast<COLORREF>(color & 0x00FFFFFF);
}

TColor TGdiCanvas::ResolveColor(TColor color) { return static_cast<TColor>(ToColorRef(color)); }

void TGdiCanvas::FillRect(const TRect& rect, TColor color) {
  if (rect.IsEmpty()) return;
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  SetDCBrushColor(dc_, ToColorRef(color));
  ::FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void TGdiCanvas::DrawLine(TPoint from, TPoint to, TColor color) {
  HGDIOBJ old = SelectObject(dc_, GetStockObject(DC_PEN));
  SetDCPenColor(dc_, ToColorRef(color));
  MoveToEx(dc_, from.x, from.y, nullptr);
  LineTo(dc_, to.x, to.y);
  SelectObject(dc_, old);
}

void TGdiCanvas::DrawWave(int x1, int x2, int y, int height, TColor color) {
  if (x2 <= x1 || height <= 0) return;
  // Up and down by the height every height pixels, from the bottom.
  std::vector<POINT> points;
  points.reserve(static_cast<std::size_t>((x2 - x1) / height + 2));
  bool down = true;
  for (int x = x1; x < x2; x += height, down = !down) points.push_back({x, down ? y + height : y});
  // The last stretch stops at x2 on its way up or down.
  const POINT end = points.back();
  const int rest = x2 - end.x;
  points.push_back({x2, end.y == y ? y + rest : end.y - rest});
  const int width = std::max(1, dpi_ / 96);
  HPEN pen = CreatePen(PS_SOLID, width, ToColorRef(color));
  HGDIOBJ old = SelectObject(dc_, pen);
  Polyline(dc_, points.data(), static_cast<int>(points.size()));
  SelectObject(dc_, old);
  DeleteObject(pen);
}

HFONT TGdiCanvas::SharedFont(const TFont& font, TFontStyles style, int dpi) {
  const int height = ScaleForDpi(font.Height, dpi);
  FontKey key{font.Name, height, style & 0x0F, font.CharSet & 0xFF};
  auto& table = FontTable();
  auto it = table.find(key);
  if (it != table.end()) return it->second;
  HFONT f = CreateFontW(
      height, 0, 0, 0, (style & fsBold) ? FW_BOLD : FW_NORMAL, (style & fsItalic) ? TRUE : FALSE,
      (style & fsUnderline) ? TRUE : FALSE, (style & fsStrikeOut) ? TRUE : FALSE,
      static_cast<DWORD>(font.CharSet & 0xFF), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
      DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, Wide(font.Name).c_str());
  table.emplace(key, f);
  return f;
}

TFontMetrics TGdiCanvas::Measure(const TFont& font, TFontStyles style, int dpi) {
  FontKey key{font.Name, ScaleForDpi(font.Height, dpi), style & 0x0F, font.CharSet & 0xFF};
  auto& table = MetricsTable();
  auto it = table.find(key);
  if (it != table.end()) return it->second;
  TFontMetrics m;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, SharedFont(font, style, dpi));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  ABC abc{};
  if (GetCharABCWidthsA(dc, 'M', 'M', &abc)) {
    m.Advance = abc.abcA + static_cast<int>(abc.abcB) + abc.abcC + tm.tmOverhang;
    m.Overhang = abc.abcC < 0 ? -abc.abcC : 0;
  } else {
    m.Advance = tm.tmAveCharWidth;
  }
  if (m.Advance <= 0) m.Advance = tm.tmAveCharWidth;
  m.Overhang = std::max<int>(m.Overhang, tm.tmOverhang);
  m.Height = tm.tmHeight < 0 ? -tm.tmHeight : tm.tmHeight;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  table.emplace(key, m);
  return m;
}

void TGdiCanvas::UseFont(const TFont& font, TFontStyles style) {
  SelectObject(dc_, SharedFont(font, style, dpi_));
}

void TGdiCanvas::DrawTextRun(int x, int y, const TRect& clip, std::string_view text, int advance,
                             TColor foreground, TColor background, bool opaque) {
  if (clip.IsEmpty()) return;
  RECT r{clip.left, clip.top, clip.right, clip.bottom};
  const std::size_t n = text.size();
  if (advances_.size() < n) advances_.resize((n + 63) / 64 * 64);
  std::fill(advances_.begin(), advances_.begin() + static_cast<std::ptrdiff_t>(n), advance);
  SetTextColor(dc_, ToColorRef(foreground));
  SetBkColor(dc_, ToColorRef(background));
  SetBkMode(dc_, opaque ? OPAQUE : TRANSPARENT);
  SetTextAlign(dc_, TA_LEFT | TA_TOP);
  ExtTextOutA(dc_, x, y, ETO_CLIPPED | (opaque ? ETO_OPAQUE : 0), &r, text.data(),
              static_cast<UINT>(n), advances_.data());
}

void TGdiCanvas::DrawWideTextRun(int x, int y, const TRect& clip, std::u16string_view text,
                                 std::span<const int> advances, TColor foreground,
                                 TColor background, bool opaque) {
  if (clip.IsEmpty()) return;
  RECT r{clip.left, clip.top, clip.right, clip.bottom};
  const std::size_t n = std::min(text.size(), advances.size());
  if (advances_.size() < n) advances_.resize((n + 63) / 64 * 64);
  std::copy(advances.begin(), advances.begin() + static_cast<std::ptrdiff_t>(n), advances_.begin());
  SetTextColor(dc_, ToColorRef(foreground));
  SetBkColor(dc_, ToColorRef(background));
  SetBkMode(dc_, opaque ? OPAQUE : TRANSPARENT);
  SetTextAlign(dc_, TA_LEFT | TA_TOP);
  // The given advances place every glyph, so a glyph the font lacks (drawn
  // as a box or taken from another font) still fills exactly its cells.
  ExtTextOutW(dc_, x, y, ETO_CLIPPED | (opaque ? ETO_OPAQUE : 0), &r,
              reinterpret_cast<const wchar_t*>(text.data()), static_cast<UINT>(n),
              advances_.data());
}
