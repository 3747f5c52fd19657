#include "support/FakeEditorHost.h"

TFontMetrics TFakeEditorHost::MeasureFont(const TFont& font, TFontStyles style) {
  ++measurements;
  if (font.Name.rfind("Gutter", 0) == 0) return gutter_metrics;
  auto it = style_metrics.find(style & 0x0F);
  return it != style_metrics.end() ? it->second : metrics;
}
