#pragma once
// Tips over a window's controls, kept in the wide functions: a tip may quote
// names in any character.
#include <windows.h>

#include <string>

// Adds `tool`, a window of `owner`, to the tip window `tips` with its text.
// `flags` are added to TTF_IDISHWND (TTF_SUBCLASS lets the tip watch the
// mouse over the tool by itself).
void AddToolTip(HWND tips, HWND owner, HWND tool, UINT flags, const std::wstring& text);

// Replaces the text the tip shows for `tool`.
void SetToolTipText(HWND tips, HWND owner, HWND tool, const std::wstring& text);

// The text the tip shows for `tool`.
std::wstring ToolTipText(HWND tips, HWND owner, HWND tool);
