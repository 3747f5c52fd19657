#include "win32/WideString.h"

#include <windows.h>

namespace {

std::wstring ToWide(UINT code_page, std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(code_page, 0, text.data(), size, out.data(), n);
  return out;
}

std::string FromWide(UINT code_page, std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(code_page, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(code_page, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring Wide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }

std::string Utf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

std::string Utf8(const wchar_t* wide) {
  return wide ? Utf8(std::wstring_view(wide)) : std::string();
}

std::string AnsiFromUtf8(std::string_view utf8) { return FromWide(CP_ACP, Wide(utf8)); }

std::string Utf8FromAnsi(std::string_view ansi) { return Utf8(ToWide(CP_ACP, ansi)); }

std::wstring WideFromAnsi(std::string_view ansi) { return ToWide(CP_ACP, ansi); }
