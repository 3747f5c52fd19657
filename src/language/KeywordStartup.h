#pragma once
// Start-up loading of the keyword file into the program's two macro
// highlighters (the main editor's and the settings preview's).
#include "platform/ProgramDir.h"
#include "platform/Prompts.h"

class TTtlHighlighter;

// Loads KeyFile.ini from the program directory into main, and when that
// succeeds into preview. When the file is missing or rejected, both
// highlighters are disabled and the user is warned once. Returns whether
// highlighting is available.
bool LoadKeywordFileAtStartup(const TProgramDirectory& directory, TTtlHighlighter& main,
                              TTtlHighlighter& preview, IUserPrompts& prompts);
