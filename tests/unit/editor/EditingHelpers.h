#pragma once
// Texts with the caret written into them as "|", for editing tests.
#include <string>

#include "editor/Editor.h"

// Loads `marked` (lines joined by CR LF, "|" at the caret) into the editor.
inline void LoadMarked(TCustomEditor& editor, const std::string& marked) {
  const std::size_t bar = marked.find('|');
  std::string text = marked;
  if (bar != std::string::npos) text.erase(bar, 1);
  editor.SetText(text);
  if (bar == std::string::npos) return;
  int line = 1, ch = 1;
  for (std::size_t i = 0; i < bar; ++i) {
    if (text[i] == '\n') {
      ++line;
      ch = 1;
    } else if (text[i] != '\r') {
      ++ch;
    }
  }
  editor.SetCaretPos({ch, line});
}

// The text with "|" at the caret (the caret must stand within the text).
inline std::string Marked(const TCustomEditor& editor) {
  std::string out;
  const int count = std::max(1, editor.LineCount());
  for (int l = 1; l <= count; ++l) {
    std::string s = editor.LineText(l);
    if (l == editor.CaretY()) {
      if (editor.CaretX() - 1 <= static_cast<int>(s.size()))
        s.insert(static_cast<std::size_t>(editor.CaretX() - 1), "|");
      else
        s += "<caret " + std::to_string(editor.CaretX()) + ">";
    }
    out += (l > 1 ? "\r\n" : "") + s;
  }
  return out;
}
