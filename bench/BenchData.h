#pragma once
// Generated inputs for the benchmarks, and the outside baselines they are
// measured against in the same run.
#include <string>

// A realistic TTL macro of the given number of lines (about 40 bytes a line):
// connects, waits for prompts, sends commands, loops, with comments, labels,
// strings, tabs and indentation.
std::string GenerateTtlText(int lines);

// Writes content to a file in the system's temporary directory; returns its path.
std::string WriteBenchFile(const std::string& name, const std::string& content);

// Wall-clock seconds of a shell command (run with its output discarded), best of runs.
double TimeShellCommand(const std::string& command, int runs = 3);

// Resident set size of this process in bytes (0 where unknown).
long long ResidentBytes();
