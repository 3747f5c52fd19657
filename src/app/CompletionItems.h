#pragma once
// The completion item file: one entry per line, the text to insert, "::",
// then the text to show (in the pretty-text notation). "<CR>" stands for a
// line break in either part.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TCompletionItem {
  std::string InsertText;
  std::string DisplayText;
  friend bool operator==(const TCompletionItem&, const TCompletionItem&) = default;
};

// The entries of a file's contents, in file order. Comment lines (";" or "#"),
// lines without "::" or starting with it, and lines of 3 characters or fewer
// are skipped.
std::vector<TCompletionItem> ParseCompletionItems(std::string_view contents);

// The entries of the file at `path`, or nullopt when it cannot be read. The
// file's encoding is found as a macro file's is; *unicode tells whether the
// entries are UTF-8 (else they are in the ANSI code page).
std::optional<std::vector<TCompletionItem>> ReadCompletionItemFile(const std::string& path,
                                                                   bool* unicode = nullptr);
