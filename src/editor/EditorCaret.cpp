// Where the caret and the selection are, how movement changes them, and how the
// view (top row, left column, scroll bars) follows.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "editor/Editor.h"
#include "language/EditorHighlighter.h"
#include "platform/CodePage.h"

namespace {

// Multiply-divide with rounding, in 64 bits, as scroll-bar scaling needs.
int MulDiv(long long a, long long b, long long c) {
  if (c == 0) return 0;
  long long p = a * b;
  long long r = p >= 0 ? (p + c / 2) / c : (p - c / 2) / c;
  return static_cast<int>(std::clamp<long long>(r, INT_MIN, INT_MAX));
}

constexpr int kScaledRange = 32767;

}  // namespace

// ---- small helpers

int TCustomEditor::LineLength(int line) const {
  return static_cast<int>(lines_->LineView(line - 1).size());
}

bool TCustomEditor::IsTrailByte(std::string_view s, int char_index) const {
  const ICodePage* cp = CharSet();
  if (!cp || cp->OneBytePerChar() || char_index <= 0 || char_index >= static_cast<int>(s.size()))
    return false;
  const auto i = static_cast<std::size_t>(char_index);
  return cp->CharStart(s, i) != i;
}

int TCustomEditor::NextCharPos(std::string_view s, int ch) const {
  const ICodePage* cp = CharSet();
  if (!cp || ch < 1 || ch > static_cast<int>(s.size())) return ch + 1;
  return static_cast<int>(cp->NextCharStart(s, static_cast<std::size_t>(ch - 1))) + 1;
}

int TCustomEditor::PrevCharPos(std::string_view s, int ch) const {
  const ICodePage* cp = CharSet();
  if (!cp || ch <= 1 || ch > static_cast<int>(s.size()) + 1) return ch - 1;
  return static_cast<int>(cp->PrevCharStart(s, static_cast<std::size_t>(ch - 1))) + 1;
}

// ---- conversions

TDisplayCoord TCustomEditor::BufferToDisplayPos(TBufferCoord p) const {
  const int n = p.Char - 1;
  if (n <= 0) return {1, p.Line};
  const std::string_view s = lines_->LineView(p.Line - 1);
  const int len = static_cast<int>(s.size());
  const bool vary = lines_->CellsVary(p.Line - 1);
  // A line whose expansion has its own length has one cell per character.
  if (len == 0 || (!vary && lines_->GetExpandedLength(p.Line - 1) == len)) return {n + 1, p.Line};
  const int upto = std::min(n, len);
  long long x = 0;
  std::size_t i = 0;
  const std::size_t end = static_cast<std::size_t>(upto);
  if (vary) {
    // Character by character, each taking the cells the character set gives
    // it; the line buffer walks from its nearest cell mark.
    x = lines_->WalkCellsToByte(p.Line - 1, end).Cells;
  } else {
    // From tab to tab: the characters between them take one cell each.
    while (i < end) {
      const void* hit = std::memchr(s.data() + i, '\t', end - i);
      if (!hit) {
        x += static_cast<long long>(end - i);
        break;
      }
      const std::size_t j = static_cast<std::size_t>(static_cast<const char*>(hit) - s.data());
      x += static_cast<long long>(j - i);
      x += tab_width_ - x % tab_width_;
      i = j + 1;
    }
  }
  x += n - upto;
  return {static_cast<int>(std::min<long long>(x + 1, INT_MAX)), p.Line};
}

TBufferCoord TCustomEditor::DisplayToBufferPos(TDisplayCoord p) const {
  return DisplayToBufferStep(p, 1);
}

