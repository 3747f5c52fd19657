#include "app/MenuItemLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDropDownMargin = 4;  // the menu's left margin, painted with each item
constexpr int kBarTextIndent = 4;
constexpr int kSubMenuArrowRoom = 6;
constexpr int kCheckBoxSize = 10;

}  // namespace

TMenuItemSize MeasureMenuItem(const TMenuMeasureInput& item, const IMenuTextMeasure& measure,
                              TMenuItemSize reported) {
  const bool separator = item.Separator || item.Caption == "-";
  const std::string caption = separator ? std::string() : item.Caption;
  std::string text = caption;
  // "WWW" keeps a gap between caption and shortcut, so shortcuts line up.
  if (!separator && !item.ShortCut.empty()) text += "WWW" + item.ShortCut;
  int width = measure.TextWidth(text) + 5;
  if (caption.find('&') != std::string::npos) width -= measure.TextWidth("&");
  if (item.DropDown && item.HasSubItems) width += kSubMenuArrowRoom;
  TMenuItemSize image = item.Image;
  if (item.DropDown) image.Width = std::max(image.Width, item.IconWidth);

  TMenuItemSize out = reported;
  out.Width = std::max(out.Width, width + image.Width);
  if (separator) {
    out.Height = kMenuSeparatorHeight;
  } else {
    const int text_height = measure.TextHeight();
    const int text_room = text_height + static_cast<int>(std::lround(text_height * 0.75));
    out.Height = std::max({out.Height, text_room, image.Height + 6});
  }
  return out;
}

TMenuDrawLayout LayoutMenuItem(const TMenuDrawInput& in) {
  TMenuDrawLayout l;
  const int w = in.Item.Width();
  if (!in.DropDown) {
    l.Bitmap = {in.Item.left, in.Item.top, in.Item.right, in.Item.bottom - 1};
    const int h = l.Bitmap.Height();
    l.Area = {0, 0, w, h};
    l.IconColumn = {};
    l.TextArea = {kBarTextIndent, 0, w, h};
    if (in.RightToLeft) l.TextArea = {0, 0, w - kBarTextIndent, h};
    l.Selection = {0, 0, std::max(0, w - 2), h};
    l.BarShadow = {std::max(0, w - 2), std::min(2, h), w, h};
  } else {
    l.Bitmap = {in.Item.left - kDropDownMargin, in.Item.top, in.Item.right, in.Item.bottom};
    const int h = l.Bitmap.Height();
    l.Area = {kDropDownMargin, 0, kDropDownMargin + w, h};
    const int text_indent = std::max(in.IconWidth, in.Image.Width);
    if (in.RightToLeft) {
      l.IconColumn = {l.Area.right - in.IconWidth, 0, l.Area.right, h};
      l.TextArea = {l.Area.left, 0, l.Area.right - text_indent, h};
    } else {
      l.IconColumn = {l.Area.left, 0, l.Area.left + in.IconWidth, h};
      l.TextArea = {l.Area.left + text_indent, 0, l.Area.right, h};
    }
    l.Selection = {l.Area.left, 1, l.Area.right, h - 1};
  }
  const int h = l.Area.Height();
  const TRect& ic = l.IconColumn;
  l.ImageFrame = {ic.left + 1, 2, ic.right - 3, h - 2};
  const int box_left = ic.left + (ic.Width() - kCheckBoxSize) / 2;
  const int box_top = (h - kCheckBoxSize) / 2;
  l.CheckBox = {box_left, box_top, box_left + kCheckBoxSize, box_top + kCheckBoxSize};
  if (in.Image.Width < in.IconWidth)
    l.Image.x = ic.left + (in.IconWidth - in.Image.Width) / 2;
  else
    l.Image.x = in.RightToLeft ? ic.right - 2 - in.Image.Width : ic.left + 2;
  l.Image.y = 3;
  l.SeparatorY = h / 2;
  if (in.RightToLeft) {
    l.SeparatorLeft = l.Area.left;
    l.SeparatorRight = l.TextArea.right - 7;
    l.Caption = {l.TextArea.right - 3, (h - in.TextHeightW) / 2};
    l.ShortCutEdge = l.Area.left + 10;
  } else {
    l.SeparatorLeft = l.TextArea.left + 7;
    l.SeparatorRight = l.Area.right;
    l.Caption = {l.TextArea.left + 3, (h - in.TextHeightW) / 2};
    l.ShortCutEdge = l.Area.right - 10;
  }
  return l;
}

std::vector<TMenuLine> MenuTickLines(const TRect& box) {
  // Three strokes, one pixel apart, make a tick about two pixels thick.
  std::vector<TMenuLine> lines;
  const int x = box.left + 2;
  const int y = box.top + 4;
  for (int i = 0; i < 3; ++i) {
    lines.push_back({{x, y + i}, {x + 2, y + 2 + i}});
    lines.push_back({{x + 2, y + 2 + i}, {x + 6, y - 2 + i}});
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
