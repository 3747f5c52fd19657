#pragma once
// The block structure of a macro, line after line: every if, for, while, do
// and until needs its closer, properly nested; break and continue need a
// loop; and the statements after an end, exit, goto or return on the same
// level are not reached unless a label leads there.
#include <string>
#include <vector>

#include "language/MacroLineReader.h"
#include "language/MacroProblem.h"

class TMacroBlockPass {
 public:
  explicit TMacroBlockPass(std::vector<TMacroProblem>& problems) : problems_(problems) {}

  // The facts of the next line, in file order.
  void Add(int line, const TMacroLineFacts& facts);
  // After the last line: reports the blocks still open.
  void Finish();

 private:
  struct TOpenBlock {
    TMacroCommand word = TMacroCommand::Plain;
    int line = 0;
    int column = 0;
    int length = 0;
    int else_line = -1;  // of an if block: the line of its else
  };

  void Open(int line, const TMacroLineFacts& facts);
  void Continue(int line, const TMacroLineFacts& facts);  // elseif, else
  void Close(int line, const TMacroLineFacts& facts, TMacroCommand opener);
  void CheckInLoop(int line, const TMacroLineFacts& facts);
  // The innermost open block of this kind, or -1.
  int Innermost(TMacroCommand word) const;
  void Report(TMacroProblemCode code, int line, const TMacroLineFacts& facts, std::string message);

  std::vector<TMacroProblem>& problems_;
  std::vector<TOpenBlock> open_;
  int loops_open_ = 0;
  // Lines after an end, exit, goto or return: not reached until a label, or
  // a closer of the block that statement stood in.
  bool unreached_ = false;
  bool unreached_reported_ = false;
  std::size_t unreached_depth_ = 0;
  int stop_line_ = 0;
  TMacroCommand stop_command_ = TMacroCommand::End;
};
