#pragma once
// The settings window's colour and font dialogs.
#include <windows.h>

#include <optional>

#include "platform/Types.h"
#include "win32/SettingsWindow.h"

// The RGB value a colour stands for; `none` resolves as `fallback`.
COLORREF ResolveColor(TColor color, TColor fallback);

// The colour dialog, opened with all its parts, offering any solid colour.
std::optional<TColor> RunColorDialog(HWND owner, TColor initial);
// The font dialog, offering only existing fixed-pitch screen fonts without
// simulated styles.
std::optional<TFontChoice> RunFontDialog(HWND owner, const TFontChoice& initial);
