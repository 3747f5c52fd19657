// The checker's entry point on Windows: arguments arrive as UTF-16 and files
// are opened through the wide file calls, so a macro of any name can be
// checked; the console gets UTF-16, a pipe or file UTF-8.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "TtlCheckRun.h"
#include "platform/FileSystem.h"

namespace {

std::string Utf8Of(const wchar_t* text, int size) {
  if (size <= 0) return {};
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, size, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

std::wstring WideOf(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int chars = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(chars), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), chars);
  return wide;
}

std::string SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD size = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = Utf8Of(buffer, static_cast<int>(size));
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// Reading and looking for files by UTF-8 name; the checker writes nothing,
// so every way of writing is refused.
class TWideFileSystem : public IFileSystem {
 public:
  std::string ReadWholeFile(const std::string& path) override {
    HANDLE file = CreateFileW(WideOf(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail(path);
    std::string content;
    char chunk[65536];
    DWORD got = 0;
    for (;;) {
      if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        throw EFileError(FileOpenErrorText(path, SystemErrorText(error)));
      }
      if (got == 0) break;
      content.append(chunk, got);
    }
    CloseHandle(file);
    return content;
  }
  std::unique_ptr<IOutputFile> CreateOutputFile(const std::string& path) override { Refuse(path); }
  std::unique_ptr<IOutputFile> CreateTempBeside(const std::string& target, std::string&) override {
    Refuse(target);
  }
  void ReplaceTarget(const std::string&, const std::string& target) override { Refuse(target); }
  std::unique_ptr<IOutputFile> OverwriteFile(const std::string& path) override { Refuse(path); }
  std::unique_ptr<IOutputFile> CreateBackupFile(const std::string& target, std::string&) override {
    Refuse(target);
  }
  bool RemoveFile(const std::string&) noexcept override { return false; }
  bool FileExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesW(WideOf(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool DirectoryExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesW(WideOf(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

 private:
  [[noreturn]] static void Refuse(const std::string& path) {
    throw EFileError(FileCreateErrorText(path, SystemErrorText(ERROR_ACCESS_DENIED)));
  }
  [[noreturn]] static void Fail(const std::string& path) {
    throw EFileError(FileOpenErrorText(path, SystemErrorText(GetLastError())));
  }
};

class TConsoleOutput : public ITtlCheckOutput {
 public:
  void Out(std::string_view line) override { Write(STD_OUTPUT_HANDLE, line); }
  void Err(std::string_view line) override { Write(STD_ERROR_HANDLE, line); }

 private:
  static void Write(DWORD which, std::string_view line) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    std::string text(line);
    text += "\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
      const std::wstring wide = WideOf(text);
      WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
      WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  TWideFileSystem files;
  SetFileSystem(&files);
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    arguments.push_back(Utf8Of(argv[i], static_cast<int>(wcslen(argv[i]))));
  }
  TConsoleOutput output;
  const int code = RunTtlCheck(arguments, output);
  SetFileSystem(nullptr);
  return code;
}
