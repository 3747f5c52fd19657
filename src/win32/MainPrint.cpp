// The main window's printing: Printer setup, Print, the tool bar's Print
// (at once, without a dialog) and Print preview, and the printer knowledge
// the command state and the Print button's tool tip rest on.
#include "editor/EditorMemo.h"
#include "print/EditorPrint.h"
#include "print/PrintJob.h"
#include "win32/MainWindow.h"
#include "win32/PrintPreviewDialog.h"
#include "win32/Printing.h"
#include "win32/SettingsWindow.h"

void TForm1::CreatePrinting() {
  printer_ = std::make_unique<TWin32Printer>();
  print_ = std::make_unique<TEditorPrint>(printer_.get());
  ConfigureMainPrintEngine(*print_);
  UseSystemDateTimeFormats(*print_);
  print_preview_ = std::make_unique<TPrintPreviewDlg>();
  // The zoom is a setting; the settings window keeps it.
  print_preview_->ReadScaleIndex = [this] { return settings_ ? settings_->PrintPreviewScale() : 4; };
  print_preview_->WriteScaleIndex = [this](int index) {
    if (settings_) settings_->SetPrintPreviewScale(index);
  };
  print_preview_->Create();
  // Decided once and stored: how the printers are counted.
  if (services_.registry) {
    is_nt_ = DetectWindowsNT(*services_.registry, [] {
      OSVERSIONINFOA version{};
      version.dwOSVersionInfoSize = sizeof version;
      return !GetVersionExA(&version) || version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    });
  }
  DetectPrinters(true);
}

bool TForm1::DetectPrinters(bool refresh) {
  if (refresh) printer_count_ = CountInstalledPrinters(is_nt_);
  return printer_count_ > 0;
}

bool TForm1::PrinterKnown() { return printer_ && DetectPrinters(false) && printer_->HasPrinter(); }

bool TForm1::PreparePrint() {
  const bool known = PrinterKnown();
  // The header's file name keeps every character of the path.
  return PreparePrintJob(*print_, *memo_, document_.CurrentFileName(), known,
                         known && printer_->PrinterIsColour());
}

void TForm1::PrintCommand(TCommandId id) {
  switch (id) {
    case cmPrinterSetup:
      if (DetectPrinters(false)) printer_->ShowPrinterSetupDialog(handle_);
      break;
    case cmPrint:
      DetectPrinters(true);
      if (PrinterKnown() && printer_->ShowPrintDialog(handle_) && PreparePrint())
        print_->PrintDocument();
      break;
    case cmToolPrint:
      if (PreparePrint()) print_->PrintDocument();
      break;
    case cmPrintPreview:
      if (PreparePrint())
        print_preview_->ShowModal(handle_, print_.get(), true, printer_->PrinterName());
      break;
    default:
      break;
  }
  UpdateCommandState();
}
