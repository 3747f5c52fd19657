#include "win32/Win32MacroPlatform.h"

#include <windows.h>

#include "platform/FileSystem.h"
#include "win32/WideString.h"

namespace {

bool HasAttributes(const std::string& path, bool directory) {
  const DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && ((a & FILE_ATTRIBUTE_DIRECTORY) != 0) == directory;
}

}  // namespace

bool TWin32MacroPlatform::FileExists(const std::string& path) { return HasAttributes(path, false); }

bool TWin32MacroPlatform::DirectoryExists(const std::string& path) {
  return HasAttributes(path, true);
}

bool TWin32MacroPlatform::MakeDirectory(const std::string& path) {
  return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0;
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
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(Wide(pattern).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      found.push_back(dir + Utf8(data.cFileName));
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return found;
}

bool TWin32MacroPlatform::RemoveFile(const std::string& path) {
  // A read-only or hidden leftover goes too.
  const std::wstring wide = Wide(path);
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileW(wide.c_str()) != 0;
}

void TWin32MacroPlatform::StartProgram(const std::string& program, const std::string& parameters,
                                       const std::string& working_folder) {
  // Parameters may hold any character; the interpreter gets them as typed.
  const std::wstring application = Wide(program);
  std::wstring command_line = Wide("\"" + program + "\"" + parameters);
  const std::wstring folder = Wide(working_folder);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    // The interpreter runs on its own; the editor keeps no hold on it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}