TBufferCoord TCustomEditor::DisplayToBufferStep(TDisplayCoord p, int trail_step) const {
  const std::string_view s = lines_->LineView(p.Row - 1);
  const int len = static_cast<int>(s.size());
  const bool vary = lines_->CellsVary(p.Row - 1);
  int ch;
  if (p.Column <= 1) {
    ch = 1;
  } else if (len == 0 || (!vary && lines_->GetExpandedLength(p.Row - 1) == len)) {
    ch = p.Column;
  } else if (vary) {
    // The character whose cells hold the column; its first cell means before
    // it, a later one before or after it as trail_step says. Tabs as below.
    const ICodePage& cp = *CharSet();
    const TCellMark mark = lines_->CellMarkAtOrBeforeCells(p.Row - 1, p.Column - 1);
    long long count = mark.Cells;
    std::size_t i = mark.Byte;
    ch = -1;
    while (i < s.size()) {
      const bool tab = s[i] == '\t';
      int char_cells = 1;
      const std::size_t n = tab ? 1 : cp.CharLengthCells(s, i, char_cells);
      const long long cells = tab ? tab_width_ - count % tab_width_ : char_cells;
      if (count + cells >= p.Column) {
        const bool later_cell = !tab && p.Column > count + 1 && trail_step > 0;
        ch = static_cast<int>(later_cell ? i + n : i) + 1;
        break;
      }
      count += cells;
      i += n;
    }
    if (ch < 0) ch = static_cast<int>(std::min<long long>(s.size() + (p.Column - count), INT_MAX));
    return {ch, p.Row};
  } else {
    // Consume characters while the cell count is below the column.
    long long count = 0;
    std::size_t i = 0;
    const std::size_t size = s.size();
    ch = -1;
    while (i < size) {
      const void* hit = std::memchr(s.data() + i, '\t', size - i);
      const std::size_t j =
          hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s.data()) : size;
      if (count + static_cast<long long>(j - i) >= p.Column) {
        ch = static_cast<int>(i + static_cast<std::size_t>(p.Column - count));
        break;
      }
      count += static_cast<long long>(j - i);
      i = j;
      if (i < size) {  // the TAB
        count += tab_width_ - count % tab_width_;
        ++i;
        if (count >= p.Column) {
          ch = static_cast<int>(i);
          break;
        }
      }
    }
    if (ch < 0) ch = static_cast<int>(std::min<long long>(size + (p.Column - count), INT_MAX));
  }
  if (ch < 1) ch = 1;
  if (ch <= len && IsTrailByte(s, ch - 1)) ch += trail_step;
  return {ch, p.Row};
}

TDisplayCoord TCustomEditor::PixelsToRowColumn(int x, int y) const {
  const int col = (x - gutter_pixels_ - text_margin_) / cell_width_ + left_column_;
  const int row = y / row_height_ + top_row_;
  return {std::max(1, col), std::max(1, row)};
}

TDisplayCoord TCustomEditor::PixelsToNearestRowColumn(int x, int y) const {
  const int limit = visible_rows_ * row_height_ - 1;
  if (y > limit) y = std::max(0, limit);
  const int dx = x - gutter_pixels_ - text_margin_;
  // Round to the nearest cell boundary (half a cell or more goes right).
  const int cells =
      dx >= 0 ? (dx + cell_width_ / 2) / cell_width_ : -((-dx + cell_width_ / 2 - 1) / cell_width_);
  const int col = std::max(cells, 0) + left_column_;
  const int row = y / row_height_ + top_row_;
  return {std::max(1, col), std::max(1, row)};
}

TPoint TCustomEditor::RowColumnToPixels(TDisplayCoord p) const {
  return {(p.Column - 1) * cell_width_ + text_left_, (p.Row - top_row_) * row_height_};
}

// ---- caret

void TCustomEditor::InternalSetCaretPos(TBufferCoord value, bool scroll_into_view) {
  DoPaintTransient(ttBefore);
  const bool past_eol = options_.Contains(eoScrollPastEol);
  int max_char = ScrollWidth() + 1;
  int line = std::min(value.Line, lines_->Count());
  if (line < 1) {
    line = 1;
    if (!past_eol) max_char = 1;
  } else if (!past_eol) {
    max_char = LineLength(line) + 1;
  } else {
    // A line longer than the scroll width stays reachable to its end.
    max_char = std::max(max_char, LineLength(line) + 1);
  }
  int ch = value.Char;
  if (ch > max_char && !(past_eol && options_.Contains(eoAutoSizeMaxScrollWidth))) ch = max_char;
  if (ch < 1) ch = 1;
  // The caret stands between characters, never inside one.
  const std::string_view text = lines_->LineView(line - 1);
  if (IsTrailByte(text, ch - 1))
    ch = static_cast<int>(CharSet()->CharStart(text, static_cast<std::size_t>(ch - 1))) + 1;
  if (ch != caret_.Char || line != caret_.Line) {
    BeginUpdate();
    if (caret_.Char != ch) {
      caret_.Char = ch;
      StatusChanged(TStatusChanges{scCaretX});
    }
    if (caret_.Line != line) {
      if (active_line_color_ != clNone) {
        InvalidateLine(line);
        InvalidateLine(caret_.Line);
      }
      caret_.Line = line;
      StatusChanged(TStatusChanges{scCaretY});
    }
    last_caret_column_ = CaretDisplayPos().Column;
    if (past_eol && last_caret_column_ > ScrollWidth()) {
      reach_width_ = last_caret_column_;
      scrollbars_pending_ = true;
    }
    if (scroll_into_view) ScrollCaretIntoView();
    caret_pending_ = true;
    scrollbars_pending_ = true;
    EndUpdate();
  } else {
    last_caret_column_ = CaretDisplayPos().Column;
  }
  DoPaintTransient(ttAfter);
}

void TCustomEditor::SetCaretPos(TBufferCoord value) {
  BeginUpdate();
  InternalSetCaretPos(value, true);
  if (HasSelection()) InvalidateSelection();
  sel_anchor_ = caret_;
  sel_end_ = caret_;
  StatusChanged(TStatusChanges{scSelection});
  EndUpdate();
}

