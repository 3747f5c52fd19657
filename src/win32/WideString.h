#pragma once
// The edge between the program's strings and the system's wide ("W")
// functions: names, paths, parameters and messages are UTF-8 inside the
// program and UTF-16 outside it.
#include <string>
#include <string_view>

// UTF-8 to UTF-16; a byte that is not part of valid UTF-8 becomes U+FFFD.
std::wstring Wide(std::string_view utf8);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view wide);
// A NUL-terminated wide string (nullptr gives "").
std::string Utf8(const wchar_t* wide);

// UTF-8 to the system's ANSI code page and back, for the places that still
// speak it (a character the code page lacks becomes "?").
std::string AnsiFromUtf8(std::string_view utf8);
std::string Utf8FromAnsi(std::string_view ansi);
// Text in the ANSI code page to UTF-16.
std::wstring WideFromAnsi(std::string_view ansi);
