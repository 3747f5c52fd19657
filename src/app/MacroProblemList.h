#pragma once
// The problems the last check found in the open document, kept on their
// lines while lines are inserted and removed until the next check: what the
// status bar counts, what "Next problem" and "Previous problem" step through
// and what the tool tip over a mark says.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "editor/EditorRangeMarks.h"
#include "language/MacroProblem.h"

class TCustomEditor;

// "1 error, 2 warnings", "3 errors", "1 warning"; empty when there is none.
std::string MacroProblemStatusText(int errors, int warnings);

// The editor marks the problems from here: errors are kind 0, warnings 1.
class TMacroProblemList : public IEditorRangeMarks {
 public:
  static constexpr int kErrorMark = 0;
  static constexpr int kWarningMark = 1;

  // problems sorted by line, then column. Gives back the problems held
  // before.
  std::vector<TMacroProblem> Assign(std::vector<TMacroProblem> problems);
  // The same with the problems already counted.
  std::vector<TMacroProblem> Assign(std::vector<TMacroProblem> problems, int errors, int warnings);

  // 0-based line indexes, as the line buffer reports them.
  void LinesInserted(int index, int count);
  void LinesDeleted(int index, int count);

  const std::vector<TMacroProblem>& Problems() const { return problems_; }
  bool Empty() const { return problems_.empty(); }
  int Errors() const { return errors_; }
  int Warnings() const { return warnings_; }
  std::string StatusText() const { return MacroProblemStatusText(errors_, warnings_); }

  // The problem after a place (0-based line, byte column), or before it when
  // backwards; past the last one it starts again at the first (and before
  // the first at the last). Nothing when there is no problem.
  std::optional<std::size_t> Next(int line, int column, bool backwards) const;

  // The messages of the problems under a byte column of a line, one per
  // line of text; column -1 asks for every problem of the line (the gutter).
  // A problem that covers no character (at a line's end) is under the column
  // where it stands and every column after it.
  std::string MessagesAt(int line, int column) const;

  void MarksOfLine(int line, std::vector<TEditorRangeMark>& marks) const override;

 private:
  void Count();
  std::vector<TMacroProblem>::const_iterator FirstOnLine(int line) const;

  std::vector<TMacroProblem> problems_;
  int errors_ = 0;
  int warnings_ = 0;
};

// The tool tip over a client point of the editor that marks the problems:
// the messages of the problems under an underline, or of every problem of
// the line beside the gutter. Empty elsewhere.
std::string ProblemTipAt(const TCustomEditor& editor, const TMacroProblemList& problems, int x,
                         int y);
