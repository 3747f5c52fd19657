#include "language/MacroReport.h"

#include <algorithm>
#include <cstdio>

std::string MacroProblemCodeText(TMacroProblemCode code) {
  char text[16];
  std::snprintf(text, sizeof text, "TTL%03d", static_cast<int>(code));
  return text;
}

int MacroCharacterColumn(std::string_view line, int byte_offset, bool utf8) {
  const std::size_t end = std::min(line.size(), static_cast<std::size_t>(std::max(byte_offset, 0)));
  if (!utf8) return static_cast<int>(end) + 1;
  int column = 1;
  for (std::size_t i = 0; i < end; ++i) {
    if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++column;
  }
  return column;
}

std::string FormatMacroProblem(std::string_view file, const TMacroProblem& problem,
                               std::string_view line_text, bool utf8) {
  std::string text(file);
  text += '(' + std::to_string(problem.line + 1) + ',' +
          std::to_string(MacroCharacterColumn(line_text, problem.column, utf8)) + "): ";
  text += problem.severity == TMacroSeverity::Error ? "error " : "warning ";
  text += MacroProblemCodeText(problem.code) + ": " + problem.message;
  return text;
}
