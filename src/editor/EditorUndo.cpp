#include "editor/EditorUndo.h"

#include <cstdint>
#include <cstring>
#include <utility>

bool IsPairOpen(TChangeReason reason) {
  return reason == ckSpareOpen1 || reason == ckPasteOpen || reason == ckSpareOpen2 ||
         reason == ckSpareOpen3;
}

bool IsPairClose(TChangeReason reason) {
  return reason == ckSpareClose1 || reason == ckPasteClose || reason == ckSpareClose2 ||
         reason == ckSpareClose3;
}

TChangeReason MatchingPairReason(TChangeReason reason) {
  if (IsPairOpen(reason)) return static_cast<TChangeReason>(reason + 1);
  if (IsPairClose(reason)) return static_cast<TChangeReason>(reason - 1);
  return ckNone;
}

// An encoding byte, then pieces of bytes, each after its length (four bytes,
// as the machine holds them: records never leave the program): the tail, and
// for each line its index (four bytes) and its bytes.
namespace {

void PackNumber(std::string& packed, std::size_t n) {
  const auto v = static_cast<std::uint32_t>(n);
  packed.append(reinterpret_cast<const char*>(&v), sizeof v);
}

// The number at `at`, which moves past it; false past the end.
bool UnpackNumber(std::string_view packed, std::size_t& at, std::uint32_t& n) {
  if (packed.size() - at < sizeof n) return false;
  std::memcpy(&n, packed.data() + at, sizeof n);
  at += sizeof n;
  return true;
}

// The piece of bytes at `at`, which moves past it; false past the end.
bool UnpackBytes(std::string_view packed, std::size_t& at, std::string& bytes) {
  std::uint32_t length = 0;
  if (!UnpackNumber(packed, at, length) || length > packed.size() - at) return false;
  bytes.assign(packed.substr(at, length));
  at += length;
  return true;
}

}  // namespace

std::string PackEncodingChange(const TEncodingChange& change) {
  std::size_t size = 5 + change.Tail.size();
  for (const auto& line : change.Lines) size += 8 + line.second.size();
  std::string packed;
  packed.reserve(size);
  packed.push_back(static_cast<char>(change.Encoding));
  PackNumber(packed, change.Tail.size());
  packed += change.Tail;
  for (const auto& [index, text] : change.Lines) {
    PackNumber(packed, static_cast<std::size_t>(index));
    PackNumber(packed, text.size());
    packed += text;
  }
  return packed;
}

TEncodingChange UnpackEncodingChange(std::string_view packed) {
  TEncodingChange change;
  if (packed.empty()) return change;
  change.Encoding = static_cast<TTextEncoding>(packed[0]);
  std::size_t at = 1;
  if (!UnpackBytes(packed, at, change.Tail)) return change;
  std::uint32_t index = 0;
  std::string text;
  while (UnpackNumber(packed, at, index) && UnpackBytes(packed, at, text))
    change.Lines.emplace_back(static_cast<int>(index), std::move(text));
  return change;
}

void TEditorUndoList::AddRecord(TChangeReason reason, TBufferCoord start_pos, TSelectionMode mode,
                                const std::string& change_text, TBufferCoord end_pos) {
  if (Locked()) return;
  TEditorUndoItem item;
  item.Reason = reason;
  item.Mode = mode;
  item.StartPos = start_pos;
  item.EndPos = end_pos;
  item.ChangeText = change_text;
  if (block_count_ > 0) {
    item.GroupNumber = block_group_;
  } else {
    item.GroupNumber = next_group_;
    AdvanceGroupNumber();
  }
  PushItem(std::move(item));
}

void TEditorUndoList::PushItem(TEditorUndoItem item) {
  const bool separator = item.Reason == ckGroupSeparator;
  items_.push_back(std::move(item));
  Trim();
  if (!separator && OnRecordAdded) OnRecordAdded(*this);
}

void TEditorUndoList::OpenGroup() {
  ++block_count_;
  block_group_ = next_group_;
}

void TEditorUndoList::CloseGroup() {
  if (block_count_ <= 0) return;
  if (--block_count_ > 0) return;
  const std::uint32_t closed = block_group_;
  block_group_ = 0;
  AdvanceGroupNumber();
  const bool recorded = !items_.empty() && items_.back().GroupNumber == closed;
  // With MaxUndo 0 the block was kept only while open; its end still counts
  // as a change.
  Trim();
  if (recorded && OnRecordAdded) OnRecordAdded(*this);
}

void TEditorUndoList::AddSeparator() {
  if (items_.empty() || items_.back().Reason == ckGroupSeparator) return;
  AddRecord(ckGroupSeparator, TBufferCoord{}, smNormal, std::string(), TBufferCoord{});
}

void TEditorUndoList::Clear() {
  const bool clean = IsTopClean();
  items_.clear();
  truncated_ = false;
  clean_group_ = clean ? 0 : -1;
}

TEditorUndoItem TEditorUndoList::PopItem() {
  if (items_.empty()) return TEditorUndoItem{};
  TEditorUndoItem item = std::move(items_.back());
  items_.pop_back();
  return item;
}

void TEditorUndoList::Unlock() {
  if (lock_count_ > 0) --lock_count_;
}

void TEditorUndoList::SetMaxUndo(int value) {
  max_undo_ = value < 0 ? 0 : value;
  Trim();
}

void TEditorUndoList::MarkTopAsClean() { clean_group_ = TopGroup(); }

std::int64_t TEditorUndoList::TopGroup() const {
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (it->Reason != ckGroupSeparator) return it->GroupNumber;
  }
  return 0;
}

void TEditorUndoList::UnmarkTopAsClean() {
  if (IsTopClean()) clean_group_ = -1;
}

void TEditorUndoList::AdvanceGroupNumber() {
  ++next_group_;
  if (next_group_ == 0) next_group_ = 1;
}

void TEditorUndoList::Trim() {
  const auto limit = static_cast<std::size_t>(max_undo_);
  if (items_.size() <= limit) return;
  // The newest action stays whole even when it alone is over the limit: it is
  // the one the user is most likely to undo. Separators are no action.
  bool keep_newest = false;
  std::uint32_t newest_group = 0;
  if (max_undo_ > 0) {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
      if (it->Reason != ckGroupSeparator) {
        keep_newest = true;
        newest_group = it->GroupNumber;
        break;
      }
    }
  }
  // Whether the clean marker names the state the empty list now stands for,
  // the one after the last action dropped.
  bool dropped = false;
  bool clean_reached = false;
  auto drop_front_group = [&] {
    const std::uint32_t group = items_.front().GroupNumber;
    if (items_.front().Reason != ckGroupSeparator) clean_reached = group == clean_group_;
    dropped = true;
    while (!items_.empty() && items_.front().GroupNumber == group) items_.pop_front();
  };
  while (items_.size() > limit) {
    const std::uint32_t group = items_.front().GroupNumber;
    if (block_count_ > 0 && group == block_group_) break;
    if (keep_newest && group == newest_group) break;
    drop_front_group();
  }
  if (!dropped) return;
  // A separator with nothing left beneath it separates nothing.
  while (!items_.empty() && items_.front().Reason == ckGroupSeparator) drop_front_group();
  truncated_ = true;
  if (clean_reached) {
    clean_group_ = 0;
  } else if (clean_group_ == 0) {
    // The empty list no longer stands for the text the history started from.
    clean_group_ = -1;
  }
}
