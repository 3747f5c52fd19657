#pragma once
// Problems as one line of text each, in the form build tools and editors
// already read: FILE(LINE,COL): error|warning TTLnnn: message
#include <string>
#include <string_view>

#include "language/MacroProblem.h"

// "TTL001".
std::string MacroProblemCodeText(TMacroProblemCode code);

// The 1-based character column of a byte offset in a line; UTF-8 text counts
// each character once, other text each byte.
int MacroCharacterColumn(std::string_view line, int byte_offset, bool utf8);

// The report line of a problem in `file`, whose line text is given.
std::string FormatMacroProblem(std::string_view file, const TMacroProblem& problem,
                               std::string_view line_text, bool utf8);