// ---- selection

void TCustomEditor::SetSelectionAnchor(TBufferCoord value) {
  value.Line = std::max(1, std::min(value.Line, lines_->Count()));
  if (options_.Contains(eoScrollPastEol))
    value.Char = std::clamp(value.Char, 1, std::max(ScrollWidth(), LineLength(value.Line)) + 1);
  else
    value.Char = std::max(value.Char, 1);
  if (active_selection_mode_ == smNormal)
    value.Char = std::min(value.Char, LineLength(value.Line) + 1);
  bool changed;
  if (HasSelection()) {
    const int l1 = std::min({sel_anchor_.Line, sel_end_.Line, value.Line});
    const int l2 = std::max({sel_anchor_.Line, sel_end_.Line, value.Line});
    sel_anchor_ = sel_end_ = value;
    InvalidateLines(l1, l2);
    changed = true;
  } else {
    changed = !(sel_anchor_ == value) || !(sel_end_ == value);
    sel_anchor_ = sel_end_ = value;
  }
  if (changed) StatusChanged(TStatusChanges{scSelection});
}

void TCustomEditor::SetSelectionEnd(TBufferCoord value) {
  if (options_.Contains(eoNoSelection)) return;
  value.Line = std::max(1, std::min(value.Line, lines_->Count()));
  if (options_.Contains(eoScrollPastEol))
    value.Char = std::clamp(value.Char, 1, std::max(ScrollWidth(), LineLength(value.Line)) + 1);
  else
    value.Char = std::max(value.Char, 1);
  const std::string_view s = lines_->LineView(value.Line - 1);
  if (active_selection_mode_ == smNormal)
    value.Char = std::min(value.Char, static_cast<int>(s.size()) + 1);
  if (IsTrailByte(s, value.Char - 1))
    value.Char =
        static_cast<int>(CharSet()->CharStart(s, static_cast<std::size_t>(value.Char - 1))) + 1;
  if (value == sel_end_) return;
  const TBufferCoord old = sel_end_;
  sel_end_ = value;
  if (active_selection_mode_ == smColumn)
    InvalidateLines(std::min({sel_anchor_.Line, old.Line, value.Line}),
                    std::max({sel_anchor_.Line, old.Line, value.Line}));
  else
    InvalidateLines(std::min(old.Line, value.Line), std::max(old.Line, value.Line));
  StatusChanged(TStatusChanges{scSelection});
}

bool TCustomEditor::HasSelection() const {
  return sel_anchor_.Char != sel_end_.Char ||
         (sel_anchor_.Line != sel_end_.Line && active_selection_mode_ != smColumn);
}

TBufferCoord TCustomEditor::SelectionBegin() const {
  return sel_end_ < sel_anchor_ ? sel_end_ : sel_anchor_;
}

TBufferCoord TCustomEditor::SelectionFinish() const {
  return sel_end_ < sel_anchor_ ? sel_anchor_ : sel_end_;
}

void TCustomEditor::SetSelectionMode(TSelectionMode value) {
  selection_mode_ = value;
  SetActiveSelectionMode(value);
}

void TCustomEditor::SetActiveSelectionMode(TSelectionMode value) {
  if (value == active_selection_mode_) return;
  InvalidateSelection();
  active_selection_mode_ = value;
  InvalidateSelection();
  StatusChanged(TStatusChanges{scSelection});
}

std::string TCustomEditor::SelectedText() const {
  if (!HasSelection()) return std::string();
  const TBufferCoord b = SelectionBegin(), e = SelectionFinish();
  auto part = [](std::string_view s, int from_char, int to_char) {
    // Characters from_char .. to_char - 1 (1-based), limited to the line.
    const int len = static_cast<int>(s.size());
    from_char = std::clamp(from_char, 1, len + 1);
    to_char = std::clamp(to_char, from_char, len + 1);
    return std::string(s.substr(static_cast<std::size_t>(from_char - 1),
                                static_cast<std::size_t>(to_char - from_char)));
  };
  std::string result;
  switch (active_selection_mode_) {
    case smNormal: {
      if (b.Line == e.Line) return part(lines_->LineView(b.Line - 1), b.Char, e.Char);
      result = part(lines_->LineView(b.Line - 1), b.Char, INT_MAX);
      for (int l = b.Line + 1; l < e.Line; ++l) {
        result += "\r\n";
        result += lines_->LineView(l - 1);
      }
      result += "\r\n";
      result += part(lines_->LineView(e.Line - 1), 1, e.Char);
      return result;
    }
    case smLine: {
      for (int l = b.Line; l <= e.Line; ++l) {
        result += lines_->LineView(l - 1);
        if (l < lines_->Count()) result += "\r\n";
      }
      return result;
    }
    case smColumn: {
      int c1 = BufferToDisplayPos(b).Column, c2 = BufferToDisplayPos(e).Column;
      if (c1 > c2) std::swap(c1, c2);
      for (int l = b.Line; l <= e.Line; ++l) {
        if (l > b.Line) result += "\r\n";
        const int x1 = DisplayToBufferPos({c1, l}).Char, x2 = DisplayToBufferPos({c2, l}).Char;
        result += part(lines_->LineView(l - 1), x1, x2);
      }
      return result;
    }
  }
  return result;
}

