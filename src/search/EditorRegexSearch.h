#pragma once
// The regular-expression search engine: the editor's search contract over
// TRegexMatcher, with group references in the replacement text.
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "search/EditorSearch.h"
#include "search/RegexMatcher.h"

class TEditorRegexSearch : public TEditorSearchCustom {
 public:
  TEditorRegexSearch();  // on the default code page
  explicit TEditorRegexSearch(const ICodePage& code_page);

  std::string GetPattern() const override { return matcher_.Expression(); }
  void SetPattern(const std::string& value) override { matcher_.SetExpression(value); }
  int LengthAt(int index) const override;
  int ResultAt(int index) const override;
  int ResultCount() const override { return static_cast<int>(positions_.size()); }
  // Only MatchCase concerns this engine; whole words are written as \bword\b.
  void SetOptions(TSearchOptionSet options) override;
  // Every match of the line, left to right and not overlapping; an empty match
  // counts as an occurrence of length 0.
  int FindAllInLine(std::string_view line) override;
  // Runs the expression over the occurrence alone and replaces each match in it
  // by the template with its group references filled in.
  std::string ReplacementText(const std::string& occurrence,
                              const std::string& replacement) override;
  void SetCodePage(const ICodePage& code_page) override { matcher_.SetCodePage(code_page); }

  TRegexMatcher& Matcher() { return matcher_; }

 private:
  TRegexMatcher matcher_;
  std::vector<int> positions_;
  std::vector<int> lengths_;
};
