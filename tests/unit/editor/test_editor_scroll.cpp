#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/EditorVirtualKeys.h"

namespace {

class ScrollTest : public EditorFixture {
 protected:
  TRect TextRow(int row) const {
    return {editor.GutterPixels(), RowY(row), host.client_width, RowY(row) + editor.RowHeight()};
  }
  TScrollBarInfo Vertical() { return host.bars[THostScrollBar::Vertical]; }
  TScrollBarInfo Horizontal() { return host.bars[THostScrollBar::Horizontal]; }
};

TEST_F(ScrollTest, CaretMoveBetweenLinesRepaintsExactlyTheTwoLinesWithAnActiveLineColour) {
  NumberedLines(50);
  editor.SetActiveLineColor(clYellow);
  editor.SetCaretPos({1, 4});
  host.ClearRecords();
  Run(ecDown);
  ASSERT_EQ(host.invalidated.size(), 2u);
  EXPECT_EQ(host.invalidated[0], TextRow(5));
  EXPECT_EQ(host.invalidated[1], TextRow(4));
  EXPECT_TRUE(host.scrolls.empty());
  host.ClearRecords();
  Run(ecRight);  // same line: nothing to repaint
  EXPECT_TRUE(host.invalidated.empty());
  editor.SetActiveLineColor(clNone);
  host.ClearRecords();
  Run(ecDown);
  EXPECT_TRUE(host.invalidated.empty());
}

TEST_F(ScrollTest, SmallVerticalMovesScrollPixelsAndLargeOnesRepaint) {
  NumberedLines(500);
  host.ClearRecords();
  editor.SetTopRow(4);
  ASSERT_EQ(host.scrolls.size(), 1u);
  EXPECT_EQ(host.scrolls[0].dy, -3 * editor.RowHeight());
  EXPECT_EQ(host.scrolls[0].dx, 0);
  EXPECT_EQ(host.scrolls[0].area, (TRect{0, 0, host.client_width, host.client_height}));
  EXPECT_TRUE(host.invalidated.empty());
  host.ClearRecords();
  editor.SetTopRow(4 + editor.VisibleRows());
  EXPECT_TRUE(host.scrolls.empty());
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0], (TRect{0, 0, host.client_width, host.client_height}));
}

TEST_F(ScrollTest, SmallHorizontalMovesScrollOnlyTheTextArea) {
  Text(std::string(2000, 'x'));
  host.ClearRecords();
  editor.SetLeftColumn(3);
  ASSERT_EQ(host.scrolls.size(), 1u);
  EXPECT_EQ(host.scrolls[0].dx, -2 * editor.CellWidth());
  EXPECT_EQ(host.scrolls[0].area.left, editor.GutterPixels() + 2);
  EXPECT_EQ(editor.TextLeft(), editor.GutterPixels() + 2 - 2 * editor.CellWidth());
  host.ClearRecords();
  editor.SetLeftColumn(500);
  EXPECT_TRUE(host.scrolls.empty());
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0].left, editor.GutterPixels());
}

TEST_F(ScrollTest, LongFilesScrollTheirWholeLengthWithAScaledThumb) {
  NumberedLines(40000);
  const TScrollBarInfo v = Vertical();
  EXPECT_EQ(v.Min, 0);
  EXPECT_EQ(v.Max, 32767);
  EXPECT_EQ(v.Page, (30 * 32767 + 20000) / 40000);
  EXPECT_EQ(v.Pos, 1);  // 1 * 32767 / 40000, rounded
  // Dragging the thumb to its lowest place shows the last page.
  editor.Scroll(TScrollBarKind::Vertical, TScrollCode::ThumbTrack, v.Max - v.Page + 1);
  EXPECT_EQ(editor.TopRow(), 40000 - editor.VisibleRows() + 1);
  editor.Scroll(TScrollBarKind::Vertical, TScrollCode::ThumbTrack, 16384);
  EXPECT_NEAR(editor.TopRow(), 20000, 2);
  EXPECT_EQ(Vertical().Pos, 16384);
  editor.Scroll(TScrollBarKind::Vertical, TScrollCode::ThumbTrack, 0);
  EXPECT_EQ(editor.TopRow(), 1);
}

