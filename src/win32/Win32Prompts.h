#pragma once
#include <windows.h>

#include "platform/Prompts.h"

// The real message boxes and file dialogs, owned by the given window.
class TWin32Prompts : public IUserPrompts {
 public:
  explicit TWin32Prompts(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  int Message(const std::string& text, const std::string& caption, TMessageKind kind,
              TMessageButtons buttons) override;
  std::optional<std::string> OpenFile(const TFileDialogOptions& options) override;
  std::optional<std::string> SaveFile(const TFileDialogOptions& options) override;

 private:
  std::optional<std::string> RunFileDialog(const TFileDialogOptions& options, bool save);
  HWND owner_;
};
