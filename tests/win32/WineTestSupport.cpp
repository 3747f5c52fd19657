#include "win32/WineTestSupport.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/Registry.h"
#include "win32/Win32FileSystem.h"

#ifndef QUILLON_DATA_DIR
#define QUILLON_DATA_DIR "."
#endif

namespace {

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = dir + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

}  // namespace

TTempDir::TTempDir() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    path_ = std::string(base) + "quillon-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

TTempDir::~TTempDir() { RemoveTree(path_); }

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExistsOnDisk(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void CopyDataFile(const std::string& name, const std::string& dir) {
  // The source tree is reached through Wine's Z: drive.
  std::string source = std::string("Z:") + QUILLON_DATA_DIR + "/" + name;
  for (char& c : source) {
    if (c == '/') c = '\\';
  }
  CopyFileA(source.c_str(), (dir + "\\" + name).c_str(), FALSE);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

HDROP MakeDrop(const std::vector<std::string>& files) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const auto& f : files) size += f.size() + 1;
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  char* p = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
  for (const auto& f : files) {
    std::memcpy(p, f.c_str(), f.size() + 1);
    p += f.size() + 1;
  }
  GlobalUnlock(mem);
  return static_cast<HDROP>(mem);
}

std::string WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthA(hwnd);
  std::string s(n + 1, '\0');
  GetWindowTextA(hwnd, s.data(), n + 1);
  s.resize(n);
  return s;
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
