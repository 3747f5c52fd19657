#include "app/MacroRun.h"

#include "platform/Exception.h"
#include "platform/Prompts.h"

namespace {

constexpr int kTempFileNames = 128;

}  // namespace

std::string MacroFileBytes(std::string_view text, bool unicode) {
  std::string bytes = unicode ? "\xEF\xBB\xBF\r\n" : "\r\n";
  bytes.reserve(text.size() + 4);
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      bytes.append(text.substr(i));
      bytes += "\r\n";
      break;
    }
    bytes.append(text.substr(i, end - i));
    bytes += "\r\n";
    i = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return bytes;
}

std::string MacroParameters(const std::string& macro_path, const std::string& param2,
                            const std::string& param3) {
  return " \"" + macro_path + "\" " + param2 + " " + param3;
}

std::string MacroWorkingFolder(const std::string& document_path, const std::string& program_dir) {
  const std::size_t slash = document_path.find_last_of("\\/");
  if (slash == std::string::npos) return program_dir;
  // A drive's root keeps its backslash: "C:" alone names the drive's current folder.
  const bool root = slash == 0 || (slash == 2 && document_path[1] == ':');
  return document_path.substr(0, root ? slash + 1 : slash);
}

TMacroRunner::TMacroRunner(const TProgramDirectory& program_dir, IUserPrompts& prompts,
                           IMacroPlatform& platform)
    : program_dir_(program_dir), prompts_(prompts), platform_(platform) {}

bool TMacroRunner::FindMacroInterpreter() {
  interpreter_path_ = program_dir_.ProgramDirFile("TTPMACRO.EXE");
  if (platform_.FileExists(interpreter_path_)) return true;
  ShowError(prompts_, "TTPMACRO.EXE not found.\rPlease move Quillon.exe into TeraTerm directory.");
  return false;
}

std::string TMacroRunner::ProgramSubdirectory(const std::string& name, bool create) {
  std::string dir = program_dir_.ProgramDirFile(name);
  if (create && !platform_.DirectoryExists(dir) && !platform_.MakeDirectory(dir)) {
    ShowWarning(prompts_, "Cannot create directory" + dir);
    return std::string();
  }
  return dir;
}

void TMacroRunner::RunMacro(std::string_view text, const std::string& param2,
                            const std::string& param3, const std::string& document_path,
                            bool unicode) {
  if (!FindMacroInterpreter()) return;
  const std::string dir = ProgramSubdirectory("Temp_TTL", true);
  if (dir.empty()) {
    ShowError(prompts_, "Failed to create Temp_TTL direcory. Cannot execute the macro.");
    return;
  }
  if (temp_file_counter_ > kTempFileNames) temp_file_counter_ = 1;
  const std::string file =
      JoinProgramDir(dir, "~macroE" + std::to_string(temp_file_counter_) + ".ttl");
  ++temp_file_counter_;
  platform_.WriteNewFile(file, MacroFileBytes(text, unicode));
  platform_.StartProgram(interpreter_path_, MacroParameters(file, param2, param3),
                         MacroWorkingFolder(document_path, program_dir_.Directory()));
}

void TMacroRunner::DeleteTempMacroFiles() {
  const std::string dir = ProgramSubdirectory("Temp_TTL", false) + "\\";
  for (const char* pattern : {"~macroE*.ttl", "~TTiniE*.ini"}) {
    for (const std::string& file : platform_.FilesMatching(dir + pattern))
      platform_.RemoveFile(file);
  }
}
