#include "language/MacroIncludes.h"

#include <unordered_map>

#include "platform/FileSystem.h"

namespace {

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 128) return false;
  }
  return true;
}

}  // namespace

std::string IncludedFilePath(const std::string& folder, const std::string& name) {
  if (name.empty()) return "";
  const bool windows_folder = HasDrive(folder) || folder.find('\\') != std::string::npos;
  if (HasDrive(name)) return windows_folder ? name : "";
  if (name[0] == '\\') return windows_folder ? name : "";
  if (name[0] == '/') return name;
  if (folder.empty()) return "";
  const char separator = windows_folder ? '\\' : '/';
  std::string relative = name;
  if (!windows_folder) {
    for (char& c : relative) {
      if (c == '\\') c = '/';
    }
  }
  std::string path = folder;
  if (!IsSeparator(path.back())) path += separator;
  return path + relative;
}

void CheckMacroIncludes(const std::vector<TMacroInclude>& includes, const std::string& folder,
                        bool utf8, IFileSystem& files, std::vector<TMacroProblem>& problems) {
  std::unordered_map<std::string, bool> exists;
  for (const TMacroInclude& include : includes) {
    if (!utf8 && !IsAscii(include.name)) continue;
    const std::string path = IncludedFilePath(folder, include.name);
    if (path.empty()) continue;
    auto it = exists.find(path);
    if (it == exists.end()) it = exists.emplace(path, files.FileExists(path)).first;
    if (it->second) continue;
    problems.push_back(MakeMacroProblem(TMacroProblemCode::IncludeNotFound, include.line,
                                        include.column, include.length,
                                        "included file '" + include.name + "' not found"));
  }
}
