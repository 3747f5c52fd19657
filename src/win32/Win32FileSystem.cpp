#include "win32/Win32FileSystem.h"

#include <windows.h>

#include <cstdio>

#include "win32/WideString.h"

namespace {

std::string LastErrorText() { return Win32SystemErrorText(GetLastError()); }

bool Exists(const std::string& path, bool directory) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == directory;
}

class TWin32OutputFile : public IOutputFile {
 public:
  TWin32OutputFile(HANDLE handle, std::string display_name, bool flush_on_close)
      : handle_(handle), display_name_(std::move(display_name)), flush_on_close_(flush_on_close) {}
  ~TWin32OutputFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  void Write(const char* data, size_t size) override {
    while (size > 0) {
      const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(handle_, data, chunk, &written, nullptr) || written == 0)
        throw EFileError(FileWriteErrorText(display_name_, LastErrorText()));
      data += written;
      size -= written;
    }
  }

  void Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    // The content must be on the disk before it takes the old file's place.
    if (flush_on_close_ && !FlushFileBuffers(handle)) {
      const std::string reason = LastErrorText();
      CloseHandle(handle);
      throw EFileError(FileWriteErrorText(display_name_, reason));
    }
    if (!CloseHandle(handle)) throw EFileError(FileWriteErrorText(display_name_, LastErrorText()));
  }

 private:
  HANDLE handle_;
  std::string display_name_;
  bool flush_on_close_;
};

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

[[noreturn]] void ThrowTempRefused(const std::string& target, bool target_exists,
                                   const std::string& reason) {
  const std::string text = FileCreateErrorText(target, reason);
  if (target_exists) throw ESwapRefused(text);
  throw EFileError(text);
}

