#include "support/RecordingCanvas.h"

#include <algorithm>

#include "platform/Utf8.h"

namespace {

bool Inside(const TRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

TColor TRecordingCanvas::ResolveColor(TColor color) {
  // System colours stand for themselves in tests: keep only the role byte.
  return IsSystemColor(color) ? (color & 0xFF) : color;
}

void TRecordingCanvas::FillRect(const TRect& rect, TColor color) {
  Op op;
  op.kind = Kind::Fill;
  op.rect = rect;
  op.color = color;
  ops_.push_back(op);
}

void TRecordingCanvas::DrawLine(TPoint from, TPoint to, TColor color) {
  Op op;
  op.kind = Kind::Line;
  op.from = from;
  op.to = to;
  op.color = color;
  ops_.push_back(op);
}

void TRecordingCanvas::DrawWave(int x1, int x2, int y, int height, TColor color) {
  Op op;
  op.kind = Kind::Wave;
  op.from = {x1, y};
  op.to = {x2, y + height};
  op.color = color;
  ops_.push_back(op);
}

void TRecordingCanvas::UseFont(const TFont& font, TFontStyles style) {
  font_ = font;
  style_ = style;
}

void TRecordingCanvas::DrawTextRun(int x, int y, const TRect& clip, std::string_view text,
                                   int advance, TColor foreground, TColor background, bool opaque) {
  Op op;
  op.kind = Kind::Text;
  op.rect = clip;
  op.from = {x, y};
  op.color = foreground;
  op.background = background;
  op.text = std::string(text);
  op.advance = advance;
  op.opaque = opaque;
  op.font = font_;
  op.style = style_;
  ops_.push_back(op);
}

void TRecordingCanvas::DrawWideTextRun(int x, int y, const TRect& clip, std::u16string_view text,
                                       std::span<const int> advances, TColor foreground,
                                       TColor background, bool opaque) {
  DrawTextRun(x, y, clip, Utf16ToUtf8(text), 0, foreground, background, opaque);
  ops_.back().wide = static_cast<int>(wide_runs_.size());
  WideChars& chars = wide_runs_.emplace_back();
  // A character is a unit with an advance and the units after it that have none.
  for (std::size_t k = 0; k < text.size() && k < advances.size(); ++k) {
    const bool pair = text[k] >= 0xD800 && text[k] <= 0xDBFF && k + 1 < text.size();
    const std::string ch = Utf16ToUtf8(text.substr(k, pair ? 2 : 1));
    if (advances[k] > 0 || chars.empty())
      chars.emplace_back(ch, advances[k]);
    else
      chars.back().first += ch;
    if (pair) ++k;
  }
}

std::vector<std::string> TRecordingCanvas::CellsAt(int y, int x0, int cell_width) const {
  std::vector<std::string> cells;
  for (const Op& op : ops_) {
    if (op.kind != Kind::Text || op.from.y != y || !op.opaque) continue;
    int x = op.from.x;
    auto put = [&](const std::string& ch, int advance) {
      if (x >= op.rect.left && x < op.rect.right && x >= x0) {
        const std::size_t cell = static_cast<std::size_t>((x - x0) / cell_width);
        if (cells.size() <= cell) cells.resize(cell + 1);
        cells[cell] = ch;
      }
      x += advance;
    };
    if (op.wide >= 0) {
      for (const auto& [ch, advance] : WideRun(op.wide)) put(ch, advance);
    } else {
      for (char c : op.text) put(std::string(1, c), op.advance);
    }
  }
  return cells;
}

std::vector<TRecordingCanvas::Op> TRecordingCanvas::TextsAt(int y) const {
  std::vector<Op> result;
  for (const Op& op : ops_)
    if (op.kind == Kind::Text && op.from.y == y) result.push_back(op);
  std::stable_sort(result.begin(), result.end(),
                   [](const Op& a, const Op& b) { return a.from.x < b.from.x; });
  return result;
}

std::string TRecordingCanvas::RowText(int y, int x0) const {
  std::string row;
  for (const Op& op : ops_) {
    if (op.kind != Kind::Text || op.from.y != y || !op.opaque || op.advance <= 0) continue;
    for (std::size_t i = 0; i < op.text.size(); ++i) {
      const int x = op.from.x + static_cast<int>(i) * op.advance;
      if (x < op.rect.left || x >= op.rect.right) continue;  // clipped away
      if (x < x0) continue;
      const std::size_t cell = static_cast<std::size_t>((x - x0) / op.advance);
      if (row.size() <= cell) row.resize(cell + 1, ' ');
      row[cell] = op.text[i];
    }
  }
  return row;
}

TColor TRecordingCanvas::BackgroundAt(int x, int y) const {
  TColor result = clNone;
  for (const Op& op : ops_) {
    if (op.kind == Kind::Fill && Inside(op.rect, x, y)) result = op.color;
    if (op.kind == Kind::Text && op.opaque && Inside(op.rect, x, y)) result = op.background;
  }
  return result;
}
