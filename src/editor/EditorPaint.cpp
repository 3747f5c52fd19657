// Drawing the editor: the gutter with line numbers and bookmarks, and the text
// rows with highlighter colours, selection, active line, special characters
// and the right edge.
#include <algorithm>
#include <climits>
#include <cstring>

#include "editor/Editor.h"
#include "language/EditorHighlighter.h"
#include "platform/CodePage.h"

namespace {

constexpr char kMiddleDot = '\xB7';
constexpr char kPilcrow = '\xB6';
constexpr char kTabGlyph = '\xBB';

bool IsBlank(std::string_view s) {
  for (char c : s)
    if (c != ' ' && c != '\t') return false;
  return true;
}

// Lines longer than this are expanded only around the visible columns when
// painted without a highlighter.
constexpr std::size_t kWindowedLineLength = 64 * 1024;

// The expanded cells of columns first..last (1-based, inclusive) of a line,
// limited to the line's expanded length; tabs become TAB fill as in the
// expanded line. Walks from tab to tab instead of character by character.
std::string ExpandWindow(std::string_view raw, int tab_width, long long first, long long last) {
  std::string out;
  long long col = 0;  // cells before raw[i]
  std::size_t i = 0;
  const long long want_from = first - 1;  // 0-based cells
  while (i < raw.size() && col <= last - 1) {
    const void* hit = std::memchr(raw.data() + i, '\t', raw.size() - i);
    const std::size_t j =
        hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - raw.data()) : raw.size();
    // Plain characters raw[i, j) fill cells [col, col + (j - i)).
    const long long seg_end = col + static_cast<long long>(j - i);
    if (seg_end > want_from) {
      const long long a = std::max(col, want_from), b = std::min(seg_end, last);
      if (a < b)
        out.append(
            raw.substr(i + static_cast<std::size_t>(a - col), static_cast<std::size_t>(b - a)));
    }
    col = seg_end;
    i = j;
    if (i < raw.size()) {  // the TAB
      const long long next = col + tab_width - col % tab_width;
      const long long a = std::max(col, want_from), b = std::min(next, last);
      if (a < b) out.append(static_cast<std::size_t>(b - a), tab_width == 1 ? ' ' : '\t');
      col = next;
      ++i;
    }
  }
  return out;
}

TColor Mix(TColor a, TColor b, int step, int steps) {
  auto ch = [&](int shift) {
    const int ca = static_cast<int>((a >> shift) & 0xFF),
              cb = static_cast<int>((b >> shift) & 0xFF);
    return ca + (cb - ca) * step / std::max(1, steps - 1);
  };
  return Rgb(ch(0), ch(8), ch(16));
}

}  // namespace

TColor TCustomEditor::DefaultBackground() const {
  if (highlighter_) {
    if (const THighlighterAttributes* ws = highlighter_->WhitespaceAttribute())
      if (ws->Background() != clNone) return ws->Background();
  }
  return color_;
}

TColor TCustomEditor::LineBackground(int line) const {
  if (line == caret_.Line && active_line_color_ != clNone) return active_line_color_;
  return DefaultBackground();
}

// Paints one rectangle of the editor; lives only for that paint.
class TEditorPainter {
 public:
  TEditorPainter(TCustomEditor& e, ICanvas& canvas) : e_(e), canvas_(canvas) {}

  void Paint(const TRect& rect) {
    rect_ = rect;
    const int gp = e_.gutter_pixels_;
    const int rh = e_.row_height_;
    first_row_ = std::max(e_.top_row_, e_.top_row_ + std::max(0, rect.top) / rh);
    last_row_ = std::min(e_.DisplayRowCount(), e_.top_row_ + std::max(0, rect.bottom - 1) / rh);
    const int margin = e_.text_margin_;
    first_col_ = e_.left_column_ + std::max(0, rect.left - gp - margin) / e_.cell_width_;
    last_col_ = e_.left_column_ + std::max(0, rect.right - gp - margin - 1) / e_.cell_width_;
    if (rect.left < gp) PaintGutter();
    if (rect.right > gp) PaintText();
  }

 private:
  // ---- gutter

