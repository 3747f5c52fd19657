#pragma once
// Runs the macro checker on a text and lists its problems compactly:
// "LINE,COL TTLnnn", both 1-based (columns in bytes).
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "language/MacroChecker.h"
#include "language/MacroReport.h"

// The real-world macros the checker is tried on.
inline const std::string kMacroDir =
    std::string(QUILLON_DATA_DIR) + "/../tests/unit/language/macros";

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline std::vector<std::string> ProblemList(const TMacroCheckResult& result) {
  std::vector<std::string> list;
  for (const TMacroProblem& p : result.problems) {
    list.push_back(std::to_string(p.line + 1) + "," + std::to_string(p.column + 1) + " " +
                   MacroProblemCodeText(p.code));
  }
  return list;
}

inline std::vector<std::string> CheckList(const std::string& text,
                                          const TMacroCheckOptions& options = {}) {
  return ProblemList(CheckMacroText(text, options));
}

// Every problem, message included, for failure output.
inline std::string Described(const TMacroCheckResult& result, const std::string& text) {
  std::string out;
  const TMacroTextLines lines(text);
  for (const TMacroProblem& p : result.problems) {
    out += FormatMacroProblem("macro", p, lines.Line(p.line), false) + "\n";
  }
  return out;
}
