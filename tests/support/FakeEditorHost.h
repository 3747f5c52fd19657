#pragma once
// An editor host without a window: a fixed client size, fonts of fixed
// metrics, and a record of what the editor asked for.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/EditorHost.h"

class TFakeEditorHost : public IEditorHost {
 public:
  // The metrics every font gets unless set per style.
  TFontMetrics metrics{8, 16, 0};
  std::map<TFontStyles, TFontMetrics> style_metrics;
  // Gutter fonts (any font whose name starts with "Gutter") measure this.
  TFontMetrics gutter_metrics{7, 12, 0};
  int client_width = 800;
  int client_height = 480;
  bool border = true;
  bool focused = true;
  bool captured = false;
  bool popup_menu = false;
  int drag_threshold = 4;
  int thumb_top = 50;
  std::set<int> keys_down;

  struct Scroll {
    int dx, dy;
    TRect area;
  };
  std::vector<TRect> invalidated;
  std::vector<Scroll> scrolls;
  std::map<THostScrollBar, TScrollBarInfo> bars;
  int scroll_bar_updates = 0;
  std::set<int> timers;
  std::string hint;
  bool hint_visible = false;
  int hint_right = 0, hint_top = 0;
  bool caret_exists = false;
  bool caret_visible = false;
  int caret_width = 0, caret_height = 0;
  TPoint caret_position{};
  int caret_creations = 0;
  int focus_requests = 0;
  bool accepts_files = false;
  int measurements = 0;

  void ClearRecords() {
    invalidated.clear();
    scrolls.clear();
  }

  TFontMetrics MeasureFont(const TFont& font, TFontStyles style) override;
  int ClientWidth() override { return client_width; }
  int ClientHeight() override { return client_height; }
  bool HasBorder() override { return border; }
  void InvalidateRect(const TRect& rect) override { invalidated.push_back(rect); }
  void ScrollPixels(int dx, int dy, const TRect& area) override {
    scrolls.push_back({dx, dy, area});
  }
  void SetScrollBar(THostScrollBar bar, const TScrollBarInfo& info) override {
    bars[bar] = info;
    ++scroll_bar_updates;
  }
  int VerticalThumbTop() override { return thumb_top; }
  void CreateCaret(int width, int height) override {
    caret_exists = true;
    caret_visible = false;
    caret_width = width;
    caret_height = height;
    ++caret_creations;
  }
  void DestroyCaret() override { caret_exists = caret_visible = false; }
  void SetCaretPosition(int x, int y) override { caret_position = {x, y}; }
  void ShowCaret() override { caret_visible = true; }
  void HideCaret() override { caret_visible = false; }
  void CaptureMouse() override { captured = true; }
  void ReleaseMouse() override { captured = false; }
  bool MouseCaptured() override { return captured; }
  void StartTimer(int id, int) override { timers.insert(id); }
  void StopTimer(int id) override { timers.erase(id); }
  bool HasFocus() override { return focused; }
  void TakeFocus() override {
    focused = true;
    ++focus_requests;
  }
  bool IsKeyDown(int virtual_key) override { return keys_down.count(virtual_key) != 0; }
  int DragThreshold() override { return drag_threshold; }
  void ShowHint(const std::string& text, int right, int top, TColor) override {
    hint = text;
    hint_visible = true;
    hint_right = right;
    hint_top = top;
  }
  void HideHint() override { hint_visible = false; }
  void AcceptDroppedFiles(bool accept) override { accepts_files = accept; }
  bool HasPopupMenu() override { return popup_menu; }
};
