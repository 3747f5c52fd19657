// The editor control: construction, properties, the reactions to line-buffer
// changes, the paint lock with its deferred work, and invalidation.
#include "editor/Editor.h"

#include <algorithm>
#include <climits>

#include "language/EditorHighlighter.h"

TCustomEditor::TCustomEditor() : lines_(std::make_unique<TEditorStringList>()) {
  lines_->OnUpdateStarted = [this](TEditorStringList*) { LinesUpdateStarted(); };
  lines_->OnUpdateEnded = [this](TEditorStringList*) { LinesUpdateEnded(); };
  lines_->OnLinesInserted = [this](TEditorStringList*, int i, int n) { LinesInserted(i, n); };
  lines_->OnLinesDeleted = [this](TEditorStringList*, int i, int n) { LinesDeleted(i, n); };
  lines_->OnLinesReplaced = [this](TEditorStringList*, int i, int n) { LinesReplaced(i, n); };
  lines_->OnLinesCleared = [this](TEditorStringList*) { LinesCleared(); };
  lines_->SetTabWidth(tab_width_);
  keystrokes_.SetDefaultKeystrokes();
  gutter_.OnChange = [this] {
    gutter_advance_ = 0;  // the gutter font may have changed
    RecalcGutter();
    Invalidate();
  };
  selected_color_.OnChange = [this] { InvalidateSelection(); };
  bookmark_options_.OnChange = [this] { InvalidateGutterLines(-1, -1); };
  drawer_.SetBaseFont(&font_);
  undo_history_.SetGroupUndo(options_.Contains(eoGroupUndo));
  undo_history_.OnModifiedChange = [this] {
    if (modified_ == undo_history_.Modified()) return;
    modified_ = undo_history_.Modified();
    StatusChanged(TStatusChanges{scModified});
  };
  undo_history_.OnChange = [this] {
    if (OnChange) OnChange(*this);
  };
  RecalcCellMetrics();
}

TCustomEditor::~TCustomEditor() {
  if (highlighter_) {
    highlighter_->UnhookAttributeChange(
        MakeHighlighterChangeHook<TCustomEditor, &TCustomEditor::HighlighterChanged>(this));
    highlighter_->RemoveFreeNotification(this);
  }
  lines_->OnUpdateStarted = nullptr;
  lines_->OnUpdateEnded = nullptr;
  lines_->OnLinesInserted = nullptr;
  lines_->OnLinesDeleted = nullptr;
  lines_->OnLinesReplaced = nullptr;
  lines_->OnLinesCleared = nullptr;
}

void TCustomEditor::SetHost(IEditorHost* host) {
  if (host_ && caret_created_) {
    host_->DestroyCaret();
  }
  caret_created_ = false;
  caret_shown_ = false;
  host_ = host;
  drawer_.SetMeasurer(host);
  if (!host_) return;
  host_->AcceptDroppedFiles(options_.Contains(eoDropFiles));
  RecalcCellMetrics();
  if (Focused()) InitializeCaret();
}

bool TCustomEditor::Focused() const { return host_ && host_->HasFocus(); }

// ---- text

void TCustomEditor::SetText(std::string_view text) {
  BeginUpdate();
  lines_->SetText(text);
  caret_ = {1, 1};
  sel_anchor_ = sel_end_ = caret_;
  last_caret_column_ = 1;
  SetTopRow(1);
  SetLeftColumn(1);
  StatusChanged(TStatusChanges{scAll});
  Invalidate();
  EndUpdate();
}

void TCustomEditor::ClearAll() {
  BeginUpdate();
  ClearMarks();
  lines_->Clear();
  ClearUndoHistory();
  caret_ = {1, 1};
  sel_anchor_ = sel_end_ = caret_;
  last_caret_column_ = 1;
  SetTopRow(1);
  SetLeftColumn(1);
  SetModified(false);
  StatusChanged(TStatusChanges{scAll});
  Invalidate();
  EndUpdate();
}

// ---- options and modes

void TCustomEditor::SetOptions(TEditorOptions value) {
  if (value == options_) return;
  BeginUpdate();
  SetLeftColumn(left_column_);
  SetTopRow(top_row_);
  const TEditorOptions old = options_;
  options_ = value;
  undo_history_.SetGroupUndo(value.Contains(eoGroupUndo));
  const auto changed = [&](TEditorOption o) { return old.Contains(o) != value.Contains(o); };
  InternalSetCaretPos(caret_, true);
  if (value.Contains(eoScrollPastEol)) {
    const TBufferCoord anchor = sel_anchor_, end = sel_end_;
    SetSelectionAnchor(anchor);
    SetSelectionEnd(end);
  }
  if (changed(eoDropFiles) && host_) host_->AcceptDroppedFiles(value.Contains(eoDropFiles));
  if (changed(eoShowSpecialChars)) Invalidate();
  if (changed(eoDisableScrollArrows) || changed(eoHideShowScrollbars) || changed(eoScrollPastEof) ||
      changed(eoScrollPastEol))
    UpdateScrollBars();
  if (changed(eoNoCaret)) caret_pending_ = true;
  EndUpdate();
}