  void PaintGutter() {
    TGutter& g = e_.gutter_;
    const int gp = e_.gutter_pixels_;
    const int rh = e_.row_height_;
    const int border = e_.gutter_border_;
    const TRect area{std::max(0, rect_.left), rect_.top, std::min(gp, rect_.right), rect_.bottom};
    if (area.IsEmpty()) return;
    const bool gradient = g.Gradient();
    const TColor gutter_color = g.Color();
    if (gradient) {
      const TColor c1 = canvas_.ResolveColor(g.GradientStartColor());
      const TColor c2 = canvas_.ResolveColor(g.GradientEndColor());
      const int steps = g.GradientSteps();
      const int height = std::max(1, e_.client_height_);
      for (int i = 0; i < steps; ++i) {
        TRect band{0, height * i / steps, gp, height * (i + 1) / steps};
        band.top = std::max(band.top, area.top);
        band.bottom = std::min(band.bottom, area.bottom);
        band.left = area.left;
        band.right = area.right;
        if (!band.IsEmpty()) canvas_.FillRect(band, Mix(c1, c2, i, steps));
      }
    }
    int below_y = (last_row_ - e_.top_row_ + 1) * rh;
    if (last_row_ < first_row_) below_y = std::max(area.top, (first_row_ - e_.top_row_) * rh);
    if (g.ShowLineNumbers()) {
      const bool own_font = g.UseFontStyle();
      TFont font = own_font ? g.Font() : e_.font_;
      const TFontStyles style = own_font ? g.Font().Style : TFontStyles{0};
      const int advance = own_font && e_.gutter_advance_ > 0 ? e_.gutter_advance_ : e_.cell_width_;
      int font_height = rh;
      if (own_font && e_.host_)
        font_height = e_.host_->MeasureFont(g.Font(), style).Height;
      else if (!own_font)
        font_height = e_.drawer_.Stock().Metrics(0).Height;
      canvas_.UseFont(font, style);
      for (int row = first_row_; row <= last_row_; ++row) {
        std::string text = g.FormatLineNumber(row);
        if (e_.OnGutterGetText) e_.OnGutterGetText(e_, row, text);
        const int y = (row - e_.top_row_) * rh;
        TRect number{0, y, gp - border, y + rh};
        number.left = std::max(number.left, area.left);
        number.top = std::max(number.top, area.top);
        number.right = std::min(number.right, area.right);
        number.bottom = std::min(number.bottom, area.bottom);
        if (number.IsEmpty()) continue;
        const int x = gp - g.RightOffset() - border - static_cast<int>(text.size()) * advance;
        const int ty = y + (rh - font_height) / 2;
        canvas_.DrawTextRun(x, ty, number, text, advance, g.Font().Color, gutter_color, !gradient);
      }
      if (!gradient && below_y < area.bottom)
        canvas_.FillRect({area.left, std::max(below_y, area.top), std::min(area.right, gp - border),
                          area.bottom},
                         gutter_color);
    } else if (!gradient) {
      canvas_.FillRect({area.left, area.top, std::min(area.right, gp - border), area.bottom},
                       gutter_color);
    }
    // The two border columns.
    if (!gradient && area.right > gp - border)
      canvas_.FillRect({std::max(area.left, gp - border), area.top, area.right, area.bottom},
                       gutter_color);
    // The border columns: the first half in the border colour (the middle
    // style) or the second (the right style).
    const int half = border / 2;
    const auto lines = [&](int from, int count, TColor color) {
      for (int x = from; x < from + count; ++x)
        canvas_.DrawLine({x, area.top}, {x, area.bottom}, color);
    };
    switch (g.BorderStyle()) {
      case gbsMiddle:
        lines(gp - border, half, g.BorderColor());
        lines(gp - border + half, border - half, gutter_color);
        break;
      case gbsRight:
        lines(gp - half, half, g.BorderColor());
        break;
      case gbsNone:
        break;
    }
    PaintMarks();
    PaintRangeMarkDots();
  }

  void PaintMarks() {
    if (last_row_ < first_row_) return;
    TBookMarkOpt& o = e_.bookmark_options_;
    std::vector<int> offsets(static_cast<std::size_t>(last_row_ - first_row_ + 1), 0);
    std::vector<bool> drawn(offsets.size(), false);
    if (o.GlyphsVisible()) {
      for (int pass = 0; pass < 2; ++pass) {
        const bool want_bookmarks = (pass == 0) == o.DrawBookmarksFirst();
        for (const auto& m : e_.marks_) {
          if (!m->Visible || m->IsBookmark() != want_bookmarks) continue;
          if (m->Line < first_row_ || m->Line > last_row_) continue;
          const std::size_t slot = static_cast<std::size_t>(m->Line - first_row_);
          IEditorImageList* list = o.BookmarkImages();
          const bool internal = list == nullptr || m->InternalImage;
          if (internal) list = &e_.internal_images_;
          if (m->ImageIndex < 0 || m->ImageIndex >= list->Count()) continue;
          int& off = offsets[slot];
          if (internal) {
            if (drawn[slot]) continue;
          } else if (m->IsBookmark() == o.DrawBookmarksFirst()) {
            off = 0;
          } else if (off == 0) {
            off = o.Xoffset();
          }
          const int y = (m->Line - e_.top_row_) * e_.row_height_;
          list->Draw(canvas_, m->ImageIndex, o.LeftMargin() + off,
                     y + std::max(0, (e_.row_height_ - list->Height()) / 2));
          drawn[slot] = true;
          off += o.Xoffset();
        }
      }
    }
    if (e_.OnGutterPaint)
      for (int row = first_row_; row <= last_row_; ++row)
        e_.OnGutterPaint(e_, row, offsets[static_cast<std::size_t>(row - first_row_)],
                         (row - e_.top_row_) * e_.row_height_);
  }

