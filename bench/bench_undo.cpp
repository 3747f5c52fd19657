// The cost of keeping undo history: recording a typed character with the list
// full (every record then drops the oldest group), against the bare container
// work of the same run; undoing and redoing one action of many records; and
// the memory one record takes.
#include <benchmark/benchmark.h>

#include <deque>
#include <memory>
#include <string>

#include "BenchData.h"
#include "editor/EditorUndoHistory.h"

namespace {

// Accepts every change and keeps nothing, so that only the lists' own work is
// measured.
class TNullTarget : public IUndoTarget {
 public:
  void BeginUndoRedo() override {}
  void EndUndoRedo() override {}
  int LineCount() const override { return 1; }
  std::string LineText(int) const override { return std::string(); }
  void SetLineText(int, std::string_view) override {}
  void InsertLine(int, std::string_view) override {}
  void DeleteLine(int) override {}
  std::string DeleteRange(TBufferCoord, TBufferCoord, TSelectionMode) override { return "x"; }
  TBufferCoord InsertTextAt(TBufferCoord at, std::string_view text, TSelectionMode) override {
    return {at.Char + static_cast<int>(text.size()), at.Line};
  }
  std::string SwapEncoding(std::string_view change) override { return std::string(change); }
  TBufferCoord CaretPos() const override { return {}; }
  void SetCaretPos(TBufferCoord) override {}
  TBufferCoord SelectionAnchor() const override { return {}; }
  TBufferCoord SelectionEnd() const override { return {}; }
  void SetCaretAndSelection(TBufferCoord, TBufferCoord, TBufferCoord) override {}
  TSelectionMode ActiveSelectionMode() const override { return smNormal; }
  void SetActiveSelectionMode(TSelectionMode) override {}
};

void BM_RecordTypedCharacterWithFullHistory(benchmark::State& state) {
  TEditorUndoHistory history;
  int changes = 0;
  history.OnChange = [&] { ++changes; };
  TEditorUndoList& list = history.UndoList();
  for (int i = 0; i < list.MaxUndo(); ++i)
    list.AddRecord(ckInsert, {i + 1, 1}, smNormal, "", {i + 2, 1});
  int column = 1;
  for (auto _ : state) {
    list.OpenGroup();
    list.AddRecord(ckInsert, {column, 1}, smNormal, "", {column + 1, 1});
    list.CloseGroup();
    ++column;
  }
  benchmark::DoNotOptimize(changes);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RecordTypedCharacterWithFullHistory);

// Baseline: the same record appended to and dropped from a plain container.
void BM_BaselineContainerPushPop(benchmark::State& state) {
  std::deque<TEditorUndoItem> items(1024);
  int column = 1;
  for (auto _ : state) {
    TEditorUndoItem item;
    item.Reason = ckInsert;
    item.StartPos = {column, 1};
    item.EndPos = {column + 1, 1};
    item.GroupNumber = static_cast<std::uint32_t>(column);
    items.push_back(std::move(item));
    items.pop_front();
    ++column;
  }
  benchmark::DoNotOptimize(items.size());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BaselineContainerPushPop);

// A replace-all of 100 000 occurrences, undone and redone as one step.
void BM_UndoRedoOneLargeAction(benchmark::State& state) {
  constexpr int kRecords = 100000;
  TEditorUndoHistory history;
  TNullTarget target;
  TEditorUndoList& list = history.UndoList();
  list.OpenGroup();
  for (int i = 0; i < kRecords; ++i)
    list.AddRecord(ckInsert, {1, i + 1}, smNormal, "abc", {2, i + 1});
  list.CloseGroup();
  for (auto _ : state) {
    history.Undo(target);
    history.Redo(target);
  }
  if (list.ItemCount() != kRecords) state.SkipWithError("the action did not come back whole");
  state.SetItemsProcessed(state.iterations() * kRecords * 2);
}
BENCHMARK(BM_UndoRedoOneLargeAction)->Unit(benchmark::kMillisecond);

// Resident memory per record for a million typed characters.
void BM_MemoryPerRecord(benchmark::State& state) {
  constexpr int kRecords = 1000000;
  for (auto _ : state) {
    const long long before = ResidentBytes();
    auto list = std::make_unique<TEditorUndoList>();
    list->SetMaxUndo(kRecords);
    for (int i = 0; i < kRecords; ++i)
      list->AddRecord(ckInsert, {i % 80 + 1, i / 80 + 1}, smNormal, "", {i % 80 + 2, i / 80 + 1});
    const long long after = ResidentBytes();
    state.counters["bytes_per_record"] = static_cast<double>(after - before) / kRecords;
    state.counters["record_size"] = sizeof(TEditorUndoItem);
  }
}
BENCHMARK(BM_MemoryPerRecord)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
