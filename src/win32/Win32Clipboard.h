#pragma once
// The system clipboard, opened on behalf of one window.
#include <windows.h>

#include "platform/Clipboard.h"

class TWin32Clipboard : public IClipboard {
 public:
  explicit TWin32Clipboard(HWND owner) : owner_(owner) {}
  unsigned RegisterFormat(const std::string& name) override;
  bool Open() override;
  void Close() override;
  bool Empty() override;
  bool SetData(unsigned format, std::string_view bytes) override;
  bool HasFormat(unsigned format) override;
  std::optional<std::string> GetData(unsigned format) override;

 private:
  HWND owner_;
};
