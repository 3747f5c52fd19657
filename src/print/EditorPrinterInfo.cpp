#include "print/EditorPrinterInfo.h"

TPrinterMetrics TEditorPrinterInfo::FallbackA4() {
  TPrinterMetrics m;
  m.PhysicalWidth = 2481;
  m.PhysicalHeight = 3507;
  m.PrintableWidth = 2358;
  m.PrintableHeight = 3407;
  m.OffsetLeft = 65;
  m.OffsetTop = 50;
  m.XDpi = 300;
  m.YDpi = 300;
  return m;
}

void TEditorPrinterInfo::Assign(const TPrinterMetrics& metrics) {
  m_ = metrics;
  // A driver that reports no resolution would make every millimetre zero
  // pixels wide; the page would collapse, so keep the fallback's values.
  if (m_.XDpi <= 0 || m_.YDpi <= 0 || m_.PhysicalWidth <= 0 || m_.PhysicalHeight <= 0)
    m_ = FallbackA4();
  valid_ = true;
}

void TEditorPrinterInfo::Fetch(IPrinter* printer) {
  std::optional<TPrinterMetrics> metrics;
  if (printer) metrics = printer->Metrics();
  Assign(metrics ? *metrics : FallbackA4());
}
