#pragma once
// Driving a modal dialog from inside its own message loop, as a user would.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

// The visible dialog of this thread, if one shows.
HWND ShownDialog();

// Presses and releases a key in the focused control, through the message loop.
void PostKey(UINT vk);

using TStep = std::function<void(HWND)>;

// Plays steps against the dialog a modal call shows, one per timer tick, so
// that keys posted by one step are handled by the dialog's own message loop
// before the next step looks. A dialog left open long after the last step is
// cancelled and the test fails instead of hanging.
class TDialogDriver {
 public:
  explicit TDialogDriver(std::vector<TStep> steps);
  ~TDialogDriver();
  TDialogDriver(const TDialogDriver&) = delete;
  TDialogDriver& operator=(const TDialogDriver&) = delete;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

  static inline TDialogDriver* current_ = nullptr;
  std::vector<TStep> steps_;
  std::size_t next_ = 0;
  int idle_ticks_ = 0;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
};
