#include "app/MacroCheckWorker.h"

TMacroCheckWorker::TMacroCheckWorker(std::function<void()> ready) : ready_(std::move(ready)) {}

TMacroCheckWorker::~TMacroCheckWorker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
    stop_check_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void TMacroCheckWorker::Start(TMacroLinesSnapshot snapshot, const TMacroCheckOptions& options,
                              std::uint64_t generation) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = TJob{std::move(snapshot), options, generation};
    stop_check_ = true;  // whatever runs now is out of date
  }
  // The thread starts with the first check, so that a program that never
  // checks has none.
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  wake_.notify_all();
}

void TMacroCheckWorker::Dispose(std::vector<TMacroProblem> problems) {
  if (problems.empty()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    garbage_.push_back(std::move(problems));
  }
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  wake_.notify_all();
}

std::optional<TMacroCheckAnswer> TMacroCheckWorker::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<TMacroCheckAnswer> answer = std::move(answer_);
  answer_.reset();
  return answer;
}

void TMacroCheckWorker::Run() {
  for (;;) {
    std::optional<TJob> job;
    std::vector<std::vector<TMacroProblem>> garbage;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || job_.has_value() || !garbage_.empty(); });
      if (quit_) return;
      garbage.swap(garbage_);
      job.swap(job_);
      stop_check_ = false;
    }
    garbage.clear();
    if (!job) continue;
    std::optional<TMacroCheckResult> result =
        CheckMacroLines(job->snapshot, job->options, &stop_check_);
    // The snapshot's blocks go back before the answer is announced, so the
    // interface thread need not copy them on its next change.
    job->snapshot.blocks.clear();
    std::vector<TMacroProblem> unwanted;
    bool announce = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (quit_) return;
      if (result && !job_) {
        // An answer nobody took yet gives way to the newer one.
        if (answer_) unwanted = std::move(answer_->problems);
        answer_ = TMacroCheckAnswer{job->generation, std::move(result->problems), result->errors,
                                    result->warnings};
        announce = true;
      }
    }
    if (announce && ready_) ready_();
  }
}
