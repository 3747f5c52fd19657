#pragma once
// Page margins, kept in millimetres and read and written in a chosen unit,
// and their pixel positions on one page of the current printer.
#include "print/EditorPrinterInfo.h"

enum TUnitSystem { usMM = 0, usCM = 1, usInch = 2, muThousandthsOfInches = 3 };

class TEditorPrintMargins {
 public:
  TUnitSystem UnitSystem() const { return unit_system_; }
  void SetUnitSystem(TUnitSystem value) { unit_system_ = value; }

  double Left() const { return FromMM(left_); }
  double Right() const { return FromMM(right_); }
  double Top() const { return FromMM(top_); }
  double Bottom() const { return FromMM(bottom_); }
  double Header() const { return FromMM(header_); }
  double Footer() const { return FromMM(footer_); }
  double LeftHFTextIndent() const { return FromMM(left_hf_indent_); }
  double RightHFTextIndent() const { return FromMM(right_hf_indent_); }
  double HFInternalMargin() const { return FromMM(hf_internal_); }
  double Gutter() const { return FromMM(gutter_); }
  bool MirrorMargins() const { return mirror_; }
  void SetLeft(double v) { left_ = ToMM(v); }
  void SetRight(double v) { right_ = ToMM(v); }
  void SetTop(double v) { top_ = ToMM(v); }
  void SetBottom(double v) { bottom_ = ToMM(v); }
  void SetHeader(double v) { header_ = ToMM(v); }
  void SetFooter(double v) { footer_ = ToMM(v); }
  void SetLeftHFTextIndent(double v) { left_hf_indent_ = ToMM(v); }
  void SetRightHFTextIndent(double v) { right_hf_indent_ = ToMM(v); }
  void SetHFInternalMargin(double v) { hf_internal_ = ToMM(v); }
  void SetGutter(double v) { gutter_ = ToMM(v); }
  void SetMirrorMargins(bool v) { mirror_ = v; }

  // Pixel positions for one page; line_number_width is added to the left
  // edge when line numbers stand inside the text area (0 otherwise).
  void InitPage(const TEditorPrinterInfo& printer, int page_number, int line_number_width);

  int LeftPx = 0, RightPx = 0, TopPx = 0, BottomPx = 0, HeaderPx = 0, FooterPx = 0;
  int HFInternalMarginPx = 0, GutterPx = 0, LeftHFTextIndentPx = 0, RightHFTextIndentPx = 0;

 private:
  double ToMM(double v) const;
  double FromMM(double v) const;

  TUnitSystem unit_system_ = usMM;
  double left_ = 25, right_ = 15, top_ = 25, bottom_ = 25, header_ = 15, footer_ = 15;
  double left_hf_indent_ = 2, right_hf_indent_ = 2, hf_internal_ = 0.5, gutter_ = 0;
  bool mirror_ = false;
};
