#pragma once
// The editor's undo and redo lists: records of elementary text changes, grouped
// so that one user action is undone in one step, with the limit on how many
// records are kept and the "clean" marker that decides whether the text counts
// as modified.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/EditorTypes.h"
#include "platform/TextEncoding.h"

// What kind of change a record describes. The values are fixed: pairs of
// begin/end markers are told apart by them (an opening marker is even, its
// closing marker the next odd number).
enum TChangeReason : std::uint8_t {
  ckInsert = 0,
  ckPaste = 1,
  ckDropInsert = 2,
  ckDeleteReversed = 3,
  ckDelete = 4,
  ckLineBreak = 5,
  ckIndent = 6,
  ckUnindent = 7,
  ckDeleteBeforeCaret = 8,
  ckDeleteAtCaret = 9,
  // Three spare begin/end pairs, undone and redone like the paste pair; the
  // editor itself records none of them.
  ckSpareOpen1 = 10,
  ckSpareClose1 = 11,
  ckPasteOpen = 12,
  ckPasteClose = 13,
  ckSpareOpen2 = 14,
  ckSpareClose2 = 15,
  ckSpareOpen3 = 16,
  ckSpareClose3 = 17,
  ckCaretMark = 18,
  ckSelectionMark = 19,
  ckNone = 20,
  ckGroupSeparator = 21,
  ckClearText = 22,
  ckEncoding = 23,
};

// The opening marker of a begin/end pair (10, 12, 14, 16).
bool IsPairOpen(TChangeReason reason);
// The closing marker of a begin/end pair (11, 13, 15, 17).
bool IsPairClose(TChangeReason reason);
// The other marker of the same pair; ckNone for a reason that is no marker.
TChangeReason MatchingPairReason(TChangeReason reason);

// One elementary change. The positions and the text are what it takes to
// reverse it:
// - insertions (ckInsert, ckPaste, ckDropInsert): StartPos..EndPos, taken in
//   Mode, is exactly the text the change put in (padding spaces included);
//   ChangeText is the text it overwrote, usually empty;
// - deletions (ckDelete, ckDeleteReversed, ckDeleteBeforeCaret,
//   ckDeleteAtCaret, ckClearText): StartPos..EndPos, StartPos the earlier, is
//   where the removed text stood, ChangeText the removed text (column blocks:
//   one piece per line, joined by CR LF). The reason tells where the caret
//   was: at StartPos for ckDeleteReversed (a selection made backwards) and
//   ckDeleteAtCaret, at EndPos for the others;
// - ckLineBreak: StartPos is where the line was broken, ChangeText the part of
//   the line that moved to the next line (EndPos is not used);
// - ckIndent, ckSelectionMark: the selection (anchor, moving end);
//   ckCaretMark: the caret in StartPos;
// - ckUnindent: the selection before the unindent; ChangeText holds the
//   removed prefixes, one per line from StartPos's line on, joined by CR LF;
// - ckEncoding: the document went into another encoding; ChangeText holds
//   the encoding it was in and the bytes of the lines the conversion changed
//   (see TEncodingChange), StartPos the caret before it.
// Records on the redo list are the inverses that undo made; they are only
// read back by redo.
struct TEditorUndoItem {
  TChangeReason Reason = ckNone;
  TSelectionMode Mode = smNormal;
  TBufferCoord StartPos;
  TBufferCoord EndPos;
  std::string ChangeText;
  std::uint32_t GroupNumber = 0;
};

// What a ckEncoding record holds: an encoding, the bytes kept after the text
// in it (see TEditorStringList::EncodingTail) and the bytes that lines had in
// it, by 0-based index; every other line is the same in both encodings.
struct TEncodingChange {
  TTextEncoding Encoding = TTextEncoding::Ansi;
  std::string Tail;
  std::vector<std::pair<int, std::string>> Lines;
};
std::string PackEncodingChange(const TEncodingChange& change);
TEncodingChange UnpackEncodingChange(std::string_view packed);

class TEditorUndoList {
 public:
  static constexpr int kDefaultMaxUndo = 1024;
  using TNotify = std::function<void(TEditorUndoList& sender)>;

  TEditorUndoList() = default;
  TEditorUndoList(const TEditorUndoList&) = delete;
  TEditorUndoList& operator=(const TEditorUndoList&) = delete;

