#include "app/MacroTemplates.h"

#include "platform/TextEncoding.h"

namespace {

constexpr std::string_view kHeader = "[MACRO_TEMPLATE ";

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return upper;
}

// Headers are found whatever their case and indentation.
bool IsHeader(std::string_view line) {
  std::size_t b = 0, e = line.size();
  while (b < e && static_cast<unsigned char>(line[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(line[e - 1]) <= 32) --e;
  return Upper(line.substr(b, e - b)).starts_with(kHeader);
}

// The text that follows the first "[" by the header's length, up to the next
// "]" or the end of the line; case and inner spaces kept.
std::string HeaderName(std::string_view line) {
  const std::size_t start = line.find('[') + kHeader.size();
  if (start >= line.size()) return std::string();
  const std::size_t close = line.find(']', start);
  return std::string(line.substr(start, close == std::string_view::npos ? close : close - start));
}

}  // namespace

std::vector<std::string_view> SplitTemplateLines(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t i = 0;
  while (i < content.size()) {
    const std::size_t end = content.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      lines.push_back(content.substr(i));
      break;
    }
    lines.push_back(content.substr(i, end - i));
    i = end +
        (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

TMacroTemplates ParseMacroTemplates(std::string_view content) {
  TMacroTemplates templates;
  const std::vector<std::string_view> lines = SplitTemplateLines(content);
  std::string* body = nullptr;  // of the template being collected
  for (std::size_t n = 0; n < lines.size(); ++n) {
    if (!IsHeader(lines[n])) {
      if (body) {
        body->append(lines[n]);
        *body += "\r\n";
      }
      continue;
    }
    TTemplateMenuItem item;
    item.caption = HeaderName(lines[n]);
    item.header_line = static_cast<int>(n);
    item.separator = Upper(item.caption) == "SEPARATOR";
    body = nullptr;
    if (!item.separator) {
      item.template_index = static_cast<int>(templates.bodies.size());
      body = &templates.bodies.emplace_back();
    }
    templates.items.push_back(std::move(item));
  }
  return templates;
}

std::string TemplateInsertion(const std::string& body, bool caret_in_first_column) {
  return (caret_in_first_column ? "" : "\r\n") + body + "\r\n";
}

TMacroTemplates ReadMacroTemplates(std::string file_bytes) {
  const TDecodedText decoded = DecodeText(std::move(file_bytes));
  TMacroTemplates templates = ParseMacroTemplates(decoded.Text);
  templates.unicode = IsUnicodeEncoding(decoded.Encoding);
  return templates;
}