TEST_F(ScrollTest, ShortFilesUseTheirOwnRange) {
  NumberedLines(100);
  TScrollBarInfo v = Vertical();
  EXPECT_EQ(v.Min, 1);
  EXPECT_EQ(v.Max, 100);
  EXPECT_EQ(v.Page, 30);
  EXPECT_EQ(v.Pos, 1);
  EXPECT_TRUE(v.Visible);
  editor.SetTopRow(20);
  EXPECT_EQ(Vertical().Pos, 20);
  Options(TEditorOptions{eoScrollPastEof});
  EXPECT_EQ(Vertical().Max, 100 + 30 - 1);
  editor.SetTopRow(100);
  EXPECT_EQ(editor.TopRow(), 100);
  Options({}, TEditorOptions{eoScrollPastEof});
  EXPECT_EQ(Vertical().Max, 100);
  // The top row was re-applied under the old options; the next scroll limits it.
  editor.Scroll(TScrollBarKind::Vertical, TScrollCode::LineUp, 0);
  EXPECT_EQ(editor.TopRow(), 71);
}

TEST_F(ScrollTest, BarsThatCannotScrollAreDisabledOrHidden) {
  NumberedLines(10);
  TScrollBarInfo v = Vertical();
  EXPECT_TRUE(v.Visible);
  EXPECT_TRUE(v.DisableNoScroll);
  EXPECT_TRUE(v.DisableStartArrow);
  EXPECT_TRUE(v.DisableEndArrow);
  Options(TEditorOptions{eoHideShowScrollbars});
  EXPECT_FALSE(Vertical().Visible);
  NumberedLines(100);
  v = Vertical();
  EXPECT_TRUE(v.Visible);
  EXPECT_FALSE(v.DisableStartArrow);
  Options(TEditorOptions{eoDisableScrollArrows});
  EXPECT_TRUE(Vertical().DisableStartArrow);
  EXPECT_FALSE(Vertical().DisableEndArrow);
  editor.SetTopRow(100);
  EXPECT_FALSE(Vertical().DisableStartArrow);
  EXPECT_TRUE(Vertical().DisableEndArrow);
  editor.SetScrollBars(ssNone);
  EXPECT_FALSE(Vertical().Visible);
  EXPECT_FALSE(Horizontal().Visible);
}

TEST_F(ScrollTest, HorizontalRangeIsTheScrollWidthOrTheLongestLine) {
  Text("short\r\n" + std::string(300, 'x'));
  Options(TEditorOptions{eoScrollPastEol});
  EXPECT_EQ(Horizontal().Max, 1024);
  editor.SetMaxScrollWidth(2000);
  EXPECT_EQ(Horizontal().Max, 2000);
  Options({}, TEditorOptions{eoScrollPastEol});
  EXPECT_EQ(Horizontal().Max, 300);
  EXPECT_EQ(Horizontal().Page, editor.VisibleColumns());
  editor.Scroll(TScrollBarKind::Horizontal, TScrollCode::Bottom, 0);
  EXPECT_EQ(editor.LeftColumn(), 300 - editor.VisibleColumns() + 1);
  editor.SetTabWidth(8);
  editor.Lines().Add(
      "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\tz");
  EXPECT_EQ(Horizontal().Max, 40 * 8 + 1);
}

