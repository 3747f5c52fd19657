#pragma once
// A thread that runs the macro checker's file-wide passes over snapshots of
// the document's line facts, so that the interface never waits for them.
// Only the newest snapshot matters: a check still running when a newer one
// is handed over is abandoned.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "app/MacroCheckLines.h"

struct TMacroCheckAnswer {
  std::uint64_t generation = 0;  // as given with the snapshot
  std::vector<TMacroProblem> problems;
  int errors = 0;
  int warnings = 0;
};

class TMacroCheckWorker {
 public:
  // ready is called on the worker thread each time an answer is waiting.
  explicit TMacroCheckWorker(std::function<void()> ready);
  // Abandons a running check and waits for the thread to end.
  ~TMacroCheckWorker();
  TMacroCheckWorker(const TMacroCheckWorker&) = delete;
  TMacroCheckWorker& operator=(const TMacroCheckWorker&) = delete;

  void Start(TMacroLinesSnapshot snapshot, const TMacroCheckOptions& options,
             std::uint64_t generation);
  // The newest answer, once.
  std::optional<TMacroCheckAnswer> Take();
  // Problems no longer wanted are freed on the worker thread: a large
  // macro's are many small blocks, and freeing them would hold up the
  // interface.
  void Dispose(std::vector<TMacroProblem> problems);

 private:
  struct TJob {
    TMacroLinesSnapshot snapshot;
    TMacroCheckOptions options;
    std::uint64_t generation = 0;
  };
  void Run();

  std::function<void()> ready_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<TJob> job_;
  std::optional<TMacroCheckAnswer> answer_;
  std::vector<std::vector<TMacroProblem>> garbage_;
  std::atomic<bool> stop_check_{false};
  bool quit_ = false;
  std::thread thread_;
};