  // ---- text

  void PaintText() {
    const int gp = e_.gutter_pixels_;
    const int rh = e_.row_height_;
    const TColor background = e_.DefaultBackground();
    const int margin = e_.text_margin_;
    text_clip_left_ = std::max(rect_.left, gp + margin);
    if (rect_.left < gp + margin)
      canvas_.FillRect({std::max(rect_.left, gp), rect_.top, gp + margin, rect_.bottom},
                       background);
    has_selection_ = e_.HasSelection() && (e_.Focused() || !e_.hide_selection_);
    if (has_selection_) {
      sel_begin_ = e_.BufferToDisplayPos(e_.SelectionBegin());
      sel_end_ = e_.BufferToDisplayPos(e_.SelectionFinish());
      if (e_.active_selection_mode_ == smColumn && sel_begin_.Column > sel_end_.Column)
        std::swap(sel_begin_.Column, sel_end_.Column);
    }
    e_.drawer_.BeginDrawing(canvas_);
    for (int row = first_row_; row <= last_row_; ++row) PaintRow(row);
    e_.drawer_.EndDrawing();
    const int below =
        std::max(rect_.top, (std::max(last_row_, first_row_ - 1) - e_.top_row_ + 1) * rh);
    if (below < rect_.bottom && text_clip_left_ < rect_.right)
      canvas_.FillRect({text_clip_left_, below, rect_.right, rect_.bottom}, background);
    if (e_.right_edge_ > 0) {
      const int x = e_.right_edge_ * e_.cell_width_ + e_.text_left_;
      if (x >= text_clip_left_ && x < rect_.right)
        canvas_.DrawLine({x, rect_.top}, {x, rect_.bottom}, e_.right_edge_color_);
    }
  }

  // The selected columns of a row: [from, to), or the whole row.
  void RowSelection(int line) {
    row_whole_ = false;
    row_sel_from_ = row_sel_to_ = 0;
    if (!has_selection_ || line < sel_begin_.Row || line > sel_end_.Row) return;
    switch (e_.active_selection_mode_) {
      case smLine:
        row_whole_ = true;
        return;
      case smColumn:
        row_sel_from_ = sel_begin_.Column;
        row_sel_to_ = sel_end_.Column;
        return;
      case smNormal:
        if (line > sel_begin_.Row && line < sel_end_.Row) {
          row_whole_ = true;
          return;
        }
        row_sel_from_ = line == sel_begin_.Row ? sel_begin_.Column : 1;
        row_sel_to_ = line == sel_end_.Row ? sel_end_.Column : INT_MAX;
        return;
    }
  }