void TCustomEditor::SetTabWidth(int value) {
  value = std::clamp(value, 1, 256);
  if (value == tab_width_) return;
  tab_width_ = value;
  lines_->SetTabWidth(value);
  BeginUpdate();
  if (!options_.Contains(eoScrollPastEol)) SetLeftColumn(left_column_);
  UpdateScrollBars();
  caret_pending_ = true;
  Invalidate();
  EndUpdate();
}

void TCustomEditor::SetReadOnly(bool value) {
  if (value == read_only_) return;
  read_only_ = value;
  StatusChanged(TStatusChanges{scReadOnly});
}

void TCustomEditor::SetInsertMode(bool value) {
  if (value == insert_mode_) return;
  insert_mode_ = value;
  InitializeCaret();
  StatusChanged(TStatusChanges{scInsertMode});
}

void TCustomEditor::SetInsertCaret(TEditorCaretType value) {
  if (value == insert_caret_) return;
  insert_caret_ = value;
  InitializeCaret();
}

void TCustomEditor::SetOverwriteCaret(TEditorCaretType value) {
  if (value == overwrite_caret_) return;
  overwrite_caret_ = value;
  InitializeCaret();
}

void TCustomEditor::SetHideSelection(bool value) {
  if (value == hide_selection_) return;
  hide_selection_ = value;
  InvalidateSelection();
}

void TCustomEditor::SetAlwaysShowCaret(bool value) {
  if (value == always_show_caret_) return;
  always_show_caret_ = value;
  if (value)
    InitializeCaret();
  else if (!Focused() && caret_created_ && host_) {
    SetCaretVisible(false);
    host_->DestroyCaret();
    caret_created_ = false;
  }
}

// ---- appearance

void TCustomEditor::SetFont(const TFont& value) {
  font_ = value;
  drawer_.SetBaseFont(&font_);
  RecalcCellMetrics();
}

void TCustomEditor::SetFontName(const std::string& name) {
  TFont f = font_;
  f.Name = name;
  SetFont(f);
}

void TCustomEditor::SetFontHeight(int height) {
  TFont f = font_;
  f.Height = height;
  SetFont(f);
}

void TCustomEditor::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Invalidate();
}

void TCustomEditor::SetActiveLineColor(TColor value) {
  if (value == active_line_color_) return;
  active_line_color_ = value;
  InvalidateLine(caret_.Line);
}

void TCustomEditor::SetRightEdge(int value) {
  if (value == right_edge_) return;
  right_edge_ = value;
  Invalidate();
}

void TCustomEditor::SetRightEdgeColor(TColor value) {
  if (value == right_edge_color_) return;
  right_edge_color_ = value;
  if (right_edge_ > 0) {
    const int x = text_left_ + right_edge_ * cell_width_;
    InvalidateRect({x - 1, 0, x + 1, client_height_});
  }
}

void TCustomEditor::SetExtraLineSpacing(int value) {
  if (value == extra_line_spacing_) return;
  extra_line_spacing_ = value;
  RecalcCellMetrics();
}

void TCustomEditor::SetHighlighter(TCustomHighlighter* value) {
  if (value == highlighter_) return;
  const auto hook =
      MakeHighlighterChangeHook<TCustomEditor, &TCustomEditor::HighlighterChanged>(this);
  if (highlighter_) {
    highlighter_->UnhookAttributeChange(hook);
    highlighter_->RemoveFreeNotification(this);
  }
  highlighter_ = value;
  if (highlighter_) {
    highlighter_->HookAttributeChange(hook);
    highlighter_->AddFreeNotification(this, [this](TCustomHighlighter*) {
      highlighter_ = nullptr;
      RecalcCellMetrics();
    });
    ScanRanges(0, lines_->Count());
  }
  RecalcCellMetrics();
}

void TCustomEditor::HighlighterChanged(THighlighterAttributes* attribute) {
  // Attribute colours leave the line states alone; a change of the whole
  // highlighter (enabled, keywords) may not.
  if (!attribute) ScanRanges(0, lines_->Count());
  RecalcCellMetrics();
}

