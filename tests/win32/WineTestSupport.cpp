#include "win32/WineTestSupport.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include "platform/Registry.h"
#include "win32/WideString.h"
#include "win32/Win32FileSystem.h"

#ifndef QUILLON_DATA_DIR
#define QUILLON_DATA_DIR "."
#endif

namespace {

std::wstring W(const std::string& utf8) { return Wide(utf8); }

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(W(dir + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = Utf8(found.cFileName);
      if (name == "." || name == "..") continue;
      const std::string path = dir + "\\" + name;
      SetFileAttributesW(W(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileW(W(path).c_str());
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  RemoveDirectoryW(W(dir).c_str());
}

}  // namespace

TTempDir::TTempDir(const std::string& name) {
  wchar_t base[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, base);
  static int counter = 0;
  for (;;) {
    path_ = Utf8(base) + "quillon-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    if (CreateDirectoryW(W(path_).c_str(), nullptr)) break;
  }
  if (!name.empty()) {
    path_ += "\\" + name;
    CreateDirectoryW(W(path_).c_str(), nullptr);
  }
}

TTempDir::~TTempDir() { RemoveTree(path_.substr(0, path_.find('\\', path_.find("quillon-test-")))); }

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(W(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE h = CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(h);
  return bytes;
}

bool FileExistsOnDisk(const std::string& path) {
  const DWORD a = GetFileAttributesW(W(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void CopyDataFile(const std::string& name, const std::string& dir) {
  // The source tree is reached through Wine's Z: drive.
  std::string source = std::string("Z:") + QUILLON_DATA_DIR + "/" + name;
  for (char& c : source) {
    if (c == '/') c = '\\';
  }
  CopyFileW(W(source).c_str(), W(dir + "\\" + name).c_str(), FALSE);
}

void PumpMessages() {
  // As the program's own loop does: wide, and the system converts for the
  // ANSI windows.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HDROP MakeDrop(const std::vector<std::string>& files) {
  // As the shell makes it: wide names, each ending in a NUL, one more at the end.
  std::wstring names;
  for (const auto& f : files) names += W(f) + L'\0';
  names += L'\0';
  const size_t size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
              names.size() * sizeof(wchar_t));
  GlobalUnlock(mem);
  return static_cast<HDROP>(mem);
}

std::string WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring s(n + 1, L'\0');
  s.resize(GetWindowTextW(hwnd, s.data(), n + 1));
  return Utf8(s);
}

void PutClipboardUnicodeText(HWND owner, std::u16string_view text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  auto* p = static_cast<char16_t*>(GlobalLock(block));
  std::memcpy(p, text.data(), text.size() * sizeof(char16_t));
  p[text.size()] = 0;
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

std::u16string ClipboardUnicodeText(HWND owner) {
  std::u16string text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const char16_t*>(GlobalLock(block));
    GlobalUnlock(block);
  }
  CloseClipboard();
  return text;
}

void ClearSettingsKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKeyPath); }

// Every test runs with the program's own file system and common controls.
namespace {
struct ProgramEnvironment {
  ProgramEnvironment() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    InstallWin32FileSystem();
  }
} program_environment;
}  // namespace

HWND MakeTestParentWindow(const char* class_name, int x, int y, int width, int height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = class_name;
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, class_name, "parent", WS_OVERLAPPEDWINDOW, x, y, width, height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(parent, SW_SHOW);
  return parent;
}
