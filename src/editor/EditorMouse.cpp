// Mouse presses, drags with auto-scrolling, releases, double clicks and gutter
// clicks.
#include <algorithm>
#include <cstdlib>

#include "editor/Editor.h"
#include "editor/EditorVirtualKeys.h"

bool TCustomEditor::IsPointInSelection(TBufferCoord p) const {
  if (!HasSelection()) return false;
  const TBufferCoord b = SelectionBegin(), e = SelectionFinish();
  if (p.Line < b.Line || p.Line > e.Line) return false;
  switch (active_selection_mode_) {
    case smLine:
      return true;
    case smColumn: {
      int c1 = std::min(b.Char, e.Char), c2 = std::max(b.Char, e.Char);
      return p.Char >= c1 && p.Char < c2;
    }
    case smNormal:
      if (p.Line == b.Line && p.Char < b.Char) return false;
      if (p.Line == e.Line && p.Char >= e.Char) return false;
      return true;
  }
  return false;
}

namespace {

TDisplayCoord LimitRow(TDisplayCoord d, int rows) {
  d.Row = std::clamp(d.Row, 1, std::max(1, rows));
  return d;
}

}  // namespace

void TCustomEditor::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  const bool had_selection = HasSelection();
  mouse_down_point_ = {x, y};
  mouse_point_ = {x, y};
  mouse_shift_ = shift;
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
  kbd_handler_.ExecuteMouseDown(*this, button, shift, x, y);
  const bool in_gutter = x < gutter_pixels_ + text_margin_;

  if (button == TMouseButton::Right) {
    if (options_.Contains(eoRightMouseMovesCursor)) {
      const TBufferCoord at =
          DisplayToBufferPos(LimitRow(PixelsToNearestRowColumn(x, y), DisplayRowCount()));
      if (!had_selection || !IsPointInSelection(at)) {
        BeginUpdate();
        InternalSetCaretPos(at, true);
        SetSelectionAnchor(caret_);
        EndUpdate();
      }
    }
    if (in_gutter) DoGutterClick(button, x, y);
    return;
  }
  if (button != TMouseButton::Left) return;
  if (shift & ssDouble) return;

  if (!in_gutter) {
    BeginUpdate();
    const TBufferCoord anchor = sel_anchor_, end = sel_end_;
    InternalSetCaretPos(
        DisplayToBufferPos(LimitRow(PixelsToNearestRowColumn(x, y), DisplayRowCount())), true);
    sel_anchor_ = anchor;
    sel_end_ = end;
    if (host_) host_->CaptureMouse();
    if (had_selection && options_.Contains(eoDragDropEditing) && selection_mode_ == smNormal &&
        IsPointInSelection(caret_)) {
      waiting_for_drag_ = true;
    } else if (shift & ssShift) {
      SetSelectionEnd(caret_);
    } else {
      if (options_.Contains(eoAltSetsColumnMode) && active_selection_mode_ != smLine)
        SetSelectionMode((shift & ssAlt) ? smColumn : smNormal);
      SetSelectionAnchor(caret_);
    }
    EndUpdate();
  } else {
    gutter_click_pending_ = true;
  }
  if (host_) host_->TakeFocus();
}

void TCustomEditor::ComputeScrollDeltas(int x, int y) {
  TRect r{gutter_pixels_, 0, gutter_pixels_ + visible_columns_ * cell_width_,
          visible_rows_ * row_height_};
  if (host_ && !host_->HasBorder()) {
    r.left += 2;
    r.top += 2;
    r.right -= 2;
    r.bottom -= 2;
  }
  if (x < r.left)
    scroll_delta_x_ = (x - r.left) / cell_width_ - 1;
  else if (x >= r.right)
    scroll_delta_x_ = (x - r.right) / cell_width_ + 1;
  else
    scroll_delta_x_ = 0;
  if (y < r.top)
    scroll_delta_y_ = (y - r.top) / row_height_ - 1;
  else if (y >= r.bottom)
    scroll_delta_y_ = (y - r.bottom) / row_height_ + 1;
  else
    scroll_delta_y_ = 0;
  const bool want_timer = (scroll_delta_x_ != 0 || scroll_delta_y_ != 0) &&
                          ((host_ && host_->MouseCaptured()) || dragging_ || drag_over_);
  if (want_timer && !scroll_timer_running_) {
    if (host_) host_->StartTimer(kScrollTimerId, kScrollTimerInterval);
    scroll_timer_running_ = true;
  } else if (!want_timer && scroll_timer_running_) {
    if (host_) host_->StopTimer(kScrollTimerId);
    scroll_timer_running_ = false;
  }
}

void TCustomEditor::DoMouseSelect(TDisplayCoord target) {
  BeginUpdate();
  InternalSetCaretPos(DisplayToBufferPos(LimitRow(target, DisplayRowCount())), true);
  // While text is dragged the caret marks the drop point; the selection stays.
  if (host_ && host_->MouseCaptured() && !dragging_ && !drag_over_) SetSelectionEnd(caret_);
  EndUpdate();
}

