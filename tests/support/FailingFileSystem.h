#pragma once
// An in-memory file system for tests that can make creating, writing, closing
// or replacing a file fail, the way a full disk or a locked file would.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

class TFailingFileSystem : public IFileSystem {
 public:
  // The files, by path. A temporary file being written shows up here too.
  std::map<std::string, std::string> Files;
  std::set<std::string> Directories;
  std::set<std::string> ReadOnlyFiles;  // exist in Files but refuse writing

  // Knobs.
  long long FailWriteAfterBytes =
      -1;                    // an output file takes this many bytes, then fails; -1: never
  std::string FailWritesTo;  // when set, only writes to this path fail
  bool FailCreate = false;   // creating any output or temporary file fails
  bool FailClose = false;    // closing an output file fails
  bool FailReplace = false;  // replacing a target fails
  // The folder lets existing files be written but refuses new ones beside them.
  bool RefuseNewFiles = false;
  // Another program holds the targets without delete sharing: no swap.
  bool RefuseSwap = false;
  bool FailBackup = false;  // no backup file can be made in the temporary folder
  std::string FailReason = "There is not enough space on the disk.";

  // What happened.
  std::vector<size_t> WriteSizes;  // size of every Write call, in order
  int TempFilesCreated = 0;
  int Replacements = 0;

  // Paths in Files that look like temporary files of a save.
  std::vector<std::string> TempFiles() const;
  // Paths in Files that lie in the user's temporary folder.
  std::vector<std::string> BackupFiles() const;

  std::string ReadWholeFile(const std::string& path) override;
  std::unique_ptr<IOutputFile> CreateOutputFile(const std::string& path) override;
  std::unique_ptr<IOutputFile> CreateTempBeside(const std::string& target,
                                                std::string& temp_path) override;
  void ReplaceTarget(const std::string& temp_path, const std::string& target) override;
  std::unique_ptr<IOutputFile> OverwriteFile(const std::string& path) override;
  std::unique_ptr<IOutputFile> CreateBackupFile(const std::string& target,
                                                std::string& backup_path) override;
  bool RemoveFile(const std::string& path) noexcept override;
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;

 private:
  std::unique_ptr<IOutputFile> Open(const std::string& path, const std::string& display_name);
};

// Installs a file system for the life of a scope, then restores the previous one.
class TScopedFileSystem {
 public:
  explicit TScopedFileSystem(IFileSystem& fs) : previous_(&FileSystem()) { SetFileSystem(&fs); }
  ~TScopedFileSystem() { SetFileSystem(previous_ == &StdFileSystem() ? nullptr : previous_); }
  TScopedFileSystem(const TScopedFileSystem&) = delete;
  TScopedFileSystem& operator=(const TScopedFileSystem&) = delete;

 private:
  IFileSystem* previous_;
};