void TCustomEditor::SelectWordAt(TBufferCoord position) {
  const int len = LineLength(position.Line);
  if (position.Char > len) {
    SetCaretPos({len + 1, position.Line});
    return;
  }
  const TBufferCoord ws = WordStart(position), we = WordEnd(position);
  if (ws.Char == we.Char) return;
  BeginUpdate();
  SetSelectionAnchor(ws);
  SetSelectionEnd(we);
  InternalSetCaretPos(we, true);
  EndUpdate();
}

void TCustomEditor::SelectAllText() {
  const int last = std::max(1, lines_->Count());
  const TBufferCoord end{LineLength(last) + 1, last};
  BeginUpdate();
  SetSelectionAnchor({1, 1});
  SetSelectionEnd(end);
  InternalSetCaretPos(end, true);
  EndUpdate();
}

// ---- character offsets

TBufferCoord TCustomEditor::OffsetToPosition(int offset) const {
  const int count = lines_->Count();
  if (offset < 0) offset = 0;
  // Walk from the remembered line start, or from the top when that is closer.
  int line = offset_line_;
  long long start = offset_start_;
  if (line > count || offset < start / 2) {
    line = 0;
    start = 0;
  }
  while (line > 0 && start > offset) {
    --line;
    start -= static_cast<long long>(lines_->LineView(line).size()) + 2;
  }
  while (line < count) {
    const long long next = start + static_cast<long long>(lines_->LineView(line).size()) + 2;
    if (offset < next) break;
    start = next;
    ++line;
  }
  offset_line_ = line;
  offset_start_ = start;
  if (line >= count) return {1, count + 1};
  return {static_cast<int>(offset - start) + 1, line + 1};
}

int TCustomEditor::PositionToOffset(TBufferCoord position) const {
  const int count = lines_->Count();
  const int target = std::clamp(position.Line - 1, 0, count);
  int line = offset_line_;
  long long start = offset_start_;
  if (line > count || target < line / 2) {
    line = 0;
    start = 0;
  }
  while (line > target) {
    --line;
    start -= static_cast<long long>(lines_->LineView(line).size()) + 2;
  }
  while (line < target) {
    start += static_cast<long long>(lines_->LineView(line).size()) + 2;
    ++line;
  }
  offset_line_ = line;
  offset_start_ = start;
  const long long result = start + std::max(position.Char, 1) - 1;
  return static_cast<int>(std::min<long long>(result, INT_MAX));
}

int TCustomEditor::SelectionStartIndex() const {
  return PositionToOffset(HasSelection() ? SelectionBegin() : caret_);
}

int TCustomEditor::SelectionEndIndex() const {
  return PositionToOffset(HasSelection() ? SelectionFinish() : caret_);
}

void TCustomEditor::SetSelectionStartIndex(int offset) { SetCaretPos(OffsetToPosition(offset)); }

void TCustomEditor::SetSelectionEndIndex(int offset) { SetSelectionEnd(OffsetToPosition(offset)); }

// ---- view

int TCustomEditor::MaxTopRow() const {
  const int rows = DisplayRowCount();
  return options_.Contains(eoScrollPastEof) ? rows : rows - visible_rows_ + 1;
}

void TCustomEditor::SetTopRow(int value) {
  value = std::max(1, std::min(value, MaxTopRow()));
  if (value == top_row_) return;
  const int delta = top_row_ - value;
  top_row_ = value;
  if (std::abs(delta) < visible_rows_)
    ScrollText(0, delta * row_height_);
  else
    Invalidate();
  UpdateScrollBars();
  caret_pending_ = true;
  if (paint_lock_ == 0) UpdateCaret();
  StatusChanged(TStatusChanges{scTopLine});
}

int TCustomEditor::MaxLeftColumn() const {
  if (options_.Contains(eoScrollPastEol)) {
    if (options_.Contains(eoAutoSizeMaxScrollWidth)) return INT_MAX - visible_columns_;
    return ScrollWidth() - visible_columns_ + 1;
  }
  const int longest = lines_->LongestLineLength();
  return std::max(1, longest - visible_columns_ + 1);
}

