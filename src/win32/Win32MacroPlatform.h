#pragma once
// Files, directories and the shell as a macro run uses them on Windows.
#include "app/MacroRun.h"

class TWin32MacroPlatform final : public IMacroPlatform {
 public:
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool MakeDirectory(const std::string& path) override;
  void WriteNewFile(const std::string& path, const std::string& bytes) override;
  std::vector<std::string> FilesMatching(const std::string& pattern) override;
  bool RemoveFile(const std::string& path) override;
  void StartProgram(const std::string& program, const std::string& parameters,
                    const std::string& working_folder) override;
};