// ---- metrics

void TCustomEditor::RecalcCellMetrics() {
  drawer_.SetBaseFont(&font_);
  // Measure every bold/italic combination the text can be drawn in.
  bool used[4] = {false, false, false, false};
  if (highlighter_) {
    used[0] = true;
    for (int i = 0; i < highlighter_->AttributeCount(); ++i)
      if (auto* a = highlighter_->AttributeAt(i)) used[a->Style() & (fsBold | fsItalic)] = true;
  } else {
    used[font_.Style & (fsBold | fsItalic)] = true;
  }
  int width = 0, height = 0;
  for (int s = 0; s < 4; ++s) {
    if (!used[s]) continue;
    const TFontMetrics m = drawer_.Stock().Metrics(static_cast<TFontStyles>(s));
    width = std::max(width, m.Advance);
    height = std::max(height, m.Height);
  }
  // Without a window there is nothing to measure; keep a usable grid.
  if (width <= 0) width = 8;
  if (height <= 0) height = 16;
  cell_width_ = width;
  row_height_ = std::max(1, height + extra_line_spacing_);
  drawer_.SetCellWidth(cell_width_);
  gutter_advance_ = 0;
  BeginUpdate();
  RecalcGutter();
  SizeOrFontChanged();
  InitializeCaret();
  Invalidate();
  EndUpdate();
}

void TCustomEditor::RecalcGutter() {
  gutter_.AutoSizeDigitCount(lines_->Count());
  int advance = cell_width_;
  if (gutter_.UseFontStyle()) {
    if (gutter_advance_ <= 0 && host_) {
      const TFont& f = gutter_.Font();
      gutter_advance_ = host_->MeasureFont(f, f.Style).Advance;
    }
    if (gutter_advance_ > 0) advance = gutter_advance_;
  }
  const int pixels =
      gutter_.Visible() ? gutter_.RealGutterWidth(advance, gutter_border_) + mark_column_ : 0;
  if (pixels == gutter_pixels_) return;
  gutter_pixels_ = pixels;
  text_left_ = gutter_pixels_ + text_margin_ - (left_column_ - 1) * cell_width_;
  RecalcVisibleSize();
  caret_pending_ = true;
  UpdateScrollBars();
  Invalidate();
}

void TCustomEditor::RecalcVisibleSize() {
  if (host_) {
    client_width_ = std::max(0, host_->ClientWidth());
    client_height_ = std::max(0, host_->ClientHeight());
  }
  visible_columns_ = std::max(0, (client_width_ - gutter_pixels_ - text_margin_) / cell_width_);
  visible_rows_ = std::max(0, client_height_ / row_height_);
}

void TCustomEditor::SizeOrFontChanged() {
  BeginUpdate();
  RecalcVisibleSize();
  text_left_ = gutter_pixels_ + text_margin_ - (left_column_ - 1) * cell_width_;
  if (!options_.Contains(eoScrollPastEol)) SetLeftColumn(left_column_);
  if (!options_.Contains(eoScrollPastEof)) SetTopRow(top_row_);
  UpdateScrollBars();
  caret_pending_ = true;
  EndUpdate();
}

void TCustomEditor::Resize() { SizeOrFontChanged(); }

// ---- reactions to the line buffer

void TCustomEditor::LinesUpdateStarted() { lines_changing_ = true; }

void TCustomEditor::LinesUpdateEnded() {
  lines_changing_ = false;
  BeginUpdate();
  if (have_invalid_rect_) {
    have_invalid_rect_ = false;
    if (host_) host_->InvalidateRect(invalid_rect_);
  }
  if (gutter_.ShowLineNumbers() && gutter_.AutoSize()) RecalcGutter();
  UpdateScrollBars();
  InternalSetCaretPos(caret_, false);
  if (!options_.Contains(eoScrollPastEof)) SetTopRow(top_row_);
  EndUpdate();
}

void TCustomEditor::LinesInserted(int index, int count) {
  if (offset_line_ > index) ResetOffsetCache();
  ScanRanges(index, index + count);
  InvalidateLines(index + 1, INT_MAX);
  InvalidateGutterLines(index + 1, INT_MAX);
  if (options_.Contains(eoAutoSizeMaxScrollWidth)) {
    const int len = lines_->GetExpandedLength(index);
    if (len > max_scroll_width_) SetMaxScrollWidth(len);
  }
}

