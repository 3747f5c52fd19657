#include "editor/EditorCellMarks.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/CodePage.h"

namespace {

// How far past a place a walk reads to decide that it stops there: one code
// point, to see whether it is a mark that joins the character before.
constexpr std::size_t kLookahead = 4;

// Compared a block at a time, large blocks first: the line may be megabytes
// long, and a key changes a few bytes of it.
constexpr std::size_t kCompareBlocks[] = {1024, 64, 8};

std::size_t CommonPrefix(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (const std::size_t block : kCompareBlocks)
    while (i + block <= n && std::memcmp(a.data() + i, b.data() + i, block) == 0) i += block;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// The bytes that a and b end with alike, at most n.
std::size_t CommonSuffix(std::string_view a, std::string_view b, std::size_t n) {
  const char* const a_end = a.data() + a.size();
  const char* const b_end = b.data() + b.size();
  std::size_t i = 0;
  for (const std::size_t block : kCompareBlocks)
    while (i + block <= n && std::memcmp(a_end - i - block, b_end - i - block, block) == 0)
      i += block;
  while (i < n &&
         a_end[-1 - static_cast<std::ptrdiff_t>(i)] == b_end[-1 - static_cast<std::ptrdiff_t>(i)])
    ++i;
  return i;
}

bool HasTab(std::string_view s) { return !s.empty() && std::memchr(s.data(), '\t', s.size()); }

long long NextTabStop(long long col, int tab_width) { return col + tab_width - col % tab_width; }

}  // namespace

TEditorCellMarks::TLine* TEditorCellMarks::Find(int line) {
  for (TLine& l : lines_)
    if (l.index == line) return &l;
  return nullptr;
}

bool TEditorCellMarks::Holds(int line) const {
  return std::any_of(lines_.begin(), lines_.end(), [&](const TLine& l) { return l.index == line; });
}

TEditorCellMarks::TLine& TEditorCellMarks::Marks(int line, std::string_view text) {
  TLine* l = Find(line);
  if (!l) {
    if (lines_.size() >= kLinesKept) {
      l = &*std::min_element(lines_.begin(), lines_.end(),
                             [](const TLine& a, const TLine& b) { return a.used < b.used; });
    } else {
      l = &lines_.emplace_back();
    }
    l->index = line;
    l->text = nullptr;
  }
  if (l->text != text.data() || l->size != text.size()) {
    l->text = text.data();
    l->size = text.size();
    l->spacing = std::max(kMinSpacing, text.size() / kMostMarks);
    l->marks.assign(1, TCellMark{});
    l->last = {};
  }
  l->used = ++clock_;
  return *l;
}

bool TEditorCellMarks::Extend(TLine& l, std::string_view text, const TCellMeasure& m) {
  const TCellMark last = l.marks.back();
  if (last.Byte >= text.size()) return false;
  long long cells = last.Cells;
  const std::size_t end = std::min(last.Byte + l.spacing, text.size());
  const std::size_t byte = m.CodePage.WalkCells(text, last.Byte, end, m.TabWidth, cells);
  l.marks.push_back({byte, cells});
  return true;
}

TCellMark TEditorCellMarks::WalkToByte(int line, std::string_view text, std::size_t byte,
                                       const TCellMeasure& m) {
  if (byte == 0) return {};
  TLine& l = Marks(line, text);
  while (l.marks.back().Byte + l.spacing <= byte && Extend(l, text, m)) {
  }
  const auto after = std::upper_bound(l.marks.begin(), l.marks.end(), byte,
                                      [](std::size_t b, const TCellMark& k) { return b < k.Byte; });
  TCellMark at = *std::prev(after);
  if (l.last.Byte > at.Byte && l.last.Byte <= byte) at = l.last;
  at.Byte = m.CodePage.WalkCells(text, at.Byte, byte, m.TabWidth, at.Cells);
  l.last = at;
  return at;
}

TCellMark TEditorCellMarks::AtOrBeforeCells(int line, std::string_view text, long long cells,
                                            const TCellMeasure& m) {
  if (cells <= 0) return {};
  TLine& l = Marks(line, text);
  while (l.marks.back().Cells <= cells && Extend(l, text, m)) {
  }
  const auto after = std::upper_bound(l.marks.begin(), l.marks.end(), cells,
                                      [](long long c, const TCellMark& k) { return c < k.Cells; });
  return *std::prev(after);
}

TEditorCellMarks::TEdit TEditorCellMarks::Replace(int line, std::string_view old_text,
                                                  std::string_view new_text, long long old_cells,
                                                  bool old_has_tabs, const TCellMeasure& m) {
  TLine* l = Find(line);
  if (!l) return {};
  if (l->text != old_text.data() || l->size != old_text.size() || old_cells < 0) {
    Forget(line);
    return {};
  }
  const ICodePage& cp = m.CodePage;
  const int tw = m.TabWidth;
  const std::size_t prefix = CommonPrefix(old_text, new_text);
  const std::size_t suffix =
      CommonSuffix(old_text, new_text, std::min(old_text.size(), new_text.size()) - prefix);
  std::vector<TCellMark>& marks = l->marks;
  // A mark stays where a walk reaches it, and stops there, reading unchanged
  // bytes only.
  const auto unchanged = [&](const TCellMark& k) { return k.Byte + kLookahead <= prefix; };

  // The walks set off from the last mark that stays (or from where the last
  // walk stopped, when that is later and stays).
  const std::size_t kept = static_cast<std::size_t>(
      std::partition_point(marks.begin() + 1, marks.end(), unchanged) - marks.begin());
  TCellMark from = marks[kept - 1];
  const TCellMark last = l->last;
  if (last.Byte > from.Byte && unchanged(last)) from = last;

  // Where the walks of the old and the new text meet again: the first place in
  // the unchanged end where a character starts whatever came before. The
  // last walk most often stopped at the edit itself, where the caret stood: a
  // place in the old text, so its walk may set off there.
  const std::size_t old_tail = old_text.size() - suffix;
  const TCellMark old_from = last.Byte > from.Byte && last.Byte <= old_tail ? last : from;
  long long old_cells_there = old_from.Cells;
  std::size_t meet = cp.WalkCells(old_text, old_from.Byte, old_tail, tw, old_cells_there);
  while (meet < old_text.size() && !cp.AlwaysStartsChar(old_text, meet))
    meet = cp.WalkCells(old_text, meet, meet + 1, tw, old_cells_there);
  const std::size_t new_meet = meet - old_tail + (new_text.size() - suffix);

  // The changed stretch of the new text, walked with marks of its own. It may
  // set off where the last walk stopped too, when that is no further into the
  // text than the edit and a character starts there in the new text whatever
  // comes before: the bytes before it are the same, and so are their
  // characters. Only within a spacing of the walk's start, so that the marks
  // stay that close.
  std::vector<TCellMark>& stretch = scratch_;
  stretch.clear();
  if (last.Byte > from.Byte && last.Byte <= prefix && last.Byte < from.Byte + l->spacing &&
      last.Byte < new_text.size() && cp.AlwaysStartsChar(new_text, last.Byte))
    from = last;
  long long new_cells_there = from.Cells;
  std::size_t i = from.Byte;
  while (i < new_meet) {
    i = cp.WalkCells(new_text, i, std::min(i + l->spacing, new_meet), tw, new_cells_there);
    if (i < new_meet) stretch.push_back({i, new_cells_there});
  }
  if (i != new_meet) {  // the walks did not meet: measure the line afresh
    Forget(line);
    return {};
  }

  // After the meeting place every character keeps its cells, but a tab
  // reaches the next stop: the shift holds up to the first tab, and after it
  // the shift of that tab's stop.
  const long long shift = new_cells_there - old_cells_there;
  long long shift_after_tab = shift;
  std::size_t first_tab = old_text.size();
  const auto first_moved =
      std::lower_bound(marks.begin() + static_cast<std::ptrdiff_t>(kept), marks.end(), meet,
                       [](const TCellMark& k, std::size_t b) { return k.Byte < b; });
  if (old_has_tabs && shift % tw != 0 && meet < old_text.size()) {
    if (const void* hit = std::memchr(old_text.data() + meet, '\t', old_text.size() - meet)) {
      first_tab = static_cast<std::size_t>(static_cast<const char*>(hit) - old_text.data());
      TCellMark at{meet, old_cells_there};
      const auto after =
          std::upper_bound(first_moved, marks.end(), first_tab,
                           [](std::size_t b, const TCellMark& k) { return b < k.Byte; });
      if (after != first_moved) at = *std::prev(after);
      long long col = at.Cells;
      if (cp.WalkCells(old_text, at.Byte, first_tab, tw, col) != first_tab) {
        Forget(line);
        return {};
      }
      shift_after_tab = NextTabStop(col + shift, tw) - NextTabStop(col, tw);
    }
  }
  const auto moved = [&](TCellMark k) {
    return TCellMark{k.Byte - meet + new_meet,
                     k.Cells + (k.Byte <= first_tab ? shift : shift_after_tab)};
  };
  for (auto k = first_moved; k != marks.end(); ++k) *k = moved(*k);
  // The marks between the kept ones and the moved ones give way to those of
  // the changed stretch.
  const auto first_dropped = marks.begin() + static_cast<std::ptrdiff_t>(kept);
  const std::ptrdiff_t dropped = first_moved - first_dropped;
  const std::ptrdiff_t added = static_cast<std::ptrdiff_t>(stretch.size());
  const auto common = std::min(dropped, added);
  std::copy(stretch.begin(), stretch.begin() + common, first_dropped);
  if (dropped > added)
    marks.erase(first_dropped + common, first_moved);
  else
    marks.insert(first_dropped + common, stretch.begin() + common, stretch.end());
  // A walk that stopped in the changed stretch starts again where the walk
  // of the new text met the old one: the caret after a typed key stands there.
  if (!unchanged(l->last))
    l->last = l->last.Byte >= meet ? moved(l->last) : TCellMark{new_meet, new_cells_there};
  // Until Rebind says where the new text lives, the marks fit no text.
  l->text = nullptr;
  l->size = new_text.size();

  TEdit edit;
  edit.Cells = old_cells + (first_tab < old_text.size() ? shift_after_tab : shift);
  edit.HasTabs = old_has_tabs ? HasTab(new_text)
                              : HasTab(new_text.substr(prefix, new_text.size() - suffix - prefix));
  return edit;
}

void TEditorCellMarks::Rebind(int line, std::string_view text) {
  if (TLine* l = Find(line)) {
    l->text = text.data();
    l->size = text.size();
  }
}

void TEditorCellMarks::Forget(int line) {
  std::erase_if(lines_, [&](const TLine& l) { return l.index == line; });
}

void TEditorCellMarks::LinesInserted(int line, int count) {
  for (TLine& l : lines_)
    if (l.index >= line) l.index += count;
}

void TEditorCellMarks::LinesDeleted(int line, int count) {
  std::erase_if(lines_, [&](const TLine& l) { return l.index >= line && l.index < line + count; });
  for (TLine& l : lines_)
    if (l.index >= line + count) l.index -= count;
}

void TEditorCellMarks::LinesExchanged(int a, int b) {
  for (TLine& l : lines_) {
    if (l.index == a)
      l.index = b;
    else if (l.index == b)
      l.index = a;
  }
}
