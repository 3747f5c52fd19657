#include "print/EditorPrint.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "editor/Editor.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"

std::string ExpandPrintTabs(std::string_view line, int tab_width, const ICodePage* code_page) {
  std::string out;
  if (line.find('\t') == std::string_view::npos) return std::string(line);
  out.reserve(line.size() + 16);
  std::size_t col = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t n = code_page ? code_page->CharLength(line, i) : 1;
    if (line[i] != '\t') {
      out.append(line.substr(i, n));
      col += code_page ? static_cast<std::size_t>(code_page->CharCells(line, i)) : 1;
    } else if (tab_width < 2) {
      out += ' ';
      ++col;
    } else {
      const std::size_t pad =
          static_cast<std::size_t>(tab_width) - col % static_cast<std::size_t>(tab_width);
      out.append(pad, ' ');
      col += pad;
    }
    i += n;
  }
  return out;
}

bool WrapAtBreaks(std::string_view text, std::string_view break_set, int max_columns,
                  std::vector<int>& positions) {
  positions.clear();
  const int length = static_cast<int>(text.size());
  if (length <= max_columns) return true;
  int previous = 0;
  int candidate = 0;
  for (int p = 1; p <= length; ++p) {
    if (p - previous > max_columns && candidate > 0) {
      positions.push_back(candidate);
      previous = candidate;
      candidate = 0;
      if (length - previous > max_columns && p != length) continue;
      break;
    }
    if (break_set.find(text[static_cast<std::size_t>(p - 1)]) != std::string_view::npos)
      candidate = p;
  }
  return !positions.empty();
}

void CutEvery(int length, int max_columns, std::vector<int>& positions) {
  positions.clear();
  if (max_columns <= 0) return;
  for (int p = max_columns; p < length; p += max_columns) positions.push_back(p);
}

namespace {

constexpr std::string_view kFirstBreaks{"\t ,-", 4};
constexpr std::string_view kSecondBreaks{").;", 3};

std::string LocalTimeText(const char* format) {
  std::time_t now = std::time(nullptr);
  // One thread only, so the shared result of localtime is safe here.
  const std::tm* local = std::localtime(&now);
  if (!local) return std::string();
  std::tm tm = *local;
  char buffer[64];
  const std::size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
  return std::string(buffer, n);
}

}  // namespace

TEditorPrint::TEditorPrint(IPrinter* printer) : printer_(printer) {
  font_.Color = clBlack;
  OnGetDateText = [] { return LocalTimeText("%x"); };
  OnGetTimeText = [] { return LocalTimeText("%X"); };
}

TEditorPrint::~TEditorPrint() {
  if (highlighter_) highlighter_->RemoveFreeNotification(this);
}

void TEditorPrint::SetHighlighter(TCustomHighlighter* value) {
  if (highlighter_) highlighter_->RemoveFreeNotification(this);
  highlighter_ = value;
  if (highlighter_)
    highlighter_->AddFreeNotification(this, [this](TCustomHighlighter*) {
      highlighter_ = nullptr;
      ranges_ready_ = false;
      pages_counted_ = false;
    });
  ranges_ready_ = false;
  pages_counted_ = false;
}

void TEditorPrint::SetLines(const std::vector<std::string>& lines) {
  lines_.clear();
  lines_.reserve(lines.size());
  cell_lines_.assign(lines.size(), {});
  const bool cells_vary = code_page_ && !code_page_->CellsAreBytes();
  for (const std::string& line : lines) {
    const ICodePage* cp =
        cells_vary && AsciiPrefixLength(line) < line.size() ? code_page_ : nullptr;
    lines_.push_back(ExpandPrintTabs(line, tab_width_, cp));
    if (!cp) continue;
    const std::string& expanded = lines_.back();
    TCellLine& cells = cell_lines_[lines_.size() - 1];
    for (std::size_t i = 0; i < expanded.size(); i += cp->CharLength(expanded, i)) {
      const auto c = static_cast<unsigned char>(expanded[i]);
      const bool single = c < 0x80 && cp->CharLength(expanded, i) == 1;
      for (int k = cp->CharCells(expanded, i); k > 0; --k) {
        cells.cells.push_back(single ? static_cast<char>(c) : '\x01');
        cells.cell_byte.push_back(static_cast<std::uint32_t>(i));
      }
    }
  }
  states_.assign(lines_.size(), 0);
  ranges_ready_ = false;
  pages_counted_ = false;
}

