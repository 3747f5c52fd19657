#pragma once
// The few file operations the portable code needs. The program installs the
// Windows implementation at start-up; native builds use the portable one, and
// tests install fakes that make a write, a create or a replace fail.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/Exception.h"

// Any failure to open, create, write or replace a file. The message names the
// file the user asked for (never a temporary name) and ends with the system's
// reason, e.g. `Cannot open file "C:\a.ttl". Access is denied.`
class EFileError : public Exception {
 public:
  using Exception::Exception;
};

// The safe way of saving is refused although the target itself may be
// written: no new file can be made beside it (a folder without the right to
// create files), or it cannot be swapped (another program holds it open
// without delete sharing). The caller may then overwrite the target in place.
class ESwapRefused : public EFileError {
 public:
  using EFileError::EFileError;
};

// Message texts shared by every implementation.
std::string FileOpenErrorText(const std::string& path, const std::string& reason);
std::string FileCreateErrorText(const std::string& path, const std::string& reason);
std::string FileWriteErrorText(const std::string& path, const std::string& reason);
// Added to an error of an overwrite in place: where the old content still is.
std::string FileBackupNoteText(const std::string& backup_path);
// The file name (no folder) of the backup of `target`; `attempt` from 1 makes it unique.
std::string BackupFileName(const std::string& target, unsigned attempt);

// A file being written. Destroying it without Close() closes it quietly
// (used when a save is abandoned after an error).
class IOutputFile {
 public:
  virtual ~IOutputFile() = default;
  // Appends all bytes or throws EFileError with the write error text.
  virtual void Write(const char* data, size_t size) = 0;
  // Pushes the content to the disk and closes the file; throws EFileError on failure.
  virtual void Close() = 0;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // The whole content of an existing file, opened so that other programs may go
  // on reading and writing it meanwhile. Throws EFileError "Cannot open file ...".
  virtual std::string ReadWholeFile(const std::string& path) = 0;

  // Creates (or truncates) a file for writing. Throws EFileError "Cannot create file ...".
  virtual std::unique_ptr<IOutputFile> CreateOutputFile(const std::string& path) = 0;

  // Prepares a safe overwrite of `target`: checks that an existing target may be
  // written (a read-only file or a directory fails here, before anything is
  // touched), then creates a new empty temporary file in the target's directory
  // and returns it, with its path in temp_path. Errors name the target:
  // EFileError "Cannot create file ...". Write errors of the returned file also
  // name the target. When the target exists and may be written but no
  // temporary file can be made beside it, the error is an ESwapRefused.
  virtual std::unique_ptr<IOutputFile> CreateTempBeside(const std::string& target,
                                                        std::string& temp_path) = 0;

  // Puts the closed temporary file in place of target in one step, keeping the
  // target's attributes where the platform allows. On failure the target is as it
  // was and EFileError "Cannot create file ..." (naming target) is thrown, an
  // ESwapRefused when both files are still there; the temporary file is left
  // for the caller to remove.
  virtual void ReplaceTarget(const std::string& temp_path, const std::string& target) = 0;

  // Opens an existing file for writing and empties it, keeping the file itself
  // (attributes, links, permissions) and sharing it like ReadWholeFile does.
  // Throws EFileError "Cannot create file ..." with the file untouched.
  virtual std::unique_ptr<IOutputFile> OverwriteFile(const std::string& path) = 0;

  // Creates a new file in the user's temporary folder, named after target's
  // file name, to hold a copy of target's old content; its path goes to
  // backup_path. Throws EFileError "Cannot create file ...".
  virtual std::unique_ptr<IOutputFile> CreateBackupFile(const std::string& target,
                                                        std::string& backup_path) = 0;

  // Removes a file; false when it could not be removed. Never throws.
  virtual bool RemoveFile(const std::string& path) noexcept = 0;

  virtual bool FileExists(const std::string& path) = 0;  // exists and is not a directory
  virtual bool DirectoryExists(const std::string& path) = 0;
};

// The file system in use: the installed one, else the portable default.
IFileSystem& FileSystem();
// Installs an implementation (not owned; it must outlive its use). nullptr
// restores the portable default.
void SetFileSystem(IFileSystem* file_system);
// The portable implementation (stdio/POSIX).
IFileSystem& StdFileSystem();
