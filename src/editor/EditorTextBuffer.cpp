#include "editor/EditorTextBuffer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <istream>
#include <new>
#include <ostream>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "platform/Utf8CodePage.h"

namespace {

// The first tab of a line, or nullptr (an empty line may have no storage at all).
const char* FirstTab(std::string_view line) {
  if (line.empty()) return nullptr;
  return static_cast<const char*>(std::memchr(line.data(), '\t', line.size()));
}

const char* const kInvalidIndex = "Invalid stringlist index %d";
const char* const kCapacityBelowCount = "Stringlist capacity cannot be smaller than count";

// Who owns a record's text.
constexpr uint8_t kTextNone = 0;      // empty line, nothing allocated
constexpr uint8_t kTextBorrowed = 1;  // points into the list's loaded block
constexpr uint8_t kTextOwned = 2;     // the line's own heap block

// Highest tab width: the power-of-two routine covers 2..65536, and wider tabs
// would only turn a few tabs into gigabytes of columns.
constexpr int kMaxTabWidth = 65536;

int ClampTabWidth(int w) { return std::clamp(w, 1, kMaxTabWidth); }

int32_t ClampLength(size_t n) {
  return n > static_cast<size_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(n);
}

// Whether the cells of a line must be counted character by character: only in
// a character set whose characters may take fewer cells than bytes, and only
// for a line that has such a character.
bool CountsCells(std::string_view line, const ICodePage* cp) {
  return cp && !cp->CellsAreBytes() && AsciiPrefixLength(line) < line.size();
}

// Cells of a line after tab expansion, without building it; agrees with the
// expansion routines.
size_t ExpandedSize(std::string_view line, int tab_width, const ICodePage* cp, bool& has_tabs,
                    bool& cells_vary) {
  const char* first = FirstTab(line);
  has_tabs = first != nullptr;
  cells_vary = CountsCells(line, cp);
  const size_t w = static_cast<size_t>(tab_width);
  if (cells_vary) {
    long long col = 0;
    cp->WalkCells(line, 0, line.size(), tab_width, col);
    return static_cast<size_t>(col);
  }
  if (!has_tabs || tab_width == 1) return line.size();
  size_t col = static_cast<size_t>(first - line.data());
  for (size_t i = col; i < line.size(); ++i) {
    if (line[i] == '\t')
      col += w - col % w;
    else
      ++col;
  }
  return col;
}

// Tab expansion of a line whose characters take cells other than their bytes:
// the tab fill reaches the next stop counted in cells.
std::string_view ExpandCells(std::string_view line, int tab_width, const ICodePage& cp,
                             std::string& out) {
  out.clear();
  const size_t w = static_cast<size_t>(tab_width);
  size_t col = 0;
  for (size_t i = 0; i < line.size();) {
    int cells = 1;
    const size_t n = line[i] == '\t' ? 1 : cp.CharLengthCells(line, i, cells);
    if (line[i] == '\t') {
      const size_t fill = w - col % w;
      out.append(tab_width == 1 ? 1 : fill, tab_width == 1 ? ' ' : '\t');
      col += fill;
    } else {
      out.append(line.substr(i, n));
      col += static_cast<size_t>(cells);
    }
    i += n;
  }
  return out;
}

// The expansion shared by the tab-width routines: the text before the first
// tab is copied, and each tab becomes as many tab characters as
// `tab_step(column)` gives for the column it starts at.
template <typename TabStep>
void ExpandFromFirstTab(std::string_view line, const char* first, std::string& out,
                        TabStep tab_step) {
  size_t col = static_cast<size_t>(first - line.data());
  out.assign(line.data(), col);
  for (size_t i = col; i < line.size(); ++i) {
    if (line[i] == '\t') {
      const size_t n = tab_step(col);
      out.append(n, '\t');
      col += n;
    } else {
      out.push_back(line[i]);
      ++col;
    }
  }
}

}  // namespace

std::string_view LineBreakBytes(TEditorLineBreakStyle style) {
  switch (style) {
    case lbLF:
      return "\n";
    case lbCR:
      return "\r";
    default:
      return "\r\n";
  }
}

// ---------------------------------------------------------------------------
// Tab expansion routines

std::string_view ExpandTabsWidth1(std::string_view line, int /*tab_width*/, std::string& out,
                                  bool& has_tabs) {
  const char* first = FirstTab(line);
  has_tabs = first != nullptr;
  if (!has_tabs) return line;
  out.assign(line.data(), line.size());
  std::replace(out.begin(), out.end(), '\t', ' ');
  return out;
}

