#pragma once
// An editor attached to a fake host: 800 x 480 pixels, 8 x 16 pixel cells.
#include <gtest/gtest.h>

#include <string>

#include "editor/EditorMemo.h"
#include "support/FakeEditorHost.h"
#include "support/RecordingCanvas.h"

class EditorFixture : public ::testing::Test {
 protected:
  TFakeEditorHost host;
  TEditorMemo editor;

  void SetUp() override { editor.SetHost(&host); }
  void TearDown() override { editor.SetHost(nullptr); }

  // Lines joined by CR LF.
  void Text(const std::string& text) { editor.SetText(text); }
  // "line 1" .. "line n".
  void NumberedLines(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
      if (i > 1) text += "\r\n";
      text += "line " + std::to_string(i);
    }
    editor.SetText(text);
  }
  void Run(TEditorCommand command) { editor.ProcessCommand(command, 0, nullptr); }
  void Options(TEditorOptions add, TEditorOptions remove = {}) {
    editor.SetOptions((editor.Options() + add) - remove);
  }
  // The pixel of the left edge of a cell, as the editor places it.
  int CellX(int column) const { return editor.TextLeft() + (column - 1) * editor.CellWidth(); }
  int RowY(int row) const { return (row - editor.TopRow()) * editor.RowHeight(); }
  void PaintAll(TRecordingCanvas& canvas) {
    editor.Paint(canvas, {0, 0, host.client_width, host.client_height});
  }
};

inline std::ostream& operator<<(std::ostream& os, const TBufferCoord& p) {
  return os << "(" << p.Char << ", " << p.Line << ")";
}
inline std::ostream& operator<<(std::ostream& os, const TDisplayCoord& p) {
  return os << "[col " << p.Column << ", row " << p.Row << "]";
}
