#pragma once
// The program's printer: the default or chosen printer, its page metrics,
// print jobs, and the print and printer set-up dialogs. With no printer
// installed every query answers "none" and nothing is shown.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "print/PrintSurface.h"
#include "win32/PrintingSurface.h"

class TWin32Printer : public IPrinter {
 public:
  TWin32Printer() = default;
  ~TWin32Printer() override;
  TWin32Printer(const TWin32Printer&) = delete;
  TWin32Printer& operator=(const TWin32Printer&) = delete;

  // The system's default printer; empty when there is none.
  static std::string DefaultPrinterName();
  // The printer jobs go to: the one chosen in a dialog, else the default.
  std::string PrinterName() const;
  bool HasPrinter() const { return !PrinterName().empty(); }
  // Whether the printer's default settings print in colour (hourglass shown).
  bool PrinterIsColour() const;

  // The platform's printer set-up dialog; true on OK. Nothing without a printer.
  bool ShowPrinterSetupDialog(HWND owner);
  // The print dialog with "print to file" ticked in advance; true on OK.
  bool ShowPrintDialog(HWND owner);

  std::optional<TPrinterMetrics> Metrics() override;
  IPrintSurface* BeginJob(const std::string& title) override;
  void NewPage() override;
  void EndJob() override;
  void AbortJob() override;
  std::unique_ptr<IPrintSurface> CreateMeasureSurface() override;

 private:
  HDC CreatePrinterContext(bool information_only) const;
  void FinishJob();

  HGLOBAL dev_mode_ = nullptr;
  HGLOBAL dev_names_ = nullptr;
  HDC job_dc_ = nullptr;
  std::unique_ptr<TGdiPrintSurface> job_surface_;
};

class TEditorPrint;
// The header's $DATE$ and $TIME$ in the system's short date and long time formats.
void UseSystemDateTimeFormats(TEditorPrint& print);

// Counts printers the way the main window's printer detection does: the
// value names of the current user's printer ports on NT-family systems, else
// 1 when the machine's default printer is named. 0 when the key is missing.
int CountInstalledPrinters(bool is_nt);