std::string_view ExpandTabsPowerOfTwo(std::string_view line, int tab_width, std::string& out,
                                      bool& has_tabs) {
  const char* first = FirstTab(line);
  has_tabs = first != nullptr;
  if (!has_tabs) return line;
  const size_t w = static_cast<size_t>(tab_width);
  const size_t mask = w - 1;
  ExpandFromFirstTab(line, first, out, [w, mask](size_t col) { return w - (col & mask); });
  return out;
}

std::string_view ExpandTabsGeneral(std::string_view line, int tab_width, std::string& out,
                                   bool& has_tabs) {
  const char* first = FirstTab(line);
  has_tabs = first != nullptr;
  if (!has_tabs) return line;
  const size_t w = static_cast<size_t>(tab_width);
  ExpandFromFirstTab(line, first, out, [w](size_t col) { return w - col % w; });
  return out;
}

TExpandTabsRoutine ExpandTabsRoutineFor(int tab_width) {
  if (tab_width <= 1) return ExpandTabsWidth1;
  if ((tab_width & (tab_width - 1)) == 0) return ExpandTabsPowerOfTwo;
  return ExpandTabsGeneral;
}

// ---------------------------------------------------------------------------
// Update bracketing

// Brackets a change with BeginUpdate/EndUpdate. When the change throws, the
// update is still closed, and an error from the end-of-update handler then
// cannot replace the one already on its way.
class TEditorStringList::TUpdateScope {
 public:
  explicit TUpdateScope(TEditorStringList& list)
      : list_(list), exceptions_(std::uncaught_exceptions()) {
    list_.BeginUpdate();
  }
  ~TUpdateScope() noexcept(false) {
    if (std::uncaught_exceptions() > exceptions_) {
      try {
        list_.EndUpdate();
      } catch (...) {
      }
    } else {
      list_.EndUpdate();
    }
  }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  TEditorStringList& list_;
  int exceptions_;
};

void TEditorStringList::BeginUpdate() {
  if (update_count_++ == 0 && OnUpdateStarted) OnUpdateStarted(this);
}

void TEditorStringList::EndUpdate() {
  if (update_count_ == 0) return;  // unbalanced call: nothing to end
  if (--update_count_ == 0 && OnUpdateEnded) OnUpdateEnded(this);
}

// ---------------------------------------------------------------------------
// Construction, storage

TEditorStringList::TEditorStringList() : expand_tabs_(ExpandTabsRoutineFor(8)) {}

TEditorStringList::~TEditorStringList() {
  // The owner is being torn down: no notification may reach it any more.
  OnUpdateStarted = nullptr;
  OnUpdateEnded = nullptr;
  ReleaseAll();
}

void TEditorStringList::ReleaseAll() {
  cell_marks_.Clear();
  for (int i = 0; i < count_; ++i) ReleaseText(list_[i]);
  std::free(list_);
  list_ = nullptr;
  count_ = 0;
  capacity_ = 0;
  data_.clear();
  data_.shrink_to_fit();
}

void TEditorStringList::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) throw EEditorStringList(FormatText(kInvalidIndex, Index));
}

void TEditorStringList::ReallocateList(int NewCapacity) {
  if (NewCapacity == 0) {
    std::free(list_);
    list_ = nullptr;
  } else {
    void* block =
        std::realloc(static_cast<void*>(list_), static_cast<size_t>(NewCapacity) * sizeof(*list_));
    if (!block) throw std::bad_alloc();
    list_ = static_cast<TEditorStringRec*>(block);
  }
  capacity_ = NewCapacity;
}

void TEditorStringList::Grow() {
  const int delta = capacity_ > 64 ? capacity_ / 4 : 16;
  if (capacity_ > INT_MAX - delta) throw std::bad_alloc();
  ReallocateList(capacity_ + delta);
}

void TEditorStringList::InitRecord(TEditorStringRec& Rec) {
  Rec.TextChars = nullptr;
  Rec.TextLength = 0;
  Rec.ExpandedLength = -1;
  Rec.Range = -1;
  Rec.Flags = TEditorStringRec::LengthStale;
  Rec.Storage = kTextNone;
}

void TEditorStringList::ReleaseText(TEditorStringRec& Rec) {
  if (Rec.Storage == kTextOwned) {
    std::free(const_cast<char*>(Rec.TextChars));
  } else if (Rec.Storage == kTextBorrowed) {
    loaded_block_bytes_used_ -= Rec.TextLength;
    if (--loaded_block_users_ == 0) std::string().swap(loaded_block_);
  }
  Rec.TextChars = nullptr;
  Rec.TextLength = 0;
  Rec.Storage = kTextNone;
}

