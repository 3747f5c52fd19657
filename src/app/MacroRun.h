#pragma once
// Running the macro: the text, or its lines up to the caret, goes to a fresh
// file in "Temp_TTL" beside the program, and Tera Term's interpreter
// TTPMACRO.EXE, which must sit beside the program too, is started on it with
// the two tool-bar parameters. The program neither waits nor reads anything back.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProgramDir.h"

class IUserPrompts;

// What a run needs from the platform.
class IMacroPlatform {
 public:
  virtual ~IMacroPlatform() = default;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Creates one directory level; false when it could not be created.
  virtual bool MakeDirectory(const std::string& path) = 0;
  // Creates or replaces the file with these bytes; throws EFileError.
  virtual void WriteNewFile(const std::string& path, const std::string& bytes) = 0;
  // Full paths of the files matching a wildcard pattern ("dir\~macroE*.ttl").
  virtual std::vector<std::string> FilesMatching(const std::string& pattern) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Starts a program in the given working folder with its path, quoted, then
  // the parameters on its command line; does not wait for it, and a failure
  // to start is not reported.
  virtual void StartProgram(const std::string& program, const std::string& parameters,
                            const std::string& working_folder) = 0;
};

// The bytes of a temporary macro file: an empty first line, then the text's
// lines (split at CR, LF or CR LF), each ending in CR LF. The editor's line k
// is line k + 1 of the file. The text of a Unicode document is UTF-8 and goes
// after a UTF-8 byte-order mark, so that the interpreter reads it as UTF-8
// whatever it holds; an ANSI document's bytes go as they are.
std::string MacroFileBytes(std::string_view text, bool unicode = false);
// The interpreter's parameters: the quoted macro path, then both values
// exactly as typed, each after one space.
std::string MacroParameters(const std::string& macro_path, const std::string& param2,
                            const std::string& param3);

// The folder a macro runs in: the folder of the document being edited, so that
// "include" and other relative paths in it mean what they mean when the user
// runs the macro from there; the program's folder for an unnamed document.
std::string MacroWorkingFolder(const std::string& document_path, const std::string& program_dir);

class TMacroRunner {
 public:
  TMacroRunner(const TProgramDirectory& program_dir, IUserPrompts& prompts,
               IMacroPlatform& platform);

  // Looks for TTPMACRO.EXE beside the program; tells the user when it is not there.
  bool FindMacroInterpreter();
  // The program's subdirectory name, created (one level) when asked and
  // missing; "" with a warning when it cannot be created.
  std::string ProgramSubdirectory(const std::string& name, bool create);
  // Writes text (lines joined by CR LF) to the next temporary file and starts
  // the interpreter on it in the document's folder (document_path empty for
  // an unnamed document). A write error propagates after the counter moved on.
  // unicode: the text is a Unicode document's UTF-8.
  void RunMacro(std::string_view text, const std::string& param2, const std::string& param3,
                const std::string& document_path, bool unicode = false);
  // Removes the temporary macro and settings files the runs left (at exit).
  void DeleteTempMacroFiles();

  const std::string& MacroInterpreterPath() const { return interpreter_path_; }
  int TempFileCounter() const { return temp_file_counter_; }

 private:
  const TProgramDirectory& program_dir_;
  IUserPrompts& prompts_;
  IMacroPlatform& platform_;
  std::string interpreter_path_;
  int temp_file_counter_ = 1;
};