void TCustomEditor::LinesDeleted(int index, int /*count*/) {
  if (offset_line_ > index) ResetOffsetCache();
  ScanRanges(index, index);
  InvalidateLines(index + 1, INT_MAX);
  InvalidateGutterLines(index + 1, INT_MAX);
  if (options_.Contains(eoAutoSizeMaxScrollWidth)) {
    const int len = lines_->GetExpandedLength(index);
    if (len > max_scroll_width_) SetMaxScrollWidth(len);
  }
}

void TCustomEditor::LinesReplaced(int index, int count) {
  if (offset_line_ > index) ResetOffsetCache();
  // Replaced lines keep their places: only they, and the lines whose
  // highlighter state changed with them, look different. (Repainting every
  // line below would redraw a huge line further down on every key.)
  const int last = std::max(index + count - 1, ScanRanges(index, index + count));
  InvalidateLines(index + 1, last + 1);
  if (options_.Contains(eoAutoSizeMaxScrollWidth)) {
    const int len = lines_->GetExpandedLength(index);
    if (len > max_scroll_width_) SetMaxScrollWidth(len);
  }
}

void TCustomEditor::LinesCleared() {
  ResetOffsetCache();
  reach_width_ = 0;
  ClearUndoHistory();
  BeginUpdate();
  caret_ = {1, 1};
  sel_anchor_ = sel_end_ = caret_;
  last_caret_column_ = 1;
  const bool top_changed = top_row_ != 1, left_changed = left_column_ != 1;
  top_row_ = 1;
  left_column_ = 1;
  text_left_ = gutter_pixels_ + text_margin_;
  TStatusChanges changes = scCaretX | scCaretY;
  changes += TStatusChanges{scSelection};
  if (top_changed) changes += TStatusChanges{scTopLine};
  if (left_changed) changes += TStatusChanges{scLeftChar};
  StatusChanged(changes);
  caret_pending_ = true;
  UpdateScrollBars();
  Invalidate();
  EndUpdate();
}

int TCustomEditor::ScanRanges(int from_index, int must_reach) {
  if (!highlighter_) return -1;
  const int count = lines_->Count();
  int i = std::max(0, from_index);
  if (i >= count) return -1;
  int last_stored = -1;
  lines_->BeginUpdate();
  if (i == 0)
    highlighter_->ResetLineState();
  else
    highlighter_->SetLineState(lines_->GetRange(i - 1));
  for (; i < count; ++i) {
    const TLineState state = highlighter_->ScanLine(lines_->LineView(i), i);
    const bool unchanged = lines_->GetRange(i) == state;
    if (i >= must_reach && unchanged) break;
    if (!unchanged) lines_->SetRange(i, state);
    last_stored = i;
  }
  lines_->EndUpdate();
  return last_stored;
}

// ---- paint lock and status changes

void TCustomEditor::BeginUpdate() { ++paint_lock_; }

void TCustomEditor::EndUpdate() {
  if (paint_lock_ <= 0) return;
  if (--paint_lock_ > 0) return;
  if (scrollbars_pending_) UpdateScrollBars();
  if (caret_pending_) UpdateCaret();
  if (!status_changes_.Empty() && paint_lock_ == 0) StatusChanged({});
}

void TCustomEditor::StatusChanged(TStatusChanges changes) {
  status_changes_ += changes;
  if (paint_lock_ > 0 || status_changes_.Empty()) return;
  if (OnStatusChange) {
    const TStatusChanges delivered = status_changes_;
    status_changes_ = {};
    OnStatusChange(*this, delivered);
  }
}

void TCustomEditor::DoPaintTransient(TTransientType kind) {
  if (OnPaintTransient) OnPaintTransient(*this, nullptr, kind);
}

// ---- invalidation

void TCustomEditor::InvalidateRect(const TRect& rect) {
  if (rect.IsEmpty()) return;
  if (lines_changing_) {
    if (!have_invalid_rect_) {
      invalid_rect_ = rect;
      have_invalid_rect_ = true;
    } else {
      invalid_rect_.left = std::min(invalid_rect_.left, rect.left);
      invalid_rect_.top = std::min(invalid_rect_.top, rect.top);
      invalid_rect_.right = std::max(invalid_rect_.right, rect.right);
      invalid_rect_.bottom = std::max(invalid_rect_.bottom, rect.bottom);
    }
    return;
  }
  if (host_) host_->InvalidateRect(rect);
}

void TCustomEditor::Invalidate() { InvalidateRect({0, 0, client_width_, client_height_}); }

