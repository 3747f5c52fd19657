#pragma once
// Where the replace confirmation goes so that it never hides the occurrence it
// asks about.
#include "platform/Types.h"

// The screen position of the confirmation dialog's top-left corner. area is the
// main window's client area on the screen, x the screen column of the
// occurrence's first character, y1 and y2 the screen rows of the top of its line
// and just below it; width and height are the dialog's outer size.
//
// Horizontally the dialog is centred on an area no wider than itself, else it
// starts at x but does not reach past the area's right edge. Vertically it sits
// 4 pixels above the line when the line ends in the lower third of the area,
// else 4 pixels below it.
TPoint ConfirmDialogPosition(const TRect& area, int x, int y1, int y2, int width, int height);
