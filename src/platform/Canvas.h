#pragma once
// What the portable drawing code asks of the platform's graphics: filled
// rectangles, one-pixel lines, and text runs in which every character advances
// by the same fixed width, whatever the font; plus font measurement.
#include <span>
#include <string>
#include <string_view>

#include "platform/Types.h"

// A font as the program describes it. Height is in pixels; a negative value is
// the character height without internal leading (the usual way a point size
// is asked for), a positive one the cell height.
struct TFont {
  std::string Name = "Courier New";
  int Height = -13;  // 10 pt on a 96 dpi screen
  TColor Color = clWindowText;
  TFontStyles Style = 0;
  // The platform's font character set (1: the default). A font of an East
  // Asian script shows its characters only with its own set.
  int CharSet = 1;

  // Points on a 96 dpi screen.
  int Size() const { return ((Height < 0 ? -Height : Height) * 72 + 48) / 96; }
  void SetSize(int points) { Height = -((points * 96 + 36) / 72); }
  friend bool operator==(const TFont&, const TFont&) = default;
};

struct TFontMetrics {
  // Width of one character cell: the advance of "M" plus the overhang (or the
  // average character width where that cannot be measured).
  int Advance = 0;
  // Absolute height of the font's cell.
  int Height = 0;
  // How far a character in this style may reach beyond its cell (italics).
  int Overhang = 0;
  friend bool operator==(const TFontMetrics&, const TFontMetrics&) = default;
};

class IFontMeasurer {
 public:
  virtual ~IFontMeasurer() = default;
  virtual TFontMetrics MeasureFont(const TFont& font, TFontStyles style) = 0;
};

class ICanvas {
 public:
  virtual ~ICanvas() = default;
  // Colours may be system colour roles; the canvas resolves them when drawing.
  // The RGB value a colour stands for (gradients mix resolved colours).
  virtual TColor ResolveColor(TColor color) = 0;
  virtual void FillRect(const TRect& rect, TColor color) = 0;
  // A one-pixel horizontal or vertical line; the end point is not drawn.
  virtual void DrawLine(TPoint from, TPoint to, TColor color) = 0;
  // A zigzag from x1 to x2 (not drawn) between rows y and y + height, as
  // under a misspelt word.
  virtual void DrawWave(int x1, int x2, int y, int height, TColor color) = 0;
  // The font (face, height) and style used by the following text runs.
  virtual void UseFont(const TFont& font, TFontStyles style) = 0;
  // Draws text with its first cell at (x, y), each character exactly `advance`
  // pixels after the previous one, clipped to `clip`. Opaque runs fill `clip`
  // with the background first; transparent ones leave what is below.
  virtual void DrawTextRun(int x, int y, const TRect& clip, std::string_view text, int advance,
                           TColor foreground, TColor background, bool opaque) = 0;
  // Draws UTF-16 text on a grid of cells: code unit k is placed at x plus the
  // advances of the units before it. A character's first unit advances by all
  // its cells (two for a wide character); the second unit of a surrogate pair
  // and combining marks advance by 0. A character the font lacks still takes
  // its cells. Clip and opacity as for DrawTextRun.
  virtual void DrawWideTextRun(int x, int y, const TRect& clip, std::u16string_view text,
                               std::span<const int> advances, TColor foreground, TColor background,
                               bool opaque) = 0;
};
