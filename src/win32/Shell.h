#pragma once
// Small services of the Windows shell and the process.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The name the shell shows for a file (it may hide a known extension); the path
// itself when the shell cannot answer.
std::string ShellDisplayName(const std::string& path);

// Every path of a drop, each taken whole, however long.
std::vector<std::string> DroppedFiles(HDROP drop);

// The directory of the running executable.
std::string ExecutableDirectory();

// The process's command-line arguments after the program name, as the shell split them.
std::vector<std::string> CommandLineArguments();
