#pragma once
// A popup window without a window: it records what the proposal asked for.
#include <string>

#include "app/CompletionProposal.h"

class FakeCompletionHost : public ICompletionPopupHost {
 public:
  bool visible = false;
  TRect bounds{};
  int shows = 0;
  int invalidations = 0;
  TScrollBarInfo bar{};
  int frame = 3;
  TRect screen{0, 0, 1024, 768};
  int text_height = 13;
  int dpi = 96;
  int wheel_lines = 3;
  TPoint screen_origin{100, 50};  // where the editor's client area starts on screen
  bool timer_running = false;
  int timer_interval = 0;
  bool application_active = true;

  void ShowPopup(const TRect& r) override {
    bounds = r;
    visible = true;
    ++shows;
  }
  void HidePopup() override { visible = false; }
  bool PopupVisible() override { return visible; }
  TRect PopupBounds() override { return bounds; }
  void InvalidatePopup() override { ++invalidations; }
  void SetPopupScrollBar(const TScrollBarInfo& info) override { bar = info; }
  int FrameThickness() override { return frame; }
  TRect ScreenArea(TPoint) override { return screen; }
  int TextHeight(const TFont&) override { return text_height; }
  int Dpi() override { return dpi; }
  int WheelScrollLines() override { return wheel_lines; }
  TPoint EditorToScreen(TCustomEditor&, TPoint p) override {
    return {p.x + screen_origin.x, p.y + screen_origin.y};
  }
  void StartTimer(int ms) override {
    timer_running = true;
    timer_interval = ms;
  }
  void StopTimer() override { timer_running = false; }
  bool ApplicationActive() override { return application_active; }
};
