#include "FailingFileSystem.h"

namespace {

const char kTempMarker[] = ".~save";
const char kTempFolder[] = "TEMP\\";

class TMemoryOutputFile : public IOutputFile {
 public:
  TMemoryOutputFile(TFailingFileSystem& fs, std::string path, std::string display_name)
      : fs_(fs), path_(std::move(path)), display_name_(std::move(display_name)) {}

  void Write(const char* data, size_t size) override {
    fs_.WriteSizes.push_back(size);
    std::string& content = fs_.Files[path_];
    if (fs_.FailWriteAfterBytes >= 0 && (fs_.FailWritesTo.empty() || fs_.FailWritesTo == path_) &&
        written_ + static_cast<long long>(size) > fs_.FailWriteAfterBytes) {
      // Part of the data reaches the disk before it runs full.
      const size_t room = static_cast<size_t>(fs_.FailWriteAfterBytes - written_);
      content.append(data, room);
      written_ += static_cast<long long>(room);
      throw EFileError(FileWriteErrorText(display_name_, fs_.FailReason));
    }
    content.append(data, size);
    written_ += static_cast<long long>(size);
  }

  void Close() override {
    if (fs_.FailClose) throw EFileError(FileWriteErrorText(display_name_, fs_.FailReason));
  }

 private:
  TFailingFileSystem& fs_;
  std::string path_;
  std::string display_name_;
  long long written_ = 0;
};

}  // namespace

std::vector<std::string> TFailingFileSystem::TempFiles() const {
  std::vector<std::string> result;
  for (const auto& [path, content] : Files)
    if (path.find(kTempMarker) != std::string::npos) result.push_back(path);
  return result;
}

std::vector<std::string> TFailingFileSystem::BackupFiles() const {
  std::vector<std::string> result;
  for (const auto& [path, content] : Files)
    if (path.rfind(kTempFolder, 0) == 0) result.push_back(path);
  return result;
}

std::string TFailingFileSystem::ReadWholeFile(const std::string& path) {
  if (Directories.count(path)) throw EFileError(FileOpenErrorText(path, "Access is denied."));
  auto it = Files.find(path);
  if (it == Files.end())
    throw EFileError(FileOpenErrorText(path, "The system cannot find the file specified."));
  return it->second;
}

std::unique_ptr<IOutputFile> TFailingFileSystem::Open(const std::string& path,
                                                      const std::string& display_name) {
  Files[path].clear();
  return std::make_unique<TMemoryOutputFile>(*this, path, display_name);
}

std::unique_ptr<IOutputFile> TFailingFileSystem::CreateOutputFile(const std::string& path) {
  if (FailCreate || Directories.count(path) || ReadOnlyFiles.count(path))
    throw EFileError(FileCreateErrorText(path, "Access is denied."));
  return Open(path, path);
}

std::unique_ptr<IOutputFile> TFailingFileSystem::CreateTempBeside(const std::string& target,
                                                                  std::string& temp_path) {
  if (FailCreate || Directories.count(target) || ReadOnlyFiles.count(target))
    throw EFileError(FileCreateErrorText(target, "Access is denied."));
  if (RefuseNewFiles) {
    const std::string text = FileCreateErrorText(target, "Access is denied.");
    if (Files.count(target)) throw ESwapRefused(text);
    throw EFileError(text);
  }
  ++TempFilesCreated;
  temp_path = target + kTempMarker + std::to_string(TempFilesCreated);
  return Open(temp_path, target);
}

void TFailingFileSystem::ReplaceTarget(const std::string& temp_path, const std::string& target) {
  if (FailReplace || Directories.count(target) || ReadOnlyFiles.count(target))
    throw EFileError(FileCreateErrorText(target, "Access is denied."));
  if (RefuseSwap && Files.count(target))
    throw ESwapRefused(FileCreateErrorText(
        target, "The process cannot access the file because it is being used by another process."));
  auto it = Files.find(temp_path);
  if (it == Files.end())
    throw EFileError(FileCreateErrorText(target, "The system cannot find the file specified."));
  Files[target] = std::move(it->second);
  Files.erase(temp_path);
  ++Replacements;
}

std::unique_ptr<IOutputFile> TFailingFileSystem::OverwriteFile(const std::string& path) {
  if (FailCreate || ReadOnlyFiles.count(path) || !Files.count(path))
    throw EFileError(FileCreateErrorText(path, "Access is denied."));
  return Open(path, path);
}

std::unique_ptr<IOutputFile> TFailingFileSystem::CreateBackupFile(const std::string& target,
                                                                  std::string& backup_path) {
  for (unsigned attempt = 1;; ++attempt) {
    const std::string name = kTempFolder + BackupFileName(target, attempt);
    if (Files.count(name)) continue;
    if (FailBackup) throw EFileError(FileCreateErrorText(name, FailReason));
    backup_path = name;
    return Open(name, name);
  }
}

bool TFailingFileSystem::RemoveFile(const std::string& path) noexcept {
  return Files.erase(path) > 0;
}

bool TFailingFileSystem::FileExists(const std::string& path) { return Files.count(path) > 0; }

bool TFailingFileSystem::DirectoryExists(const std::string& path) {
  return Directories.count(path) > 0;
}
