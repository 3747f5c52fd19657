#pragma once
// The command line of the macro checker: ttlcheck [--werror] FILE...
#include <string>
#include <string_view>
#include <vector>

// Where the program writes, UTF-8 text, one line per call (no line break).
class ITtlCheckOutput {
 public:
  virtual ~ITtlCheckOutput() = default;
  virtual void Out(std::string_view line) = 0;
  virtual void Err(std::string_view line) = 0;
};

// Exit codes.
inline constexpr int kTtlCheckClean = 0;
inline constexpr int kTtlCheckProblems = 1;    // an error, or a warning under --werror
inline constexpr int kTtlCheckUnreadable = 2;  // a file could not be read, or a bad command line

// Checks every file named by the arguments (without the program name; UTF-8
// paths) and prints one line per problem; returns the exit code.
int RunTtlCheck(const std::vector<std::string>& arguments, ITtlCheckOutput& output);