  void PaintRow(int line) {
    const int y = (line - e_.top_row_) * e_.row_height_;
    row_y_ = y;
    row_clip_ = {text_clip_left_, std::max(y, rect_.top), rect_.right,
                 std::min(y + e_.row_height_, rect_.bottom)};
    if (row_clip_.IsEmpty()) return;
    std::string scratch;
    TCustomHighlighter* hl = e_.highlighter_;
    const bool highlighted = hl && hl->Enabled();
    const std::string_view raw = e_.lines_->LineView(line - 1);
    std::string_view text;
    int base = 0;  // text[0] is the cell of column base + 1
    int len;
    // In a line whose characters take other numbers of cells than bytes, the
    // painting works on a string of cells (see BuildCells); the highlighter
    // still reads the expanded text.
    vary_ = e_.lines_->CellsVary(line - 1);
    std::string_view expanded;
    if (vary_) {
      expanded = e_.lines_->ExpandedLineView(line - 1, scratch);
      len = e_.lines_->GetExpandedLength(line - 1);
      // A line without tabs is its own expansion: its cells are built from
      // the cell mark nearest the first visible column.
      TCellMark from;
      if (expanded.data() == raw.data())
        from = e_.lines_->CellMarkAtOrBeforeCells(line - 1, first_col_ - 1);
      BuildCells(expanded, from);
      base = static_cast<int>(from.Cells);
      text = cells_;
    } else if (!highlighted && raw.size() > kWindowedLineLength) {
      len = e_.lines_->GetExpandedLength(line - 1);
      base = std::max(0, first_col_ - 1 - e_.tab_width_);
      scratch = ExpandWindow(raw, e_.tab_width_, base + 1,
                             static_cast<long long>(last_col_) + e_.tab_width_);
      text = scratch;
    } else {
      text = e_.lines_->ExpandedLineView(line - 1, scratch);
      expanded = text;
      len = static_cast<int>(text.size());
    }
    expanded_ = text;
    expanded_base_ = base;
    const bool special_chars = e_.options_.Contains(eoShowSpecialChars);
    font_fg_ = e_.font_.Color;
    line_bg_ = e_.LineBackground(line);
    special_ = false;
    special_fg_ = font_fg_;
    special_bg_ = line_bg_;
    if (e_.OnSpecialLineColors)
      e_.OnSpecialLineColors(e_, line, special_, special_fg_, special_bg_);
    RowSelection(line);
    pending_valid_ = false;
    last_end_col_ = first_col_;
    last_style_ = 0;

    int covered = 0;  // columns handed to runs so far
    if (highlighted) {
      if (line == 1)
        hl->ResetLineState();
      else
        hl->SetLineState(e_.lines_->GetRange(line - 2));
      hl->SetLineText(expanded, line - 1);
      int empties = 0;
      while (!hl->AtLineEnd()) {
        int start = hl->TokenStart();
        int tlen = hl->TokenLength();
        if (tlen == 0) {
          if (++empties >= 2) throw EEditorError("The highlighter seems to be in an infinite loop");
        } else {
          empties = 0;
        }
        if (vary_) {
          // A character belongs to the token its first byte is in.
          const int end_cell = CellOfByte(static_cast<std::size_t>(start + tlen));
          start = CellOfByte(static_cast<std::size_t>(start));
          tlen = end_cell - start;
        }
        if (start + 1 > last_col_) break;  // the rest is out of sight
        const int end_col = start + tlen;  // last column of the token
        covered = std::max(covered, end_col);
        if (tlen > 0 && end_col >= first_col_) {
          const int from = std::max(start + 1, first_col_);
          const int to = std::min(end_col, last_col_);
          const THighlighterAttributes* a = hl->TokenAttribute();
          TColor fg = font_fg_, bg = line_bg_;
          TFontStyles style = 0;
          if (a) {
            if (a->Foreground() != clNone) fg = a->Foreground();
            const bool active = line == e_.caret_.Line && e_.active_line_color_ != clNone;
            if (a->Background() != clNone && !active) bg = a->Background();
            style = a->Style();
          }
          AddToken(from,
                   text.substr(static_cast<std::size_t>(from - 1 - base),
                               static_cast<std::size_t>(to - from + 1)),
                   fg, bg, style);
        }
        hl->NextToken();
      }
    }
    // Text the highlighter did not cover, in the default colours.
    const int from = std::max(covered + 1, first_col_);
    const int to = std::min(len, last_col_);
    if (from <= to)
      AddToken(from,
               text.substr(static_cast<std::size_t>(from - 1 - base),
                           static_cast<std::size_t>(to - from + 1)),
               font_fg_, line_bg_, hl && hl->Enabled() ? TFontStyles{0} : e_.font_.Style);
    if (special_chars && len + 1 >= first_col_ && len + 1 <= last_col_)
      AddToken(len + 1, std::string_view(&kPilcrow, 1), font_fg_, line_bg_,
               hl && hl->Enabled() ? TFontStyles{0} : e_.font_.Style);
    FlushRun();
    FillRest();
    PaintUnderlines(line);
  }

  // ---- range marks

  // A dot in the gutter's mark column for each painted line with marks, in
  // the colour of its lowest kind.
  void PaintRangeMarkDots() {
    if (!e_.range_marks_ || e_.mark_column_ <= 0 || last_row_ < first_row_) return;
    const int size = e_.Scaled(7);
    const int one = e_.Scaled(1);  // corners cut in two steps, for a round look
    const int left = (e_.mark_column_ - size) / 2;
    for (int row = first_row_; row <= last_row_; ++row) {
      marks_.clear();
      e_.range_marks_->MarksOfLine(row - 1, marks_);
      if (marks_.empty()) continue;
      int kind = marks_.front().kind;
      for (const TEditorRangeMark& m : marks_) kind = std::min(kind, m.kind);
      const TColor color = e_.RangeMarkColor(kind);
      const int top = (row - e_.top_row_) * e_.row_height_ + (e_.row_height_ - size) / 2;
      const TRect dot{left, top, left + size, top + size};
      if (dot.bottom <= rect_.top || dot.top >= rect_.bottom) continue;
      canvas_.FillRect({dot.left + 2 * one, dot.top, dot.right - 2 * one, dot.bottom}, color);
      canvas_.FillRect({dot.left + one, dot.top + one, dot.right - one, dot.bottom - one}, color);
      canvas_.FillRect({dot.left, dot.top + 2 * one, dot.right, dot.bottom - 2 * one}, color);
    }
  }

