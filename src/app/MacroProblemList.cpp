#include "app/MacroProblemList.h"

#include <algorithm>

#include "editor/Editor.h"

namespace {

std::string Counted(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Problems are sorted by line: where a line's problems begin is found by halving.
bool OnEarlierLine(const TMacroProblem& p, int line) { return p.line < line; }

bool Before(const TMacroProblem& p, int line, int column) {
  return p.line < line || (p.line == line && p.column < column);
}

}  // namespace

std::string MacroProblemStatusText(int errors, int warnings) {
  std::string text;
  if (errors > 0) text = Counted(errors, "error", "errors");
  if (warnings > 0) {
    if (!text.empty()) text += ", ";
    text += Counted(warnings, "warning", "warnings");
  }
  return text;
}

std::vector<TMacroProblem> TMacroProblemList::Assign(std::vector<TMacroProblem> problems) {
  problems_.swap(problems);
  Count();
  return problems;
}

std::vector<TMacroProblem> TMacroProblemList::Assign(std::vector<TMacroProblem> problems,
                                                     int errors, int warnings) {
  problems_.swap(problems);
  errors_ = errors;
  warnings_ = warnings;
  return problems;
}

void TMacroProblemList::Count() {
  errors_ = 0;
  warnings_ = 0;
  for (const TMacroProblem& p : problems_) {
    if (p.severity == TMacroSeverity::Error) {
      ++errors_;
    } else {
      ++warnings_;
    }
  }
}

void TMacroProblemList::LinesInserted(int index, int count) {
  if (count <= 0) return;
  auto it = std::lower_bound(problems_.begin(), problems_.end(), index, OnEarlierLine);
  for (; it != problems_.end(); ++it) it->line += count;
}

void TMacroProblemList::LinesDeleted(int index, int count) {
  if (count <= 0) return;
  const auto first = std::lower_bound(problems_.begin(), problems_.end(), index, OnEarlierLine);
  const auto last = std::lower_bound(first, problems_.end(), index + count, OnEarlierLine);
  for (auto it = last; it != problems_.end(); ++it) it->line -= count;
  if (first != last) {
    problems_.erase(first, last);
    Count();
  }
}

std::optional<std::size_t> TMacroProblemList::Next(int line, int column, bool backwards) const {
  if (problems_.empty()) return std::nullopt;
  if (!backwards) {
    // The first problem that starts after the place.
    const auto after =
        std::partition_point(problems_.begin(), problems_.end(), [&](const TMacroProblem& p) {
          return Before(p, line, column) || (p.line == line && p.column == column);
        });
    return after == problems_.end() ? 0 : static_cast<std::size_t>(after - problems_.begin());
  }
  const auto before =
      std::partition_point(problems_.begin(), problems_.end(),
                           [&](const TMacroProblem& p) { return Before(p, line, column); });
  return before == problems_.begin() ? problems_.size() - 1
                                     : static_cast<std::size_t>(before - problems_.begin()) - 1;
}

std::vector<TMacroProblem>::const_iterator TMacroProblemList::FirstOnLine(int line) const {
  return std::lower_bound(problems_.begin(), problems_.end(), line, OnEarlierLine);
}

void TMacroProblemList::MarksOfLine(int line, std::vector<TEditorRangeMark>& marks) const {
  for (auto it = FirstOnLine(line); it != problems_.end() && it->line == line; ++it) {
    marks.push_back({it->column, it->length,
                     it->severity == TMacroSeverity::Error ? kErrorMark : kWarningMark});
  }
}

std::string TMacroProblemList::MessagesAt(int line, int column) const {
  std::string text;
  for (auto it = FirstOnLine(line); it != problems_.end() && it->line == line; ++it) {
    const bool under =
        column < 0 || (it->length == 0 ? column >= it->column
                                       : column >= it->column && column < it->column + it->length);
    if (!under) continue;
    if (!text.empty()) text += "\n";
    text += it->message;
  }
  return text;
}

std::string ProblemTipAt(const TCustomEditor& editor, const TMacroProblemList& problems, int x,
                         int y) {
  if (x < 0 || y < 0 || problems.Empty()) return {};
  const TDisplayCoord cell = editor.PixelsToRowColumn(x, y);
  if (cell.Row > editor.LineCount()) return {};
  if (x < editor.GutterPixels()) return problems.MessagesAt(cell.Row - 1, -1);
  const TBufferCoord at = editor.DisplayToBufferPos(cell);
  return problems.MessagesAt(at.Line - 1, at.Char - 1);
}
