#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/EditorVirtualKeys.h"

namespace {

class MouseTest : public EditorFixture {
 protected:
  // A pixel just right of the boundary before a cell (column, row).
  int X(int column) const { return CellX(column) + 1; }
  int Y(int row) const { return RowY(row) + editor.RowHeight() / 2; }
  void Down(int x, int y, TShiftState shift = 0, TMouseButton b = TMouseButton::Left) {
    editor.MouseDown(b, shift | (b == TMouseButton::Left ? ssLeft : ssRight), x, y);
  }
  void Move(int x, int y, TShiftState shift = 0) { editor.MouseMove(shift | ssLeft, x, y); }
  void Up(int x, int y, TShiftState shift = 0, TMouseButton b = TMouseButton::Left) {
    editor.MouseUp(b, shift, x, y);
  }
  void Click(int x, int y, TShiftState shift = 0) {
    Down(x, y, shift);
    Up(x, y, shift);
  }
};

TEST_F(MouseTest, ClickPlacesTheCaretAtTheNearestCellBoundary) {
  editor.SetTabWidth(4);
  Options({}, TEditorOptions{eoScrollPastEol});
  Text("a\tbc\r\nshort");
  struct Case {
    int x;
    int row;
    TBufferCoord caret;
  };
  const int cw = editor.CellWidth();
  const Case cases[] = {
      {CellX(1) + 1, 1, {1, 1}},
      {CellX(1) + cw - 1, 1, {2, 1}},          // past the middle of "a": after it
      {CellX(3) + 1, 1, {2, 1}},               // inside the TAB's span: before the TAB
      {CellX(4) + cw - 1, 1, {3, 1}},          // the last half cell of the span: after it
      {CellX(40), 2, {6, 2}},                  // beyond the end: end of the line
      {CellX(3), 9, {3, 2}},                   // below the last line: the last line
      {editor.GutterPixels() + 2, 1, {1, 1}},  // the first pixel of the text: column 1
  };
  for (const Case& c : cases) {
    Click(c.x, Y(c.row));
    EXPECT_EQ(editor.CaretPos(), c.caret) << c.x << "," << c.row;
  }
}

TEST_F(MouseTest, DraggingSelectsAndReleaseEndsTheCapture) {
  NumberedLines(10);
  Down(X(2), Y(1));
  EXPECT_TRUE(host.captured);
  EXPECT_EQ(host.focus_requests, 1);
  Move(X(4), Y(3));
  EXPECT_EQ(editor.SelectedText(), "ine 1\r\nline 2\r\nlin");
  Up(X(4), Y(3));
  EXPECT_FALSE(host.captured);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{4, 3}));
  // Shift extends from the anchor.
  Click(X(6), Y(4), ssShift);
  EXPECT_EQ(editor.SelectedText(), "ine 1\r\nline 2\r\nline 3\r\nline ");
  // A plain click collapses.
  Click(X(1), Y(5));
  EXPECT_FALSE(editor.HasSelection());
}

TEST_F(MouseTest, AltDragMakesAColumnSelectionWhenTheOptionIsOn) {
  Text("abcdef\r\nabcdef\r\nabcdef");
  Options(TEditorOptions{eoAltSetsColumnMode});
  Down(X(2), Y(1), ssAlt);
  Move(X(4), Y(3), ssAlt);
  Up(X(4), Y(3), ssAlt);
  EXPECT_EQ(editor.SelectionMode(), smColumn);
  EXPECT_EQ(editor.SelectedText(), "bc\r\nbc\r\nbc");
  Click(X(1), Y(1));
  EXPECT_EQ(editor.SelectionMode(), smNormal);
  Options({}, TEditorOptions{eoAltSetsColumnMode});
  Click(X(1), Y(1), ssAlt);
  EXPECT_EQ(editor.SelectionMode(), smNormal);
}

TEST_F(MouseTest, DraggingOutsideTheWindowAutoScrollsOnTimerTicks) {
  NumberedLines(200);
  Down(X(2), Y(10));
  const int below = editor.VisibleRows() * editor.RowHeight() + 3 * editor.RowHeight();
  Move(X(2), below);
  EXPECT_EQ(editor.ScrollDeltaY(), 4);
  EXPECT_EQ(host.timers.count(TCustomEditor::kScrollTimerId), 1u);
  editor.TimerTick(TCustomEditor::kScrollTimerId);
  EXPECT_EQ(editor.TopRow(), 5);
  EXPECT_EQ(editor.CaretLine(), 5 + editor.VisibleRows() - 1);
  EXPECT_EQ(editor.SelectionAnchor(), (TBufferCoord{2, 10}));
  EXPECT_EQ(editor.SelectionEnd(), editor.CaretPos());
  host.keys_down.insert(vk::Shift);  // a page per tick
  editor.TimerTick(TCustomEditor::kScrollTimerId);
  EXPECT_EQ(editor.TopRow(), 5 + 4 * editor.VisibleRows());
  host.keys_down.clear();
  Move(X(2), 40);  // back inside: the timer stops
  EXPECT_EQ(editor.ScrollDeltaY(), 0);
  EXPECT_EQ(host.timers.count(TCustomEditor::kScrollTimerId), 0u);
  Move(X(2), -40);
  EXPECT_LT(editor.ScrollDeltaY(), 0);
  Up(X(2), -40);
  EXPECT_TRUE(host.timers.empty());
  EXPECT_FALSE(host.captured);
}

