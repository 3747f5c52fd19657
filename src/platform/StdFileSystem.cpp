// The portable file system: POSIX calls on Unix-like systems, plain C stdio
// elsewhere (the Windows program installs its own implementation at start-up,
// so the stdio branch there only serves tools and tests).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/FileSystem.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#else
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#endif

std::string FileOpenErrorText(const std::string& path, const std::string& reason) {
  return "Cannot open file \"" + path + "\". " + reason;
}

std::string FileCreateErrorText(const std::string& path, const std::string& reason) {
  return "Cannot create file \"" + path + "\". " + reason;
}

std::string FileWriteErrorText(const std::string& path, const std::string& reason) {
  return "Error writing file \"" + path + "\". " + reason;
}

std::string FileBackupNoteText(const std::string& backup_path) {
  return "\rThe previous content of the file is kept in \"" + backup_path + "\".";
}

std::string BackupFileName(const std::string& target, unsigned attempt) {
  const size_t slash = target.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return name + ".~" + std::to_string(attempt) + ".bak";
}

namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

// The name a temporary file gets beside `target`; `attempt` makes it unique.
std::string TempNameFor(const std::string& target, unsigned attempt) {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".~%u.tmp", attempt);
  return target + suffix;
}

#ifndef _WIN32

// A large file's block is touched page by page while it is read; with large
// pages the kernel takes one fault where it would otherwise take hundreds,
// which is most of the cost of loading a big file.
void AdviseLargePages(char* data, size_t size) {
#ifdef MADV_HUGEPAGE
  constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
  const auto begin = (reinterpret_cast<uintptr_t>(data) + kLargePage - 1) & ~(kLargePage - 1);
  const auto end = (reinterpret_cast<uintptr_t>(data) + size) & ~(kLargePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

class TPosixOutputFile : public IOutputFile {
 public:
  TPosixOutputFile(int fd, std::string display_name, bool sync_on_close)
      : fd_(fd), display_name_(std::move(display_name)), sync_on_close_(sync_on_close) {}
  ~TPosixOutputFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  void Write(const char* data, size_t size) override {
    while (size > 0) {
      const ssize_t written = ::write(fd_, data, size);
      if (written < 0) {
        if (errno == EINTR) continue;
        throw EFileError(FileWriteErrorText(display_name_, ErrnoText(errno)));
      }
      data += written;
      size -= static_cast<size_t>(written);
    }
  }

  void Close() override {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    // The new content must be on the disk before it replaces the old file, or a
    // crash right after the replace could leave an empty file behind.
    if (sync_on_close_ && ::fdatasync(fd) != 0 && errno != EINVAL) {
      const int error = errno;
      ::close(fd);
      throw EFileError(FileWriteErrorText(display_name_, ErrnoText(error)));
    }
    if (::close(fd) != 0 && errno != EINTR)
      throw EFileError(FileWriteErrorText(display_name_, ErrnoText(errno)));
  }

 private:
  int fd_;
  std::string display_name_;
  bool sync_on_close_;
};

// A symbolic link is written through, like an in-place overwrite would.
std::string ResolveTarget(const std::string& target) {
  struct stat st;
  if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(target.c_str(), resolved)) return resolved;
  }
  return target;
}