void TEditorPrint::SetFont(const TFont& value) {
  font_ = value;
  pages_counted_ = false;
}

void TEditorPrint::SetSelection(bool has_selection, TDisplayCoord begin, TDisplayCoord end,
                                TSelectionMode mode) {
  has_selection_ = has_selection;
  sel_begin_ = begin;
  sel_end_ = end;
  sel_mode_ = mode;
  pages_counted_ = false;
}

void TEditorPrint::CopyFromEditor(const TCustomEditor& editor) {
  SetCodePage(editor.CharSet());
  SetHighlighter(editor.Highlighter());
  SetFont(editor.Font());
  SetTabWidth(editor.TabWidth());
  const TEditorStringList& source = editor.Lines();
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(source.Count()));
  for (int i = 0; i < source.Count(); ++i) lines.push_back(source.GetLine(i));
  SetLines(lines);
  // Columns of the expanded lines, which are what the engine prints.
  TDisplayCoord begin = editor.BufferToDisplayPos(editor.SelectionBegin());
  TDisplayCoord end = editor.BufferToDisplayPos(editor.SelectionFinish());
  if (editor.SelectionMode() == smColumn && begin.Column > end.Column)
    std::swap(begin.Column, end.Column);
  SetSelection(editor.HasSelection(), begin, end, editor.SelectionMode());
}

double TEditorPrint::FontScale() const { return printer_info_.YPixPerInch() / 96.0; }

TFont TEditorPrint::ScaledFont() const {
  TFont f = font_;
  f.Height = static_cast<int>(std::lround(font_.Height * FontScale()));
  return f;
}

void TEditorPrint::PrepareRanges() {
  if (ranges_ready_) return;
  states_.assign(lines_.size(), 0);
  if (highlighter_ && !lines_.empty()) {
    highlighter_->ResetLineState();
    states_[0] = highlighter_->GetLineState();
    for (std::size_t i = 1; i < lines_.size(); ++i)
      states_[i] = highlighter_->ScanLine(lines_[i - 1], static_cast<int>(i - 1));
  }
  ranges_ready_ = true;
}

int TEditorPrint::LineNumberWidth() const {
  if (!line_numbers_ || line_numbers_in_margin_) return 0;
  const std::string number =
      std::to_string(static_cast<int>(lines_.size()) + line_offset_ - 1) + ": ";
  return static_cast<int>(number.size()) * char_width_;
}

void TEditorPrint::PreparePages(IPrintSurface& surface) {
  surface_ = &surface;
  printer_info_.Fetch(printer_);
  default_color_ = font_.Color;
  print_font_ = ScaledFont();
  // Measured with every style at once so that no styled token is wider than a column.
  const TPrintFontMetrics m =
      surface.MeasurePrintFont(print_font_, fsBold | fsItalic | fsUnderline | fsStrikeOut);
  char_width_ = std::max(1, m.AveCharWidth);
  line_height_ = std::max(1, m.Height + m.ExternalLeading);
  margins_.InitPage(printer_info_, 1, LineNumberWidth());
  CountPages();
  header_.InitPrint(surface, page_count_, margins_, title_, OnGetDateText ? OnGetDateText() : "",
                    OnGetTimeText ? OnGetTimeText() : "", FontScale());
  footer_.InitPrint(surface, page_count_, margins_, title_, OnGetDateText ? OnGetDateText() : "",
                    OnGetTimeText ? OnGetTimeText() : "", FontScale());
  use_highlight_ = highlight_ && highlighter_ && !lines_.empty();
  if (use_highlight_) PrepareRanges();
}

bool TEditorPrint::InSelectionLines(int index) const {
  return index + 1 >= sel_begin_.Row && index + 1 <= sel_end_.Row;
}

std::string_view TEditorPrint::Columns(int index) const {
  const TCellLine& cells = cell_lines_[static_cast<std::size_t>(index)];
  if (!cells.cell_byte.empty()) return cells.cells;
  return lines_[static_cast<std::size_t>(index)];
}