TEST_F(MouseTest, DoubleClickSelectsTheWord) {
  Text("one two three");
  Click(X(6), Y(1));
  editor.MouseDown(TMouseButton::Left, ssLeft | ssDouble, X(6), Y(1));
  editor.DoubleClick();
  Up(X(6), Y(1));
  EXPECT_EQ(editor.SelectedText(), "two");
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{8, 1}));
  Options(TEditorOptions{eoNoSelection});
  Click(X(1), Y(1));
  editor.MouseDown(TMouseButton::Left, ssLeft | ssDouble, X(2), Y(1));
  editor.DoubleClick();
  EXPECT_FALSE(editor.HasSelection());
}

TEST_F(MouseTest, PressInsideTheSelectionWaitsForADrag) {
  Text("one two three");
  editor.SetSelectionAnchor({5, 1});
  editor.SetSelectionEnd({8, 1});
  Down(X(6), Y(1));
  EXPECT_EQ(editor.SelectedText(), "two");  // kept while waiting
  Up(X(6), Y(1));
  EXPECT_FALSE(editor.HasSelection());  // no drag: collapsed where released
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{6, 1}));
  Options({}, TEditorOptions{eoDragDropEditing});
  editor.SetSelectionAnchor({5, 1});
  editor.SetSelectionEnd({8, 1});
  Down(X(6), Y(1));
  EXPECT_FALSE(editor.HasSelection());
}

TEST_F(MouseTest, RightClickMovesTheCaretOnlyWhenAskedAndOutsideTheSelection) {
  Text("one two three");
  Click(X(2), Y(1));
  Down(X(10), Y(1), 0, TMouseButton::Right);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{2, 1}));
  Options(TEditorOptions{eoRightMouseMovesCursor});
  Down(X(10), Y(1), 0, TMouseButton::Right);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{10, 1}));
  editor.SetSelectionAnchor({1, 1});
  editor.SetSelectionEnd({4, 1});
  Down(X(2), Y(1), 0, TMouseButton::Right);
  EXPECT_TRUE(editor.HasSelection());
}

TEST_F(MouseTest, GutterClickReportsTheLineAndTheMarkUnderThePointer) {
  NumberedLines(5);
  editor.SetBookMark(4, 1, 3);
  int line = 0;
  TEditorMark* mark = nullptr;
  Click(1, Y(3));  // no handler: nothing happens, also no caret move
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 1}));
  editor.OnGutterClick = [&](TCustomEditor&, TMouseButton, int, int, int l, TEditorMark* m) {
    line = l;
    mark = m;
  };
  Click(editor.BookMarkOptions().LeftMargin() + 1, Y(3));
  EXPECT_EQ(line, 3);
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->BookmarkNumber, 4);
  Click(editor.BookMarkOptions().LeftMargin() + 1, Y(2));
  EXPECT_EQ(line, 2);
  EXPECT_EQ(mark, nullptr);
  line = 0;
  Click(1, Y(20));  // no such line
  EXPECT_EQ(line, 0);
}

TEST_F(MouseTest, MouseChainsSeeEveryPress) {
  NumberedLines(3);
  std::vector<std::string> seen;
  auto down = [](void* o, TCustomEditor&, TMouseButton, TShiftState, int x, int) {
    static_cast<std::vector<std::string>*>(o)->push_back("down " + std::to_string(x));
  };
  auto up = [](void* o, TCustomEditor&, TMouseButton, TShiftState, int x, int) {
    static_cast<std::vector<std::string>*>(o)->push_back("up " + std::to_string(x));
  };
  editor.AddMouseDownHandler({down, &seen});
  editor.AddMouseUpHandler({up, &seen});
  Click(40, Y(1));
  EXPECT_EQ(seen, (std::vector<std::string>{"down 40", "up 40"}));
}

}  // namespace

namespace {

TEST_F(MouseTest, CursorIsAnArrowOverTheGutterAndAnIBeamOverTextUnlessAskedOtherwise) {
  Text("one two");
  EXPECT_EQ(editor.CursorAt(3, Y(1)), crArrow);
  EXPECT_EQ(editor.CursorAt(X(2), Y(1)), crIBeam);
  TBufferCoord asked{};
  editor.OnMouseCursor = [&](TCustomEditor&, const TBufferCoord& at, int& cursor) {
    asked = at;
    if (at.Char >= 5) cursor = crHandPoint;
  };
  EXPECT_EQ(editor.CursorAt(X(6), Y(1)), crHandPoint);
  EXPECT_EQ(asked, (TBufferCoord{6, 1}));
  EXPECT_EQ(editor.CursorAt(X(2), Y(1)), crIBeam);
  auto chain = [](void*, TCustomEditor&, const TBufferCoord&, int& cursor) { cursor = crDrag; };
  editor.AddMouseCursorHandler({chain, nullptr});
  EXPECT_EQ(editor.CursorAt(X(2), Y(1)), crDrag);
}

}  // namespace
