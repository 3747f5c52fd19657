#pragma once
// Moving between a macro's labels: "Go to label" from a goto or call (or a
// label line) to the label's definition, "Go back" to where the jump came
// from, the "Labels" list with its filter, and completing the name after
// goto and call. The labels are those the macro checker read.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorTypes.h"
#include "language/MacroLineReader.h"
#include "language/MacroProblem.h"

class TCustomEditor;

// Moves the caret to a place (selecting nothing); a line out of view comes
// into the middle of the window.
void ShowPlace(TCustomEditor& editor, TBufferCoord place);

// The label a line points at, given its facts and the name it uses: the
// target of its goto or call, or the label it defines. Empty for any other line.
std::string LabelNamedBy(const TMacroLineFacts& facts, const std::string& name);

// The label that counts for a name: its first definition (names compare
// without regard to case). Nothing when the file has none.
std::optional<TMacroLabel> FindLabel(const std::vector<TMacroLabel>& labels, std::string_view name);

// The places jumps left, so that "Go back" can return; the oldest are
// forgotten beyond a limit.
class TJumpHistory {
 public:
  static constexpr std::size_t kLimit = 100;
  void Push(TBufferCoord from);
  std::optional<TBufferCoord> Pop();
  bool Empty() const { return places_.empty(); }
  void Clear() { places_.clear(); }

 private:
  std::vector<TBufferCoord> places_;
};

// The labels whose names hold the filter (without regard to case), in file
// order; every label for an empty filter.
std::vector<std::size_t> FilterLabels(const std::vector<TMacroLabel>& labels,
                                      std::string_view filter);

// Whether the token starting at 1-based byte `token_start` of a line is the
// name after a goto or call statement word.
bool CompletesLabel(std::string_view line, int token_start);

// The completion list's entries for labels: each name once, in file order,
// shown with the line it is defined on.
struct TCompletionLists {
  std::vector<std::string> inserts;
  std::vector<std::string> displays;  // pretty text
};
TCompletionLists LabelCompletionLists(const std::vector<TMacroLabel>& labels);