std::pair<int, int> TEditorPrint::PrintedPart(int index) const {
  const int length = static_cast<int>(Columns(index).size());
  if (!selected_only_ || sel_mode_ == smLine) return {0, length};
  const bool column = sel_mode_ == smColumn;
  int start = 1;
  if (column || index + 1 == sel_begin_.Row) start = sel_begin_.Column;
  int count = length;
  if (column || index + 1 == sel_end_.Row) count = sel_end_.Column - start;
  const int from = std::clamp(start - 1, 0, length);
  return {from, std::clamp(count, 0, length - from)};
}

void TEditorPrint::RowsOf(std::string_view text, std::vector<int>& positions) const {
  positions.clear();
  if (!wrap_ || static_cast<int>(text.size()) <= max_columns_) return;
  if (WrapAtBreaks(text, kFirstBreaks, max_columns_, positions)) return;
  if (WrapAtBreaks(text, kSecondBreaks, max_columns_, positions)) return;
  CutEvery(static_cast<int>(text.size()), max_columns_, positions);
}

void TEditorPrint::RowsOfLine(int index, int from, int count, std::vector<int>& positions) const {
  RowsOf(Columns(index).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count)),
         positions);
  const std::vector<std::uint32_t>& cell_byte =
      cell_lines_[static_cast<std::size_t>(index)].cell_byte;
  if (cell_byte.empty()) return;
  // A row that would start on the second cell of a wide character starts
  // with that character instead.
  for (int& p : positions) {
    std::size_t c = static_cast<std::size_t>(from + p);
    while (c > static_cast<std::size_t>(from) && c < cell_byte.size() &&
           cell_byte[c - 1] == cell_byte[c])
      --c;
    if (c > static_cast<std::size_t>(from)) p = static_cast<int>(c) - from;
  }
}

void TEditorPrint::CountPages() {
  page_first_lines_.clear();
  max_width_ = margins_.RightPx - margins_.LeftPx;
  // The page is measured in columns of the widest letter.
  const int w = std::max(1, surface_->TextWidth(print_font_, print_font_.Style, "W"));
  max_columns_ = 0;
  while ((max_columns_ + 1) * w < max_width_) ++max_columns_;
  max_columns_ = std::max(1, max_columns_);
  max_width_ = max_columns_ * w;
  page_count_ = 1;
  page_first_lines_.push_back(0);
  int first = 0;
  int last = static_cast<int>(lines_.size()) - 1;
  if (selected_only_) {
    first = std::max(0, sel_begin_.Row - 1);
    last = std::min(last, sel_end_.Row - 1);
    page_first_lines_[0] = first;
  }
  int y = margins_.TopPx;
  std::vector<int> positions;
  for (int i = first; i <= last; ++i) {
    if (y + line_height_ > margins_.BottomPx && i != page_first_lines_.back()) {
      page_first_lines_.push_back(i);
      ++page_count_;
      y = margins_.TopPx;
    }
    const auto [from, count] = PrintedPart(i);
    RowsOfLine(i, from, count, positions);
    y += line_height_ * (static_cast<int>(positions.size()) + 1);
  }
  pages_counted_ = true;
}

int TEditorPrint::GetPageCount() {
  if (pages_counted_) return page_count_;
  if (!printer_) return 0;
  std::unique_ptr<IPrintSurface> surface = printer_->CreateMeasureSurface();
  if (!surface) return 0;
  PreparePages(*surface);
  surface_ = nullptr;
  return page_count_;
}

bool TEditorPrint::ReportStatus(TPrintStatus status, int page_number) {
  bool abort = false;
  if (OnPrintStatus) OnPrintStatus(this, status, page_number, abort);
  if (abort) {
    abort_ = true;
    if (printing_ && printer_) printer_->AbortJob();
  }
  return !abort_;
}