  // Records a change (nothing while locked). Inside an open block the record
  // joins the block's group; outside, it gets a group of its own.
  void AddRecord(TChangeReason reason, TBufferCoord start_pos, TSelectionMode mode,
                 const std::string& change_text, TBufferCoord end_pos);
  // Appends a ready record, keeping its group number; the undo and redo runs
  // move records between the lists this way. Trims the list to MaxUndo and
  // then calls OnRecordAdded, except for a group separator.
  void PushItem(TEditorUndoItem item);

  // Blocks: every record between an OpenGroup and its CloseGroup shares one
  // group. Blocks nest; the outermost CloseGroup ends the group and calls
  // OnRecordAdded once if the block recorded anything.
  void OpenGroup();
  void CloseGroup();
  int BlockCount() const { return block_count_; }
  // The group of the open block; 0 when no block is open.
  std::uint32_t BlockGroupNumber() const { return block_group_; }

  // A separator stops grouped undo from running on into older records. None is
  // added on an empty list or on top of another separator.
  void AddSeparator();

  // Drops every record. The text's clean state is kept: if the newest record
  // was clean, the now empty list is clean.
  void Clear();

  bool UndoAvailable() const { return !items_.empty(); }
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // Record i, oldest first.
  const TEditorUndoItem& Item(int index) const { return items_[index]; }
  // The newest record, or nullptr for an empty list.
  const TEditorUndoItem* PeekItem() const { return items_.empty() ? nullptr : &items_.back(); }
  // Removes and returns the newest record; a ckNone record for an empty list.
  TEditorUndoItem PopItem();
  // The newest record's reason, or ckNone.
  TChangeReason LastKind() const { return items_.empty() ? ckNone : items_.back().Reason; }

  // While locked, AddRecord records nothing. Unlock never goes below 0.
  void Lock() { ++lock_count_; }
  void Unlock();
  bool Locked() const { return lock_count_ > 0; }

  // The most records kept (negative values become 0; 0 keeps no history). Old
  // records are dropped a whole group at a time, so that an undo always
  // reverses a complete action; the records of an open block and the newest
  // group are never dropped (while MaxUndo is above 0), so the list may hold
  // more than MaxUndo records for as long as one action alone is bigger.
  int MaxUndo() const { return max_undo_; }
  void SetMaxUndo(int value);
  // Old records have been dropped since the last Clear.
  bool HistoryTruncated() const { return truncated_; }

  // Set on the undo list while a redo puts records back on it.
  bool InsideRedo() const { return inside_redo_; }
  void SetInsideRedo(bool value) { inside_redo_ = value; }

  // The group the next record outside a block gets. Wraps after 2^32 - 1,
  // skipping 0, which stands for "no group".
  std::uint32_t NextGroupNumber() const { return next_group_; }
  void SetNextGroupNumber(std::uint32_t value) { next_group_ = value == 0 ? 1 : value; }

  // The clean marker names the state in which the text was last saved: the
  // group of the then newest record, 0 for the empty list, -1 when no state on
  // the list is clean. Separators change no text, so the newest record that is
  // not one decides.
  void MarkTopAsClean();
  void UnmarkTopAsClean();
  bool IsTopClean() const { return TopGroup() == clean_group_; }
  std::int64_t CleanGroupNumber() const { return clean_group_; }

  TNotify OnRecordAdded;

 private:
  // The group of the newest record that is no separator; 0 for none.
  std::int64_t TopGroup() const;
  void AdvanceGroupNumber();
  void Trim();

  std::deque<TEditorUndoItem> items_;
  int block_count_ = 0;
  std::uint32_t block_group_ = 0;
  bool truncated_ = false;
  std::int64_t clean_group_ = 0;
  bool inside_redo_ = false;
  int lock_count_ = 0;
  int max_undo_ = kDefaultMaxUndo;
  std::uint32_t next_group_ = 1;
};

// Holds an undo list's block open for a scope, also when an error passes, so
// that everything recorded inside is undone in one step.
class TEditorUndoBlockScope {
 public:
  explicit TEditorUndoBlockScope(TEditorUndoList& list) : list_(list) { list_.OpenGroup(); }
  ~TEditorUndoBlockScope() { list_.CloseGroup(); }
  TEditorUndoBlockScope(const TEditorUndoBlockScope&) = delete;
  TEditorUndoBlockScope& operator=(const TEditorUndoBlockScope&) = delete;

 private:
  TEditorUndoList& list_;
};