// When most lines of a large loaded file are gone, the few that remain should
// not keep the whole block alive: they get blocks of their own.
void TEditorStringList::CompactLoadedBlock() {
  constexpr size_t kWorthIt = 1 << 20;
  if (loaded_block_users_ == 0 || loaded_block_.size() < kWorthIt ||
      loaded_block_bytes_used_ > loaded_block_.size() / 4)
    return;
  for (int i = 0; i < count_ && loaded_block_users_ > 0; ++i) {
    TEditorStringRec& rec = list_[i];
    if (rec.Storage == kTextBorrowed) {
      AssignText(rec, rec.Text());
      cell_marks_.Rebind(i, rec.Text());
    }
  }
}

void TEditorStringList::AssignText(TEditorStringRec& Rec, std::string_view S) {
  if (S.size() > static_cast<size_t>(INT32_MAX)) throw std::bad_alloc();
  // Copy before releasing: S may be this very line, or point into the loaded
  // block that the release would free.
  char* block = nullptr;
  if (!S.empty()) {
    block = static_cast<char*>(std::malloc(S.size()));
    if (!block) throw std::bad_alloc();
    std::memcpy(block, S.data(), S.size());
  }
  ReleaseText(Rec);
  Rec.TextChars = block;
  Rec.TextLength = static_cast<uint32_t>(S.size());
  Rec.Storage = block ? kTextOwned : kTextNone;
}

void TEditorStringList::EnsureDataSlots() {
  if (data_.empty() && count_ > 0) data_.assign(static_cast<size_t>(count_), nullptr);
}

void TEditorStringList::InsertItem(int Index, std::string_view S) {
  TEditorStringRec rec;
  InitRecord(rec);
  AssignText(rec, S);
  try {
    if (count_ == capacity_) Grow();
    if (!data_.empty()) data_.insert(data_.begin() + Index, nullptr);
  } catch (...) {
    ReleaseText(rec);
    throw;
  }
  if (Index < count_)
    std::memmove(static_cast<void*>(list_ + Index + 1), static_cast<const void*>(list_ + Index),
                 static_cast<size_t>(count_ - Index) * sizeof(*list_));
  list_[Index] = rec;
  ++count_;
  cell_marks_.LinesInserted(Index, 1);
  // Lines from Index on moved down one; the new line may be the longest.
  if (counts_valid_) CountLength(ExpandedLengthOf(list_[Index]), 1);
}

// ---------------------------------------------------------------------------
// Reading

std::string TEditorStringList::GetLine(int Index) const { return std::string(LineView(Index)); }

std::string_view TEditorStringList::LineView(int Index) const {
  if (Index < 0 || Index >= count_) return {};
  return list_[Index].Text();
}

void* TEditorStringList::GetData(int Index) const {
  if (Index < 0 || Index >= count_ || data_.empty()) return nullptr;
  return data_[static_cast<size_t>(Index)];
}

TEditorLineRange TEditorStringList::GetRange(int Index) const {
  if (Index < 0 || Index >= count_) return 0;
  return list_[Index].Range;
}

std::string_view TEditorStringList::ExpandedLineView(int Index, std::string& scratch) const {
  if (Index < 0 || Index >= count_) return {};
  TEditorStringRec& rec = list_[Index];
  if (rec.Flags & TEditorStringRec::NoTabs) return rec.Text();
  const ICodePage* cp = CodePage();
  if (cp && !cp->CellsAreBytes()) {
    ExpandedLengthOf(rec);
    if (rec.Flags & TEditorStringRec::NoTabs) return rec.Text();
    if (rec.Flags & TEditorStringRec::CellsVary)
      return ExpandCells(rec.Text(), tab_width_, *cp, scratch);
  }
  bool has_tabs = false;
  std::string_view expanded = expand_tabs_(rec.Text(), tab_width_, scratch, has_tabs);
  rec.ExpandedLength = ClampLength(expanded.size());
  rec.Flags = has_tabs ? TEditorStringRec::TabsFound : TEditorStringRec::NoTabs;
  return expanded;
}

std::string TEditorStringList::GetExpandedLine(int Index) const {
  std::string scratch;
  std::string_view view = ExpandedLineView(Index, scratch);
  if (view.data() == scratch.data()) return scratch;
  return std::string(view);
}

