#include "win32/Printing.h"

#include <commdlg.h>
#include <winspool.h>

#include <vector>

#include "print/EditorPrint.h"
#include "win32/WideString.h"

namespace {

// The hourglass while a slow driver query runs.
class TWaitCursor {
 public:
  TWaitCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~TWaitCursor() { SetCursor(old_); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  HCURSOR old_;
};

}  // namespace

TWin32Printer::~TWin32Printer() {
  if (job_dc_) AbortJob();
  if (dev_mode_) GlobalFree(dev_mode_);
  if (dev_names_) GlobalFree(dev_names_);
}

// Printer names may hold any character: they are asked for and handed on
// wide, and the dialogs' device names and modes are the wide ones.
std::string TWin32Printer::DefaultPrinterName() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return std::string();
  std::vector<wchar_t> buffer(size + 1);
  if (!GetDefaultPrinterW(buffer.data(), &size)) return std::string();
  return Utf8(buffer.data());
}

std::string TWin32Printer::PrinterName() const {
  if (dev_names_) {
    auto* names = static_cast<DEVNAMES*>(GlobalLock(dev_names_));
    std::string name;
    if (names) name = Utf8(reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset);
    GlobalUnlock(dev_names_);
    if (!name.empty()) return name;
  }
  return DefaultPrinterName();
}

HDC TWin32Printer::CreatePrinterContext(bool information_only) const {
  const std::string name = PrinterName();
  if (name.empty()) return nullptr;
  const std::wstring wide = Wide(name);
  DEVMODEW* mode = dev_mode_ ? static_cast<DEVMODEW*>(GlobalLock(dev_mode_)) : nullptr;
  HDC dc = information_only ? CreateICW(L"WINSPOOL", wide.c_str(), nullptr, mode)
                            : CreateDCW(L"WINSPOOL", wide.c_str(), nullptr, mode);
  if (dev_mode_) GlobalUnlock(dev_mode_);
  return dc;
}

bool TWin32Printer::PrinterIsColour() const {
  const std::string name = PrinterName();
  if (name.empty()) return false;
  TWaitCursor wait;
  if (dev_mode_) {
    auto* mode = static_cast<DEVMODEW*>(GlobalLock(dev_mode_));
    const bool known = mode && (mode->dmFields & DM_COLOR);
    const bool colour = known && mode->dmColor == DMCOLOR_COLOR;
    GlobalUnlock(dev_mode_);
    if (known) return colour;
  }
  return DeviceCapabilitiesW(Wide(name).c_str(), nullptr, DC_COLORDEVICE, nullptr, nullptr) == 1;
}

bool TWin32Printer::ShowPrinterSetupDialog(HWND owner) {
  if (!HasPrinter()) return false;
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = owner;
  pd.hDevMode = dev_mode_;
  pd.hDevNames = dev_names_;
  pd.Flags = PD_PRINTSETUP;
  const bool ok = PrintDlgW(&pd) != FALSE;
  dev_mode_ = pd.hDevMode;
  dev_names_ = pd.hDevNames;
  return ok;
}

bool TWin32Printer::ShowPrintDialog(HWND owner) {
  if (!HasPrinter()) return false;
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = owner;
  pd.hDevMode = dev_mode_;
  pd.hDevNames = dev_names_;
  pd.Flags = PD_PRINTTOFILE | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
  pd.nCopies = 1;
  const bool ok = PrintDlgW(&pd) != FALSE;
  dev_mode_ = pd.hDevMode;
  dev_names_ = pd.hDevNames;
  return ok;
}

std::optional<TPrinterMetrics> TWin32Printer::Metrics() {
  HDC dc = job_dc_ ? job_dc_ : CreatePrinterContext(true);
  if (!dc) return std::nullopt;
  TPrinterMetrics m;
  m.PhysicalWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
  m.PhysicalHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
  m.PrintableWidth = GetDeviceCaps(dc, HORZRES);
  m.PrintableHeight = GetDeviceCaps(dc, VERTRES);
  m.OffsetLeft = GetDeviceCaps(dc, PHYSICALOFFSETX);
  m.OffsetTop = GetDeviceCaps(dc, PHYSICALOFFSETY);
  m.XDpi = GetDeviceCaps(dc, LOGPIXELSX);
  m.YDpi = GetDeviceCaps(dc, LOGPIXELSY);
  if (dc != job_dc_) DeleteDC(dc);
  return m;
}

IPrintSurface* TWin32Printer::BeginJob(const std::string& title) {
  if (job_dc_) return nullptr;
  HDC dc = CreatePrinterContext(false);
  if (!dc) return nullptr;
  const std::wstring name = Wide(title);
  DOCINFOW info{};
  info.cbSize = sizeof info;
  info.lpszDocName = name.c_str();
  if (StartDocW(dc, &info) <= 0) {
    DeleteDC(dc);
    return nullptr;
  }
  if (StartPage(dc) <= 0) {
    AbortDoc(dc);
    DeleteDC(dc);
    return nullptr;
  }
  job_dc_ = dc;
  job_surface_ = std::make_unique<TGdiPrintSurface>(dc);
  return job_surface_.get();
}

void TWin32Printer::NewPage() {
  if (!job_dc_) return;
  EndPage(job_dc_);
  StartPage(job_dc_);
}

void TWin32Printer::FinishJob() {
  job_surface_.reset();
  DeleteDC(job_dc_);
  job_dc_ = nullptr;
}

void TWin32Printer::EndJob() {
  if (!job_dc_) return;
  EndPage(job_dc_);
  EndDoc(job_dc_);
  FinishJob();
}

void TWin32Printer::AbortJob() {
  if (!job_dc_) return;
  AbortDoc(job_dc_);
  FinishJob();
}

std::unique_ptr<IPrintSurface> TWin32Printer::CreateMeasureSurface() {
  HDC dc = GetDC(nullptr);
  if (!dc) return nullptr;
  return std::make_unique<TGdiPrintSurface>(dc, [](HDC d) { ReleaseDC(nullptr, d); });
}

int CountInstalledPrinters(bool is_nt) {
  HKEY key = nullptr;
  if (is_nt) {
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
      return 0;
    DWORD values = 0;
    const LONG rc = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? static_cast<int>(values) : 0;
  }
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                    "Config\\0001\\System\\CurrentControlSet\\Control\\Print\\Printers", 0,
                    KEY_READ, &key) != ERROR_SUCCESS)
    return 0;
  char buffer[512] = {};
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  const LONG rc =
      RegQueryValueExA(key, "Default", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS && type == REG_SZ && buffer[0] != '\0' ? 1 : 0;
}

void UseSystemDateTimeFormats(TEditorPrint& print) {
  // A format may hold characters of the user's language.
  print.OnGetDateText = [] {
    wchar_t buffer[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, 128);
    return Utf8(buffer);
  };
  print.OnGetTimeText = [] {
    wchar_t buffer[128] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, 128);
    return Utf8(buffer);
  };
}
