#include "editor/TextDrawer.h"

#include "platform/Exception.h"

void TFontStock::SetMeasurer(IFontMeasurer* measurer) {
  measurer_ = measurer;
  metrics_ = {};
}

void TFontStock::SetBaseFont(const TFont& font) {
  if (font.Name == base_font_.Name && font.Height == base_font_.Height) {
    base_font_ = font;  // colour and style do not change the measurements
    return;
  }
  base_font_ = font;
  metrics_ = {};
}

TFontMetrics TFontStock::Metrics(TFontStyles style) {
  style &= 0x0F;
  auto& slot = metrics_[style];
  if (!slot) {
    if (!measurer_) return {};
    slot = measurer_->MeasureFont(base_font_, style);
  }
  return *slot;
}

void TTextDrawer::SetBaseFont(const TFont* value) {
  if (!value) throw Exception("SetBaseFont: 'Value' must be specified.");
  stock_.SetBaseFont(*value);
  font_selected_ = false;
}

void TTextDrawer::SetStyle(TFontStyles style) {
  if (style == style_ && font_selected_) return;
  style_ = style;
  if (canvas_) {
    canvas_->UseFont(stock_.BaseFont(), style_);
    font_selected_ = true;
  } else {
    font_selected_ = false;
  }
}

void TTextDrawer::BeginDrawing(ICanvas& canvas) {
  canvas_ = &canvas;
  canvas_->UseFont(stock_.BaseFont(), style_);
  font_selected_ = true;
}

void TTextDrawer::DrawRun(int x, int y, const TRect& clip, std::string_view text, bool opaque) {
  if (!canvas_) return;
  canvas_->DrawTextRun(x, y, clip, text, cell_width_, fore_color_, back_color_, opaque);
}

void TTextDrawer::DrawWideRun(int x, int y, const TRect& clip, std::u16string_view text,
                              std::span<const int> advances, bool opaque) {
  if (!canvas_) return;
  canvas_->DrawWideTextRun(x, y, clip, text, advances, fore_color_, back_color_, opaque);
}
