#pragma once
// Fixed-pitch text output: every character occupies exactly one cell of the
// editor's grid, whatever the font reports for it.
#include <array>
#include <optional>
#include <string_view>

#include "platform/Canvas.h"

// The measurements of one base font in each of its 16 style combinations,
// taken on first use. The fonts themselves are made and shared by the
// platform's canvas.
class TFontStock {
 public:
  explicit TFontStock(IFontMeasurer* measurer = nullptr) : measurer_(measurer) {}
  // A new measurer or base font forgets the measurements.
  void SetMeasurer(IFontMeasurer* measurer);
  void SetBaseFont(const TFont& font);
  const TFont& BaseFont() const { return base_font_; }
  // All zero without a measurer.
  TFontMetrics Metrics(TFontStyles style);

 private:
  IFontMeasurer* measurer_;
  TFont base_font_;
  std::array<std::optional<TFontMetrics>, 16> metrics_;
};

class TTextDrawer {
 public:
  explicit TTextDrawer(IFontMeasurer* measurer = nullptr) : stock_(measurer) {}

  // An absent font raises "SetBaseFont: 'Value' must be specified.".
  void SetBaseFont(const TFont* value);
  const TFont& BaseFont() const { return stock_.BaseFont(); }
  void SetMeasurer(IFontMeasurer* measurer) { stock_.SetMeasurer(measurer); }
  TFontStock& Stock() { return stock_; }

  void SetStyle(TFontStyles style);
  TFontStyles Style() const { return style_; }
  void SetForeColor(TColor color) { fore_color_ = color; }
  void SetBackColor(TColor color) { back_color_ = color; }
  TColor ForeColor() const { return fore_color_; }
  TColor BackColor() const { return back_color_; }
  // The advance every character is drawn with.
  void SetCellWidth(int width) { cell_width_ = width; }
  int CellWidth() const { return cell_width_; }

  void BeginDrawing(ICanvas& canvas);
  void EndDrawing() { canvas_ = nullptr; }
  bool Drawing() const { return canvas_ != nullptr; }
  // Draws text from (x, y), clipped to `clip` (filled with the back colour
  // first when opaque).
  void DrawRun(int x, int y, const TRect& clip, std::string_view text, bool opaque = true);
  // UTF-16 text with an advance per code unit (see ICanvas::DrawWideTextRun).
  void DrawWideRun(int x, int y, const TRect& clip, std::u16string_view text,
                   std::span<const int> advances, bool opaque = true);

 private:
  TFontStock stock_;
  TFontStyles style_ = 0;
  TColor fore_color_ = clWindowText;
  TColor back_color_ = clWindow;
  int cell_width_ = 0;
  ICanvas* canvas_ = nullptr;
  bool font_selected_ = false;
};
