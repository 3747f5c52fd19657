#pragma once
// The keyword file: the macro language's words in four families, each with the
// help context number that context help opens.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A (first, last) pair of 0-based indexes into the keyword list; empty when
// first > last.
struct TKeywordRange {
  int first = 0;
  int last = -1;
  bool Contains(int index) const { return index >= first && index <= last; }
  bool Empty() const { return first > last; }
  friend bool operator==(const TKeywordRange&, const TKeywordRange&) = default;
};

struct TKeywordData {
  // One entry per retained line, in file order, section headers included.
  // Entries with "=" hold the lower-case word before the last "=".
  std::vector<std::string> keywords;
  // Parallel to keywords: the help context number of each entry (0 if none).
  std::vector<std::int32_t> help_ids;
  TKeywordRange commands;
  TKeywordRange sysvars;
  TKeywordRange vntkeywords;
  TKeywordRange symbols;
};

// The file name looked for in the program directory.
inline constexpr const char* kKeywordFileName = "KeyFile.ini";

// Shown once at start-up when the keyword file is missing or rejected.
inline constexpr const char* kKeywordFileMissingMessage =
    "The file 'KeyFile.ini' was not found in application directory.\r"
    "Syntax highlighting and context sensitive help functions will be disabled.";

// Processes the text of a keyword file. nullopt when it has fewer than 5
// lines (counted before comments, blank lines and comma lines are dropped).
std::optional<TKeywordData> ParseKeywordFile(std::string_view content);

// A help ID as the keyword file writes it: optional sign, then decimal digits,
// or "$" and hexadecimal digits (up to 32 bits, taken as the bit pattern).
// nullopt for anything else, including decimal values outside 32 bits.
std::optional<std::int32_t> ParseHelpId(std::string_view text);

// The bytes of a file; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);
