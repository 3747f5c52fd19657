#include "app/LiveMacroCheck.h"

#include <climits>

#include "editor/EditorTextBuffer.h"

TLiveMacroCheck::TLiveMacroCheck(TEditorStringList& lines, THost host)
    : lines_(lines), host_(std::move(host)), worker_([this] {
        if (host_.post_answer) host_.post_answer();
      }) {
  facts_.LinesInserted(0, lines_.Count());
  Follow();
}

TLiveMacroCheck::~TLiveMacroCheck() {
  lines_.OnUpdateEnded = std::move(previous_update_ended_);
  lines_.OnLinesCleared = std::move(previous_cleared_);
  lines_.OnLinesInserted = std::move(previous_inserted_);
  lines_.OnLinesDeleted = std::move(previous_deleted_);
  lines_.OnLinesReplaced = std::move(previous_replaced_);
}

void TLiveMacroCheck::Follow() {
  previous_update_ended_ = lines_.OnUpdateEnded;
  previous_cleared_ = lines_.OnLinesCleared;
  previous_inserted_ = lines_.OnLinesInserted;
  previous_deleted_ = lines_.OnLinesDeleted;
  previous_replaced_ = lines_.OnLinesReplaced;
  lines_.OnUpdateEnded = [this](TEditorStringList* sender) {
    if (previous_update_ended_) previous_update_ended_(sender);
    UpdateEnded();
  };
  lines_.OnLinesCleared = [this](TEditorStringList* sender) {
    if (previous_cleared_) previous_cleared_(sender);
    LinesCleared();
  };
  lines_.OnLinesInserted = [this](TEditorStringList* sender, int index, int count) {
    if (previous_inserted_) previous_inserted_(sender, index, count);
    LinesInserted(index, count);
  };
  lines_.OnLinesDeleted = [this](TEditorStringList* sender, int index, int count) {
    if (previous_deleted_) previous_deleted_(sender, index, count);
    LinesDeleted(index, count);
  };
  lines_.OnLinesReplaced = [this](TEditorStringList* sender, int index, int count) {
    if (previous_replaced_) previous_replaced_(sender, index, count);
    LinesChanged(index, count);
  };
}

void TLiveMacroCheck::Changed() { ++generation_; }

void TLiveMacroCheck::LinesInserted(int index, int count) {
  facts_.LinesInserted(index, count);
  problems_.LinesInserted(index, count);
  Changed();
}

void TLiveMacroCheck::LinesDeleted(int index, int count) {
  facts_.LinesDeleted(index, count);
  problems_.LinesDeleted(index, count);
  Changed();
}

void TLiveMacroCheck::LinesChanged(int index, int count) {
  facts_.LinesChanged(index, count);
  Changed();
}

void TLiveMacroCheck::LinesCleared() {
  facts_.Clear();
  worker_.Dispose(problems_.Assign({}));
  Changed();
}

void TLiveMacroCheck::UpdateEnded() {
  // One restart of the pause per change, however many lines it touched.
  if (!enabled_ || timer_generation_ == generation_) return;
  timer_generation_ = generation_;
  if (host_.start_timer) host_.start_timer(kPauseMs);
}

void TLiveMacroCheck::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (!on) {
    if (host_.stop_timer) host_.stop_timer();
    requested_ = 0;
    answered_ = 0;
    worker_.Dispose(problems_.Assign({}));
    if (host_.problems_changed) host_.problems_changed();
    return;
  }
  timer_generation_ = generation_;
  if (host_.start_timer) host_.start_timer(0);
}

void TLiveMacroCheck::SetOptions(const TMacroCheckOptions& options) {
  const bool reread = options.utf8 != options_.utf8 || options.commands != options_.commands;
  options_ = options;
  if (reread) facts_.ReadAllAgain();
  Changed();
  if (!enabled_) return;
  timer_generation_ = generation_;
  if (host_.start_timer) host_.start_timer(0);
}

void TLiveMacroCheck::TimerElapsed() {
  if (host_.stop_timer) host_.stop_timer();
  if (!enabled_) return;
  const TEditorMacroLines text(lines_);
  if (!facts_.ReadLines(text, {options_.commands, options_.utf8}, kSliceLines)) {
    if (host_.start_timer) host_.start_timer(kStepMs);
    return;
  }
  if (requested_ == generation_ || answered_ == generation_) return;
  requested_ = generation_;
  worker_.Start(facts_.Snapshot(), options_, generation_);
}

void TLiveMacroCheck::AnswerArrived() {
  std::optional<TMacroCheckAnswer> answer = worker_.Take();
  if (!answer) return;
  // An answer for an older text would put marks where the text has moved
  // on; the pause after the change asks again.
  if (!enabled_ || answer->generation != generation_) {
    worker_.Dispose(std::move(answer->problems));
    return;
  }
  answered_ = answer->generation;
  worker_.Dispose(problems_.Assign(std::move(answer->problems), answer->errors, answer->warnings));
  if (host_.problems_changed) host_.problems_changed();
}

const TMacroCheckLines& TLiveMacroCheck::ReadNow() {
  const TEditorMacroLines text(lines_);
  facts_.ReadLines(text, {options_.commands, options_.utf8}, INT_MAX);
  return facts_;
}
