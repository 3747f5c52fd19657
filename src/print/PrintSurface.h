#pragma once
// What the print engine asks of a drawing surface and of the printer. A
// surface is a canvas plus the font measurements the page layout needs; the
// printer answers its page metrics and runs jobs. The program's GDI side
// implements both; tests use recording fakes.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Canvas.h"

struct TPrintFontMetrics {
  int AveCharWidth = 0;
  int Height = 0;  // cell height
  int ExternalLeading = 0;
  int Descent = 0;
  friend bool operator==(const TPrintFontMetrics&, const TPrintFontMetrics&) = default;
};

class IPrintSurface {
 public:
  virtual ~IPrintSurface() = default;
  virtual ICanvas& Canvas() = 0;
  virtual TPrintFontMetrics MeasurePrintFont(const TFont& font, TFontStyles style) = 0;
  // Width of the text (UTF-8: a header's file name, date and time) in the
  // font's natural advances.
  virtual int TextWidth(const TFont& font, TFontStyles style, std::string_view text) = 0;
  // Transparent UTF-8 text with natural advances; (x, y) is the top left of
  // its cell.
  virtual void DrawPlainText(int x, int y, std::string_view text, const TFont& font,
                             TColor color) = 0;
};

// Device metrics of a printer page, in printer pixels.
struct TPrinterMetrics {
  int PhysicalWidth = 0;
  int PhysicalHeight = 0;
  int PrintableWidth = 0;
  int PrintableHeight = 0;
  int OffsetLeft = 0;
  int OffsetTop = 0;
  int XDpi = 0;
  int YDpi = 0;
  friend bool operator==(const TPrinterMetrics&, const TPrinterMetrics&) = default;
};

class IPrinter {
 public:
  virtual ~IPrinter() = default;
  // The current printer's page, or nothing when no printer is installed.
  virtual std::optional<TPrinterMetrics> Metrics() = 0;
  // Starts a job; the surface lives until EndJob or AbortJob. nullptr when the
  // job cannot be started.
  virtual IPrintSurface* BeginJob(const std::string& title) = 0;
  virtual void NewPage() = 0;
  virtual void EndJob() = 0;
  virtual void AbortJob() = 0;
  // A surface for measuring outside a job (the screen); nullptr when none.
  virtual std::unique_ptr<IPrintSurface> CreateMeasureSurface() = 0;
};
