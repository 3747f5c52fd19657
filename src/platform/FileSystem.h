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

// Message texts shared by every implementation.
std::string FileOpenErrorText(const std::string& path, const std::string& reason);
std::string FileCreateErrorText(const std::string& path, const std::string& reason);
std::string FileWriteErrorText(const std::string& path, const std::string& reason);

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
  // name the target.
  virtual std::unique_ptr<IOutputFile> CreateTempBeside(const std::string& target,
                                                        std::string& temp_path) = 0;

  // Puts the closed temporary file in place of target in one step, keeping the
  // target's attributes where the platform allows. On failure the target is as it
  // was and EFileError "Cannot create file ..." (naming target) is thrown; the
  // temporary file is left for the caller to remove.
  virtual void ReplaceTarget(const std::string& temp_path, const std::string& target) = 0;

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
