#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/EditorUndo.h"

namespace {

// Adds a one-character insertion at column `n`.
void Add(TEditorUndoList& list, int n = 1, TChangeReason reason = ckInsert) {
  list.AddRecord(reason, {n, 1}, smNormal, "", {n + 1, 1});
}

// Adds a block of `count` records.
void AddBlock(TEditorUndoList& list, int count) {
  list.OpenGroup();
  for (int i = 0; i < count; ++i) Add(list, i + 1);
  list.CloseGroup();
}

std::vector<std::uint32_t> Groups(const TEditorUndoList& list) {
  std::vector<std::uint32_t> groups;
  for (int i = 0; i < list.ItemCount(); ++i) groups.push_back(list.Item(i).GroupNumber);
  return groups;
}

}  // namespace

TEST(UndoList, RecordsOutsideABlockEachStartAGroupAndBlocksShareOne) {
  TEditorUndoList list;
  Add(list);
  Add(list);
  list.OpenGroup();
  Add(list);
  list.OpenGroup();  // nested blocks stay in the outer block's group
  Add(list);
  list.CloseGroup();
  Add(list);
  list.CloseGroup();
  Add(list);
  EXPECT_EQ(Groups(list), (std::vector<std::uint32_t>{1, 2, 3, 3, 3, 4}));
  EXPECT_EQ(list.BlockCount(), 0);
  EXPECT_EQ(list.BlockGroupNumber(), 0u);
}

TEST(UndoList, AnExtraCloseDoesNotUnbalanceLaterBlocks) {
  TEditorUndoList list;
  list.CloseGroup();
  AddBlock(list, 2);
  Add(list);
  EXPECT_EQ(Groups(list), (std::vector<std::uint32_t>{1, 1, 2}));
}

TEST(UndoList, NotifiesEachRecordAndOnceMoreAtTheEndOfABlockThatRecorded) {
  TEditorUndoList list;
  std::vector<int> block_depth_at_call;
  list.OnRecordAdded = [&](TEditorUndoList& sender) {
    EXPECT_EQ(&sender, &list);
    block_depth_at_call.push_back(sender.BlockCount());
  };
  Add(list);
  list.OpenGroup();
  Add(list);
  Add(list);
  list.CloseGroup();
  list.OpenGroup();  // records nothing: no notification at its end
  list.CloseGroup();
  list.AddSeparator();  // separators never notify
  EXPECT_EQ(block_depth_at_call, (std::vector<int>{0, 1, 1, 0}));
}

TEST(UndoList, LockedListRecordsNothingAndUnlockStopsAtZero) {
  TEditorUndoList list;
  list.Unlock();
  list.Lock();
  Add(list);
  list.AddSeparator();
  EXPECT_FALSE(list.UndoAvailable());
  list.Unlock();
  Add(list);
  EXPECT_EQ(list.ItemCount(), 1);
  EXPECT_FALSE(list.Locked());
}

TEST(UndoList, SeparatorsAreNeitherDoubledNorFirst) {
  TEditorUndoList list;
  list.AddSeparator();
  EXPECT_EQ(list.ItemCount(), 0);
  Add(list);
  list.AddSeparator();
  list.AddSeparator();
  EXPECT_EQ(list.ItemCount(), 2);
  EXPECT_EQ(list.LastKind(), ckGroupSeparator);
}

TEST(UndoList, PeekAndPopOnAnEmptyListAnswerNone) {
  TEditorUndoList list;
  EXPECT_EQ(list.PeekItem(), nullptr);
  EXPECT_EQ(list.PopItem().Reason, ckNone);
  EXPECT_EQ(list.LastKind(), ckNone);
  Add(list, 7, ckDeleteAtCaret);
  ASSERT_NE(list.PeekItem(), nullptr);
  EXPECT_EQ(list.PeekItem()->StartPos, (TBufferCoord{7, 1}));
  const TEditorUndoItem item = list.PopItem();
  EXPECT_EQ(item.Reason, ckDeleteAtCaret);
  EXPECT_EQ(item.EndPos, (TBufferCoord{8, 1}));
  EXPECT_FALSE(list.UndoAvailable());
}

TEST(UndoList, MaxUndoKeepsTheNewestRecordsAndDropsWholeGroups) {
  struct Case {
    const char* name;
    int max_undo;
    std::vector<int> block_sizes;  // one block per entry, oldest first
    std::vector<std::uint32_t> kept_groups;
    bool truncated;
  };
  const std::vector<Case> cases = {
      {"three single edits, limit 2", 2, {1, 1, 1}, {2, 3}, true},
      {"limit reached exactly", 3, {1, 1, 1}, {1, 2, 3}, false},
      {"a group that no longer fits goes whole", 4, {3, 3}, {2, 2, 2}, true},
      {"older groups go until the rest fits", 5, {2, 2, 2}, {2, 2, 3, 3}, true},
      {"the newest action stays whole when alone too big", 2, {1, 5}, {2, 2, 2, 2, 2}, true},
  };
  for (const Case& c : cases) {
    TEditorUndoList list;
    list.SetMaxUndo(c.max_undo);
    for (int size : c.block_sizes) AddBlock(list, size);
    EXPECT_EQ(Groups(list), c.kept_groups) << c.name;
    EXPECT_EQ(list.HistoryTruncated(), c.truncated) << c.name;
  }
}

