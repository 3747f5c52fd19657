#pragma once
// The tool-bar glyphs, drawn by the program at start-up (16 x 16 each).
#include <windows.h>
#include <commctrl.h>

#include "app/Commands.h"

HIMAGELIST CreateToolGlyphs();
int ToolGlyphIndex(TCommandId id);
