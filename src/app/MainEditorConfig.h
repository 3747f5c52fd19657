#pragma once
// How the main window's editor is set up before the stored settings replace
// font, colours and options.
class TCustomEditor;

void ApplyMainEditorDefaults(TCustomEditor& editor);
