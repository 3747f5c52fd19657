#include "app/ContextHelp.h"

#include "language/TtlHighlighter.h"

std::optional<std::int32_t> ContextHelpId(const std::string& word_at_caret,
                                          const std::string& selected_text,
                                          const TTtlHighlighter& highlighter) {
  std::string word = word_at_caret.empty() ? selected_text : word_at_caret;
  if (word.empty()) return std::nullopt;
  for (char& c : word) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return highlighter.HelpIdOf(word);
}