class TWin32FileSystem : public IFileSystem {
 public:
  std::string ReadWholeFile(const std::string& path) override {
    HANDLE h =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFileError(FileOpenErrorText(path, LastErrorText()));
    std::string content;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h, &size) && size.QuadPart > 0)
      content.reserve(static_cast<size_t>(size.QuadPart));
    char chunk[65536];
    for (;;) {
      // Large reads go straight into the block; the chunk catches the tail.
      DWORD got = 0;
      const size_t room = content.capacity() - content.size();
      if (room >= sizeof chunk) {
        const size_t old = content.size();
        const DWORD want = room > 0x40000000 ? 0x40000000 : static_cast<DWORD>(room);
        content.resize(old + want);
        const BOOL ok = ReadFile(h, content.data() + old, want, &got, nullptr);
        content.resize(old + (ok ? got : 0));
        if (!ok) {
          const std::string reason = LastErrorText();
          CloseHandle(h);
          throw EFileError(FileOpenErrorText(path, reason));
        }
      } else {
        if (!ReadFile(h, chunk, sizeof chunk, &got, nullptr)) {
          const std::string reason = LastErrorText();
          CloseHandle(h);
          throw EFileError(FileOpenErrorText(path, reason));
        }
        content.append(chunk, got);
      }
      if (got == 0) break;
    }
    CloseHandle(h);
    return content;
  }

  std::unique_ptr<IOutputFile> CreateOutputFile(const std::string& path) override {
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFileError(FileCreateErrorText(path, LastErrorText()));
    return std::make_unique<TWin32OutputFile>(h, path, false);
  }

  std::unique_ptr<IOutputFile> CreateTempBeside(const std::string& target,
                                                std::string& temp_path) override {
    const std::wstring wide_target = Wide(target);
    const DWORD attributes = GetFileAttributesW(wide_target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      // A read-only file is refused outright: not every file system beneath the
      // program refuses its opening for writing.
      if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
        throw EFileError(FileCreateErrorText(target, Win32SystemErrorText(ERROR_ACCESS_DENIED)));
      // Refuse what an overwrite in place would refuse (a read-only file, a file
      // another program holds without sharing), before anything is created.
      HANDLE probe = CreateFileW(wide_target.c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (probe == INVALID_HANDLE_VALUE)
        throw EFileError(FileCreateErrorText(target, LastErrorText()));
      CloseHandle(probe);
    }
    // From here on an existing target may be written: a refusal only concerns
    // the new file, and the caller may still overwrite the target in place.
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A name of our own rather than the system's temporary names, which are
    // limited to short folder paths.
    const std::string dir = DirectoryOf(target);
    const std::string separator = !dir.empty() && (dir.back() == '\\' || dir.back() == '/') ? "" : "\\";
    static unsigned counter = 0;
    for (unsigned attempt = 0;; ++attempt) {
      char unique[40];
      std::snprintf(unique, sizeof unique, "~qln%08lx%04x.tmp",
                    static_cast<unsigned long>(GetTickCount() ^ GetCurrentProcessId()),
                    ++counter & 0xFFFF);
      const std::string name = dir + separator + unique;
      HANDLE h = CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        temp_path = name;
        return std::make_unique<TWin32OutputFile>(h, target, true);
      }
      const DWORD error = GetLastError();
      if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 1000)
        ThrowTempRefused(target, exists, Win32SystemErrorText(error));
    }
  }

  void ReplaceTarget(const std::string& temp_path, const std::string& target) override {
    if (Exists(target, false)) {
      // A program holding the target without delete sharing blocks any swap;
      // asking first spares the replace a half-done attempt.
      HANDLE probe = CreateFileW(Wide(target).c_str(), DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION)
        throw ESwapRefused(FileCreateErrorText(target, LastErrorText()));
      if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
      // Keeps the target's attributes, security and creation time.
      if (ReplaceFileW(Wide(target).c_str(), Wide(temp_path).c_str(), nullptr,
                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return;
      const DWORD error = GetLastError();
      const std::string text = FileCreateErrorText(target, Win32SystemErrorText(error));
      // Both still there: the swap was refused (say, another program holds the
      // target without delete sharing), which an overwrite in place may not be.
      if (Exists(target, false) && Exists(temp_path, false)) throw ESwapRefused(text);
      // Only when the old file is already gone may the new one simply move in.
      if (Exists(target, false) || !Exists(temp_path, false)) throw EFileError(text);
    }
    if (!MoveFileExW(Wide(temp_path).c_str(), Wide(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      throw EFileError(FileCreateErrorText(target, LastErrorText()));
  }

  std::unique_ptr<IOutputFile> OverwriteFile(const std::string& path) override {
    // Shared like the probe of CreateTempBeside, so what passed it is not refused here.
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFileError(FileCreateErrorText(path, LastErrorText()));
    return std::make_unique<TWin32OutputFile>(h, path, true);
  }

  std::unique_ptr<IOutputFile> CreateBackupFile(const std::string& target,
                                                std::string& backup_path) override {
    wchar_t wide_dir[MAX_PATH + 2];
    const DWORD length = GetTempPathW(MAX_PATH + 1, wide_dir);
    if (length == 0 || length > MAX_PATH + 1)
      throw EFileError(FileCreateErrorText(target, LastErrorText()));
    const std::string dir = Utf8(std::wstring_view(wide_dir, length));
    for (unsigned attempt = 1;; ++attempt) {
      const std::string name = dir + BackupFileName(target, attempt);
      HANDLE h = CreateFileW(Wide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        backup_path = name;
        return std::make_unique<TWin32OutputFile>(h, name, true);
      }
      const DWORD error = GetLastError();
      if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 10000)
        throw EFileError(FileCreateErrorText(name, Win32SystemErrorText(error)));
    }
  }

  bool RemoveFile(const std::string& path) noexcept override {
    return DeleteFileW(Wide(path).c_str()) != 0;
  }

  bool FileExists(const std::string& path) override { return Exists(path, false); }
  bool DirectoryExists(const std::string& path) override { return Exists(path, true); }
};

}  // namespace

std::string Win32SystemErrorText(unsigned long code) {
  // Wide, so a system speaking another language gives its text whole.
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string result;
  if (length && text) result = Utf8(std::wstring_view(text, length));
  if (text) LocalFree(text);
  while (!result.empty() &&
         (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
    result.pop_back();
  if (result.empty()) {
    char fallback[40];
    std::snprintf(fallback, sizeof fallback, "System error %lu.", code);
    result = fallback;
  }
  return result;
}

std::unique_ptr<IFileSystem> CreateWin32FileSystem() {
  return std::make_unique<TWin32FileSystem>();
}

void InstallWin32FileSystem() {
  static TWin32FileSystem instance;
  SetFileSystem(&instance);
}