TEST(UndoList, AnOversizedActionIsDroppedWholeOnceANewerOneArrives) {
  TEditorUndoList list;
  list.SetMaxUndo(2);
  AddBlock(list, 4);
  list.AddSeparator();  // a caret move is no action: the block stays
  EXPECT_EQ(list.ItemCount(), 5);
  Add(list);
  EXPECT_EQ(Groups(list), (std::vector<std::uint32_t>{3})) << "nor is a separator left first";
}

TEST(UndoList, RecordsOfTheOpenBlockAreNeverDropped) {
  TEditorUndoList list;
  list.SetMaxUndo(1);
  Add(list);
  list.OpenGroup();
  for (int i = 0; i < 4; ++i) Add(list, i + 1);
  EXPECT_EQ(Groups(list), (std::vector<std::uint32_t>{2, 2, 2, 2}));
  list.SetMaxUndo(0);  // even history off waits for the block's end
  EXPECT_EQ(list.ItemCount(), 4);
  int notified = 0;
  list.OnRecordAdded = [&](TEditorUndoList&) { ++notified; };
  list.CloseGroup();
  EXPECT_EQ(list.ItemCount(), 0);
  EXPECT_EQ(notified, 1) << "the finished block still counts as a change";
}

TEST(UndoList, MaxUndoSetterClampsAndTrimsAtOnce) {
  TEditorUndoList list;
  EXPECT_EQ(list.MaxUndo(), 1024);
  for (int i = 0; i < 5; ++i) Add(list);
  list.SetMaxUndo(3);
  EXPECT_EQ(Groups(list), (std::vector<std::uint32_t>{3, 4, 5}));
  EXPECT_TRUE(list.HistoryTruncated());
  list.SetMaxUndo(-7);
  EXPECT_EQ(list.MaxUndo(), 0);
  EXPECT_EQ(list.ItemCount(), 0);
  list.Clear();
  EXPECT_FALSE(list.HistoryTruncated());
}

TEST(UndoList, CleanMarkerFollowsTheNewestRecord) {
  TEditorUndoList list;
  EXPECT_TRUE(list.IsTopClean()) << "a new, empty list is the saved state";
  Add(list);
  EXPECT_FALSE(list.IsTopClean());
  list.MarkTopAsClean();
  EXPECT_TRUE(list.IsTopClean());
  Add(list);
  EXPECT_FALSE(list.IsTopClean());
  list.UnmarkTopAsClean();  // not clean now: the marker stays on record 1
  list.PopItem();
  EXPECT_TRUE(list.IsTopClean());
  list.UnmarkTopAsClean();
  EXPECT_FALSE(list.IsTopClean());
  EXPECT_EQ(list.CleanGroupNumber(), -1);
}

TEST(UndoList, ClearKeepsWhetherTheTextIsClean) {
  TEditorUndoList list;
  Add(list);
  list.MarkTopAsClean();
  list.Clear();
  EXPECT_TRUE(list.IsTopClean());
  Add(list);
  list.Clear();
  EXPECT_FALSE(list.IsTopClean());
}

TEST(UndoList, DroppedHistoryNeverMakesTheEmptyListLookSaved) {
  TEditorUndoList list;  // saved with no history
  list.SetMaxUndo(1);
  Add(list);
  Add(list);  // the first edit is dropped
  list.PopItem();
  EXPECT_FALSE(list.IsTopClean()) << "undoing all that is left does not reach the saved text";

  TEditorUndoList off;
  off.SetMaxUndo(0);
  Add(off);
  EXPECT_FALSE(off.UndoAvailable());
  EXPECT_FALSE(off.IsTopClean()) << "with history off an edit still counts as a change";
}

TEST(UndoList, GroupNumbersWrapAroundSkippingZero) {
  TEditorUndoList list;
  list.SetNextGroupNumber(0xFFFFFFFEu);
  Add(list);
  AddBlock(list, 2);
  Add(list);
  EXPECT_EQ(Groups(list), (std::vector<std::uint32_t>{0xFFFFFFFEu, 0xFFFFFFFFu, 0xFFFFFFFFu, 1}));
  list.SetNextGroupNumber(0);
  EXPECT_EQ(list.NextGroupNumber(), 1u);
}

TEST(UndoList, PairMarkersMatchTheirPartner) {
  const std::vector<std::pair<TChangeReason, TChangeReason>> pairs = {
      {ckSpareOpen1, ckSpareClose1},
      {ckPasteOpen, ckPasteClose},
      {ckSpareOpen2, ckSpareClose2},
      {ckSpareOpen3, ckSpareClose3}};
  for (const auto& [open, close] : pairs) {
    EXPECT_TRUE(IsPairOpen(open) && !IsPairClose(open)) << int(open);
    EXPECT_TRUE(IsPairClose(close) && !IsPairOpen(close)) << int(close);
    EXPECT_EQ(MatchingPairReason(open), close);
    EXPECT_EQ(MatchingPairReason(close), open);
  }
  for (TChangeReason other : {ckInsert, ckDeleteAtCaret, ckCaretMark, ckGroupSeparator}) {
    EXPECT_FALSE(IsPairOpen(other) || IsPairClose(other)) << int(other);
    EXPECT_EQ(MatchingPairReason(other), ckNone);
  }
}
