// The command-line checker as it ships beside Quillon.exe, on files whose
// names the ANSI code page cannot spell.
#include <gtest/gtest.h>

#include <string>

#include "WineTestSupport.h"

#ifndef QUILLON_TTLCHECK
#define QUILLON_TTLCHECK "ttlcheck.exe"
#endif

namespace {

std::wstring WideOf(const std::string& text, UINT code_page) {
  const int size =
      MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Utf8Of(const std::wstring& wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                      nullptr, nullptr);
  return text;
}

void WriteWideNamedFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// Runs the checker with a command line; returns its exit code and what it
// wrote to its output (through a pipe, as a build tool reads it).
DWORD RunTtlCheck(const std::wstring& arguments, std::string& output) {
  std::string exe = std::string("Z:") + QUILLON_TTLCHECK;
  for (char& c : exe) {
    if (c == '/') c = '\\';
  }
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return 0xFFFFFFFF;
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  std::wstring command = L"\"" + WideOf(exe, CP_ACP) + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(write_end);
  DWORD code = 0xFFFFFFFF;
  if (started) {
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(read_end, chunk, sizeof chunk, &got, nullptr) && got > 0) {
      output.append(chunk, got);
    }
    WaitForSingleObject(process.hProcess, 10000);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(read_end);
  return code;
}

TEST(TtlCheckProgram, ChecksMacrosWhoseNamesHoldAnyCharacter) {
  TTempDir dir;
  const std::wstring folder = WideOf(dir.Path(), CP_ACP);
  const std::wstring macro = folder + L"\\\u00FCber \u65E5\u672C.ttl";
  const std::wstring library = folder + L"\\\u0394\u03B9\u03B1.ttl";
  WriteWideNamedFile(macro, "include '\xCE\x94\xCE\xB9\xCE\xB1.ttl'\r\nif a then\r\n");
  WriteWideNamedFile(library, "x = 1\r\n");

  std::string output;
  EXPECT_EQ(RunTtlCheck(L"\"" + macro + L"\"", output), 1u);
  EXPECT_EQ(output, Utf8Of(macro) + "(2,1): error TTL010: 'if' without its 'endif'\r\n");

  output.clear();
  EXPECT_EQ(RunTtlCheck(L"\"" + library + L"\"", output), 0u);
  EXPECT_EQ(output, "");

  output.clear();
  EXPECT_EQ(RunTtlCheck(L"\"" + folder + L"\\\u00FCber.ttl\"", output), 2u);
  EXPECT_NE(output.find("Cannot open file"), std::string::npos) << output;
}

}  // namespace
