#include "win32/Win32MacroPlatform.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/FileSystem.h"

namespace {

bool HasAttributes(const std::string& path, bool directory) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && ((a & FILE_ATTRIBUTE_DIRECTORY) != 0) == directory;
}

}  // namespace

bool TWin32MacroPlatform::FileExists(const std::string& path) { return HasAttributes(path, false); }

bool TWin32MacroPlatform::DirectoryExists(const std::string& path) {
  return HasAttributes(path, true);
}

bool TWin32MacroPlatform::MakeDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

void TWin32MacroPlatform::WriteNewFile(const std::string& path, const std::string& bytes) {
  auto file = FileSystem().CreateOutputFile(path);
  file->Write(bytes.data(), bytes.size());
  file->Close();
}

std::vector<std::string> TWin32MacroPlatform::FilesMatching(const std::string& pattern) {
  std::vector<std::string> found;
  const std::size_t slash = pattern.find_last_of("\\/");
  const std::string dir = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) found.push_back(dir + data.cFileName);
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return found;
}

bool TWin32MacroPlatform::RemoveFile(const std::string& path) {
  // A read-only or hidden leftover goes too.
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) != 0;
}

void TWin32MacroPlatform::ShellOpen(const std::string& file, const std::string& parameters) {
  ShellExecuteA(nullptr, "open", file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}
