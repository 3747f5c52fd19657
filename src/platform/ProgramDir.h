#pragma once
// The directory of the running executable: every data file, the interpreter and
// the temporary-macro folder are found there, never in the current directory.
#include <string>

// dir joined with name, with a backslash inserted only when dir lacks one.
std::string JoinProgramDir(const std::string& dir, const std::string& name);

class TProgramDirectory {
 public:
  explicit TProgramDirectory(std::string directory) : directory_(std::move(directory)) {}
  const std::string& Directory() const { return directory_; }
  std::string ProgramDirFile(const std::string& name) const {
    return JoinProgramDir(directory_, name);
  }

 private:
  std::string directory_;
};
