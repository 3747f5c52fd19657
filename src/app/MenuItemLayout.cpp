#include "app/MenuItemLayout.h"

#include <algorithm>
#include <cmath>

#include "app/DpiScale.h"

namespace {

constexpr int kDropDownMargin = 4;  // the menu's left margin, painted with each item
constexpr int kBarTextIndent = 4;
constexpr int kSubMenuArrowRoom = 6;
constexpr int kCheckBoxSize = 10;

}  // namespace

TMenuItemSize MeasureMenuItem(const TMenuMeasureInput& item, const IMenuTextMeasure& measure,
                              TMenuItemSize reported) {
  const TDpiScale s{item.Dpi};
  const bool separator = item.Separator || item.Caption == "-";
  const std::string caption = separator ? std::string() : item.Caption;
  std::string text = caption;
  // "WWW" keeps a gap between caption and shortcut, so shortcuts line up.
  if (!separator && !item.ShortCut.empty()) text += "WWW" + item.ShortCut;
  int width = measure.TextWidth(text) + s(5);
  if (caption.find('&') != std::string::npos) width -= measure.TextWidth("&");
  if (item.DropDown && item.HasSubItems) width += s(kSubMenuArrowRoom);
  TMenuItemSize image = item.Image;
  if (item.DropDown) image.Width = std::max(image.Width, s(item.IconWidth));

  TMenuItemSize out = reported;
  out.Width = std::max(out.Width, width + image.Width);
  if (separator) {
    out.Height = s(kMenuSeparatorHeight);
  } else {
    const int text_height = measure.TextHeight();
    const int text_room = text_height + static_cast<int>(std::lround(text_height * 0.75));
    out.Height = std::max({out.Height, text_room, image.Height + s(6)});
  }
  return out;
}

TMenuDrawLayout LayoutMenuItem(const TMenuDrawInput& in) {
  const TDpiScale s{in.Dpi};
  const int margin = s(kDropDownMargin), bar_indent = s(kBarTextIndent), icon_width = s(in.IconWidth);
  TMenuDrawLayout l;
  const int w = in.Item.Width();
  if (!in.DropDown) {
    l.Bitmap = {in.Item.left, in.Item.top, in.Item.right, in.Item.bottom - 1};
    const int h = l.Bitmap.Height();
    l.Area = {0, 0, w, h};
    l.IconColumn = {};
    l.TextArea = {bar_indent, 0, w, h};
    if (in.RightToLeft) l.TextArea = {0, 0, w - bar_indent, h};
    l.Selection = {0, 0, std::max(0, w - s(2)), h};
    l.BarShadow = {std::max(0, w - s(2)), std::min(s(2), h), w, h};
  } else {
    l.Bitmap = {in.Item.left - margin, in.Item.top, in.Item.right, in.Item.bottom};
    const int h = l.Bitmap.Height();
    l.Area = {margin, 0, margin + w, h};
    const int text_indent = std::max(icon_width, in.Image.Width);
    if (in.RightToLeft) {
      l.IconColumn = {l.Area.right - icon_width, 0, l.Area.right, h};
      l.TextArea = {l.Area.left, 0, l.Area.right - text_indent, h};
    } else {
      l.IconColumn = {l.Area.left, 0, l.Area.left + icon_width, h};
      l.TextArea = {l.Area.left + text_indent, 0, l.Area.right, h};
    }
    l.Selection = {l.Area.left, s(1), l.Area.right, h - s(1)};
  }
  const int h = l.Area.Height();
  const TRect& ic = l.IconColumn;
  l.ImageFrame = {ic.left + s(1), s(2), ic.right - s(3), h - s(2)};
  const int box = s(kCheckBoxSize);
  const int box_left = ic.left + (ic.Width() - box) / 2;
  const int box_top = (h - box) / 2;
  l.CheckBox = {box_left, box_top, box_left + box, box_top + box};
  if (in.Image.Width < icon_width)
    l.Image.x = ic.left + (icon_width - in.Image.Width) / 2;
  else
    l.Image.x = in.RightToLeft ? ic.right - s(2) - in.Image.Width : ic.left + s(2);
  l.Image.y = s(3);
  l.SeparatorY = h / 2;
  if (in.RightToLeft) {
    l.SeparatorLeft = l.Area.left;
    l.SeparatorRight = l.TextArea.right - s(7);
    l.Caption = {l.TextArea.right - s(3), (h - in.TextHeightW) / 2};
    l.ShortCutEdge = l.Area.left + s(10);
  } else {
    l.SeparatorLeft = l.TextArea.left + s(7);
    l.SeparatorRight = l.Area.right;
    l.Caption = {l.TextArea.left + s(3), (h - in.TextHeightW) / 2};
    l.ShortCutEdge = l.Area.right - s(10);
  }
  return l;
}

std::vector<TMenuLine> MenuTickLines(const TRect& box, int dpi) {
  // Three strokes, one pixel apart, make a tick about two pixels thick (more
  // on a finer screen).
  const TDpiScale s{dpi};
  std::vector<TMenuLine> lines;
  const int x = box.left + s(2);
  const int y = box.top + s(4);
  for (int i = 0; i < s(3); ++i) {
    lines.push_back({{x, y + i}, {x + s(2), y + s(2) + i}});
    lines.push_back({{x + s(2), y + s(2) + i}, {x + s(6), y - s(2) + i}});
  }
  return lines;
}

TMenuImageLook MenuImageLookFor(bool disabled, bool checked, bool selected, bool high_color) {
  if (disabled) return TMenuImageLook::Greyed;
  if (checked) return TMenuImageLook::Plain;
  if (selected) return TMenuImageLook::Raised;
  return high_color ? TMenuImageLook::Dimmed : TMenuImageLook::Plain;
}

void PaintMenuImage(const TMenuImage& image, int x, int y, TMenuImageLook look,
                    const TMenuImageTint& tint, const TPixelWriter& put) {
  if (image.Width <= 0 || image.Height <= 0) return;
  if (look == TMenuImageLook::Raised) {
    // The shadow takes the image's shape: every pixel that differs from the
    // bottom-left one, which is where the background shows.
    const bool corner_opaque = image.OpaqueAt(0, image.Height - 1);
    const TColor corner = image.At(0, image.Height - 1);
    const TColor shadow = ShadeColor(tint.SelectFill, 50);
    for (int iy = 0; iy < image.Height; ++iy) {
      for (int ix = 0; ix < image.Width; ++ix) {
        if (!image.OpaqueAt(ix, iy)) continue;
        if (corner_opaque && image.At(ix, iy) == corner) continue;
        put(x + ix + 1, y + iy + 1, shadow);
      }
    }
    x -= 1;
    y -= 1;
  }
  for (int iy = 0; iy < image.Height; ++iy) {
    for (int ix = 0; ix < image.Width; ++ix) {
      if (!image.OpaqueAt(ix, iy)) continue;
      TColor c = image.At(ix, iy);
      if (look == TMenuImageLook::Greyed) c = LightenColor(GreyColor(c, tint.GrayLevel), 40);
      if (look == TMenuImageLook::Dimmed) c = LightenColor(c, tint.DimLevel);
      put(x + ix, y + iy, c);
    }
  }
}