  // Wavy lines under the marked ranges of a line, along the bottom of its
  // row; a range is placed by the display columns of its characters, as the
  // caret is.
  void PaintUnderlines(int line) {
    if (!e_.range_marks_) return;
    marks_.clear();
    e_.range_marks_->MarksOfLine(line - 1, marks_);
    if (marks_.empty()) return;
    const int cw = e_.cell_width_;
    const int height = std::max(2, e_.Scaled(2));
    const int y = row_y_ + e_.row_height_ - height - 1;
    for (const TEditorRangeMark& m : marks_) {
      const int from = e_.BufferToDisplayPos({m.start + 1, line}).Column;
      int to =
          m.length > 0 ? e_.BufferToDisplayPos({m.start + m.length + 1, line}).Column : from + 1;
      // An empty range, or one past the line's end, still shows one cell.
      if (to <= from) to = from + 1;
      const int x1 = std::max((from - 1) * cw + e_.text_left_, row_clip_.left);
      const int x2 = std::min((to - 1) * cw + e_.text_left_, row_clip_.right);
      if (x1 >= x2 || y + height < row_clip_.top || y >= row_clip_.bottom) continue;
      canvas_.DrawWave(x1, x2, y, height, e_.RangeMarkColor(m.kind));
    }
  }

  void AddToken(int col, std::string_view text, TColor fg, TColor bg, TFontStyles style) {
    if (text.empty()) return;
    const bool blank = IsBlank(text);
    if (pending_valid_) {
      const bool style_ok = style == pending_style_ ||
                            (blank && !(style & fsUnderline) && !(pending_style_ & fsUnderline));
      const bool colour_ok = row_whole_ ||
                             (special_ && !e_.options_.Contains(eoSpecialLineDefaultFg)) ||
                             (bg == pending_bg_ && (fg == pending_fg_ || blank));
      if (style_ok && colour_ok && col == pending_col_ + static_cast<int>(pending_text_.size())) {
        pending_text_.append(text);
        return;
      }
      FlushRun();
    }
    pending_valid_ = true;
    pending_col_ = col;
    pending_text_.assign(text);
    pending_fg_ = fg;
    pending_bg_ = bg;
    pending_style_ = style;
  }

  void FlushRun() {
    if (!pending_valid_) return;
    pending_valid_ = false;
    const int from = pending_col_;
    const int to = pending_col_ + static_cast<int>(pending_text_.size());  // exclusive
    TColor fg = pending_fg_, bg = pending_bg_;
    if (special_) {
      fg = e_.options_.Contains(eoSpecialLineDefaultFg) ? pending_fg_ : special_fg_;
      bg = special_bg_;
    }
    TColor sel_fg = e_.selected_color_.Foreground(), sel_bg = e_.selected_color_.Background();
    if (special_) {
      sel_fg = special_bg_;
      sel_bg = special_fg_;
    }
    int s1 = row_sel_from_, s2 = row_sel_to_;
    if (row_whole_) {
      s1 = INT_MIN;
      s2 = INT_MAX;
    }
    const int a = std::clamp(s1, from, to), b = std::clamp(s2, from, to);
    if (from < a) PaintPiece(from, a, fg, bg);
    if (a < b) PaintPiece(a, b, sel_fg, sel_bg);
    if (b < to) PaintPiece(b, to, fg, bg);
    last_end_col_ = to;
    last_style_ = pending_style_;
  }