TEST_F(ScrollTest, ScrollMessagesMoveByLinesAndPages) {
  NumberedLines(300);
  int scrolled = 0;
  editor.OnScroll = [&](TCustomEditor&, TScrollBarKind k) {
    if (k == TScrollBarKind::Vertical) ++scrolled;
  };
  auto v = [&](TScrollCode code) { editor.Scroll(TScrollBarKind::Vertical, code, 0); };
  v(TScrollCode::LineDown);
  EXPECT_EQ(editor.TopRow(), 2);
  v(TScrollCode::PageDown);
  EXPECT_EQ(editor.TopRow(), 32);
  v(TScrollCode::LineUp);
  EXPECT_EQ(editor.TopRow(), 31);
  Options(TEditorOptions{eoScrollByOneLess});
  v(TScrollCode::PageUp);
  EXPECT_EQ(editor.TopRow(), 2);
  v(TScrollCode::Bottom);
  EXPECT_EQ(editor.TopRow(), 271);
  v(TScrollCode::Top);
  EXPECT_EQ(editor.TopRow(), 1);
  EXPECT_EQ(scrolled, 6);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 1}));  // scrolling leaves the caret
}

TEST_F(ScrollTest, ThumbTrackingShowsTheTopLineHint) {
  NumberedLines(300);
  Options(TEditorOptions{eoShowScrollHint});
  editor.Scroll(TScrollBarKind::Vertical, TScrollCode::ThumbTrack, 57);
  EXPECT_TRUE(host.hint_visible);
  EXPECT_EQ(host.hint, "Top Line: 57");
  EXPECT_EQ(host.hint_right, host.client_width - 4);
  EXPECT_EQ(host.hint_top, 10);
  editor.SetScrollHintFormat(shfTopToBottom);
  Options(TEditorOptions{eoScrollHintFollows});
  editor.Scroll(TScrollBarKind::Vertical, TScrollCode::ThumbTrack, 60);
  EXPECT_EQ(host.hint, "60 - 89");
  EXPECT_EQ(host.hint_top, host.thumb_top);
  editor.Scroll(TScrollBarKind::Vertical, TScrollCode::EndScroll, 0);
  EXPECT_FALSE(host.hint_visible);
  Options({}, TEditorOptions{eoShowScrollHint});
  editor.Scroll(TScrollBarKind::Vertical, TScrollCode::ThumbTrack, 70);
  EXPECT_FALSE(host.hint_visible);
}

TEST_F(ScrollTest, WheelScrollsThreeRowsPerNotchOrAPageWithCtrl) {
  NumberedLines(500);
  editor.MouseWheel(-120, 0);
  EXPECT_EQ(editor.TopRow(), 4);
  editor.MouseWheel(-60, 0);
  EXPECT_EQ(editor.TopRow(), 4);
  editor.MouseWheel(-60, 0);  // the halves add up to a notch
  EXPECT_EQ(editor.TopRow(), 7);
  editor.MouseWheel(-120, ssCtrl);
  EXPECT_EQ(editor.TopRow(), 37);
  Options(TEditorOptions{eoHalfPageScroll});
  editor.MouseWheel(120, ssCtrl);
  EXPECT_EQ(editor.TopRow(), 22);
  editor.MouseWheel(240, 0);
  EXPECT_EQ(editor.TopRow(), 16);
}

TEST_F(ScrollTest, CtrlArrowsScrollAndKeepTheCaretInTheWindow) {
  NumberedLines(200);
  editor.SetCaretPos({1, 1});
  editor.KeyDown(*std::make_unique<std::uint16_t>(vk::Down), ssCtrl);
  EXPECT_EQ(editor.TopRow(), 2);
  EXPECT_EQ(editor.CaretLine(), 2);  // pushed along by the top edge
  editor.SetCaretPos({1, 15});
  Run(ecScrollDown);
  EXPECT_EQ(editor.TopRow(), 3);
  EXPECT_EQ(editor.CaretLine(), 15);
  Run(ecScrollUp);
  EXPECT_EQ(editor.TopRow(), 2);
  editor.SetTopRow(100);  // caret out of sight: only brought back into view
  Run(ecScrollDown);
  EXPECT_EQ(editor.TopRow(), 15);
  Text(std::string(300, 'x'));
  Run(ecScrollRight);
  Run(ecScrollRight);
  EXPECT_EQ(editor.LeftColumn(), 3);
  Run(ecScrollLeft);
  EXPECT_EQ(editor.LeftColumn(), 2);
}