int TEditorStringList::ExpandedLengthOf(TEditorStringRec& Rec) const {
  if (Rec.Flags & TEditorStringRec::LengthStale) {
    bool has_tabs = false, cells_vary = false;
    Rec.ExpandedLength =
        ClampLength(ExpandedSize(Rec.Text(), tab_width_, CodePage(), has_tabs, cells_vary));
    Rec.Flags = has_tabs ? TEditorStringRec::TabsFound : TEditorStringRec::NoTabs;
    if (cells_vary) Rec.Flags |= TEditorStringRec::CellsVary;
  }
  return Rec.ExpandedLength;
}

TCellMark TEditorStringList::WalkCellsToByte(int Index, std::size_t Byte) const {
  if (!CellsVary(Index)) return {};
  return cell_marks_.WalkToByte(Index, list_[Index].Text(), Byte, CellMeasure());
}

TCellMark TEditorStringList::CellMarkAtOrBeforeCells(int Index, long long Cells) const {
  if (!CellsVary(Index)) return {};
  return cell_marks_.AtOrBeforeCells(Index, list_[Index].Text(), Cells, CellMeasure());
}

bool TEditorStringList::CellsVary(int Index) const {
  if (Index < 0 || Index >= count_) return false;
  TEditorStringRec& rec = list_[Index];
  ExpandedLengthOf(rec);
  return (rec.Flags & TEditorStringRec::CellsVary) != 0;
}

int TEditorStringList::GetExpandedLength(int Index) const {
  if (Index < 0 || Index >= count_) return 0;
  return ExpandedLengthOf(list_[Index]);
}

int TEditorStringList::LongestLineLength() const {
  if (!counts_valid_) {
    length_counts_.clear();
    for (int i = 0; i < count_; ++i) ++length_counts_[ExpandedLengthOf(list_[i])];
    counts_valid_ = true;
  }
  return length_counts_.empty() ? 0 : length_counts_.rbegin()->first;
}

void TEditorStringList::CountLength(int Length, int Delta) const {
  auto it = length_counts_.try_emplace(Length, 0).first;
  it->second += Delta;
  if (it->second <= 0) length_counts_.erase(it);
}

std::string TEditorStringList::GetText() const {
  size_t total = 0;
  for (int i = 0; i < count_; ++i) total += list_[i].TextLength + 2;
  std::string text;
  text.reserve(total);
  for (int i = 0; i < count_; ++i) {
    text.append(list_[i].Text());
    text.append("\r\n", 2);
  }
  if (!text.empty()) text.resize(text.size() - 2);
  return text;
}

// ---------------------------------------------------------------------------
// Changing

int TEditorStringList::Add(std::string_view S) {
  TUpdateScope update(*this);
  const int index = count_;
  InsertItem(index, S);
  if (OnLinesInserted) OnLinesInserted(this, index, 1);
  return index;
}

void TEditorStringList::Insert(int Index, std::string_view S) {
  CheckIndex(Index, count_ + 1);
  TUpdateScope update(*this);
  InsertItem(Index, S);
  if (OnLinesInserted) OnLinesInserted(this, Index, 1);
}

void TEditorStringList::SetLine(int Index, std::string_view S) {
  if (Index == count_) {
    Add(S);
    return;
  }
  CheckIndex(Index, count_);
  TUpdateScope update(*this);
  TEditorStringRec& rec = list_[Index];
  if (counts_valid_) CountLength(ExpandedLengthOf(rec), -1);
  if (!FollowEditWithCellMarks(Index, rec, S)) {
    AssignText(rec, S);
    rec.Flags = TEditorStringRec::LengthStale;
  }
  if (counts_valid_) CountLength(ExpandedLengthOf(rec), 1);
  CompactLoadedBlock();
  if (OnLinesReplaced) OnLinesReplaced(this, Index, 1);
}

bool TEditorStringList::FollowEditWithCellMarks(int Index, TEditorStringRec& Rec,
                                                std::string_view S) {
  if (!cell_marks_.Holds(Index)) return false;
  const int old_length = ExpandedLengthOf(Rec);
  const bool old_tabs = (Rec.Flags & TEditorStringRec::TabsFound) != 0;
  if (old_length == INT32_MAX || !(Rec.Flags & TEditorStringRec::CellsVary) ||
      !CountsCells(S, CodePage())) {
    cell_marks_.Forget(Index);
    return false;
  }
  const TEditorCellMarks::TEdit edit =
      cell_marks_.Replace(Index, Rec.Text(), S, old_length, old_tabs, CellMeasure());
  if (edit.Cells < 0) return false;
  AssignText(Rec, S);
  cell_marks_.Rebind(Index, Rec.Text());
  Rec.ExpandedLength = ClampLength(static_cast<size_t>(edit.Cells));
  Rec.Flags =
      static_cast<uint8_t>((edit.HasTabs ? TEditorStringRec::TabsFound : TEditorStringRec::NoTabs) |
                           TEditorStringRec::CellsVary);
  return true;
}

