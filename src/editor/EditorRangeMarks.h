#pragma once
// Ranges of text the editor marks for its owner: a wavy underline under the
// range and a dot in the gutter of its line. The editor does not keep them;
// it asks for the marks of each line it paints, so the owner keeps them on
// their lines as the text changes.
#include <vector>

struct TEditorRangeMark {
  int start = 0;   // 0-based byte offset in the line
  int length = 0;  // bytes; 0 marks the cell at start (after a line's end, say)
  // Which colour (an index into the editor's mark colours). The gutter dot of
  // a line takes the colour of its lowest kind.
  int kind = 0;
};

class IEditorRangeMarks {
 public:
  virtual ~IEditorRangeMarks() = default;
  // Appends the marks of a line (0-based index).
  virtual void MarksOfLine(int line, std::vector<TEditorRangeMark>& marks) const = 0;
};
