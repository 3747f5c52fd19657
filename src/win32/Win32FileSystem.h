#pragma once
// The file system of the Windows program: wide file calls on UTF-8 paths (any
// character, long paths where Windows allows them), reads that let other
// programs keep the file open for reading and writing, and saves that go through
// a temporary file in the target's directory.
#include <memory>
#include <string>

#include "platform/FileSystem.h"

std::unique_ptr<IFileSystem> CreateWin32FileSystem();

// Makes the Windows implementation the program's file system for the rest of
// the run. Called once at start-up.
void InstallWin32FileSystem();

// The system's text for an error code, without the trailing line break.
std::string Win32SystemErrorText(unsigned long code);
