#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <string>

HWND ShownDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM out) -> BOOL {
        char cls[16] = {};
        GetClassNameA(hwnd, cls, sizeof(cls));
        if (std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
          *reinterpret_cast<HWND*>(out) = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void PostKey(UINT vk) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, vk, 1);
  PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
}

TDialogDriver::TDialogDriver(std::vector<TStep> steps) : steps_(std::move(steps)) {
  current_ = this;
  timer_ = SetTimer(nullptr, 0, 30, Tick);
}

TDialogDriver::~TDialogDriver() {
  KillTimer(nullptr, timer_);
  current_ = nullptr;
  EXPECT_EQ(next_, steps_.size()) << "the dialog closed before every step ran";
}

void CALLBACK TDialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
  TDialogDriver* self = current_;
  if (!self || self->busy_) return;
  HWND dialog = ShownDialog();
  if (!dialog) return;
  if (self->next_ < self->steps_.size()) {
    self->busy_ = true;
    self->steps_[self->next_++](dialog);
    self->busy_ = false;
  } else if (++self->idle_ticks_ > 100) {
    ADD_FAILURE() << "the dialog stayed open after the last step";
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  }
}
