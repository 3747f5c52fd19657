#pragma once
// Reads one line of a macro the way the interpreter does and keeps what the
// file-wide checks need: the statement's kind, the block word it stands for,
// the label it defines or jumps to, the file it includes. Problems that the
// line shows on its own are reported here. A line depends on the lines
// before it only through whether it starts inside a "/* */" comment, so
// lines can be read again one by one after an edit.
#include <cstdint>
#include <string_view>
#include <vector>

#include "language/MacroCommands.h"
#include "language/MacroProblem.h"

enum class TMacroStatementKind : std::uint8_t {
  None,        // blank, or only comments
  Label,       // ":name"
  Command,     // a known command word
  Assignment,  // variable = expression
  Invalid,     // an unknown command word, or no word at all
};

enum class TMacroNameUse : std::uint8_t { None, Label, Goto, Call, Include };

struct TMacroLineFacts {
  TMacroStatementKind statement = TMacroStatementKind::None;
  // The block command the line stands for (if with then, elseif, else,
  // endif, for, next, while, endwhile, do, loop, until, enduntil, break,
  // continue); Plain for none.
  TMacroCommand block = TMacroCommand::Plain;
  // The block word is the statement of a one-line if: only a break or
  // continue is kept from there, for the loop check.
  bool block_inline = false;
  // end, exit, goto or return as the line's own statement: the lines after
  // it are not reached unless a label leads there.
  bool ends_flow = false;
  TMacroCommand command = TMacroCommand::Plain;  // of a Command statement
  // The line ends inside a "/*" comment; comment_start is where it began on
  // this line (-1: on an earlier line).
  bool comment_open_at_end = false;
  int comment_start = -1;
  TMacroNameUse name_use = TMacroNameUse::None;
  int statement_start = 0;  // the statement's first token
  int statement_length = 0;
  int block_start = 0;  // the block word
  int block_length = 0;
  int name_start = 0;  // label name (after ":"), jump target, or included path (inside the quotes)
  int name_length = 0;
};

struct TMacroReadOptions {
  const TMacroCommandSet* commands = nullptr;  // null: the interpreter's words
  bool utf8 = false;                           // characters of the text are UTF-8
};

// The most characters of a line that the interpreter reads.
inline constexpr int kMacroLineLimit = 1023;

// Reads line number `line` (0-based) of text; in_comment tells whether it
// starts inside a "/* */" comment. Fills facts and appends the line's own
// problems.
void ReadMacroLine(std::string_view text, int line, bool in_comment,
                   const TMacroReadOptions& options, TMacroLineFacts& facts,
                   std::vector<TMacroProblem>& problems);
