#include "win32/Shell.h"

#include <shellapi.h>

#include "win32/WideString.h"

std::string ShellDisplayName(const std::string& path) {
  SHFILEINFOW info{};
  if (SHGetFileInfoW(Wide(path).c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) &&
      info.szDisplayName[0])
    return Utf8(info.szDisplayName);
  return path;
}

std::vector<std::string> DroppedFiles(HDROP drop) {
  std::vector<std::string> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(copied);
    files.push_back(Utf8(path));
  }
  return files;
}

std::string ExecutableDirectory() {
  // Long enough for any path Windows can start a program from.
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (n == 0 || n >= path.size()) return "";
  path.resize(n);
  const auto slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::string() : Utf8(path.substr(0, slash + 1));
}

std::string ExecutablePath() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (n == 0 || n >= path.size()) return "";
  path.resize(n);
  return Utf8(path);
}

std::vector<std::string> CommandLineArguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8(argv[i]));
  LocalFree(argv);
  return args;
}

bool ShellOpen(const std::string& target) {
  return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", Wide(target).c_str(), nullptr,
                                                 nullptr, SW_SHOWNORMAL)) > 32;
}
