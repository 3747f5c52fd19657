#pragma once
// The main menu bar and the editor's context menu, built from the command tables.
#include <windows.h>

#include "app/CommandState.h"
#include "app/Commands.h"

// Items of the "Encoding" submenu carry these identifiers, one per encoding
// in the order of kAllTextEncodings.
inline constexpr UINT kFirstEncodingCommand = 850;

HMENU BuildMainMenu();
HMENU BuildEditorPopup();

// Sets every command item of a menu (and its submenus) from the command state.
void ApplyMenuState(HMENU menu, const TCommandState& state);

// The shortcut for a key press with the current modifier keys, in the
// program's encoding (virtual key plus Shift, Ctrl and Alt bits).
TShortCut ShortCutFromKey(WPARAM vk);

// The command whose menu item carries the shortcut, or cmNone.
TCommandId CommandForShortCut(TShortCut shortcut);