void TCustomEditor::SetLeftColumn(int value) {
  value = std::max(1, std::min(value, MaxLeftColumn()));
  if (value == left_column_) return;
  const int delta = left_column_ - value;
  left_column_ = value;
  text_left_ = gutter_pixels_ + text_margin_ - (left_column_ - 1) * cell_width_;
  if (std::abs(delta) < visible_columns_)
    ScrollText(delta * cell_width_, 0);
  else
    InvalidateLines(-1, -1);
  if (options_.Contains(eoScrollPastEol) && options_.Contains(eoAutoSizeMaxScrollWidth) &&
      max_scroll_width_ < left_column_ + visible_columns_)
    SetMaxScrollWidth(left_column_ + visible_columns_);
  else
    UpdateScrollBars();
  caret_pending_ = true;
  if (paint_lock_ == 0) UpdateCaret();
  StatusChanged(TStatusChanges{scLeftChar});
}

void TCustomEditor::ScrollText(int dx, int dy) {
  // While lines are changing the collected invalid area would not move with
  // the pixels; repaint instead.
  if (lines_changing_ || have_invalid_rect_) {
    if (dy != 0)
      Invalidate();
    else
      InvalidateLines(-1, -1);
    return;
  }
  if (!host_) return;
  if (dy != 0)
    host_->ScrollPixels(0, dy, {0, 0, client_width_, client_height_});
  else
    host_->ScrollPixels(dx, 0, {gutter_pixels_ + text_margin_, 0, client_width_, client_height_});
}

void TCustomEditor::SetMaxScrollWidth(int value) {
  value = std::clamp(value, 1, 2147483646);
  if (value == max_scroll_width_) return;
  max_scroll_width_ = value;
  if (options_.Contains(eoScrollPastEol)) UpdateScrollBars();
}

void TCustomEditor::SetScrollBars(TScrollStyle value) {
  if (value == scroll_bars_) return;
  scroll_bars_ = value;
  UpdateScrollBars();
}

void TCustomEditor::ScrollColumnIntoView(int column) {
  if (column < left_column_)
    SetLeftColumn(column);
  else if (visible_columns_ > 0 && column >= left_column_ + visible_columns_)
    SetLeftColumn(column - visible_columns_ + 1);
  else
    SetLeftColumn(left_column_);
}

void TCustomEditor::ScrollCaretIntoView() {
  BeginUpdate();
  const TDisplayCoord d = CaretDisplayPos();
  ScrollColumnIntoView(d.Column);
  if (d.Row < top_row_)
    SetTopRow(d.Row);
  else if (d.Row > top_row_ + std::max(visible_rows_, 1) - 1)
    SetTopRow(d.Row - visible_rows_ + 1);
  else
    SetTopRow(top_row_);
  EndUpdate();
}

void TCustomEditor::ScrollCaretIntoViewCentered() {
  BeginUpdate();
  const TDisplayCoord d = CaretDisplayPos();
  ScrollColumnIntoView(d.Column);
  const int half = visible_rows_ / 2;
  if (d.Row < top_row_ - 1)
    SetTopRow(d.Row - half < 0 ? 1 : std::max(1, d.Row - half + 1));
  else if (d.Row > top_row_ + visible_rows_ - 2)
    SetTopRow(d.Row - visible_rows_ + 1 + half);
  else
    SetTopRow(top_row_);
  EndUpdate();
}

// ---- scroll bars

void TCustomEditor::ApplyScrollBar(THostScrollBar bar, int range, int page, int pos,
                                   int /*min_for_unscaled*/) {
  TScrollBarInfo info;
  const bool scaled = range > kScaledRange;
  if (scaled) {
    info.Min = 0;
    info.Max = kScaledRange;
    info.Page = MulDiv(page, kScaledRange, range);
    info.Pos = MulDiv(pos, kScaledRange, range);
  } else {
    info.Min = 1;
    info.Max = range;
    info.Page = page;
    info.Pos = pos;
  }
  const bool fits = !scaled && page >= range;
  if (options_.Contains(eoHideShowScrollbars))
    info.Visible = !fits;
  else
    info.DisableNoScroll = true;
  if (options_.Contains(eoDisableScrollArrows) || fits) {
    if (fits) {
      info.DisableStartArrow = info.DisableEndArrow = true;
    } else {
      info.DisableStartArrow = pos <= 1;
      info.DisableEndArrow = pos + page > range;
    }
  }
  host_->SetScrollBar(bar, info);
}

void TCustomEditor::UpdateScrollBars() {
  if (!host_) return;
  if (paint_lock_ > 0) {
    scrollbars_pending_ = true;
    return;
  }
  scrollbars_pending_ = false;
  TScrollBarInfo hidden;
  hidden.Visible = false;
  if (scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth) {
    const int range = options_.Contains(eoScrollPastEol) ? ScrollWidth()
                                                         : std::max(1, lines_->LongestLineLength());
    ApplyScrollBar(THostScrollBar::Horizontal, range, visible_columns_, left_column_, 1);
  } else {
    host_->SetScrollBar(THostScrollBar::Horizontal, hidden);
  }
  if (scroll_bars_ == ssVertical || scroll_bars_ == ssBoth) {
    int range = DisplayRowCount();
    if (options_.Contains(eoScrollPastEof)) range += visible_rows_ - 1;
    ApplyScrollBar(THostScrollBar::Vertical, std::max(1, range), visible_rows_, top_row_, 1);
  } else {
    host_->SetScrollBar(THostScrollBar::Vertical, hidden);
  }
}