class TStdFileSystem : public IFileSystem {
 public:
  std::string ReadWholeFile(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EFileError(FileOpenErrorText(path, ErrnoText(errno)));
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
      ::close(fd);
      throw EFileError(FileOpenErrorText(path, ErrnoText(error)));
    }
    std::string content;
    auto read_some = [&](char* into, size_t room) -> size_t {
      for (;;) {
        const ssize_t got = ::read(fd, into, room);
        if (got >= 0) return static_cast<size_t>(got);
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd);
        throw EFileError(FileOpenErrorText(path, ErrnoText(error)));
      }
    };
    // A regular file is read in one piece into a block of its size; whatever
    // else there is (a pipe, or a file that grew meanwhile) follows in chunks.
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
      content.reserve(static_cast<size_t>(st.st_size));
      AdviseLargePages(content.data(), static_cast<size_t>(st.st_size));
      content.resize(static_cast<size_t>(st.st_size));
      size_t used = 0;
      while (used < content.size()) {
        const size_t got = read_some(content.data() + used, content.size() - used);
        if (got == 0) break;
        used += got;
      }
      content.resize(used);
    }
    char chunk[65536];
    while (const size_t got = read_some(chunk, sizeof chunk)) content.append(chunk, got);
    ::close(fd);
    return content;
  }

  std::unique_ptr<IOutputFile> CreateOutputFile(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw EFileError(FileCreateErrorText(path, ErrnoText(errno)));
    return std::make_unique<TPosixOutputFile>(fd, path, false);
  }

  std::unique_ptr<IOutputFile> CreateTempBeside(const std::string& target,
                                                std::string& temp_path) override {
    const std::string real = ResolveTarget(target);
    struct stat st;
    const bool exists = ::stat(real.c_str(), &st) == 0;
    if (exists) {
      if (S_ISDIR(st.st_mode)) throw EFileError(FileCreateErrorText(target, ErrnoText(EISDIR)));
      // Refuse what an overwrite in place would refuse (a read-only file), before
      // anything is created.
      const int probe = ::open(real.c_str(), O_WRONLY | O_CLOEXEC);
      if (probe < 0) throw EFileError(FileCreateErrorText(target, ErrnoText(errno)));
      ::close(probe);
    }
    for (unsigned attempt = static_cast<unsigned>(::getpid());; ++attempt) {
      const std::string name = TempNameFor(real, attempt);
      const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        const std::string text = FileCreateErrorText(target, ErrnoText(errno));
        if (exists) throw ESwapRefused(text);  // the file itself may still be written
        throw EFileError(text);
      }
      if (exists) {
        // The saved file keeps the old one's permissions (and owner, where allowed).
        (void)::fchmod(fd, st.st_mode & 07777);
        (void)!::fchown(fd, st.st_uid, st.st_gid);
      }
      temp_path = name;
      return std::make_unique<TPosixOutputFile>(fd, target, true);
    }
  }

  void ReplaceTarget(const std::string& temp_path, const std::string& target) override {
    const std::string real = ResolveTarget(target);
    if (::rename(temp_path.c_str(), real.c_str()) != 0)
      throw EFileError(FileCreateErrorText(target, ErrnoText(errno)));
    // Make the new directory entry durable too.
    const size_t slash = real.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : real.substr(0, slash + 1);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
      (void)::fsync(dfd);
      ::close(dfd);
    }
  }

  std::unique_ptr<IOutputFile> OverwriteFile(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) throw EFileError(FileCreateErrorText(path, ErrnoText(errno)));
    return std::make_unique<TPosixOutputFile>(fd, path, true);
  }

  std::unique_ptr<IOutputFile> CreateBackupFile(const std::string& target,
                                                std::string& backup_path) override {
    const char* tmp = std::getenv("TMPDIR");
    const std::string dir = tmp && *tmp ? tmp : "/tmp";
    for (unsigned attempt = 1;; ++attempt) {
      const std::string name = dir + "/" + BackupFileName(target, attempt);
      const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        throw EFileError(FileCreateErrorText(name, ErrnoText(errno)));
      }
      backup_path = name;
      return std::make_unique<TPosixOutputFile>(fd, name, true);
    }
  }

  bool RemoveFile(const std::string& path) noexcept override { return ::unlink(path.c_str()) == 0; }

  bool FileExists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
  }

  bool DirectoryExists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
};

#else  // _WIN32: plain stdio