void TEditorPrint::DrawPiece(int x, int y, std::string_view text, TColor fg, TColor bg) {
  // Shortened so that the piece never reaches beyond the text width.
  const std::size_t fit = static_cast<std::size_t>(max_width_ / char_width_);
  if (text.size() > fit) text = text.substr(0, fit);
  if (text.empty()) return;
  const int right = std::min(x + static_cast<int>(text.size()) * char_width_, margins_.RightPx);
  if (right <= x) return;
  surface_->Canvas().DrawTextRun(x, y, TRect{x, y, right, y + line_height_}, text, char_width_, fg,
                                 bg, true);
}

void TEditorPrint::DrawCellPiece(int x, int y, int index, int from, int to, TColor fg, TColor bg) {
  const TCellLine& line = cell_lines_[static_cast<std::size_t>(index)];
  const std::string& bytes = lines_[static_cast<std::size_t>(index)];
  const int fit = max_width_ / char_width_;
  to = std::min(to, from + fit);
  const int right = std::min(x + (to - from) * char_width_, margins_.RightPx);
  if (to <= from || right <= x) return;
  std::size_t c = static_cast<std::size_t>(from);
  while (c > 0 && line.cell_byte[c - 1] == line.cell_byte[c]) --c;
  const int x0 = x - (from - static_cast<int>(c)) * char_width_;
  std::u16string text;
  std::vector<int> advances;
  while (c < static_cast<std::size_t>(to)) {
    const std::size_t start = line.cell_byte[c];
    std::size_t cells = 1;
    while (c + cells < line.cell_byte.size() && line.cell_byte[c + cells] == start) ++cells;
    const std::size_t end =
        c + cells < line.cell_byte.size() ? line.cell_byte[c + cells] : bytes.size();
    const std::size_t first_unit = text.size();
    text += Utf8ToUtf16(std::string_view(bytes).substr(start, end - start));
    advances.resize(text.size(), 0);
    advances[first_unit] = static_cast<int>(cells) * char_width_;
    c += cells;
  }
  surface_->Canvas().DrawWideTextRun(x0, y, TRect{x, y, right, y + line_height_}, text, advances,
                                     fg, bg, true);
}

void TEditorPrint::PrintLine(int index, int& y, int page_number) {
  ICanvas& canvas = surface_->Canvas();
  const std::string& line = lines_[static_cast<std::size_t>(index)];
  if (line_numbers_) {
    const std::string number = std::to_string(index + 1 + line_offset_) + ": ";
    const int width = static_cast<int>(number.size()) * char_width_;
    canvas.UseFont(print_font_, 0);
    canvas.DrawTextRun(margins_.LeftPx - width, y,
                       TRect{margins_.LeftPx - width, y, margins_.LeftPx, y + line_height_}, number,
                       char_width_, clBlack, color_, true);
  }
  const auto [from, count] = PrintedPart(index);
  const std::string_view text =
      Columns(index).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
  std::vector<int> positions;
  RowsOfLine(index, from, count, positions);
  const std::vector<std::uint32_t>& cell_byte =
      cell_lines_[static_cast<std::size_t>(index)].cell_byte;
  // A character belongs to the token its first byte is in.
  const auto cell_of_byte = [&](int b) {
    if (cell_byte.empty()) return b;
    return static_cast<int>(
        std::lower_bound(cell_byte.begin(), cell_byte.end(), static_cast<std::uint32_t>(b)) -
        cell_byte.begin());
  };

  // The line as coloured segments of the printed part.
  std::vector<TSegment> segments;
  if (use_highlight_) {
    highlighter_->SetLineState(states_[static_cast<std::size_t>(index)]);
    highlighter_->SetLineText(line, index);
    const int end = from + count;
    while (!highlighter_->AtLineEnd()) {
      const int s = cell_of_byte(highlighter_->TokenStart());
      const int e = cell_of_byte(highlighter_->TokenStart() + highlighter_->TokenLength());
      const int cs = std::max(s, from), ce = std::min(e, end);
      if (ce > cs) segments.push_back({cs - from, ce - cs, highlighter_->TokenAttribute()});
      if (s >= end || highlighter_->TokenLength() <= 0) break;
      highlighter_->NextToken();
    }
  } else if (count > 0) {
    segments.push_back({0, count, nullptr});
  }

  const int page_bottom = printer_info_.PrintableHeight();
  std::size_t row = 0;
  int row_start = 0;
  auto row_end = [&]() {
    return row < positions.size() ? positions[row] : static_cast<int>(text.size());
  };
  for (const TSegment& seg : segments) {
    TColor fg = default_color_, bg = color_;
    TFontStyles style = print_font_.Style;
    if (seg.attr) {
      style = seg.attr->Style();
      if (colors_) {
        fg = seg.attr->Foreground() == clNone ? font_.Color : seg.attr->Foreground();
        bg = seg.attr->Background() == clNone ? color_ : seg.attr->Background();
      }
    }
    canvas.UseFont(print_font_, style);
    int pos = seg.start;
    const int seg_end = seg.start + seg.length;
    while (pos < seg_end) {
      while (pos >= row_end() && row < positions.size()) {
        row_start = row_end();
        ++row;
      }
      const int piece_end = std::min(seg_end, row_end());
      const int row_y = y + static_cast<int>(row) * line_height_;
      const int x = margins_.LeftPx + (pos - row_start) * char_width_;
      // Rows of a very long line that fall off the paper are not drawn.
      if (row_y < page_bottom && x < margins_.RightPx) {
        if (cell_byte.empty())
          DrawPiece(
              x, row_y,
              text.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(piece_end - pos)),
              fg, bg);
        else
          DrawCellPiece(x, row_y, index, from + pos, from + piece_end, fg, bg);
      }
      pos = piece_end;
    }
  }
  canvas.UseFont(print_font_, print_font_.Style);
  y += line_height_ * (static_cast<int>(positions.size()) + 1);
  if (OnPrintLine) OnPrintLine(this, index + 1, page_number);
}

