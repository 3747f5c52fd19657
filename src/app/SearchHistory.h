#pragma once
// The drop-down histories of the Find and Replace dialogs: how they are kept
// as text between uses, and how a confirmed text joins them.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/CodePage.h"

// How many entries a history keeps from one use of a dialog to the next.
inline constexpr std::size_t kSearchHistoryLimit = 10;

// The entries of a history text whose lines are separated by CR LF; an empty
// text is an empty list. A line break at the very end adds no empty entry.
std::vector<std::string> HistoryEntries(const std::string& text);

// The first kSearchHistoryLimit entries joined with CR LF, nothing after the last.
std::string HistoryText(const std::vector<std::string>& entries);

// Puts a confirmed text at the top of the entries. An entry that differs from
// it only in letter case (as the code page folds it) gives way to the text as
// now typed, so no two entries differ only in case. An empty text changes
// nothing. The list itself is not cut to the limit.
void RememberInHistory(std::vector<std::string>& entries, const std::string& text,
                       const ICodePage& code_page);