void TEditorStringList::SetData(int Index, void* P) {
  CheckIndex(Index, count_);
  TUpdateScope update(*this);
  if (data_.empty() && P == nullptr) return;  // every slot is nil already
  EnsureDataSlots();
  data_[static_cast<size_t>(Index)] = P;
}

void TEditorStringList::SetRange(int Index, TEditorLineRange R) {
  CheckIndex(Index, count_);
  TUpdateScope update(*this);
  list_[Index].Range = R;
}

void TEditorStringList::Delete(int Index) {
  CheckIndex(Index, count_);
  DeleteLineRange(Index, 1);
}

void TEditorStringList::DeleteLineRange(int Index, int N) {
  if (N <= 0) return;
  CheckIndex(Index, count_);
  TUpdateScope update(*this);
  N = std::min(N, count_ - Index);
  for (int i = Index; i < Index + N; ++i) {
    if (counts_valid_) CountLength(ExpandedLengthOf(list_[i]), -1);
    ReleaseText(list_[i]);
  }
  const int tail = count_ - (Index + N);
  if (tail > 0)
    std::memmove(static_cast<void*>(list_ + Index), static_cast<const void*>(list_ + Index + N),
                 static_cast<size_t>(tail) * sizeof(*list_));
  if (!data_.empty()) data_.erase(data_.begin() + Index, data_.begin() + Index + N);
  count_ -= N;
  cell_marks_.LinesDeleted(Index, N);

  CompactLoadedBlock();
  if (OnLinesDeleted) OnLinesDeleted(this, Index, N);
}

void TEditorStringList::InsertEmptyLines(int Index, int N) {
  CheckIndex(Index, count_ + 1);
  if (N <= 0) return;
  TUpdateScope update(*this);
  if (N > INT_MAX - count_) throw std::bad_alloc();
  // Room for exactly the new lines; a list that already has room keeps it.
  if (capacity_ < count_ + N) ReallocateList(count_ + N);
  if (!data_.empty()) data_.insert(data_.begin() + Index, static_cast<size_t>(N), nullptr);
  if (Index < count_)
    std::memmove(static_cast<void*>(list_ + Index + N), static_cast<const void*>(list_ + Index),
                 static_cast<size_t>(count_ - Index) * sizeof(*list_));
  for (int i = Index; i < Index + N; ++i) InitRecord(list_[i]);
  count_ += N;
  cell_marks_.LinesInserted(Index, N);
  if (counts_valid_) CountLength(0, N);
  if (OnLinesInserted) OnLinesInserted(this, Index, N);
}

void TEditorStringList::AppendLines(const TEditorStringList& Source) {
  const int n = Source.count_;
  if (n <= 0) return;
  TUpdateScope update(*this);
  ForgetLongestLine();
  if (n > INT_MAX - 15 - count_) throw std::bad_alloc();
  if (capacity_ < count_ + n) ReallocateList((count_ + n + 15) / 16 * 16);
  const bool with_data = !Source.data_.empty();
  if (with_data) EnsureDataSlots();
  const int first = count_;
  for (int i = 0; i < n; ++i) {
    // Source may be this list: its first n records stay where they are.
    const std::string_view text = Source.list_[i].Text();
    void* data = with_data ? Source.data_[static_cast<size_t>(i)] : nullptr;
    TEditorStringRec& rec = list_[count_];
    InitRecord(rec);
    AssignText(rec, text);
    if (!data_.empty()) data_.push_back(data);
    ++count_;
  }
  if (OnLinesInserted) OnLinesInserted(this, first, n);
}

void TEditorStringList::AppendLines(const std::vector<std::string>& Source) {
  if (Source.empty()) return;
  if (Source.size() > static_cast<size_t>(INT_MAX - 15 - count_)) throw std::bad_alloc();
  const int n = static_cast<int>(Source.size());
  TUpdateScope update(*this);
  ForgetLongestLine();
  if (capacity_ < count_ + n) ReallocateList((count_ + n + 15) / 16 * 16);
  const int first = count_;
  for (const std::string& s : Source) {
    TEditorStringRec& rec = list_[count_];
    InitRecord(rec);
    AssignText(rec, s);
    if (!data_.empty()) data_.push_back(nullptr);
    ++count_;
  }
  if (OnLinesInserted) OnLinesInserted(this, first, n);
}

