#pragma once
// Sizes and geometry of the program's flat menu items: how large an item is
// measured, where its icon column, selection frame, check mark, image,
// separator line, caption and shortcut go, and how its image is tinted.
#include <functional>
#include <string>
#include <vector>

#include "app/MenuColors.h"
#include "platform/Types.h"

// Text measurement in the menu font.
class IMenuTextMeasure {
 public:
  virtual ~IMenuTextMeasure() = default;
  virtual int TextWidth(const std::string& text) const = 0;
  virtual int TextHeight() const = 0;
};

struct TMenuItemSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TMenuItemSize&, const TMenuItemSize&) = default;
};

struct TMenuMeasureInput {
  std::string Caption;   // "-" is a separator too
  std::string ShortCut;  // the shortcut's text, empty without one
  bool Separator = false;
  bool DropDown = true;  // false only for the items of the menu bar itself
  bool HasSubItems = false;
  TMenuItemSize Image;  // 0 x 0 without an image, else its size on the screen
  int IconWidth = 24;   // at 96 dpi, like every length of the menu's design
  int Dpi = 96;         // of the menu's monitor
};

inline constexpr int kMenuSeparatorHeight = 4;  // at 96 dpi

// The size to report for an item, at least the size already reported.
TMenuItemSize MeasureMenuItem(const TMenuMeasureInput& item, const IMenuTextMeasure& measure,
                              TMenuItemSize reported = {});

struct TMenuDrawInput {
  TRect Item;  // the item's rectangle on the menu
  bool DropDown = true;
  bool RightToLeft = false;
  TMenuItemSize Image;  // 0 x 0 without an image, else its size on the screen
  int IconWidth = 24;   // at 96 dpi
  int TextHeightW = 0;  // height of "W" in the menu font
  int Dpi = 96;         // of the menu's monitor
};

// Everything after Bitmap is in the coordinates of the off-screen bitmap.
struct TMenuDrawLayout {
  TRect Bitmap;      // the part of the menu painted, in menu coordinates
  TRect Area;        // the item's own rectangle
  TRect IconColumn;  // empty for an item of the menu bar
  TRect TextArea;
  TRect Selection;   // filled and framed for a selected item
  TRect BarShadow;   // the shadow beside a selected menu-bar item
  TRect ImageFrame;  // framed around the image of a checked item
  TRect CheckBox;    // the 10 x 10 box of a check mark without an image
  TPoint Image;      // top-left of the image
  int SeparatorY = 0;
  int SeparatorLeft = 0;
  int SeparatorRight = 0;
  TPoint Caption;        // left edge (right edge in a right-to-left menu) and top
  int ShortCutEdge = 0;  // right edge (left edge in a right-to-left menu)
};

TMenuDrawLayout LayoutMenuItem(const TMenuDrawInput& in);

// The short strokes of the tick inside a check box, as line segments.
struct TMenuLine {
  TPoint From;
  TPoint To;
};
std::vector<TMenuLine> MenuTickLines(const TRect& box, int dpi = 96);

// How an item's image is drawn.
enum class TMenuImageLook {
  Plain,   // as it is (a checked item)
  Greyed,  // disabled: grey, then lightened by 40
  Dimmed,  // enabled, unchecked, unselected, on a high-colour screen
  Raised,  // enabled, unchecked, selected: lifted over its own shadow
};
TMenuImageLook MenuImageLookFor(bool disabled, bool checked, bool selected, bool high_color);

// An image's pixels, row by row from the top, with its transparency.
struct TMenuImage {
  int Width = 0;
  int Height = 0;
  std::vector<TColor> Pixels;
  std::vector<bool> Opaque;
  TColor At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)]; }
  bool OpaqueAt(int x, int y) const { return Opaque[static_cast<std::size_t>(y * Width + x)]; }
};

struct TMenuImageTint {
  int GrayLevel = 10;
  int DimLevel = 30;
  TColor SelectFill = 0;  // the shadow of a raised image is a shade of it
};

using TPixelWriter = std::function<void(int x, int y, TColor rgb)>;

// Paints the image with its top-left at x, y (its normal place; a raised image
// moves itself up and left), writing only opaque pixels and their shadow.
void PaintMenuImage(const TMenuImage& image, int x, int y, TMenuImageLook look,
                    const TMenuImageTint& tint, const TPixelWriter& put);
