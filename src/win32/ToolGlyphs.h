#pragma once
// The tool-bar glyphs, drawn by the program (designed at 16 x 16, drawn at any
// size so they stay sharp on every screen).
#include <windows.h>
#include <commctrl.h>

#include "app/Commands.h"

HIMAGELIST CreateToolGlyphs(int size = 16);
int ToolGlyphIndex(TCommandId id);