void TEditorStringList::Exchange(int I, int J) {
  CheckIndex(I, count_);
  CheckIndex(J, count_);
  TUpdateScope update(*this);
  std::swap(list_[I], list_[J]);
  cell_marks_.LinesExchanged(I, J);
  if (!data_.empty()) std::swap(data_[static_cast<size_t>(I)], data_[static_cast<size_t>(J)]);
}

void TEditorStringList::Clear() {
  ForgetLongestLine();
  if (count_ == 0) return;
  TUpdateScope update(*this);
  ReleaseAll();
  if (OnLinesCleared) OnLinesCleared(this);
}

void TEditorStringList::SetCapacity(int N) {
  if (N < count_) throw EEditorStringList(kCapacityBelowCount);
  if (N == capacity_) return;
  ReallocateList(N);
}

void TEditorStringList::SetTabWidth(int W) {
  W = ClampTabWidth(W);
  if (W == tab_width_) return;
  tab_width_ = W;
  expand_tabs_ = ExpandTabsRoutineFor(W);
  MarkAllLengthsStale();
}

void TEditorStringList::MarkAllLengthsStale() {
  ForgetLongestLine();
  cell_marks_.Clear();
  for (int i = 0; i < count_; ++i) {
    TEditorStringRec& rec = list_[i];
    rec.ExpandedLength = -1;
    rec.Flags = static_cast<uint8_t>((rec.Flags & ~TEditorStringRec::NoTabs) |
                                     TEditorStringRec::LengthStale);
  }
}

// ---------------------------------------------------------------------------
// Character set and encoding

void TEditorStringList::SetEncoding(TTextEncoding E) {
  if (E == encoding_) return;
  const bool char_set_changes = IsUnicodeEncoding(E) != IsUnicodeEncoding(encoding_);
  encoding_ = E;
  // The odd byte of a UTF-16 file belongs to that file only.
  encoding_tail_.clear();
  if (char_set_changes) MarkAllLengthsStale();
}

void TEditorStringList::SetAnsiCodePage(const ICodePage* CodePage) {
  if (CodePage == ansi_code_page_) return;
  ansi_code_page_ = CodePage;
  if (!IsUnicodeEncoding(encoding_)) MarkAllLengthsStale();
}

const ICodePage* TEditorStringList::CodePage() const {
  return IsUnicodeEncoding(encoding_) ? &Utf8CodePage() : ansi_code_page_;
}

// ---------------------------------------------------------------------------
// Loading

// Splits Bytes into lines: CR LF, a lone LF and a lone CR each end one line, so
// LF followed by CR ends two. Returns whether anything was added.
bool TEditorStringList::ParseLines(std::string_view Bytes, bool Borrow, bool AddFinalEmptyLine,
                                   bool& SawCR, bool& SawLF) {
  SawCR = false;
  SawLF = false;
  if (Bytes.empty()) return false;
  const char* const data = Bytes.data();
  const size_t size = Bytes.size();

  // Count the lines first so the record array is allocated once, exactly.
  size_t crs = 0, lfs = 0, crlfs = 0;
  for (size_t i = 0; i < size; ++i) {
    crs += data[i] == '\r';
    lfs += data[i] == '\n';
  }
  for (size_t i = 0; i + 1 < size; ++i) crlfs += (data[i] == '\r') & (data[i + 1] == '\n');
  const char last = data[size - 1];
  const bool ends_with_break = last == '\r' || last == '\n';
  size_t lines = crs + lfs - crlfs + (ends_with_break ? (AddFinalEmptyLine ? 1 : 0) : 1);
  if (lines > static_cast<size_t>(INT_MAX - count_)) throw std::bad_alloc();
  if (capacity_ < count_ + static_cast<int>(lines))
    ReallocateList(count_ + static_cast<int>(lines));
  SawCR = crs > 0;
  SawLF = lfs > 0;

  auto add_line = [&](const char* start, size_t length) {
    const int index = count_;
    TEditorStringRec& rec = list_[index];
    InitRecord(rec);
    if (length > 0) {
      if (Borrow) {
        if (length > static_cast<size_t>(INT32_MAX)) throw std::bad_alloc();
        rec.TextChars = start;
        rec.TextLength = static_cast<uint32_t>(length);
        rec.Storage = kTextBorrowed;
        ++loaded_block_users_;
        loaded_block_bytes_used_ += length;
      } else {
        AssignText(rec, std::string_view(start, length));
      }
    }
    if (!data_.empty()) data_.push_back(nullptr);
    ++count_;
    if (OnLinesInserted) OnLinesInserted(this, index, 1);
  };

  size_t i = 0;
  while (i < size) {
    size_t j = i;
    while (j < size && data[j] != '\r' && data[j] != '\n') ++j;
    add_line(data + i, j - i);
    if (j < size && data[j] == '\r') ++j;
    if (j < size && data[j] == '\n') ++j;
    i = j;
  }
  if (ends_with_break && AddFinalEmptyLine) add_line(data + size, 0);
  ForgetLongestLine();
  return true;
}