class TStdioOutputFile : public IOutputFile {
 public:
  TStdioOutputFile(std::FILE* file, std::string display_name)
      : file_(file), display_name_(std::move(display_name)) {}
  ~TStdioOutputFile() override {
    if (file_) std::fclose(file_);
  }
  void Write(const char* data, size_t size) override {
    if (size > 0 && std::fwrite(data, 1, size, file_) != size)
      throw EFileError(FileWriteErrorText(display_name_, ErrnoText(errno)));
  }
  void Close() override {
    if (!file_) return;
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0)
      throw EFileError(FileWriteErrorText(display_name_, ErrnoText(errno)));
  }

 private:
  std::FILE* file_;
  std::string display_name_;
};

class TStdFileSystem : public IFileSystem {
 public:
  std::string ReadWholeFile(const std::string& path) override {
    if (DirectoryExists(path)) throw EFileError(FileOpenErrorText(path, ErrnoText(EACCES)));
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw EFileError(FileOpenErrorText(path, ErrnoText(errno)));
    std::string content;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) content.append(chunk, got);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) throw EFileError(FileOpenErrorText(path, ErrnoText(EIO)));
    return content;
  }

  std::unique_ptr<IOutputFile> CreateOutputFile(const std::string& path) override {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw EFileError(FileCreateErrorText(path, ErrnoText(errno)));
    return std::make_unique<TStdioOutputFile>(f, path);
  }

  std::unique_ptr<IOutputFile> CreateTempBeside(const std::string& target,
                                                std::string& temp_path) override {
    if (DirectoryExists(target)) throw EFileError(FileCreateErrorText(target, ErrnoText(EACCES)));
    if (FileExists(target)) {
      std::FILE* probe = std::fopen(target.c_str(), "r+b");
      if (!probe) throw EFileError(FileCreateErrorText(target, ErrnoText(errno)));
      std::fclose(probe);
    }
    for (unsigned attempt = 1;; ++attempt) {
      const std::string name = TempNameFor(target, attempt);
      if (FileExists(name)) continue;
      std::FILE* f = std::fopen(name.c_str(), "wb");
      if (!f) {
        const std::string text = FileCreateErrorText(target, ErrnoText(errno));
        if (FileExists(target)) throw ESwapRefused(text);
        throw EFileError(text);
      }
      temp_path = name;
      return std::make_unique<TStdioOutputFile>(f, target);
    }
  }

  std::unique_ptr<IOutputFile> OverwriteFile(const std::string& path) override {
    if (!FileExists(path)) throw EFileError(FileCreateErrorText(path, ErrnoText(ENOENT)));
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw EFileError(FileCreateErrorText(path, ErrnoText(errno)));
    return std::make_unique<TStdioOutputFile>(f, path);
  }

  std::unique_ptr<IOutputFile> CreateBackupFile(const std::string& target,
                                                std::string& backup_path) override {
    std::error_code ec;
    const std::string dir = std::filesystem::temp_directory_path(ec).string();
    for (unsigned attempt = 1;; ++attempt) {
      const std::string name = dir + "\\" + BackupFileName(target, attempt);
      if (FileExists(name)) continue;
      std::FILE* f = std::fopen(name.c_str(), "wb");
      if (!f) throw EFileError(FileCreateErrorText(name, ErrnoText(errno)));
      backup_path = name;
      return std::make_unique<TStdioOutputFile>(f, name);
    }
  }

  void ReplaceTarget(const std::string& temp_path, const std::string& target) override {
    std::error_code ec;
    std::filesystem::rename(temp_path, target, ec);
    if (ec) throw EFileError(FileCreateErrorText(target, ec.message()));
  }

  bool RemoveFile(const std::string& path) noexcept override {
    return std::remove(path.c_str()) == 0;
  }

  bool FileExists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IFDIR);
  }

  bool DirectoryExists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFDIR);
  }
};

#endif

IFileSystem* g_installed = nullptr;

}  // namespace

IFileSystem& StdFileSystem() {
  static TStdFileSystem instance;
  return instance;
}

IFileSystem& FileSystem() { return g_installed ? *g_installed : StdFileSystem(); }

void SetFileSystem(IFileSystem* file_system) { g_installed = file_system; }
