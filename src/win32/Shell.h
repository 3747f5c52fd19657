#pragma once
// Small services of the Windows shell and the process. Paths are UTF-8.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The name the shell shows for a file (it may hide a known extension); the path
// itself when the shell cannot answer.
std::string ShellDisplayName(const std::string& path);

// Every path of a drop, each taken whole, however long.
std::vector<std::string> DroppedFiles(HDROP drop);

// The directory of the running executable, with a backslash at the end.
std::string ExecutableDirectory();
// The running executable's full path.
std::string ExecutablePath();

// The process's command-line arguments after the program name, as the shell split them.
std::vector<std::string> CommandLineArguments();

// Opens a document or link the way the shell does ("open" verb); false when
// that failed.
bool ShellOpen(const std::string& target);
