#include "language/MacroChecker.h"

#include <algorithm>
#include <cstring>

#include "language/MacroBlocks.h"
#include "language/MacroIncludes.h"
#include "language/MacroLabels.h"
#include "platform/FileSystem.h"

TMacroTextLines::TMacroTextLines(std::string_view text) {
  const char* const data = text.data();
  const std::size_t size = text.size();
  std::size_t start = 0;
  while (start < size) {
    const void* lf = std::memchr(data + start, '\n', size - start);
    const std::size_t end =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
    const void* cr = std::memchr(data + start, '\r', end - start);
    const std::size_t cr_at =
        cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : end;
    if (cr_at + 1 < end) {
      // A CR on its own ends a line too.
      lines_.emplace_back(data + start, cr_at - start);
      start = cr_at + 1;
      continue;
    }
    lines_.emplace_back(data + start, cr_at - start);  // CR LF, LF, or the last line
    start = end + 1;
  }
}

struct TMacroFileCheck::TPasses {
  TPasses(std::vector<TMacroProblem>& problems, const TMacroCommandSet& commands)
      : blocks(problems), labels(problems, commands) {}
  TMacroBlockPass blocks;
  TMacroLabelPass labels;
  std::vector<TMacroInclude> includes;
};

TMacroFileCheck::TMacroFileCheck(const TMacroCheckOptions& options)
    : options_(options),
      read_options_{options.commands, options.utf8},
      passes_(std::make_unique<TPasses>(
          problems_, options.commands ? *options.commands : TMacroCommandSet::Interpreter())) {}

TMacroFileCheck::~TMacroFileCheck() = default;

void TMacroFileCheck::ReadLine(int line, std::string_view text) {
  ReadMacroLine(text, line, in_comment_, read_options_, facts_, problems_);
  AddLine(line, text, facts_, {});
}

void TMacroFileCheck::AddLine(int line, std::string_view text, const TMacroLineFacts& facts,
                              std::span<const TMacroProblem> line_problems) {
  const std::string_view name = facts.name_use == TMacroNameUse::None
                                    ? std::string_view()
                                    : text.substr(static_cast<std::size_t>(facts.name_start),
                                                  static_cast<std::size_t>(facts.name_length));
  AddLineFacts(line, name, facts, line_problems);
}

void TMacroFileCheck::AddLineFacts(int line, std::string_view name, const TMacroLineFacts& facts,
                                   std::span<const TMacroProblem> line_problems) {
  problems_.insert(problems_.end(), line_problems.begin(), line_problems.end());
  if (facts.comment_open_at_end && facts.comment_start >= 0) {
    comment_line_ = line;
    comment_column_ = facts.comment_start;
  }
  in_comment_ = facts.comment_open_at_end;
  passes_->blocks.Add(line, facts);
  passes_->labels.Add(line, name, facts);
  if (facts.name_use == TMacroNameUse::Include) {
    passes_->includes.push_back(
        TMacroInclude{std::string(name), line, facts.name_start, facts.name_length});
  }
}

TMacroCheckResult TMacroFileCheck::Finish() {
  TMacroCheckResult result;
  // The problems of the lines came in line order; the file-wide ones come now.
  const std::size_t from_lines = problems_.size();
  if (in_comment_ && comment_line_ >= 0) {
    problems_.push_back(MakeMacroProblem(TMacroProblemCode::UnterminatedComment, comment_line_,
                                         comment_column_, 2,
                                         "comment '/*' without its closing '*/'"));
  }
  passes_->blocks.Finish();
  passes_->labels.Finish(result.labels, result.uses);
  if (options_.check_includes) {
    CheckMacroIncludes(passes_->includes, options_.macro_folder, options_.utf8,
                       options_.file_system ? *options_.file_system : FileSystem(), problems_);
  }
  const auto by_place = [](const TMacroProblem& a, const TMacroProblem& b) {
    if (a.line != b.line) return a.line < b.line;
    if (a.column != b.column) return a.column < b.column;
    return a.code < b.code;
  };
  const auto middle = problems_.begin() + static_cast<std::ptrdiff_t>(from_lines);
  if (!std::is_sorted(problems_.begin(), middle, by_place)) {
    std::stable_sort(problems_.begin(), middle, by_place);
  }
  std::stable_sort(middle, problems_.end(), by_place);
  std::inplace_merge(problems_.begin(), middle, problems_.end(), by_place);
  for (const TMacroProblem& problem : problems_) {
    if (problem.severity == TMacroSeverity::Error) {
      ++result.errors;
    } else {
      ++result.warnings;
    }
  }
  result.problems = std::move(problems_);
  problems_.clear();
  return result;
}

TMacroCheckResult CheckMacro(const IMacroLines& lines, const TMacroCheckOptions& options) {
  TMacroFileCheck check(options);
  const int count = lines.LineCount();
  for (int i = 0; i < count; ++i) check.ReadLine(i, lines.Line(i));
  return check.Finish();
}

TMacroCheckResult CheckMacroText(std::string_view text, const TMacroCheckOptions& options) {
  return CheckMacro(TMacroTextLines(text), options);
}
