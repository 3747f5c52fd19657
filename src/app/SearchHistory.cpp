#include "app/SearchHistory.h"

#include <algorithm>

namespace {

std::string Folded(const std::string& text, const ICodePage& code_page) {
  std::string folded = text;
  // The whole text at once, so a double-byte code page can step over its
  // trail bytes.
  if (!folded.empty()) code_page.LowerBuffer(folded.data(), folded.size());
  return folded;
}

}  // namespace

std::vector<std::string> HistoryEntries(const std::string& text) {
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (start < text.size()) {
    // A lone CR or LF also ends a line, so a history written by hand or by an
    // older copy of the settings never shows a stray control character.
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      entries.push_back(text.substr(start));
      break;
    }
    entries.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return entries;
}

std::string HistoryText(const std::vector<std::string>& entries) {
  std::string text;
  const std::size_t count = std::min(entries.size(), kSearchHistoryLimit);
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += "\r\n";
    text += entries[i];
  }
  return text;
}

void RememberInHistory(std::vector<std::string>& entries, const std::string& text,
                       const ICodePage& code_page) {
  if (text.empty()) return;
  const std::string key = Folded(text, code_page);
  const auto found = std::find_if(entries.begin(), entries.end(), [&](const std::string& entry) {
    return entry.size() == text.size() && Folded(entry, code_page) == key;
  });
  if (found != entries.end()) entries.erase(found);
  entries.insert(entries.begin(), text);
}
