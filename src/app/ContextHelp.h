#pragma once
// Context help on the keyword under the caret (Ctrl+F1 in the editor).
#include <cstdint>
#include <optional>
#include <string>

class TTtlHighlighter;

// The help-topic number for the word at the caret, or, when there is none, for
// the selected text; 0 for a word the keyword file does not list. nullopt when
// both are empty and nothing is to be shown.
std::optional<std::int32_t> ContextHelpId(const std::string& word_at_caret,
                                          const std::string& selected_text,
                                          const TTtlHighlighter& highlighter);
