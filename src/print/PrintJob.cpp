#include "print/PrintJob.h"

#include "editor/Editor.h"

void ConfigureMainPrintEngine(TEditorPrint& print) {
  TEditorPrintMargins& m = print.Margins();
  m.SetUnitSystem(usMM);
  m.SetLeft(20);
  m.SetRight(10);
  m.SetTop(20);
  m.SetBottom(20);
  m.SetHeader(15);
  m.SetFooter(15);
  m.SetLeftHFTextIndent(2);
  m.SetRightHFTextIndent(2);
  m.SetHFInternalMargin(0.5);
  m.SetMirrorMargins(false);
  print.SetCopies(1);
  print.SetWrap(true);
  print.SetHighlight(true);
  print.SetSelectedOnly(false);
  print.SetColors(true);
  print.SetLineNumbers(false);
  print.SetTabWidth(8);
  print.SetColor(clWhite);
  print.Header().SetShadedColor(clWhite);
  TFont header_font;
  header_font.Name = "Arial";
  header_font.Height = -13;
  header_font.Color = clBlack;
  print.Header().SetDefaultFont(header_font);
}

bool PreparePrintJob(TEditorPrint& print, const TCustomEditor& editor, const std::string& file_name,
                     bool printer_known, bool printer_is_colour) {
  if (!printer_known) return false;
  print.Header().ClearItems();
  print.Footer().ClearItems();
  print.CopyFromEditor(editor);
  print.Header().AddItem("File: " + file_name, nullptr, hfaLeft, 1);
  print.Header().AddItem("Page $PAGENUM$ of $PAGECOUNT$", nullptr, hfaRight, 1);
  print.Header().AddItem("$DATE$ $TIME$", nullptr, hfaRight, 2);
  TFont font = editor.Font();
  font.Color = clBlack;
  print.SetFont(font);
  print.SetColors(printer_is_colour);
  return true;
}

std::string PrintButtonHint(bool printer_known, const std::string& printer_name) {
  if (printer_known && !printer_name.empty()) return "Print [" + printer_name + "]";
  return "No default printer";
}