TEST_F(ScrollTest, CaretIsKeptInViewAndCentredForBookmarks) {
  NumberedLines(1000);
  editor.SetCaretPos({1, 500});
  EXPECT_EQ(editor.TopRow(), 500 - 30 + 1);
  editor.SetCaretPos({1, 100});
  EXPECT_EQ(editor.TopRow(), 100);
  editor.SetBookMark(0, 1, 700);
  Run(ecGotoMarker0);
  EXPECT_EQ(editor.TopRow(), 700 - 30 + 1 + 15);
  editor.SetBookMark(1, 1, 5);
  Run(ecGotoMarker0 + 1);
  EXPECT_EQ(editor.TopRow(), 1);
}

TEST_F(ScrollTest, ResizingRecomputesTheVisibleArea) {
  NumberedLines(100);
  const int gutter = editor.GutterPixels();
  host.client_width = 400;
  host.client_height = 160;
  editor.Resize();
  EXPECT_EQ(editor.VisibleRows(), 10);
  EXPECT_EQ(editor.VisibleColumns(), (400 - gutter - 2) / 8);
  EXPECT_EQ(Vertical().Page, 10);
}

TEST_F(ScrollTest, CaretShapeFollowsTheModeAndOnlyExistsWithTheFocus) {
  NumberedLines(3);
  editor.FocusGained();
  EXPECT_TRUE(host.caret_exists);
  EXPECT_TRUE(host.caret_visible);
  EXPECT_EQ(host.caret_width, 2);
  EXPECT_EQ(host.caret_height, editor.RowHeight() - 2);
  editor.SetCaretPos({3, 2});
  EXPECT_EQ(host.caret_position, (TPoint{CellX(3) - 1, RowY(2) + 1}));
  editor.SetInsertMode(false);
  EXPECT_EQ(host.caret_width, editor.CellWidth());
  EXPECT_EQ(host.caret_height, editor.RowHeight() - 2);
  EXPECT_EQ(host.caret_position, (TPoint{CellX(3), RowY(2) + 1}));
  editor.SetOverwriteCaret(ctHorizontalLine);
  EXPECT_EQ(host.caret_height, 2);
  EXPECT_EQ(host.caret_position.y, RowY(2) + editor.RowHeight() - 2);
  editor.SetOverwriteCaret(ctHalfBlock);
  EXPECT_EQ(host.caret_height, (editor.RowHeight() - 2) / 2);
  host.focused = false;
  editor.FocusLost();
  EXPECT_FALSE(host.caret_exists);
  const int creations = host.caret_creations;
  editor.SetInsertMode(true);  // no focus: no caret made
  EXPECT_EQ(host.caret_creations, creations);
}

TEST_F(ScrollTest, CaretIsHiddenOutsideTheTextAreaAndWithNoCaret) {
  NumberedLines(300);
  editor.FocusGained();
  EXPECT_TRUE(host.caret_visible);
  editor.SetTopRow(100);
  EXPECT_FALSE(host.caret_visible);
  editor.SetTopRow(1);
  EXPECT_TRUE(host.caret_visible);
  Options(TEditorOptions{eoNoCaret});
  EXPECT_FALSE(host.caret_visible);
}

TEST_F(ScrollTest, LineChangesCollectOneRepaintRectangle) {
  NumberedLines(100);
  host.ClearRecords();
  editor.Lines().BeginUpdate();
  editor.Lines().SetLine(4, "changed");
  editor.Lines().SetLine(9, "changed too");
  EXPECT_TRUE(host.invalidated.empty());
  editor.Lines().EndUpdate();
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0],
            (TRect{editor.GutterPixels(), RowY(5), host.client_width, RowY(11)}));
  host.ClearRecords();
  editor.Lines().Insert(20, "new");  // lines move: everything below repaints, gutter too
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0], (TRect{0, RowY(21), host.client_width, host.client_height}));
}

}  // namespace
