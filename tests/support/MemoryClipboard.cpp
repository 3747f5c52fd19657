#include "support/MemoryClipboard.h"

unsigned TMemoryClipboard::RegisterFormat(const std::string& name) {
  auto it = names_.find(name);
  if (it != names_.end()) return it->second;
  const unsigned id = 0xC000 + static_cast<unsigned>(names_.size());
  names_[name] = id;
  return id;
}

bool TMemoryClipboard::Open() {
  if (fail_open || is_open) return false;
  is_open = true;
  ++opens;
  return true;
}

bool TMemoryClipboard::Empty() {
  if (!is_open) return false;
  blocks.clear();
  return true;
}

bool TMemoryClipboard::SetData(unsigned format, std::string_view bytes) {
  if (!is_open || fail_set) return false;
  blocks[format] = std::string(bytes);
  return true;
}

std::optional<std::string> TMemoryClipboard::GetData(unsigned format) {
  if (!is_open) return std::nullopt;
  auto it = blocks.find(format);
  if (it == blocks.end() || unreadable[format]) return std::nullopt;
  return it->second;
}