  // Draws columns [from, to) of the pending run.
  void PaintPiece(int from, int to, TColor fg, TColor bg) {
    const int cw = e_.cell_width_;
    int x = (from - 1) * cw + e_.text_left_;
    TRect clip = row_clip_;
    clip.left = std::max(clip.left, x);
    clip.right = std::min(clip.right, x + (to - from) * cw);
    if (clip.IsEmpty()) return;
    const bool special_chars = e_.options_.Contains(eoShowSpecialChars);
    TTextDrawer& d = e_.drawer_;
    d.SetStyle(pending_style_);
    d.SetForeColor(fg);
    d.SetBackColor(bg);
    if (vary_) {
      DrawCharacters(from, to, clip);
    } else {
      std::string out = pending_text_.substr(static_cast<std::size_t>(from - pending_col_),
                                             static_cast<std::size_t>(to - from));
      // A piece starting on the second byte of a double-byte character draws
      // the whole character from its first cell; the clip keeps its left half out.
      const int at = from - 1 - expanded_base_;
      if (at > 0 && at < static_cast<int>(expanded_.size()) && e_.IsTrailByte(expanded_, at)) {
        out.insert(out.begin(), expanded_[static_cast<std::size_t>(at - 1)]);
        x -= cw;
      }
      for (char& c : out) {
        if (c == '\t')
          c = ' ';
        else if (c == ' ' && special_chars)
          c = kMiddleDot;
      }
      d.DrawRun(x, row_y_, clip, out, true);
    }
    if (!special_chars) return;
    // One glyph in the middle of each tab span whose middle lies in this piece.
    const std::size_t tw = static_cast<std::size_t>(e_.tab_width_);
    // Cell i (0-based column) of the expanded line, or 0 outside what we have.
    const std::size_t base = static_cast<std::size_t>(expanded_base_);
    const auto cell = [&](std::size_t i) {
      return i >= base && i - base < expanded_.size() ? expanded_[i - base] : '\0';
    };
    int col = from;
    while (col < to) {
      const std::size_t i = static_cast<std::size_t>(col - 1);
      if (cell(i) != '\t') {
        ++col;
        continue;
      }
      // A span ends at a tab stop or where the TAB fill ends.
      std::size_t s = i;
      while (s > 0 && s % tw != 0 && cell(s - 1) == '\t') --s;
      std::size_t e = i + 1;
      while (e % tw != 0 && cell(e) == '\t') ++e;
      const int n = static_cast<int>(e - s);
      const int gx = static_cast<int>(s + static_cast<std::size_t>(n / 2)) * cw + e_.text_left_ -
                     (n % 2 == 0 ? cw / 2 : 0);
      const int centre = gx + cw / 2;
      if (centre >= clip.left && centre < clip.right)
        d.DrawRun(gx, row_y_, clip, std::string_view(&kTabGlyph, 1), false);
      col = static_cast<int>(e) + 1;
    }
  }

  // The cells of a line whose characters vary in width, from a character
  // boundary (`from`) to the last visible column, each character decoded
  // once: cells_ has one byte per cell (the character itself for ASCII, a TAB
  // for tab fill, a placeholder for the cells of other characters), cell_byte_
  // the offset in the expanded text of the character that covers each cell
  // and cell_unit_ where its UTF-16 form starts in units_, which holds the
  // characters as they are drawn, with their advances in unit_advances_;
  // cells_[0] is the cell after the first cells_base_.
  void BuildCells(std::string_view expanded, TCellMark from) {
    const ICodePage& cp = *e_.CharSet();
    const bool special_chars = e_.options_.Contains(eoShowSpecialChars);
    const int cw = e_.cell_width_;
    cells_.clear();
    cell_byte_.clear();
    cell_unit_.clear();
    units_.clear();
    unit_advances_.clear();
    cells_base_ = static_cast<int>(from.Cells);
    cells_start_byte_ = from.Byte;
    std::size_t i = from.Byte;
    const std::size_t limit = static_cast<std::size_t>(std::max(last_col_ - cells_base_, 0)) + 1;
    // A character takes at most two cells, and a simple one (see SimpleChar)
    // one UTF-16 unit: all are written in place, with room for a unit per
    // cell left after every character that is not simple.
    cells_.resize(limit + 1);
    cell_byte_.resize(limit + 1);
    cell_unit_.resize(limit + 1);
    units_.resize(limit + 1);
    unit_advances_.resize(limit + 1);
    TCellWriter w{cells_.data(),
                  cell_byte_.data(),
                  cell_unit_.data(),
                  units_.data(),
                  unit_advances_.data(),
                  0,
                  0};
    const std::size_t size = expanded.size();
    for (;;) {
      i = BuildSimpleCells(cp, expanded, i, limit, special_chars, cw, w);
      if (i >= size || w.k >= limit) break;
      // A character of several code points, or a byte that does not decode.
      w.byte[w.k] = static_cast<std::uint32_t>(i);
      w.unit[w.k] = static_cast<std::uint32_t>(w.u);
      units_.resize(w.u);
      int cells = 1;
      const std::size_t n = cp.AppendCharAsUtf16(expanded, i, cells, units_);
      unit_advances_.resize(w.u);
      unit_advances_.resize(units_.size(), 0);
      unit_advances_[w.u] = cells * cw;
      w.u = units_.size();
      // Room again for one unit per cell left.
      units_.resize(w.u + limit - w.k + 1);
      unit_advances_.resize(units_.size());
      w.units = units_.data();
      w.advances = unit_advances_.data();
      const auto c = static_cast<unsigned char>(expanded[i]);
      if (n == 1 && c < 0x80) {  // ASCII that a mark might have followed
        w.cell[w.k] = static_cast<char>(c);
        w.units[w.u - 1] = c == '\t' ? u' ' : c == ' ' && special_chars ? u'\u00B7' : c;
      } else {
        w.cell[w.k] = kWideCell;
        if (cells > 1) {
          w.cell[w.k + 1] = kWideCell;
          w.byte[w.k + 1] = w.byte[w.k];
          w.unit[w.k + 1] = w.unit[w.k];
        }
      }
      w.k += static_cast<std::size_t>(cells);
      i += n;
    }
    const std::size_t k = w.k, u = w.u;
    units_.resize(u);
    unit_advances_.resize(u);
    cells_.resize(k);
    cell_byte_.resize(k);
    cell_unit_.resize(k);
    cells_end_byte_ = i;
  }

