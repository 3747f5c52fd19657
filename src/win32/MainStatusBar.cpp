#include "win32/MainStatusBar.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/TextEncoding.h"
#include "win32/WideString.h"
#include "win32/Win32Dpi.h"

namespace {

// Panel widths at 96 dpi. The last panel, the document's encoding, is as
// wide as its longest text and the size grip need (EncodingPanelWidth).
constexpr int kWidths[TMainStatusBar::kPanelCount - 1] = {300, 100, 50, 34, 34, 34, 50};
// Room around a panel's text, at 96 dpi.
constexpr int kTextMargin = 8;
// Panel 0 and the encoding are left-aligned; the others are centred.
bool Centred(int panel) { return panel >= 1 && panel <= 6; }

}  // namespace

TMainStatusBar::~TMainStatusBar() {
  if (font_) DeleteObject(font_);
}

void TMainStatusBar::Create(HWND parent, int id, int dpi) {
  handle_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                            0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
  dpi_ = dpi;
  Place();
  for (int i = 0; i < kPanelCount; ++i) {
    const WPARAM style = i == kPanelCount - 1 ? SBT_NOBORDERS : 0;
    SendMessageW(handle_, SB_SETTEXTW, i | style, reinterpret_cast<LPARAM>(L""));
  }
}

void TMainStatusBar::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  Place();
}

void TMainStatusBar::Place() {
  // The panels use their own small font, not the system font.
  HFONT old = font_;
  font_ = CreatePixelFont("Microsoft Sans Serif", -11, dpi_);
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  if (old) DeleteObject(old);
  SendMessageW(handle_, SB_SETMINHEIGHT, ScaleForDpi(kHeight, dpi_), 0);
  encoding_width_ = EncodingPanelWidth();
  SetParts();
}

int TMainStatusBar::EncodingPanelWidth() const {
  int widest = 0;
  if (HDC dc = GetDC(handle_)) {
    HGDIOBJ old = SelectObject(dc, font_);
    for (TTextEncoding encoding : kAllTextEncodings) {
      const std::wstring name = Wide(TextEncodingName(encoding));
      SIZE size{};
      GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &size);
      widest = std::max<int>(widest, size.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);
  }
  return widest + ScaleForDpi(kTextMargin, dpi_) + SystemMetricForDpi(SM_CXVSCROLL, dpi_);
}

void TMainStatusBar::SetParts() {
  RECT bar{};
  GetClientRect(handle_, &bar);
  int widths[kPanelCount - 1];
  int fixed = 0;
  for (int i = 0; i < kPanelCount - 1; ++i) {
    widths[i] = ScaleForDpi(kWidths[i], dpi_);
    if (i > 0) fixed += widths[i];
  }
  // In a narrow window the first panel gives up room so that the encoding
  // shows whole, clear of the size grip.
  widths[0] = std::clamp(static_cast<int>(bar.right) - fixed - encoding_width_, 0, widths[0]);
  int edges[kPanelCount];
  int x = 0;
  for (int i = 0; i < kPanelCount - 1; ++i) edges[i] = x += widths[i];
  edges[kPanelCount - 1] = -1;  // the encoding takes what is left
  SendMessageW(handle_, SB_SETPARTS, kPanelCount, reinterpret_cast<LPARAM>(edges));
}

void TMainStatusBar::SetPanel(int panel, const std::string& text) {
  if (panel < 0 || panel >= kPanelCount || texts_[panel] == text) return;
  texts_[panel] = text;
  const std::wstring shown = Wide(Centred(panel) ? "\t" + text : text);
  const WPARAM style = panel == kPanelCount - 1 ? SBT_NOBORDERS : 0;
  SendMessageW(handle_, SB_SETTEXTW, panel | style, reinterpret_cast<LPARAM>(shown.c_str()));
}

std::string TMainStatusBar::Panel(int panel) const {
  return panel >= 0 && panel < kPanelCount ? texts_[panel] : std::string();
}

void TMainStatusBar::Resize() {
  SendMessageW(handle_, WM_SIZE, 0, 0);
  SetParts();
}
