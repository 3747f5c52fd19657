#pragma once
// "Labels ...": every label of the macro with its line, narrowed to those
// whose names hold what is typed into the filter box; Enter or a double
// click goes to the chosen one.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "language/MacroProblem.h"

class ICodePage;

// Shows the dialog modally over owner; the index of the chosen label, or
// nothing when it was cancelled. The names are in the document's character
// set.
std::optional<std::size_t> ChooseLabel(HWND owner, const std::vector<TMacroLabel>& labels,
                                       const ICodePage& charset);
