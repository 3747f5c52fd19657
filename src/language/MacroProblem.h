#pragma once
// What the macro checker reports: problems with their place in the text, and
// the labels of the file with every jump to them.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

enum class TMacroSeverity : std::uint8_t { Error, Warning };

// Problem numbers, shown as TTLnnn. They are part of the program's output
// (build tools filter on them): a number keeps its meaning for good, new
// problems get new numbers. Errors below 100, warnings from 100.
enum class TMacroProblemCode : int {
  UnterminatedString = 1,
  UnterminatedComment = 2,
  UnknownCommand = 3,
  NotAStatement = 4,
  ThenOutOfPlace = 5,
  MissingLabelName = 6,
  BlockNotClosed = 10,
  CloserWithoutOpener = 11,
  CrossedBlocks = 12,
  AfterElse = 13,
  MissingThen = 14,
  OutsideLoop = 15,
  UndefinedLabel = 20,
  DuplicateLabel = 21,
  UnusedLabel = 101,
  UnreachableCode = 102,
  LineTooLong = 103,
  IncludeNotFound = 104,
  ReservedLabel = 105,
};

inline TMacroSeverity SeverityOf(TMacroProblemCode code) {
  return static_cast<int>(code) >= 100 ? TMacroSeverity::Warning : TMacroSeverity::Error;
}

struct TMacroProblem {
  int line = 0;    // 0-based line index
  int column = 0;  // 0-based byte offset in the line of the token it is about
  int length = 0;  // bytes of that token (0 at the end of a line)
  TMacroProblemCode code = TMacroProblemCode::UnknownCommand;
  TMacroSeverity severity = TMacroSeverity::Error;
  std::string message;  // one line, no full stop
};

// A label definition ":name".
struct TMacroLabel {
  std::string name;  // as written
  int line = 0;
  int column = 0;  // of the name, after the colon
  int length = 0;
};

// The label named by a goto or call.
struct TMacroLabelUse {
  std::string name;  // as written
  int line = 0;
  int column = 0;
  int length = 0;
  bool call = false;  // call (a subroutine) rather than goto
};

struct TMacroCheckResult {
  std::vector<TMacroProblem> problems;  // by line, then column
  std::vector<TMacroLabel> labels;      // in file order, repeated definitions included
  std::vector<TMacroLabelUse> uses;     // in file order
  int errors = 0;
  int warnings = 0;
};

// Builds a problem; the severity follows from the code.
TMacroProblem MakeMacroProblem(TMacroProblemCode code, int line, int column, int length,
                               std::string message);

// The parts of a message joined, built in one allocation.
std::string MacroMessage(std::initializer_list<std::string_view> parts);
