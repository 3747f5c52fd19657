#pragma once
// How the main window sets up its print engine: the engine's fixed settings
// once, and the header and text before every print and preview.
#include <string>

#include "print/EditorPrint.h"

class TCustomEditor;

// Margins, header frame and colours the main window gives its engine.
void ConfigureMainPrintEngine(TEditorPrint& print);

// Does nothing and answers false when no printer is known. Otherwise fills
// the engine from the editor, adds the file-name, page and date header and
// prints in colour only on a colour printer.
bool PreparePrintJob(TEditorPrint& print, const TCustomEditor& editor, const std::string& file_name,
                     bool printer_known, bool printer_is_colour);

// The Print button's tool tip.
std::string PrintButtonHint(bool printer_known, const std::string& printer_name);
