#include "win32/MainStatusBar.h"

#include <commctrl.h>

namespace {

constexpr int kWidths[TMainStatusBar::kPanelCount] = {300, 100, 50, 34, 34, 34, 50, 50};
// Panel 0 and the filler are left-aligned; the others are centred.
bool Centred(int panel) { return panel >= 1 && panel <= 6; }

}  // namespace

TMainStatusBar::~TMainStatusBar() {
  if (font_) DeleteObject(font_);
}

void TMainStatusBar::Create(HWND parent, int id) {
  handle_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                            0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleA(nullptr), nullptr);
  // The panels use their own small font, not the system font.
  font_ = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_SWISS, "Microsoft Sans Serif");
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SendMessageA(handle_, SB_SETMINHEIGHT, kHeight, 0);
  int edges[kPanelCount];
  int x = 0;
  for (int i = 0; i < kPanelCount; ++i) {
    x += kWidths[i];
    edges[i] = x;
  }
  edges[kPanelCount - 1] = -1;  // the filler takes what is left
  SendMessageA(handle_, SB_SETPARTS, kPanelCount, reinterpret_cast<LPARAM>(edges));
  for (int i = 0; i < kPanelCount; ++i) {
    const WPARAM style = i == kPanelCount - 1 ? SBT_NOBORDERS : 0;
    SendMessageA(handle_, SB_SETTEXTA, i | style, reinterpret_cast<LPARAM>(""));
  }
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
