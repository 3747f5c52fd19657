#pragma once
// The page metrics of the current printer, with an A4 sheet at 300 dpi
// standing in when no printer is installed.
#include "print/PrintSurface.h"

class TEditorPrinterInfo {
 public:
  // Takes the printer's metrics, or the A4 fallback for nullptr or a printer
  // that answers none.
  void Fetch(IPrinter* printer);
  void Assign(const TPrinterMetrics& metrics);
  bool IsValid() const { return valid_; }

  int PhysicalWidth() const { return m_.PhysicalWidth; }
  int PhysicalHeight() const { return m_.PhysicalHeight; }
  int PrintableWidth() const { return m_.PrintableWidth; }
  int PrintableHeight() const { return m_.PrintableHeight; }
  int OffsetLeft() const { return m_.OffsetLeft; }
  int OffsetTop() const { return m_.OffsetTop; }
  int OffsetRight() const { return m_.PhysicalWidth - m_.PrintableWidth - m_.OffsetLeft; }
  int OffsetBottom() const { return m_.PhysicalHeight - m_.PrintableHeight - m_.OffsetTop; }
  int XPixPerInch() const { return m_.XDpi; }
  int YPixPerInch() const { return m_.YDpi; }
  float PixPerMmX() const { return static_cast<float>(m_.XDpi / 25.4); }
  float PixPerMmY() const { return static_cast<float>(m_.YDpi / 25.4); }

  static TPrinterMetrics FallbackA4();

 private:
  TPrinterMetrics m_ = FallbackA4();
  bool valid_ = false;
};
