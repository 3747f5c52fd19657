#include "TtlCheckRun.h"

#include "language/MacroChecker.h"
#include "language/MacroReport.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

namespace {

constexpr const char* kUsage = "usage: ttlcheck [--werror] FILE...";

// The folder a path names its file in; "." for a bare file name.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  if (slash == 0) return path.substr(0, 1);
  return path.substr(0, slash);
}

}  // namespace

int RunTtlCheck(const std::vector<std::string>& arguments, ITtlCheckOutput& output) {
  bool werror = false;
  bool options_done = false;
  std::vector<std::string> files;
  for (const std::string& argument : arguments) {
    if (options_done || argument.empty() || argument[0] != '-' || argument == "-") {
      files.push_back(argument);
    } else if (argument == "--") {
      options_done = true;
    } else if (argument == "--werror") {
      werror = true;
    } else if (argument == "--help" || argument == "-h") {
      output.Out(kUsage);
      output.Out(
          "Checks Tera Term macro files; prints FILE(LINE,COL): error|warning TTLnnn: message");
      output.Out(
          "Exit code: 0 clean, 1 errors (or warnings with --werror), 2 a file cannot be read");
      return kTtlCheckClean;
    } else {
      output.Err("ttlcheck: unknown option " + argument);
      output.Err(kUsage);
      return kTtlCheckUnreadable;
    }
  }
  if (files.empty()) {
    output.Err(kUsage);
    return kTtlCheckUnreadable;
  }

  bool unreadable = false;
  bool failed = false;
  for (const std::string& path : files) {
    TDecodedText file;
    try {
      // Read in the encoding the interpreter would read it in.
      file = DecodeText(FileSystem().ReadWholeFile(path));
    } catch (const EFileError& error) {
      output.Err("ttlcheck: " + error.Message());
      unreadable = true;
      continue;
    }
    TMacroCheckOptions options;
    options.macro_folder = FolderOf(path);
    options.utf8 = IsUnicodeEncoding(file.Encoding);
    const TMacroTextLines lines(file.Text);
    const TMacroCheckResult result = CheckMacro(lines, options);
    for (const TMacroProblem& problem : result.problems) {
      output.Out(FormatMacroProblem(path, problem, lines.Line(problem.line), options.utf8));
    }
    if (result.errors > 0 || (werror && result.warnings > 0)) failed = true;
  }
  if (unreadable) return kTtlCheckUnreadable;
  return failed ? kTtlCheckProblems : kTtlCheckClean;
}