void TEditorStringList::LoadFromBuffer(std::string Bytes) {
  bool saw_cr = false, saw_lf = false;
  {
    TUpdateScope update(*this);
    Clear();
    TDecodedText decoded = DecodeText(std::move(Bytes));
    if (IsUnicodeEncoding(decoded.Encoding) != IsUnicodeEncoding(encoding_)) ForgetLongestLine();
    encoding_ = decoded.Encoding;
    encoding_tail_ = std::move(decoded.Tail);
    // Every line of the old block is gone now, so the block is free to reuse.
    loaded_block_ = std::move(decoded.Text);
    loaded_block_users_ = 0;
    loaded_block_bytes_used_ = 0;
    ParseLines(loaded_block_, true, !append_break_at_end_, saw_cr, saw_lf);
    if (loaded_block_users_ == 0) std::string().swap(loaded_block_);
  }
  if (saw_cr && !saw_lf)
    line_break_style_ = lbCR;
  else if (saw_lf && !saw_cr)
    line_break_style_ = lbLF;
  else
    line_break_style_ = lbCRLF;
}

void TEditorStringList::LoadFromStream(std::istream& Stream) {
  Stream.clear();
  Stream.seekg(0, std::ios::beg);
  Stream.clear();  // a stream that cannot seek is read from where it stands
  std::string bytes;
  char chunk[65536];
  while (Stream.read(chunk, sizeof chunk) || Stream.gcount() > 0)
    bytes.append(chunk, static_cast<size_t>(Stream.gcount()));
  if (Stream.bad()) throw EFileError("Cannot read the stream.");
  LoadFromBuffer(std::move(bytes));
}

void TEditorStringList::LoadFromFile(const std::string& FileName) {
  // Read first: a file that cannot be opened leaves the lines as they are.
  LoadFromBuffer(FileSystem().ReadWholeFile(FileName));
}

void TEditorStringList::SetText(std::string_view Text) {
  // The text may be a view of this list's own lines: parse a private copy.
  const std::string copy(Text);
  TUpdateScope update(*this);
  Clear();
  bool saw_cr = false, saw_lf = false;
  ParseLines(copy, false, false, saw_cr, saw_lf);
}

// ---------------------------------------------------------------------------
// Saving

std::string TEditorStringList::SaveToString() const {
  const std::string_view line_break = LineBreakBytes(line_break_style_);
  size_t total = 0;
  for (int i = 0; i < count_; ++i) total += list_[i].TextLength;
  if (count_ > 0) total += line_break.size() * static_cast<size_t>(count_ - 1);
  if (count_ > 0 && append_break_at_end_) total += line_break.size();
  std::string content;
  content.reserve(total);
  for (int i = 0; i < count_; ++i) {
    content.append(list_[i].Text());
    if (i < count_ - 1 || append_break_at_end_) content.append(line_break);
  }
  if (ByteOrderMark(encoding_).empty() && encoding_tail_.empty()) return content;
  return EncodeText(content, encoding_, encoding_tail_);
}

void TEditorStringList::SaveToStream(std::ostream& Stream) const {
  const std::string content = SaveToString();
  Stream.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!Stream) throw EFileError("Cannot write to the stream.");
}

void TEditorStringList::SaveToFile(const std::string& FileName) const {
  TEditorFileWriter writer(FileName);
  writer.SetLineBreakStyle(line_break_style_);
  writer.Write(ByteOrderMark(encoding_));
  const bool recode = encoding_ == TTextEncoding::Utf16LE || encoding_ == TTextEncoding::Utf16BE;
  std::string encoded;
  for (int i = 0; i < count_; ++i) {
    const bool line_break = i < count_ - 1 || append_break_at_end_;
    if (recode) {
      encoded.clear();
      AppendEncodedText(encoded, list_[i].Text(), encoding_);
      if (line_break) AppendEncodedText(encoded, LineBreakBytes(line_break_style_), encoding_);
      writer.Write(encoded);
    } else if (line_break) {
      writer.WriteLine(list_[i].Text());
    } else {
      writer.Write(list_[i].Text());
    }
  }
  writer.Write(encoding_tail_);
  writer.Commit();
}

