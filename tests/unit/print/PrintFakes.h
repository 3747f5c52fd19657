#pragma once
// A surface with fixed, easily reckoned font metrics drawing onto a recording
// canvas, and a printer that records its jobs.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "print/EditorPrint.h"
#include "print/PrintSurface.h"
#include "support/RecordingCanvas.h"

class TFakePrintSurface : public IPrintSurface {
 public:
  TPrintFontMetrics metrics{10, 20, 0, 4};
  TRecordingCanvas canvas;

  ICanvas& Canvas() override { return canvas; }
  TPrintFontMetrics MeasurePrintFont(const TFont&, TFontStyles) override { return metrics; }
  int TextWidth(const TFont&, TFontStyles, std::string_view text) override {
    return static_cast<int>(text.size()) * metrics.AveCharWidth;
  }
  void DrawPlainText(int x, int y, std::string_view text, const TFont&, TColor color) override {
    canvas.DrawTextRun(x, y, TRect{x, y, x + TextWidth({}, 0, text), y + metrics.Height}, text,
                       metrics.AveCharWidth, color, clNone, false);
  }
};

class TFakePrinter : public IPrinter {
 public:
  std::optional<TPrinterMetrics> metrics;
  bool can_start = true;
  std::vector<std::string> log;
  TFakePrintSurface job_surface;
  bool measure_surface = true;

  std::optional<TPrinterMetrics> Metrics() override { return metrics; }
  IPrintSurface* BeginJob(const std::string& title) override {
    log.push_back("begin " + title);
    return can_start ? &job_surface : nullptr;
  }
  void NewPage() override { log.push_back("page"); }
  void EndJob() override { log.push_back("end"); }
  void AbortJob() override { log.push_back("abort"); }
  std::unique_ptr<IPrintSurface> CreateMeasureSurface() override {
    if (!measure_surface) return nullptr;
    return std::make_unique<TFakePrintSurface>();
  }
};

// 254 dpi makes a millimetre ten pixels; the page has no unprintable edge.
inline TPrinterMetrics TenPixelsPerMm(int width, int height) {
  TPrinterMetrics m;
  m.PhysicalWidth = m.PrintableWidth = width;
  m.PhysicalHeight = m.PrintableHeight = height;
  m.XDpi = m.YDpi = 254;
  return m;
}

// No margins, header or footer: the text area is the whole printable page.
inline void ZeroMargins(TEditorPrint& print) {
  TEditorPrintMargins& m = print.Margins();
  m.SetLeft(0);
  m.SetRight(0);
  m.SetTop(0);
  m.SetBottom(0);
  m.SetHeader(0);
  m.SetFooter(0);
}
