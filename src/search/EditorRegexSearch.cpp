#include "search/EditorRegexSearch.h"

TEditorRegexSearch::TEditorRegexSearch() = default;

TEditorRegexSearch::TEditorRegexSearch(const ICodePage& code_page) : matcher_(code_page) {}

// Indexes outside the results give 0 rather than reading beyond the lists.
int TEditorRegexSearch::LengthAt(int index) const {
  if (index < 0 || index >= ResultCount()) return 0;
  return lengths_[static_cast<std::size_t>(index)];
}

int TEditorRegexSearch::ResultAt(int index) const {
  if (index < 0 || index >= ResultCount()) return 0;
  return positions_[static_cast<std::size_t>(index)];
}

void TEditorRegexSearch::SetOptions(TSearchOptionSet options) {
  matcher_.SetModifierI(!options.Contains(TSearchOption::MatchCase));
}

int TEditorRegexSearch::FindAllInLine(std::string_view line) {
  positions_.clear();
  lengths_.clear();
  // The line is searched where it lies; the matcher lets go of it before this
  // returns, error or not, since the line may change right after.
  struct Release {
    TRegexMatcher& matcher;
    ~Release() { matcher.ReleaseInput(); }
  } release{matcher_};
  bool found = matcher_.ExecBorrowed(line);
  while (found) {
    positions_.push_back(matcher_.MatchPos(0));
    lengths_.push_back(matcher_.MatchLen(0));
    found = matcher_.ExecNext();
  }
  return ResultCount();
}

std::string TEditorRegexSearch::ReplacementText(const std::string& occurrence,
                                                const std::string& replacement) {
  return matcher_.Replace(occurrence, replacement);
}