void TEditorPrint::DrawPage(int page_number) {
  if (!ReportStatus(psNewPage, page_number)) return;
  // The margins of this page first, so that mirrored pages are filled where they print.
  margins_.InitPage(printer_info_, page_number, LineNumberWidth());
  surface_->Canvas().FillRect(
      TRect{margins_.LeftPx, margins_.TopPx, margins_.RightPx, margins_.BottomPx}, color_);
  header_.Print(*surface_, margins_, page_number + page_offset_);
  if (page_count_ > 0 && page_number >= 1 && page_number <= page_count_) {
    int y = margins_.TopPx;
    const std::size_t p = static_cast<std::size_t>(page_number - 1);
    const int first = page_first_lines_[p];
    int last = p + 1 < page_first_lines_.size() ? page_first_lines_[p + 1] - 1
                                                : static_cast<int>(lines_.size()) - 1;
    if (selected_only_) last = std::min(last, sel_end_.Row - 1);
    for (int i = first; i <= last && !abort_; ++i) {
      if (selected_only_ && !InSelectionLines(i)) continue;
      PrintLine(i, y, page_number);
    }
  }
  footer_.Print(*surface_, margins_, page_number + page_offset_);
}

void TEditorPrint::PrintPageToCanvas(IPrintSurface& surface, int page_number) {
  abort_ = false;
  printing_ = false;
  surface_ = &surface;
  if (!pages_counted_) PreparePages(surface);
  DrawPage(page_number);
  surface_ = nullptr;
}

void TEditorPrint::PrintPageRange(int first, int last) {
  if (selected_only_ && !has_selection_) return;
  if (!printer_) return;
  printing_ = true;
  abort_ = false;
  IPrintSurface* surface = printer_->BeginJob(doc_title_.empty() ? title_ : doc_title_);
  if (!surface) {
    printing_ = false;
    return;
  }
  ReportStatus(psBegin, first);
  if (!abort_) {
    PreparePages(*surface);
    if (last < 0 || last > page_count_) last = page_count_;
    first = std::max(1, first);
    for (int copy = 1; copy <= copies_ && !abort_; ++copy) {
      for (int page = first; page <= last && !abort_; ++page) {
        DrawPage(page);
        if (!abort_ && !(copy == copies_ && page == last)) printer_->NewPage();
      }
    }
  }
  if (!abort_) {
    ReportStatus(psEnd, last);
  }
  // An aborted job has already been cancelled on the printer.
  if (!abort_) printer_->EndJob();
  surface_ = nullptr;
  printing_ = false;
}
