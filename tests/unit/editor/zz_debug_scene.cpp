#include <gtest/gtest.h>
#include "EditorFixture.h"
TEST_F(EditorFixture, DebugScreenshotScene) {
  editor.Gutter().SetShowLineNumbers(true);
  editor.SetOptions(editor.Options() | TEditorOptions{eoShowSpecialChars});
  editor.SetActiveLineColor(clYellow);
  editor.SetText("a\tb\r\n    abc def  \r\nline three");
  editor.SetTabWidth(4);
  editor.SetSelectionAnchor({2, 2});
  editor.SetSelectionEnd({7, 3});
  TRecordingCanvas c;
  editor.Paint(c, {0, 0, 800, 480});
  for (auto& op : c.Ops()) if (op.kind != TRecordingCanvas::Kind::Line && (op.rect.top == 16 || op.from.y == 16)) printf("kind %d rect %d %d %d %d color %x bg %x text '%s'\n", (int)op.kind, op.rect.left, op.rect.top, op.rect.right, op.rect.bottom, op.color, op.background, op.text.c_str());
}