void TCustomEditor::ShowScrollHint() {
  if (!host_) return;
  const int top = top_row_;
  const int bottom = std::max(top, std::min(top_row_ + visible_rows_ - 1, lines_->Count()));
  const int y = options_.Contains(eoScrollHintFollows) ? host_->VerticalThumbTop() : 10;
  host_->ShowHint(FormatScrollHint(scroll_hint_format_, top, bottom), client_width_ - 4, y,
                  scroll_hint_color_);
}

namespace {

// The first row or column a scroll code asks for, from the current one, the
// distance of a page, where Bottom goes and the range the scroll bar covers
// (a thumb position beyond the scaled range is scaled back). EndScroll keeps
// the current one.
int ScrollTarget(TScrollCode code, int current, int page, int bottom, int range,
                 int thumb_position) {
  switch (code) {
    case TScrollCode::LineUp:
      return current - 1;
    case TScrollCode::LineDown:
      return current + 1;
    case TScrollCode::PageUp:
      return current - page;
    case TScrollCode::PageDown:
      return current + page;
    case TScrollCode::Top:
      return 1;
    case TScrollCode::Bottom:
      return bottom;
    case TScrollCode::ThumbTrack:
    case TScrollCode::ThumbPosition:
      return range > kScaledRange ? MulDiv(thumb_position, range, kScaledRange) : thumb_position;
    case TScrollCode::EndScroll:
      break;
  }
  return current;
}

}  // namespace

void TCustomEditor::Scroll(TScrollBarKind kind, TScrollCode code, int thumb_position) {
  const int less = options_.Contains(eoScrollByOneLess) ? 1 : 0;
  const bool vertical = kind == TScrollBarKind::Vertical;
  const bool thumb = code == TScrollCode::ThumbTrack || code == TScrollCode::ThumbPosition;
  BeginUpdate();
  if (code == TScrollCode::EndScroll) {
    thumb_tracking_ = false;
    if (vertical && host_) host_->HideHint();
  } else if (vertical) {
    int range = DisplayRowCount();
    if (options_.Contains(eoScrollPastEof)) range += visible_rows_ - 1;
    if (thumb) thumb_tracking_ = code == TScrollCode::ThumbTrack;
    SetTopRow(ScrollTarget(code, top_row_, visible_rows_ - less, DisplayRowCount(), range,
                           thumb_position));
    if (thumb && thumb_tracking_ && options_.Contains(eoShowScrollHint)) ShowScrollHint();
  } else {
    const bool past_eol = options_.Contains(eoScrollPastEol);
    const int longest = past_eol ? 0 : lines_->LongestLineLength();
    const int range = past_eol ? ScrollWidth() : std::max(1, longest);
    const int bottom = past_eol ? ScrollWidth() - visible_columns_ + 1 : longest;
    if (thumb) thumb_tracking_ = code == TScrollCode::ThumbTrack;
    SetLeftColumn(
        ScrollTarget(code, left_column_, visible_columns_ - less, bottom, range, thumb_position));
  }
  EndUpdate();
  if (OnScroll) OnScroll(*this, kind);
}

void TCustomEditor::MouseWheel(int delta, TShiftState shift) {
  kbd_handler_.ExecuteMouseWheel(*this, delta, shift);
  if (delta == 0) return;
  int rows = 3;
  if (shift & ssCtrl)
    rows = options_.Contains(eoHalfPageScroll) ? visible_rows_ / 2 : visible_rows_;
  wheel_accumulator_ += delta;
  BeginUpdate();
  while (wheel_accumulator_ >= 120) {
    wheel_accumulator_ -= 120;
    SetTopRow(top_row_ - rows);
  }
  while (wheel_accumulator_ <= -120) {
    wheel_accumulator_ += 120;
    SetTopRow(top_row_ + rows);
  }
  EndUpdate();
  if (OnScroll) OnScroll(*this, TScrollBarKind::Vertical);
}

// ---- words

bool TCustomEditor::IsWordChar(unsigned char c) const {
  if (highlighter_) {
    return highlighter_->IdentChars().test(c) && !highlighter_->WordBreakChars().test(c);
  }
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') ||
         (c >= 192 && c <= 214) || (c >= 216 && c <= 246) || c >= 248;
}

