#pragma once
// Small dialogs laid out in pixels: an in-memory template with no controls,
// whose controls the dialog creates itself at 96-dots-per-inch positions
// scaled to the dialog's monitor, in "MS Sans Serif" 8 pt on the button-face colour.
#include <windows.h>

#include <string>
#include <vector>

// A dialog template: caption, fixed dialog border, close box, the dialog
// font (which Windows makes for the monitor the dialog opens on), no controls. visible decides whether the window shows on creation.
std::vector<WORD> PixelDialogTemplate(const std::string& caption, bool visible);

// A length given at 96 dots per inch, at the dpi of the window's monitor.
int ScaleToWindow(HWND window, int pixels);

// Creates a child control at a 96-dpi rectangle of the dialog's client area,
// using the dialog's font.
HWND AddDialogControl(HWND dialog, const char* window_class, const std::string& text, DWORD style,
                      int id, int left, int top, int width, int height);

// The same for a Unicode control (one that holds names and paths), created
// without text.
HWND AddWideDialogControl(HWND dialog, const wchar_t* window_class, DWORD style, int id, int left,
                          int top, int width, int height);

// Sizes the dialog so its client area is width x height at 96 dpi.
void SetDialogClientSize(HWND dialog, int width, int height);

// Centres the dialog over its owner (over the screen's work area without one),
// keeping it on that monitor.
void CentreDialogOnOwner(HWND dialog);

std::string ControlText(HWND control);
// The text of a Unicode control as UTF-8, and setting it.
std::string WideControlText(HWND control);
void SetWideControlText(HWND control, const std::string& utf8);

// Combo-box list entries as UTF-8, and refilling the list without losing the
// text the user has typed into its edit part.
std::vector<std::string> ComboEntries(HWND combo);
void SetComboEntries(HWND combo, const std::vector<std::string>& entries);
