#include "language/KeywordFile.h"

#include "platform/FileSystem.h"

namespace {

constexpr std::size_t kMinimumLines = 5;

// Lines as a text file holds them: CR, LF or CR LF ends a line, and a break
// at the very end does not start another (empty) line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool IsTrimmed(unsigned char c) { return c <= 32; }

std::string_view Trim(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsTrimmed(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsTrimmed(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string AsciiLower(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return r;
}

// True when line, with ASCII letters upper-cased, equals header.
bool EqualsAsUpper(std::string_view line, std::string_view header) {
  if (line.size() != header.size()) return false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c != header[i]) return false;
  }
  return true;
}

// Finds the lines of one section. A missing header gives an empty range.
// With closing_bracket_ends the section ends only at a line that starts with
// "[" and also holds "]", so a lone "[" can be an entry of it.
TKeywordRange FindSection(const std::vector<std::string>& lines, std::string_view header,
                          bool closing_bracket_ends) {
  const int count = static_cast<int>(lines.size());
  int h = 0;
  while (h < count && !EqualsAsUpper(lines[static_cast<std::size_t>(h)], header)) ++h;
  if (h == count) return TKeywordRange{count + 1, count};
  int e = h + 1;
  while (e < count) {
    const std::string& line = lines[static_cast<std::size_t>(e)];
    if (!line.empty() && line[0] == '[' &&
        (!closing_bracket_ends || line.find(']') != std::string::npos)) {
      break;
    }
    ++e;
  }
  return TKeywordRange{h + 1, e - 1};
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseHelpId(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size()) return std::nullopt;
  std::uint64_t magnitude = 0;
  if (text[i] == '$') {
    ++i;
    if (i >= text.size()) return std::nullopt;
    for (; i < text.size(); ++i) {
      const int d = HexDigit(text[i]);
      if (d < 0) return std::nullopt;
      magnitude = magnitude * 16 + static_cast<std::uint64_t>(d);
      if (magnitude > 0xFFFFFFFFull) return std::nullopt;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    if (magnitude > 2147483648ull) return std::nullopt;
  }
  if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
  if (magnitude > 2147483647ull) return std::nullopt;
  return static_cast<std::int32_t>(magnitude);
}

std::optional<TKeywordData> ParseKeywordFile(std::string_view content) {
  const std::size_t nul = content.find('\0');
  if (nul != std::string_view::npos) content = content.substr(0, nul);

  std::vector<std::string> lines = SplitLines(content);
  if (lines.size() < kMinimumLines) return std::nullopt;

  for (std::string& line : lines) {
    for (char& ch : line) {
      const unsigned char c = static_cast<unsigned char>(ch);
      if (c >= 1 && c <= 31 && c != 10 && c != 13) ch = ' ';
    }
  }

  // Comment lines go first, then blank lines and lines with a comma; what
  // remains is kept trimmed.
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (std::string& line : lines) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    if (trimmed.find(',') != std::string_view::npos) continue;
    kept.emplace_back(trimmed);
  }

  TKeywordData data;
  data.commands = FindSection(kept, "[COMMANDS]", false);
  data.sysvars = FindSection(kept, "[SYSVARS]", false);
  data.vntkeywords = FindSection(kept, "[VNTKEYWORDS]", false);
  data.symbols = FindSection(kept, "[SYMBOLS]", true);

  data.help_ids.assign(kept.size(), 0);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    std::string& line = kept[i];
    const std::size_t eq = line.rfind('=');
    if (eq == std::string::npos) continue;
    const std::string_view value = Trim(std::string_view(line).substr(eq + 1));
    data.help_ids[i] = ParseHelpId(value).value_or(0);
    line = AsciiLower(Trim(std::string_view(line).substr(0, eq)));
  }
  data.keywords = std::move(kept);
  return data;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // Through the program's file system, which takes a folder of any name.
  try {
    return FileSystem().ReadWholeFile(path);
  } catch (const EFileError&) {
    return std::nullopt;
  }
}