  // Where BuildCells writes: cells_, cell_byte_, cell_unit_, units_ and
  // unit_advances_, k cells and u units so far.
  struct TCellWriter {
    char* cell;
    std::uint32_t* byte;
    std::uint32_t* unit;
    char16_t* units;
    int* advances;
    std::size_t k, u;
  };

  // The cells of the simple characters (see SimpleChar) from byte i on, until
  // one that is not simple, the end or the limit; returns where it stopped.
  // A line of wide or accented characters spends its painting here: the loop
  // is kept apart so that its few values stay in registers.
  static std::size_t BuildSimpleCells(const ICodePage& cp, std::string_view text, std::size_t i,
                                      std::size_t limit, bool special_chars, int cw,
                                      TCellWriter& w) {
    char* const cell = w.cell;
    std::uint32_t* const byte = w.byte;
    std::uint32_t* const unit_of = w.unit;
    char16_t* const units = w.units;
    int* const advances = w.advances;
    std::size_t k = w.k, u = w.u;
    const char16_t space = special_chars ? u'\u00B7' : u' ';
    while (i < text.size() && k < limit) {
      int cells = 1;
      char16_t unit = 0;
      const std::size_t n = cp.SimpleChar(text, i, cells, unit);
      if (n == 0) break;
      byte[k] = static_cast<std::uint32_t>(i);
      unit_of[k] = static_cast<std::uint32_t>(u);
      if (unit < 0x80) {
        cell[k] = static_cast<char>(unit);
        units[u] = unit == '\t' ? u' ' : unit == ' ' ? space : unit;
      } else {
        cell[k] = kWideCell;
        units[u] = unit;
        if (cells > 1) {
          cell[k + 1] = kWideCell;
          byte[k + 1] = static_cast<std::uint32_t>(i);
          unit_of[k + 1] = static_cast<std::uint32_t>(u);
        }
      }
      advances[u++] = cells * cw;
      k += static_cast<std::size_t>(cells);
      i += n;
    }
    w.k = k;
    w.u = u;
    return i;
  }

  // The cells before the first character that starts at or after byte b of
  // the expanded text (the cells before the built ones for a byte before them).
  int CellOfByte(std::size_t b) const {
    if (b <= cells_start_byte_) return cells_base_;
    if (b >= cells_end_byte_)
      return b == cells_end_byte_ ? cells_base_ + static_cast<int>(cells_.size()) : INT_MAX / 2;
    const auto it = std::lower_bound(cell_byte_.begin(), cell_byte_.end(), b);
    return cells_base_ + static_cast<int>(it - cell_byte_.begin());
  }

  // Draws the characters that cover columns [from, to) on the cell grid; a
  // wide character cut by the piece's edge is drawn whole and clipped.
  void DrawCharacters(int from, int to, const TRect& clip) {
    const int cw = e_.cell_width_;
    const std::size_t built = cell_byte_.size();
    // Cells are counted in the built ones: column c + cells_base_ + 1.
    std::size_t c = static_cast<std::size_t>(from - 1 - cells_base_);
    while (c > 0 && c < built && cell_byte_[c - 1] == cell_byte_[c]) --c;
    const int x = (static_cast<int>(c) + cells_base_) * cw + e_.text_left_;
    const std::size_t last = static_cast<std::size_t>(to - 1 - cells_base_);
    // The characters that start before `last`, each whole.
    std::size_t end = std::min(last, built);
    while (end > 0 && end < built && cell_byte_[end] == cell_byte_[end - 1]) ++end;
    const std::size_t u0 = c < built ? cell_unit_[c] : units_.size();
    const std::size_t u1 = end < built ? cell_unit_[end] : units_.size();
    const std::u16string_view units = std::u16string_view(units_).substr(u0, u1 - u0);
    const std::span<const int> advances(unit_advances_.data() + u0, u1 - u0);
    if (last <= built) {
      e_.drawer_.DrawWideRun(x, row_y_, clip, units, advances, true);
      return;
    }
    // Past the text: the end-of-line mark and blanks.
    wide_text_.assign(units);
    wide_advances_.assign(advances.begin(), advances.end());
    for (std::size_t k = std::max(c, built); k < last; ++k) {
      const std::size_t p =
          k + static_cast<std::size_t>(cells_base_) + 1 - static_cast<std::size_t>(pending_col_);
      const bool mark = p < pending_text_.size() && pending_text_[p] == kPilcrow;
      wide_text_.push_back(mark ? u'\u00B6' : u' ');
      wide_advances_.push_back(cw);
    }
    e_.drawer_.DrawWideRun(x, row_y_, clip, wide_text_, wide_advances_, true);
  }