namespace {

// The pixel rows of lines first..last, limited to the window; a last line at or
// beyond the line count reaches the bottom.
bool RowSpan(int first, int last, int top_row, int visible_rows, int row_height, int line_count,
             int client_height, int& y1, int& y2) {
  if (first == -1 && last == -1) {
    y1 = 0;
    y2 = client_height;
    return client_height > 0;
  }
  if (last < first) std::swap(first, last);
  const int last_visible = top_row + visible_rows;  // includes a partly shown row
  first = std::max(first, top_row);
  if (last >= line_count) {
    if (first > last_visible) return false;
    y1 = (first - top_row) * row_height;
    y2 = client_height;
  } else {
    last = std::min(last, last_visible);
    if (first > last) return false;
    y1 = (first - top_row) * row_height;
    y2 = std::min(client_height, (last - top_row + 1) * row_height);
  }
  return y2 > y1;
}

}  // namespace

void TCustomEditor::InvalidateLines(int first, int last) {
  int y1 = 0, y2 = 0;
  if (!RowSpan(first, last, top_row_, visible_rows_, row_height_, lines_->Count(), client_height_,
               y1, y2))
    return;
  InvalidateRect({gutter_pixels_, y1, client_width_, y2});
}

void TCustomEditor::InvalidateGutterLines(int first, int last) {
  if (gutter_pixels_ <= 0) return;
  int y1 = 0, y2 = 0;
  if (!RowSpan(first, last, top_row_, visible_rows_, row_height_, lines_->Count(), client_height_,
               y1, y2))
    return;
  InvalidateRect({0, y1, gutter_pixels_, y2});
}

void TCustomEditor::InvalidateLine(int line) {
  if (line < top_row_ || line > top_row_ + visible_rows_ || line < 1) return;
  const int y = (line - top_row_) * row_height_;
  InvalidateRect({gutter_pixels_, y, client_width_, std::min(client_height_, y + row_height_)});
}

void TCustomEditor::InvalidateSelection() {
  if (!HasSelection()) return;
  InvalidateLines(std::min(sel_anchor_.Line, sel_end_.Line),
                  std::max(sel_anchor_.Line, sel_end_.Line));
}

// ---- system caret

bool TCustomEditor::CaretShouldShow() const {
  return host_ && (Focused() || always_show_caret_) && !options_.Contains(eoNoCaret);
}

void TCustomEditor::InitializeCaret() {
  if (!host_) return;
  if (!(Focused() || always_show_caret_)) return;
  const TEditorCaretType shape = insert_mode_ ? insert_caret_ : overwrite_caret_;
  const int body = std::max(1, row_height_ - 2);
  int w = cell_width_, h = body;
  caret_offset_x_ = 0;
  caret_offset_y_ = 1;
  switch (shape) {
    case ctVerticalLine:
      w = 2;
      caret_offset_x_ = -1;
      break;
    case ctHorizontalLine:
      h = 2;
      caret_offset_y_ = row_height_ - 2;
      break;
    case ctHalfBlock:
      h = std::max(1, body / 2);
      caret_offset_y_ = 1 + body - h;
      break;
    case ctBlock:
      break;
  }
  if (caret_created_) {
    SetCaretVisible(false);
    host_->DestroyCaret();
  }
  host_->CreateCaret(w, h);
  caret_created_ = true;
  caret_shown_ = false;
  caret_pending_ = true;
  UpdateCaret();
}

void TCustomEditor::UpdateCaret() {
  if (paint_lock_ > 0) {
    caret_pending_ = true;
    return;
  }
  caret_pending_ = false;
  if (!host_ || !caret_created_) return;
  const TPoint p = RowColumnToPixels(CaretDisplayPos());
  const int x = p.x + caret_offset_x_, y = p.y + caret_offset_y_;
  const bool inside = p.x >= gutter_pixels_ + text_margin_ && p.x <= client_width_ && p.y >= 0 &&
                      p.y < std::max(client_height_, row_height_);
  host_->SetCaretPosition(x, y);
  SetCaretVisible(inside && CaretShouldShow());
}

void TCustomEditor::SetCaretVisible(bool visible) {
  if (!host_ || visible == caret_shown_) return;
  caret_shown_ = visible;
  if (visible)
    host_->ShowCaret();
  else
    host_->HideCaret();
}

void TCustomEditor::FocusGained() {
  InitializeCaret();
  if (hide_selection_) InvalidateSelection();
}

void TCustomEditor::FocusLost() {
  if (host_ && caret_created_ && !always_show_caret_) {
    SetCaretVisible(false);
    host_->DestroyCaret();
    caret_created_ = false;
  }
  if (hide_selection_) InvalidateSelection();
}

std::string FormatScrollHint(TScrollHintFormat format, int top_line, int bottom_line) {
  if (format == shfTopToBottom) return FormatText("%d - %d", top_line, bottom_line);
  return FormatText("Top Line: %d", top_line);
}
