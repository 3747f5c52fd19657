#include "win32/MainStatusBar.h"

#include <commctrl.h>

#include "win32/Win32Dpi.h"

namespace {

// The filler (panel 7, the document's encoding) is wide enough for "UTF-16 LE".
constexpr int kWidths[TMainStatusBar::kPanelCount] = {300, 100, 50, 34, 34, 34, 50, 70};
// Panel 0 and the filler are left-aligned; the others are centred.
bool Centred(int panel) { return panel >= 1 && panel <= 6; }

}  // namespace

TMainStatusBar::~TMainStatusBar() {
  if (font_) DeleteObject(font_);
}

void TMainStatusBar::Create(HWND parent, int id, int dpi) {
  handle_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                            0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleA(nullptr), nullptr);
  dpi_ = dpi;
  Place();
  for (int i = 0; i < kPanelCount; ++i) {
    const WPARAM style = i == kPanelCount - 1 ? SBT_NOBORDERS : 0;
    SendMessageA(handle_, SB_SETTEXTA, i | style, reinterpret_cast<LPARAM>(""));
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
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  if (old) DeleteObject(old);
  SendMessageA(handle_, SB_SETMINHEIGHT, ScaleForDpi(kHeight, dpi_), 0);
  int edges[kPanelCount];
  int x = 0;
  for (int i = 0; i < kPanelCount; ++i) {
    x += kWidths[i];
    edges[i] = ScaleForDpi(x, dpi_);
  }
  edges[kPanelCount - 1] = -1;  // the filler takes what is left
  SendMessageA(handle_, SB_SETPARTS, kPanelCount, reinterpret_cast<LPARAM>(edges));
}

void TMainStatusBar::SetPanel(int panel, const std::string& text) {
  if (panel < 0 || panel >= kPanelCount || texts_[panel] == text) return;
  texts_[panel] = text;
  const std::string shown = Centred(panel) ? "\t" + text : text;
  const WPARAM style = panel == kPanelCount - 1 ? SBT_NOBORDERS : 0;
  SendMessageA(handle_, SB_SETTEXTA, panel | style, reinterpret_cast<LPARAM>(shown.c_str()));
}

std::string TMainStatusBar::Panel(int panel) const {
  return panel >= 0 && panel < kPanelCount ? texts_[panel] : std::string();
}

void TMainStatusBar::Resize() { SendMessageA(handle_, WM_SIZE, 0, 0); }
