#pragma once
// What the portable editor control asks of the window that shows it: repaint
// requests, pixel scrolling, scroll bars, the system caret, mouse capture,
// timers, focus, key states, system metrics and the scroll hint.
#include <string>

#include "platform/Canvas.h"
#include "platform/Types.h"

enum class THostScrollBar { Horizontal, Vertical };

struct TScrollBarInfo {
  int Min = 0;
  int Max = 0;
  int Page = 0;
  int Pos = 0;
  // Hidden bars take no room; a bar that is shown but cannot scroll is
  // disabled rather than hidden when DisableNoScroll is set.
  bool Visible = true;
  bool DisableNoScroll = false;
  bool DisableStartArrow = false;  // up or left arrow
  bool DisableEndArrow = false;    // down or right arrow
  friend bool operator==(const TScrollBarInfo&, const TScrollBarInfo&) = default;
};

class IEditorHost : public IFontMeasurer {
 public:
  // Size of the client area in pixels.
  virtual int ClientWidth() = 0;
  virtual int ClientHeight() = 0;
  // The window has a border of its own (this changes the auto-scroll area).
  virtual bool HasBorder() = 0;

  virtual void InvalidateRect(const TRect& rect) = 0;
  // Moves the pixels inside `area` by (dx, dy) and invalidates what is exposed.
  virtual void ScrollPixels(int dx, int dy, const TRect& area) = 0;
  virtual void SetScrollBar(THostScrollBar bar, const TScrollBarInfo& info) = 0;
  // Top of the vertical scroll thumb, in client coordinates.
  virtual int VerticalThumbTop() = 0;

  virtual void CreateCaret(int width, int height) = 0;
  virtual void DestroyCaret() = 0;
  virtual void SetCaretPosition(int x, int y) = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;

  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  virtual bool MouseCaptured() = 0;

  virtual void StartTimer(int id, int milliseconds) = 0;
  virtual void StopTimer(int id) = 0;

  virtual bool HasFocus() = 0;
  virtual void TakeFocus() = 0;
  // True while the key (a virtual-key code) is held down.
  virtual bool IsKeyDown(int virtual_key) = 0;
  // How far the pointer must move before a press becomes a drag.
  virtual int DragThreshold() = 0;

  // A small hint window with `text` whose top-right corner is at the client
  // point (right, top).
  virtual void ShowHint(const std::string& text, int right, int top, TColor color) = 0;
  virtual void HideHint() = 0;

  // Whether files dropped from the shell are accepted.
  virtual void AcceptDroppedFiles(bool accept) = 0;
  // A context menu is attached (a right button release then opens it).
  virtual bool HasPopupMenu() = 0;
};
