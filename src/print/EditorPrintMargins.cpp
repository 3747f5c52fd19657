#include "print/EditorPrintMargins.h"

#include <cmath>

namespace {

// Rounds to the nearest integer, ties to the even one.
int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

double TEditorPrintMargins::ToMM(double v) const {
  switch (unit_system_) {
    case usCM:
      return v * 10;
    case usInch:
      return v * 25.4;
    case muThousandthsOfInches:
      return v * 25.4 / 1000;
    default:
      return v;
  }
}

double TEditorPrintMargins::FromMM(double v) const {
  switch (unit_system_) {
    case usCM:
      return v / 10;
    case usInch:
      return v / 25.4;
    case muThousandthsOfInches:
      return v * 1000 / 25.4;
    default:
      return v;
  }
}

void TEditorPrintMargins::InitPage(const TEditorPrinterInfo& printer, int page_number,
                                   int line_number_width) {
  const double px = printer.PixPerMmX();
  const double py = printer.PixPerMmY();
  if (!mirror_ || page_number % 2 == 1) {
    LeftPx = Nearest(px * (left_ + gutter_) - printer.OffsetLeft());
    RightPx = printer.PrintableWidth() - Nearest(px * right_ - printer.OffsetRight());
  } else {
    LeftPx = Nearest(px * right_ - printer.OffsetLeft());
    RightPx = printer.PrintableWidth() - Nearest(px * (left_ + gutter_) - printer.OffsetRight());
  }
  LeftPx += line_number_width;
  TopPx = Nearest(py * top_ - printer.OffsetTop());
  BottomPx = printer.PrintableHeight() - Nearest(py * bottom_ - printer.OffsetBottom());
  HeaderPx = Nearest(py * header_ - printer.OffsetTop());
  FooterPx = printer.PrintableHeight() - Nearest(py * footer_ - printer.OffsetBottom());
  HFInternalMarginPx = Nearest(py * hf_internal_);
  GutterPx = Nearest(px * gutter_);
  RightHFTextIndentPx = RightPx - Nearest(px * right_hf_indent_);
  LeftHFTextIndentPx = LeftPx + Nearest(px * left_hf_indent_);
}
