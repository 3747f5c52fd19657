// A stand-in for Tera Term's macro interpreter: it appends its command line,
// the folder it was started in and the bytes of the macro file it was given to
// "ttpmacro.log" beside itself, so tests can check exactly what a run hands
// over. Names and the command line are logged in UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring ModuleDirectory() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring CurrentFolder() {
  std::wstring folder(32768, L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

// The first argument of the command line after the program name, unquoted.
std::wstring MacroPath(const std::wstring& s) {
  size_t i = 0;
  if (!s.empty() && s[0] == L'"') {
    i = s.find(L'"', 1);
    i = i == std::wstring::npos ? s.size() : i + 1;
  } else {
    i = s.find(L' ');
    if (i == std::wstring::npos) i = s.size();
  }
  while (i < s.size() && s[i] == L' ') ++i;
  if (i >= s.size()) return L"";
  if (s[i] == L'"') {
    const size_t end = s.find(L'"', i + 1);
    return s.substr(i + 1, end == std::wstring::npos ? std::wstring::npos : end - i - 1);
  }
  const size_t end = s.find(L' ', i);
  return s.substr(i, end == std::wstring::npos ? std::wstring::npos : end - i);
}

}  // namespace

int main() {
  const std::wstring cmd = GetCommandLineW();
  std::FILE* log = _wfopen((ModuleDirectory() + L"ttpmacro.log").c_str(), L"ab");
  if (!log) return 1;
  std::fprintf(log, "COMMAND %s\n", Utf8(cmd).c_str());
  std::fprintf(log, "FOLDER %s\n", Utf8(CurrentFolder()).c_str());
  std::FILE* macro = _wfopen(MacroPath(cmd).c_str(), L"rb");
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
