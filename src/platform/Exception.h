#pragma once
// The program's errors: each carries the exact text the user is shown. The
// message loop catches them, shows an error box and carries on.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// printf-style formatting for message templates such as "Invalid stringlist index %d".
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
