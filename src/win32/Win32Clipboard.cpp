#include "win32/Win32Clipboard.h"

#include <cstring>

unsigned TWin32Clipboard::RegisterFormat(const std::string& name) {
  return RegisterClipboardFormatA(name.c_str());
}

bool TWin32Clipboard::Open() {
  // Another program may hold the clipboard for a moment.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner_)) return true;
    Sleep(10);
  }
  return false;
}

void TWin32Clipboard::Close() { CloseClipboard(); }

bool TWin32Clipboard::Empty() { return EmptyClipboard() != FALSE; }

bool TWin32Clipboard::SetData(unsigned format, std::string_view bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes.size() == 0 ? 1 : bytes.size());
  if (!block) return false;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return false;
  }
  if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
  GlobalUnlock(block);
  if (!SetClipboardData(format, block)) {
    GlobalFree(block);
    return false;
  }
  return true;
}

bool TWin32Clipboard::HasFormat(unsigned format) { return IsClipboardFormatAvailable(format); }

std::optional<std::string> TWin32Clipboard::GetData(unsigned format) {
  HANDLE block = GetClipboardData(format);
  if (!block) return std::nullopt;
  const SIZE_T size = GlobalSize(block);
  const void* p = GlobalLock(block);
  if (!p) return std::nullopt;
  std::string bytes(static_cast<const char*>(p), size);
  GlobalUnlock(block);
  return bytes;
}
