// The owner's range marks and the dpi the editor is laid out for.
#include "editor/Editor.h"

void TCustomEditor::SetRangeMarks(const IEditorRangeMarks* marks) {
  if (marks == range_marks_) return;
  range_marks_ = marks;
  // The dots take a column of the gutter of their own.
  mark_column_ = marks ? Scaled(10) : 0;
  gutter_pixels_ = -1;  // measured again
  RecalcGutter();
  Invalidate();
}

void TCustomEditor::SetRangeMarkColors(std::vector<TColor> colors) {
  range_mark_colors_ = std::move(colors);
  Invalidate();
}

TColor TCustomEditor::RangeMarkColor(int kind) const {
  if (kind >= 0 && static_cast<std::size_t>(kind) < range_mark_colors_.size())
    return range_mark_colors_[static_cast<std::size_t>(kind)];
  return Rgb(255, 0, 0);
}

void TCustomEditor::SetDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  gutter_border_ = Scaled(2);
  text_margin_ = Scaled(2);
  if (range_marks_) mark_column_ = Scaled(10);
  gutter_pixels_ = -1;
  RecalcGutter();
  SizeOrFontChanged();
  Invalidate();
}
