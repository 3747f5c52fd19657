// The checker's entry point on Windows: arguments arrive as UTF-16 and files
// are opened through the program's wide file calls, so a macro of any name can
// be checked; the console gets UTF-16, a pipe or file UTF-8.
#include <windows.h>

#include <string>
#include <vector>

#include "TtlCheckRun.h"
#include "win32/WideString.h"
#include "win32/Win32FileSystem.h"

namespace {

class TConsoleOutput : public ITtlCheckOutput {
 public:
  void Out(std::string_view line) override { Write(STD_OUTPUT_HANDLE, line); }
  void Err(std::string_view line) override { Write(STD_ERROR_HANDLE, line); }

 private:
  static void Write(DWORD which, std::string_view line) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    std::string text(line);
    text += "\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
      const std::wstring wide = Wide(text);
      WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
      WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InstallWin32FileSystem();
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Utf8(argv[i]));
  TConsoleOutput output;
  return RunTtlCheck(arguments, output);
}