  // After the last run: background, with the selected part in the selection colour.
  void FillRest() {
    const int cw = e_.cell_width_;
    const int start_col = std::max(last_end_col_, first_col_);
    int x0 = (start_col - 1) * cw + e_.text_left_;
    if (last_style_ & (fsBold | fsItalic)) x0 += e_.drawer_.Stock().Metrics(last_style_).Overhang;
    x0 = std::max(x0, row_clip_.left);
    if (x0 >= row_clip_.right) return;
    const TColor bg = special_ ? special_bg_ : line_bg_;
    const TColor sel_bg = special_ ? special_fg_ : e_.selected_color_.Background();
    int s1 = row_clip_.right, s2 = row_clip_.right;  // selected pixels [s1, s2)
    if (row_whole_) {
      s1 = x0;
    } else if (row_sel_to_ > row_sel_from_) {
      auto px = [&](int col) {
        const long long v = static_cast<long long>(col - 1) * cw + e_.text_left_;
        return static_cast<int>(std::clamp<long long>(v, x0, row_clip_.right));
      };
      s1 = px(row_sel_from_);
      s2 = row_sel_to_ == INT_MAX ? row_clip_.right : px(row_sel_to_);
    }
    if (x0 < s1) canvas_.FillRect({x0, row_clip_.top, s1, row_clip_.bottom}, bg);
    if (s1 < s2) canvas_.FillRect({s1, row_clip_.top, s2, row_clip_.bottom}, sel_bg);
    if (s2 < row_clip_.right)
      canvas_.FillRect({s2, row_clip_.top, row_clip_.right, row_clip_.bottom}, bg);
  }

  TCustomEditor& e_;
  ICanvas& canvas_;
  std::vector<TEditorRangeMark> marks_;
  TRect rect_{};
  int first_row_ = 1, last_row_ = 0, first_col_ = 1, last_col_ = 0;
  int text_clip_left_ = 0;
  bool has_selection_ = false;
  TDisplayCoord sel_begin_{}, sel_end_{};
  // the row being painted
  static constexpr char kWideCell = '\x01';
  bool vary_ = false;
  std::string cells_;
  std::vector<std::uint32_t> cell_byte_;
  int cells_base_ = 0;
  std::size_t cells_start_byte_ = 0;
  std::size_t cells_end_byte_ = 0;
  std::vector<std::uint32_t> cell_unit_;
  std::u16string units_;
  std::vector<int> unit_advances_;
  std::u16string wide_text_;
  std::vector<int> wide_advances_;
  int row_y_ = 0;
  TRect row_clip_{};
  std::string_view expanded_;
  int expanded_base_ = 0;
  bool row_whole_ = false;
  int row_sel_from_ = 0, row_sel_to_ = 0;
  TColor font_fg_ = 0, line_bg_ = 0;
  bool special_ = false;
  TColor special_fg_ = 0, special_bg_ = 0;
  // the pending run
  bool pending_valid_ = false;
  int pending_col_ = 0;
  std::string pending_text_;
  TColor pending_fg_ = 0, pending_bg_ = 0;
  TFontStyles pending_style_ = 0;
  int last_end_col_ = 0;
  TFontStyles last_style_ = 0;
};

void TCustomEditor::Paint(ICanvas& canvas, const TRect& rect) {
  if (rect.IsEmpty()) return;
  const bool caret_was_shown = caret_shown_;
  SetCaretVisible(false);
  struct Restore {
    TCustomEditor& e;
    bool show;
    ~Restore() {
      if (show) e.UpdateCaret();
    }
  } restore{*this, caret_was_shown};
  TEditorPainter painter(*this, canvas);
  painter.Paint(rect);
  if (OnPaint) OnPaint(*this, canvas);
  DoPaintTransient(ttAfter);
}