void TCustomEditor::MouseMove(TShiftState shift, int x, int y) {
  mouse_point_ = {x, y};
  mouse_shift_ = shift;
  if (dragging_) {
    DragOver(*this, x, y, shift);
    return;
  }
  if (!(shift & ssLeft) || !host_ || !host_->MouseCaptured() || double_clicked_) return;
  if (waiting_for_drag_) {
    const int threshold = std::max(1, host_->DragThreshold());
    if (std::abs(x - mouse_down_point_.x) >= threshold ||
        std::abs(y - mouse_down_point_.y) >= threshold) {
      waiting_for_drag_ = false;
      dragging_ = true;
      StartDragDrop();
    }
    return;
  }
  ComputeScrollDeltas(x, y);
  TDisplayCoord target = PixelsToNearestRowColumn(x, y);
  const TDisplayCoord caret = CaretDisplayPos();
  if (scroll_delta_x_ != 0) target.Column = caret.Column;
  if (scroll_delta_y_ != 0) target.Row = caret.Row;
  DoMouseSelect(target);
}

void TCustomEditor::TimerTick(int id) {
  if (id != kScrollTimerId) return;
  // The capture was taken away (another window, a menu): stop following.
  if (!dragging_ && !drag_over_ && !(host_ && host_->MouseCaptured())) {
    if (host_) host_->StopTimer(kScrollTimerId);
    scroll_timer_running_ = false;
    scroll_delta_x_ = scroll_delta_y_ = 0;
    return;
  }
  BeginUpdate();
  TDisplayCoord target = CaretDisplayPos();
  if (scroll_delta_x_ != 0) {
    SetLeftColumn(left_column_ + scroll_delta_x_);
    target.Column = scroll_delta_x_ > 0 ? left_column_ + visible_columns_ : left_column_;
  }
  if (scroll_delta_y_ != 0) {
    const bool page = host_ && host_->IsKeyDown(vk::Shift);
    SetTopRow(top_row_ + (page ? scroll_delta_y_ * visible_rows_ : scroll_delta_y_));
    target.Row = scroll_delta_y_ > 0 ? top_row_ + visible_rows_ - 1 : top_row_;
  }
  DoMouseSelect(target);
  ComputeScrollDeltas(mouse_point_.x, mouse_point_.y);
  EndUpdate();
}

void TCustomEditor::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  mouse_point_ = {x, y};
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
  kbd_handler_.ExecuteMouseUp(*this, button, shift, x, y);
  if (scroll_timer_running_) {
    if (host_) host_->StopTimer(kScrollTimerId);
    scroll_timer_running_ = false;
  }
  scroll_delta_x_ = scroll_delta_y_ = 0;
  if (button == TMouseButton::Right && host_ && host_->HasPopupMenu()) return;
  if (host_ && host_->MouseCaptured()) host_->ReleaseMouse();
  if (dragging_ && button == TMouseButton::Left) {
    DragDrop(*this, x, y, shift);
    dragging_ = false;
  }
  if (gutter_click_pending_ && button == TMouseButton::Left && x < gutter_pixels_ + text_margin_)
    DoGutterClick(button, x, y);
  if (waiting_for_drag_ && !dragging_ && !double_clicked_) {
    BeginUpdate();
    InternalSetCaretPos(
        DisplayToBufferPos(LimitRow(PixelsToNearestRowColumn(x, y), DisplayRowCount())), true);
    if (shift & ssShift)
      SetSelectionEnd(caret_);
    else
      SetSelectionAnchor(caret_);
    EndUpdate();
  }
  waiting_for_drag_ = false;
  dragging_ = false;
  double_clicked_ = false;
  gutter_click_pending_ = false;
}

void TCustomEditor::DoubleClick() {
  double_clicked_ = true;
  if (mouse_down_point_.x < gutter_pixels_ + text_margin_) return;
  if (!options_.Contains(eoNoSelection)) SelectWordAt(caret_);
  if (host_ && host_->MouseCaptured()) host_->ReleaseMouse();
}

void TCustomEditor::DoGutterClick(TMouseButton button, int x, int y) {
  if (!OnGutterClick) return;
  const int line = PixelsToRowColumn(x, y).Row;
  if (line < 1 || line > lines_->Count()) return;
  TEditorMark* clicked = nullptr;
  int slot = 0;
  for (const auto& m : marks_) {
    if (m->Line != line) continue;
    if (slot >= 17) break;
    const int left = bookmark_options_.LeftMargin() + slot * bookmark_options_.Xoffset();
    if (x >= left && x < left + bookmark_options_.Xoffset()) {
      clicked = m.get();
      break;
    }
    ++slot;
  }
  OnGutterClick(*this, button, x, y, line, clicked);
}

int TCustomEditor::CursorAt(int x, int y) {
  if (x < gutter_pixels_) return gutter_.Cursor();
  int cursor = crIBeam;
  const TBufferCoord at = DisplayToBufferPos(PixelsToRowColumn(x, y));
  if (OnMouseCursor) OnMouseCursor(*this, at, cursor);
  kbd_handler_.ExecuteMouseCursor(*this, at, cursor);
  return cursor;
}
