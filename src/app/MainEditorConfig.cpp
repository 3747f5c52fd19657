#include "app/MainEditorConfig.h"

#include "editor/Editor.h"

void ApplyMainEditorDefaults(TCustomEditor& editor) {
  TFont font;
  font.Name = "Courier New";
  font.Height = -12;
  editor.SetFont(font);

  TGutter& gutter = editor.Gutter();
  gutter.SetShowLineNumbers(true);
  gutter.SetAutoSize(true);
  gutter.SetDigitCount(2);
  gutter.SetLeftOffset(0);
  TFont gutter_font;
  gutter_font.Name = "Courier New";
  gutter_font.Height = -11;
  gutter.SetFont(gutter_font);

  editor.SetActiveLineColor(clYellow);
  editor.SetRightEdge(0);
  editor.SetTabWidth(4);
  editor.SetWantTabs(true);
  editor.SetOptions(TEditorOptions{} | eoAutoIndent | eoDragDropEditing | eoEnhanceHomeKey |
                    eoEnhanceEndKey | eoGroupUndo | eoHideShowScrollbars | eoScrollPastEol |
                    eoShowScrollHint | eoSmartTabs | eoTabIndent);
}