namespace {

// The editor's word characters, computed once per operation: its own set for
// single bytes and ASCII, the character set's letters and digits for the other
// characters of Unicode text. Positions are 1-based character starts.
struct WordChars {
  THighlighterCharSet set;
  const ICodePage* cp = nullptr;
  bool operator()(std::string_view s, int pos) const {
    const std::size_t i = static_cast<std::size_t>(pos - 1);
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80 || !cp || !cp->UnicodeText()) return set.test(c);
    return cp->IsWordCharAt(s, i);
  }
};

WordChars MakeWordChars(const TCustomEditor& e) {
  WordChars w;
  for (int c = 0; c < 256; ++c)
    w.set.set(static_cast<std::size_t>(c), e.IsWordChar(static_cast<unsigned char>(c)));
  w.cp = e.CharSet();
  return w;
}

}  // namespace

TBufferCoord TCustomEditor::NextWordPos(TBufferCoord from) const {
  const WordChars is_word = MakeWordChars(*this);
  const std::string_view s = lines_->LineView(from.Line - 1);
  const int len = static_cast<int>(s.size());
  int c = std::max(1, from.Char);
  if (c < len) {
    if (is_word(s, c))
      while (c <= len && is_word(s, c)) c = NextCharPos(s, c);
    while (c <= len && !is_word(s, c)) c = NextCharPos(s, c);
    return {c > len ? len + 1 : c, from.Line};
  }
  if (from.Line < lines_->Count()) {
    const std::string_view next = lines_->LineView(from.Line);
    const int next_len = static_cast<int>(next.size());
    for (int i = 1; i <= next_len; i = NextCharPos(next, i))
      if (is_word(next, i)) return {i, from.Line + 1};
    return {1, from.Line + 1};
  }
  return {std::max(c, len + 1), from.Line};
}

TBufferCoord TCustomEditor::PrevWordPos(TBufferCoord from) const {
  const WordChars is_word = MakeWordChars(*this);
  const std::string_view s = lines_->LineView(from.Line - 1);
  const int len = static_cast<int>(s.size());
  int p = std::clamp(from.Char, 1, len + 1);  // a position between characters
  while (p > 1 && !is_word(s, PrevCharPos(s, p))) p = PrevCharPos(s, p);
  if (p == 1) {
    if (from.Line > 1) return {LineLength(from.Line - 1) + 1, from.Line - 1};
    return {1, from.Line};
  }
  while (p > 1 && is_word(s, PrevCharPos(s, p))) p = PrevCharPos(s, p);
  return {p, from.Line};
}

TBufferCoord TCustomEditor::WordStart(TBufferCoord at) const {
  const WordChars is_word = MakeWordChars(*this);
  const std::string_view s = lines_->LineView(at.Line - 1);
  int c = std::clamp(at.Char, 1, static_cast<int>(s.size()) + 1);
  while (c > 1 && is_word(s, PrevCharPos(s, c))) c = PrevCharPos(s, c);
  return {c, at.Line};
}

TBufferCoord TCustomEditor::WordEnd(TBufferCoord at) const {
  const WordChars is_word = MakeWordChars(*this);
  const std::string_view s = lines_->LineView(at.Line - 1);
  const int len = static_cast<int>(s.size());
  int c = std::clamp(at.Char, 1, len + 1);
  while (c <= len && is_word(s, c)) c = NextCharPos(s, c);
  return {c, at.Line};
}

std::string TCustomEditor::WordAt(TBufferCoord at) const {
  const TBufferCoord b = WordStart(at), e = WordEnd(at);
  if (e.Char <= b.Char) return std::string();
  return std::string(
      lines_->LineView(at.Line - 1)
          .substr(static_cast<std::size_t>(b.Char - 1), static_cast<std::size_t>(e.Char - b.Char)));
}

// ---- movement

void TCustomEditor::MoveCaretAndSelection(TBufferCoord before, TBufferCoord after, bool select) {
  BeforeCaretMove();
  BeginUpdate();
  if (select) {
    if (!HasSelection()) SetSelectionAnchor(before);
    SetSelectionEnd(after);
  } else {
    SetSelectionAnchor(after);
  }
  InternalSetCaretPos(after, true);
  EndUpdate();
}

void TCustomEditor::MoveCaretHorz(int delta, bool select) {
  const bool past_eol = options_.Contains(eoScrollPastEol);
  const TBufferCoord from = caret_;
  TBufferCoord to = caret_;
  const std::string_view s = lines_->LineView(caret_.Line - 1);
  const int len = static_cast<int>(s.size());
  if (!past_eol && delta == -1 && to.Char == 1 && to.Line > 1) {
    to.Line -= 1;
    to.Char = LineLength(to.Line) + 1;
  } else if (!past_eol && delta == 1 && to.Char > len && to.Line < lines_->Count()) {
    to.Line += 1;
    to.Char = 1;
  } else if (delta == 1 || delta == -1) {
    // One character, never half of one.
    to.Char = std::max(1, delta > 0 ? NextCharPos(s, to.Char) : PrevCharPos(s, to.Char));
    if (!past_eol && delta > 0 && to.Char > len + 1) to.Char = len + 1;
  } else {
    long long c = static_cast<long long>(to.Char) + delta;
    to.Char = static_cast<int>(std::clamp<long long>(c, 1, INT_MAX));
    if (!past_eol && delta > 0 && to.Char > len + 1) to.Char = len + 1;
    if (to.Char <= len && IsTrailByte(s, to.Char - 1)) {
      const int start =
          static_cast<int>(CharSet()->CharStart(s, static_cast<std::size_t>(to.Char - 1))) + 1;
      to.Char = delta > 0 ? NextCharPos(s, start) : start;
    }
  }
  MoveCaretAndSelection(from, to, select);
}

