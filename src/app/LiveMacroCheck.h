#pragma once
// Checking the open document while it is edited. The line buffer's changes
// only mark lines; after a pause in typing the marked lines are read again a
// slice at a time (each slice a short step of the interface thread, so no
// key waits for a large file), then the file-wide passes run on a worker
// thread over a snapshot. An answer is taken only when nothing changed
// since its snapshot was taken; otherwise the next pause checks again.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/MacroCheckLines.h"
#include "app/MacroCheckWorker.h"
#include "app/MacroProblemList.h"
#include "editor/EditorTextBuffer.h"

class TLiveMacroCheck {
 public:
  // The pause after the last change before checking starts.
  static constexpr int kPauseMs = 500;
  // Lines read in one step, and the wait between steps (messages are
  // handled in between).
  static constexpr int kSliceLines = 20000;
  static constexpr int kStepMs = 1;

  struct THost {
    // A single timer of the interface thread: (re)started, or stopped.
    std::function<void(int milliseconds)> start_timer;
    std::function<void()> stop_timer;
    // An answer is waiting: called on the worker thread; the interface
    // thread is to call AnswerArrived.
    std::function<void()> post_answer;
    // Problems() changed as a whole (a new answer, checking turned off).
    std::function<void()> problems_changed;
  };

  // Follows the changes of `lines` after the handlers already set on it
  // (its editor's), and gives them back when destroyed: the lines must
  // outlive the check.
  TLiveMacroCheck(TEditorStringList& lines, THost host);
  ~TLiveMacroCheck();
  TLiveMacroCheck(const TLiveMacroCheck&) = delete;
  TLiveMacroCheck& operator=(const TLiveMacroCheck&) = delete;

  // Checking on or off. Off drops the problems; on checks at once.
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  // The macro's folder (for included files) and whether its text is UTF-8.
  // A change checks again at once.
  void SetOptions(const TMacroCheckOptions& options);
  const TMacroCheckOptions& Options() const { return options_; }

  // The timer went off: a step of reading, or handing the snapshot over.
  void TimerElapsed();
  // On the interface thread, after post_answer.
  void AnswerArrived();

  // The problems of the last answer taken, kept on their lines since.
  const TMacroProblemList& Problems() const { return problems_; }
  // Whether that answer is for the text as it is now.
  bool Current() const { return answered_ == generation_; }

  // The facts of the lines as read so far.
  const TMacroCheckLines& Facts() const { return facts_; }
  // Reads every line that waits, now (label navigation wants the labels of
  // the text as it is); the facts as read.
  const TMacroCheckLines& ReadNow();

 private:
  void Follow();
  void Changed();
  // The line buffer's changes (0-based); an update that ends after any
  // change starts the pause again.
  void LinesInserted(int index, int count);
  void LinesDeleted(int index, int count);
  void LinesChanged(int index, int count);
  void LinesCleared();
  void UpdateEnded();

  TEditorStringList& lines_;
  // The handlers that were set before.
  TEditorStringList::TNotify previous_update_ended_, previous_cleared_;
  TEditorStringList::TLinesNotify previous_inserted_, previous_deleted_, previous_replaced_;
  THost host_;
  TMacroCheckOptions options_;
  TMacroCheckLines facts_;
  TMacroCheckWorker worker_;
  TMacroProblemList problems_;
  bool enabled_ = true;
  // Bumped by every change of the lines or the options.
  std::uint64_t generation_ = 1;
  std::uint64_t timer_generation_ = 0;  // when the pause was last started
  std::uint64_t requested_ = 0;         // handed to the worker
  std::uint64_t answered_ = 0;          // of the answer taken
};
