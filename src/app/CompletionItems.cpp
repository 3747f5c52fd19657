#include "app/CompletionItems.h"

#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlankOrControl(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankOrControl(s.back())) s.remove_suffix(1);
  return s;
}

std::string ExpandLineBreaks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t p = 0;
  while (p < s.size()) {
    if (s.compare(p, 4, "<CR>") == 0) {
      out += "\r\n";
      p += 4;
    } else {
      out += s[p++];
    }
  }
  return out;
}

void AddEntry(std::string_view raw, std::vector<TCompletionItem>& items) {
  const std::string_view line = Trim(raw);
  if (line.empty() || line[0] == '#' || line[0] == ';') return;
  const std::size_t sep = line.find("::");
  if (sep == std::string_view::npos || sep == 0) return;
  if (line.size() <= 3) return;
  const std::string text = ExpandLineBreaks(line);
  const std::size_t split = text.find("::");
  items.push_back({text.substr(0, split), text.substr(split + 2)});
}

}  // namespace

std::vector<TCompletionItem> ParseCompletionItems(std::string_view contents) {
  std::vector<TCompletionItem> items;
  std::size_t start = 0;
  while (start < contents.size()) {
    std::size_t end = contents.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = contents.size();
    AddEntry(contents.substr(start, end - start), items);
    if (end < contents.size() && contents[end] == '\r' && end + 1 < contents.size() &&
        contents[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
  return items;
}

std::optional<std::vector<TCompletionItem>> ReadCompletionItemFile(const std::string& path,
                                                                   bool* unicode) {
  // Through the program's file system, which takes a folder of any name.
  try {
    const TDecodedText decoded = DecodeText(FileSystem().ReadWholeFile(path));
    if (unicode) *unicode = IsUnicodeEncoding(decoded.Encoding);
    return ParseCompletionItems(decoded.Text);
  } catch (const EFileError&) {
    return std::nullopt;
  }
}
