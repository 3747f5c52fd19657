#pragma once
// A clipboard in memory, shared by the editors that are given it; it can be
// told to fail each step, and holds blocks exactly as set (tests put broken
// blocks there on purpose).
#include <map>
#include <string>

#include "platform/Clipboard.h"

class TMemoryClipboard : public IClipboard {
 public:
  std::map<unsigned, std::string> blocks;
  // Formats whose block "cannot be locked".
  std::map<unsigned, bool> unreadable;
  bool fail_open = false;
  bool fail_set = false;
  bool is_open = false;
  int opens = 0;

  unsigned RegisterFormat(const std::string& name) override;
  bool Open() override;
  void Close() override { is_open = false; }
  bool Empty() override;
  bool SetData(unsigned format, std::string_view bytes) override;
  bool HasFormat(unsigned format) override { return blocks.count(format) != 0; }
  std::optional<std::string> GetData(unsigned format) override;

 private:
  std::map<std::string, unsigned> names_;
};