// ---------------------------------------------------------------------------
// Buffered writer

TEditorFiler::TEditorFiler() : buffer_(new char[InitialBufferSize]) {}

namespace {

// The output of an overwrite in place: its errors also tell where the old
// content was saved, since the target may already be half written.
class TBackedUpOutputFile : public IOutputFile {
 public:
  TBackedUpOutputFile(std::unique_ptr<IOutputFile> file, std::string backup_path)
      : file_(std::move(file)), backup_path_(std::move(backup_path)) {}
  void Write(const char* data, size_t size) override {
    Guard([&] { file_->Write(data, size); });
  }
  void Close() override {
    Guard([&] { file_->Close(); });
  }

 private:
  template <typename F>
  void Guard(F action) {
    try {
      action();
    } catch (const EFileError& e) {
      throw EFileError(e.Message() + FileBackupNoteText(backup_path_));
    }
  }
  std::unique_ptr<IOutputFile> file_;
  std::string backup_path_;
};

}  // namespace

TEditorFileWriter::TEditorFileWriter(const std::string& FileName)
    : fs_(FileSystem()), file_name_(FileName) {
  try {
    file_ = fs_.CreateTempBeside(FileName, temp_name_);
  } catch (const ESwapRefused&) {
    BeginOverwrite();
  }
}

TEditorFileWriter::~TEditorFileWriter() {
  if (!committed_) Discard();
}

// Where the safe way is refused, the target is written in place; its old
// content goes to a backup first, which the user is told about if the
// overwrite fails.
void TEditorFileWriter::BeginOverwrite() {
  const std::string old_content = fs_.ReadWholeFile(file_name_);
  std::string backup_name;
  try {
    auto backup = fs_.CreateBackupFile(file_name_, backup_name);
    backup->Write(old_content.data(), old_content.size());
    backup->Close();
    file_ = std::make_unique<TBackedUpOutputFile>(fs_.OverwriteFile(file_name_), backup_name);
  } catch (...) {
    // The target is untouched yet, so the backup serves nothing.
    if (!backup_name.empty()) fs_.RemoveFile(backup_name);
    throw;
  }
  backup_name_ = backup_name;
}

void TEditorFileWriter::Discard() noexcept {
  file_.reset();  // closes without reporting: the save has failed already
  if (!temp_name_.empty()) fs_.RemoveFile(temp_name_);
  temp_name_.clear();
}

void TEditorFileWriter::Reserve(size_t Needed) {
  if (Needed > static_cast<size_t>(INT_MAX)) throw std::bad_alloc();
  const int needed = static_cast<int>(Needed);
  while (buffer_pos_ > buffer_size_ - needed) {
    Flush();
    if (buffer_size_ < needed) {
      buffer_.reset(new char[static_cast<size_t>(needed)]);
      buffer_size_ = needed;
    }
  }
}

void TEditorFileWriter::Write(std::string_view S) {
  Reserve(S.size());
  if (!S.empty()) std::memcpy(buffer_.get() + buffer_pos_, S.data(), S.size());
  buffer_pos_ += static_cast<int>(S.size());
}

void TEditorFileWriter::WriteLine(std::string_view S) {
  const std::string_view line_break = LineBreakBytes(line_break_style_);
  Reserve(S.size() + line_break.size());
  if (!S.empty()) std::memcpy(buffer_.get() + buffer_pos_, S.data(), S.size());
  buffer_pos_ += static_cast<int>(S.size());
  std::memcpy(buffer_.get() + buffer_pos_, line_break.data(), line_break.size());
  buffer_pos_ += static_cast<int>(line_break.size());
}

void TEditorFileWriter::Flush() {
  if (!file_) throw EFileError(FileWriteErrorText(file_name_, "The file is closed."));
  if (buffer_pos_ > 0) file_->Write(buffer_.get(), static_cast<size_t>(buffer_pos_));
  buffer_pos_ = 0;
}

void TEditorFileWriter::Commit() {
  try {
    Flush();
    file_->Close();
    if (!temp_name_.empty()) {
      try {
        fs_.ReplaceTarget(temp_name_, file_name_);
      } catch (const ESwapRefused&) {
        const std::string content = fs_.ReadWholeFile(temp_name_);
        Discard();
        BeginOverwrite();
        file_->Write(content.data(), content.size());
        file_->Close();
      }
    }
  } catch (...) {
    Discard();
    throw;
  }
  file_.reset();
  temp_name_.clear();
  if (!backup_name_.empty()) fs_.RemoveFile(backup_name_);
  committed_ = true;
}
