// A stand-in for Tera Term's macro interpreter: it appends its command line and
// the bytes of the macro file it was given to "ttpmacro.log" beside itself, so
// tests can check exactly what a run hands over.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string ModuleDirectory() {
  char path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\') + 1);
}

// The first argument of the command line after the program name, unquoted.
std::string MacroPath(const char* cmd) {
  std::string s(cmd);
  size_t i = 0;
  if (s[0] == '"') {
    i = s.find('"', 1);
    i = i == std::string::npos ? s.size() : i + 1;
  } else {
    i = s.find(' ');
    if (i == std::string::npos) i = s.size();
  }
  while (i < s.size() && s[i] == ' ') ++i;
  if (i >= s.size()) return "";
  if (s[i] == '"') {
    const size_t end = s.find('"', i + 1);
    return s.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
  }
  const size_t end = s.find(' ', i);
  return s.substr(i, end == std::string::npos ? std::string::npos : end - i);
}

}  // namespace

int main() {
  const char* cmd = GetCommandLineA();
  std::FILE* log = std::fopen((ModuleDirectory() + "ttpmacro.log").c_str(), "ab");
  if (!log) return 1;
  std::fprintf(log, "COMMAND %s\n", cmd);
  std::FILE* macro = std::fopen(MacroPath(cmd).c_str(), "rb");
  std::string bytes;
  if (macro) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, macro)) > 0) bytes.append(buf, n);
    std::fclose(macro);
  }
  std::fprintf(log, "MACRO %zu\n", bytes.size());
  std::fwrite(bytes.data(), 1, bytes.size(), log);
  std::fprintf(log, "\nEND\n");
  std::fclose(log);
  return 0;
}