void TCustomEditor::MoveCaretVert(int delta, bool select) {
  const TDisplayCoord from = CaretDisplayPos();
  TDisplayCoord to = from;
  const long long row = static_cast<long long>(from.Row) + delta;
  to.Row = static_cast<int>(std::clamp<long long>(row, 1, std::max(1, DisplayRowCount())));
  if (to.Row != from.Row && options_.Contains(eoKeepCaretX)) to.Column = last_caret_column_;
  // A column on the second byte of a double-byte character steps back here,
  // so that the next vertical move can step forward again.
  const TBufferCoord target = DisplayToBufferStep(to, -1);
  const int remembered = last_caret_column_;
  MoveCaretAndSelection(caret_, target, select);
  last_caret_column_ = remembered;
}

int TCustomEditor::PageSize() const {
  int page = visible_rows_;
  if (options_.Contains(eoHalfPageScroll)) page /= 2;
  if (options_.Contains(eoScrollByOneLess)) page -= 1;
  return page;
}

void TCustomEditor::DoSmartHome(bool select) {
  const std::string_view s = lines_->LineView(caret_.Line - 1);
  int target = 1;
  if (options_.Contains(eoEnhanceHomeKey)) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const int first = static_cast<int>(i) + 1;
    target = (first >= caret_.Char && caret_.Char != 1) ? 1 : first;
  }
  MoveCaretAndSelection(caret_, {target, caret_.Line}, select);
}

void TCustomEditor::DoSmartEnd(bool select) {
  const std::string_view s = lines_->LineView(caret_.Line - 1);
  const int len = static_cast<int>(s.size());
  int target = len + 1;
  if (options_.Contains(eoEnhanceEndKey)) {
    int i = len;
    while (i > 0 && (s[static_cast<std::size_t>(i - 1)] == ' ' ||
                     s[static_cast<std::size_t>(i - 1)] == '\t'))
      --i;
    const int after_text = i + 1;
    target = caret_.Char == after_text ? len + 1 : after_text;
  }
  MoveCaretAndSelection(caret_, {target, caret_.Line}, select);
}

void TCustomEditor::DoScrollLines(int delta) {
  const int row = CaretDisplayPos().Row;
  if (row < top_row_ || row > top_row_ + visible_rows_ - 1) {
    ScrollCaretIntoView();
    return;
  }
  SetTopRow(top_row_ + delta);
  if (row < top_row_)
    MoveCaretVert(top_row_ - row, false);
  else if (row > top_row_ + visible_rows_ - 1)
    MoveCaretVert(top_row_ + visible_rows_ - 1 - row, false);
  ScrollCaretIntoView();
}

void TCustomEditor::DoMatchBracket() {
  static const char kBrackets[] = "()[]{}<>";
  const std::string_view s = lines_->LineView(caret_.Line - 1);
  if (caret_.Char < 1 || caret_.Char > static_cast<int>(s.size())) return;
  const char c = s[static_cast<std::size_t>(caret_.Char - 1)];
  const char* p = std::char_traits<char>::find(kBrackets, 8, c);
  if (!p) return;
  const int index = static_cast<int>(p - kBrackets);
  const bool forward = index % 2 == 0;
  const char mate = kBrackets[forward ? index + 1 : index - 1];
  int level = 0;
  int line = caret_.Line;
  int ch = caret_.Char;
  for (;;) {
    const std::string_view t = lines_->LineView(line - 1);
    if (forward) {
      for (int i = ch; i <= static_cast<int>(t.size()); ++i) {
        const char x = t[static_cast<std::size_t>(i - 1)];
        if (x == c) {
          ++level;
        } else if (x == mate && --level == 0) {
          InternalSetCaretPos({i, line}, true);
          return;
        }
      }
      if (++line > lines_->Count()) return;
      ch = 1;
    } else {
      for (int i = std::min(ch, static_cast<int>(t.size())); i >= 1; --i) {
        const char x = t[static_cast<std::size_t>(i - 1)];
        if (x == c) {
          ++level;
        } else if (x == mate && --level == 0) {
          InternalSetCaretPos({i, line}, true);
          return;
        }
      }
      if (--line < 1) return;
      ch = INT_MAX;
    }
  }
}
