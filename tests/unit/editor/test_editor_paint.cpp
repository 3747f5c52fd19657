#include <gtest/gtest.h>

#include <algorithm>

#include "EditorFixture.h"
#include "TestHighlighters.h"
#include "support/DoubleByteCodePage.h"

namespace {

using Op = TRecordingCanvas::Op;
using Kind = TRecordingCanvas::Kind;

class PaintTest : public EditorFixture {
 protected:
  TRecordingCanvas canvas;
  std::string Row(int row) { return canvas.RowText(RowY(row), CellX(editor.LeftColumn())); }
  std::vector<Op> Glyphs(int row, char glyph) {
    std::vector<Op> found;
    for (const Op& op : canvas.TextsAt(RowY(row)))
      if (op.text == std::string(1, glyph)) found.push_back(op);
    return found;
  }
};

TEST_F(PaintTest, SpecialCharactersShowDotsTabQuotesAndPilcrow) {
  struct Case {
    const char* line;
    int tab_width;
    const char* row;     // what the cells show
    int glyph_x_halves;  // x of the tab glyph in half cells from column 1, -1 for none
  };
  const Case cases[] = {
      {"a\tb", 4, "a   b\xB6", 2 * 2},       // three-cell span: its centre cell, column 3
      {"ab\tc", 4, "ab  c\xB6", 2 * 3 - 1},  // two-cell span: between columns 3 and 4
      {"\tx", 4, "    x\xB6", 2 * 2 - 1},    // four cells: between columns 2 and 3
      {"a b", 4,
       "a\xB7"
       "b\xB6",
       -1},
  };
  Options(TEditorOptions{eoShowSpecialChars});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    editor.SetTabWidth(c.tab_width);
    Text(c.line);
    canvas.Clear();
    PaintAll(canvas);
    EXPECT_EQ(Row(1), c.row);
    const auto glyphs = Glyphs(1, '\xBB');
    if (c.glyph_x_halves < 0) {
      EXPECT_TRUE(glyphs.empty());
    } else {
      ASSERT_EQ(glyphs.size(), 1u);
      EXPECT_EQ(glyphs[0].from.x, CellX(1) + c.glyph_x_halves * editor.CellWidth() / 2);
      EXPECT_FALSE(glyphs[0].opaque);
    }
  }
  Text("\r\nz");  // an empty line shows only its pilcrow
  canvas.Clear();
  PaintAll(canvas);
  EXPECT_EQ(Row(1), "\xB6");
}

TEST_F(PaintTest, WithoutSpecialCharactersTabsAreBlankAndNothingIsAdded) {
  editor.SetTabWidth(4);
  Text("a\tb c");
  PaintAll(canvas);
  EXPECT_EQ(Row(1), "a   b c");
  EXPECT_TRUE(Glyphs(1, '\xBB').empty());
}

TEST_F(PaintTest, GutterGrowsToFourDigitsAtAThousandLinesAndShrinksBack) {
  TGutter& g = editor.Gutter();
  g.SetFont({"Gutter", -11});
  g.SetShowLineNumbers(true);
  g.SetAutoSize(true);
  g.SetDigitCount(2);
  g.SetLeftOffset(0);
  const int digit = host.gutter_metrics.Advance;
  auto width_for = [&](int digits) {
    return g.LeftOffset() + g.RightOffset() + digits * digit + 2;
  };
  NumberedLines(99);
  EXPECT_EQ(editor.GutterPixels(), width_for(2));
  editor.Lines().Add("line 100");
  EXPECT_EQ(editor.GutterPixels(), width_for(3));
  NumberedLines(1000);
  EXPECT_EQ(editor.GutterPixels(), width_for(4));
  EXPECT_EQ(editor.TextLeft(), width_for(4) + 2);
  editor.Lines().DeleteLineRange(99, 901);
  EXPECT_EQ(editor.Lines().Count(), 99);
  EXPECT_EQ(editor.GutterPixels(), width_for(2));

  NumberedLines(1000);
  editor.SetTopRow(995);
  PaintAll(canvas);
  // "1000" ends where the number area ends.
  const auto numbers = canvas.TextsAt(RowY(1000) + (editor.RowHeight() - 12) / 2);
  ASSERT_FALSE(numbers.empty());
  EXPECT_EQ(numbers.front().text, "1000");
  EXPECT_EQ(numbers.front().from.x + 4 * digit, editor.GutterPixels() - g.RightOffset() - 2);
}

TEST_F(PaintTest, LineNumbersFollowZeroStartLeadingZerosAndStart) {
  TGutter& g = editor.Gutter();
  g.SetShowLineNumbers(true);
  g.SetDigitCount(3);
  struct Case {
    bool zero_start, leading_zeros;
    int start;
    const char* first;
  };
  const Case cases[] = {{false, false, 1, "  1"},
                        {true, false, 1, "  0"},
                        {false, true, 1, "001"},
                        {false, false, 7, "  7"}};
  for (const Case& c : cases) {
    g.SetZeroStart(c.zero_start);
    g.SetLeadingZeros(c.leading_zeros);
    g.SetLineNumberStart(c.start);
    EXPECT_EQ(g.FormatLineNumber(1), c.first);
  }
  g.SetLineNumberStart(1);
  g.SetZeroStart(false);
  g.SetLeadingZeros(false);
  g.SetAutoSize(true);
  g.SetLineNumberStart(995);
  NumberedLines(10);  // the largest number shown is 1004
  EXPECT_EQ(g.RealDigitCount(), 4);
}

TEST_F(PaintTest, SelectionIsPaintedInSelectionColoursToTheRightEdgeOnInnerLines) {
  Text("one\r\ntwo\r\nthree");
  editor.SetSelectionAnchor({2, 1});
  editor.SetSelectionEnd({3, 3});
  PaintAll(canvas);
  const int inside = 3;  // a pixel inside a row
  EXPECT_EQ(canvas.BackgroundAt(CellX(1) + 1, RowY(1) + inside), clWindow);
  EXPECT_EQ(canvas.BackgroundAt(CellX(2) + 1, RowY(1) + inside), clHighlight);
  EXPECT_EQ(canvas.BackgroundAt(CellX(40), RowY(1) + inside), clHighlight);
  EXPECT_EQ(canvas.BackgroundAt(CellX(40), RowY(2) + inside), clHighlight);
  EXPECT_EQ(canvas.BackgroundAt(CellX(2) + 1, RowY(3) + inside), clHighlight);
  EXPECT_EQ(canvas.BackgroundAt(CellX(3) + 1, RowY(3) + inside), clWindow);
  EXPECT_EQ(canvas.BackgroundAt(CellX(40), RowY(3) + inside), clWindow);
  // The selected characters are drawn in the selection's text colour.
  bool seen = false;
  for (const Op& op : canvas.TextsAt(RowY(1))) {
    if (op.text == "ne") {
      seen = true;
      EXPECT_EQ(op.color, clHighlightText);
      EXPECT_EQ(op.background, clHighlight);
    }
  }
  EXPECT_TRUE(seen);
}

TEST_F(PaintTest, ColumnSelectionPaintsTheSameColumnsOnEveryLine) {
  Text("abcdef\r\nab\r\nabcdef");
  editor.SetSelectionMode(smColumn);
  editor.SetSelectionAnchor({2, 1});
  editor.SetSelectionEnd({4, 3});
  PaintAll(canvas);
  for (int row = 1; row <= 3; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(canvas.BackgroundAt(CellX(1) + 1, RowY(row) + 3), clWindow);
    EXPECT_EQ(canvas.BackgroundAt(CellX(3) + 1, RowY(row) + 3), clHighlight);
    EXPECT_EQ(canvas.BackgroundAt(CellX(4) + 1, RowY(row) + 3), clWindow);
  }
}

TEST_F(PaintTest, HiddenSelectionWithoutFocusIsNotPainted) {
  Text("one two");
  editor.SetSelectionAnchor({1, 1});
  editor.SetSelectionEnd({4, 1});
  editor.SetHideSelection(true);
  host.focused = false;
  PaintAll(canvas);
  EXPECT_EQ(canvas.BackgroundAt(CellX(2), RowY(1) + 3), clWindow);
  host.focused = true;
  canvas.Clear();
  PaintAll(canvas);
  EXPECT_EQ(canvas.BackgroundAt(CellX(2), RowY(1) + 3), clHighlight);
}

TEST_F(PaintTest, CaretLineUsesTheActiveLineColour) {
  NumberedLines(3);
  editor.SetActiveLineColor(clYellow);
  editor.SetCaretPos({1, 2});
  PaintAll(canvas);
  EXPECT_EQ(canvas.BackgroundAt(CellX(2), RowY(2) + 3), clYellow);
  EXPECT_EQ(canvas.BackgroundAt(CellX(30), RowY(2) + 3), clYellow);
  EXPECT_EQ(canvas.BackgroundAt(CellX(2), RowY(1) + 3), clWindow);
}

TEST_F(PaintTest, SpecialLineSwapsItsColoursForTheSelection) {
  NumberedLines(3);
  const TColor red = Rgb(255, 0, 0), blue = Rgb(0, 0, 255);
  editor.OnSpecialLineColors = [&](TCustomEditor&, int line, bool& special, TColor& fg,
                                   TColor& bg) {
    if (line != 2) return;
    special = true;
    fg = red;
    bg = blue;
  };
  editor.SetSelectionAnchor({1, 2});
  editor.SetSelectionEnd({3, 2});
  PaintAll(canvas);
  EXPECT_EQ(canvas.BackgroundAt(CellX(1) + 1, RowY(2) + 3), red);
  EXPECT_EQ(canvas.BackgroundAt(CellX(4) + 1, RowY(2) + 3), blue);
  for (const Op& op : canvas.TextsAt(RowY(2))) {
    if (op.text == "li") {
      EXPECT_EQ(op.color, blue);
    }
    if (op.text == "ne 2") {
      EXPECT_EQ(op.color, red);
    }
  }
}

TEST_F(PaintTest, RightEdgeIsALineAtItsColumn) {
  NumberedLines(2);
  editor.SetRightEdge(10);
  PaintAll(canvas);
  const int x = editor.TextLeft() + 10 * editor.CellWidth();
  bool found = false;
  for (const Op& op : canvas.Ops())
    if (op.kind == Kind::Line && op.from.x == x && op.color == clSilver) found = true;
  EXPECT_TRUE(found);
  editor.SetRightEdge(0);
  canvas.Clear();
  PaintAll(canvas);
  for (const Op& op : canvas.Ops()) EXPECT_FALSE(op.kind == Kind::Line && op.color == clSilver);
}

TEST_F(PaintTest, OnlyTheRowsOfTheRectangleArePainted) {
  NumberedLines(20);
  editor.Paint(canvas, {0, RowY(5), host.client_width, RowY(7)});
  for (const Op& op : canvas.Ops()) {
    if (op.kind == Kind::Text) {
      EXPECT_GE(op.from.y, RowY(5));
      EXPECT_LT(op.from.y, RowY(7));
    }
  }
  EXPECT_EQ(Row(5), "line 5");
  EXPECT_EQ(Row(6), "line 6");
}

TEST_F(PaintTest, ScrolledLineShowsOnlyTheVisibleColumns) {
  Text(std::string(50, 'a') + "XYZ" + std::string(500, 'b'));
  editor.SetLeftColumn(51);
  PaintAll(canvas);
  const std::string row = Row(1);
  EXPECT_EQ(row.substr(0, 4), "XYZb");
  EXPECT_LE(static_cast<int>(row.size()), editor.VisibleColumns() + 1);
  for (const Op& op : canvas.Ops()) {
    if (op.kind == Kind::Text) {
      EXPECT_LE(op.text.size(), std::size_t(editor.VisibleColumns() + 2));
    }
  }
}

TEST_F(PaintTest, ARunStartingOnASecondByteDrawsTheWholeCharacterFromItsFirstCell) {
  TDoubleByteCodePage cp;
  editor.SetCodePage(&cp);
  Text(std::string("ab\x82\xA0") + "cd");  // one double-byte character in columns 3 and 4
  // A repaint whose left edge is the character's second cell.
  editor.Paint(canvas, {CellX(4), 0, host.client_width, RowY(2)});
  const auto runs = canvas.TextsAt(RowY(1));
  ASSERT_FALSE(runs.empty());
  EXPECT_EQ(runs.front().text, std::string("\x82\xA0") + "cd");
  EXPECT_EQ(runs.front().from.x, CellX(3));
  EXPECT_GE(runs.front().rect.left, CellX(4)) << "the first cell is not painted over";
  editor.SetCodePage(nullptr);
}

TEST_F(PaintTest, BookmarkGlyphIsDrawnInTheGutterOfItsLine) {
  NumberedLines(5);
  editor.SetBookMark(2, 1, 3);
  PaintAll(canvas);
  const TBookMarkOpt& o = editor.BookMarkOptions();
  bool in_row = false;
  for (const Op& op : canvas.Ops())
    if (op.kind == Kind::Fill && op.rect.left == o.LeftMargin() && op.rect.top >= RowY(3) &&
        op.rect.top < RowY(4))
      in_row = true;
  EXPECT_TRUE(in_row);
}

// ---- with a highlighter

TEST_F(PaintTest, HighlighterTokensAreDrawnInTheirAttributesAndEqualRunsMerge) {
  WordHighlighter hl;
  editor.SetHighlighter(&hl);
  Text("kw plain more kx");
  PaintAll(canvas);
  std::vector<std::pair<std::string, TFontStyles>> runs;
  for (const Op& op : canvas.TextsAt(RowY(1)))
    if (op.opaque) runs.push_back({op.text, op.style});
  // Blanks join the run before them whatever its style; "plain" and "more"
  // share colours and style: one run.
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], (std::pair<std::string, TFontStyles>{"kw ", fsBold}));
  EXPECT_EQ(runs[1], (std::pair<std::string, TFontStyles>{"plain more ", 0}));
  EXPECT_EQ(runs[2], (std::pair<std::string, TFontStyles>{"kx", fsBold}));
  editor.SetHighlighter(nullptr);
}

TEST_F(PaintTest, WhitespaceBackgroundReplacesTheEditorColour) {
  WordHighlighter hl;
  hl.Space()->SetBackground(Rgb(1, 2, 3));
  editor.SetHighlighter(&hl);
  NumberedLines(2);
  PaintAll(canvas);
  EXPECT_EQ(canvas.BackgroundAt(CellX(30), RowY(1) + 3), Rgb(1, 2, 3));
  EXPECT_EQ(canvas.BackgroundAt(CellX(30), RowY(5) + 3), Rgb(1, 2, 3));
  editor.SetHighlighter(nullptr);
}

TEST_F(PaintTest, StallingHighlighterStopsThePaintWithAnError) {
  WordHighlighter hl;
  editor.SetHighlighter(&hl);
  Text("ok then ! stuck");
  try {
    PaintAll(canvas);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "The highlighter seems to be in an infinite loop");
  }
  editor.SetHighlighter(nullptr);
}

TEST_F(PaintTest, HighlighterGoneMeansPlainPainting) {
  auto hl = std::make_unique<WordHighlighter>();
  editor.SetHighlighter(hl.get());
  Text("kw x");
  hl.reset();  // the editor is told and drops its pointer
  EXPECT_EQ(editor.Highlighter(), nullptr);
  PaintAll(canvas);
  EXPECT_EQ(Row(1), "kw x");
}

TEST_F(PaintTest, BoldAttributesWidenTheCellsToTheWidestStyle) {
  host.style_metrics[fsBold] = {10, 18, 1};
  WordHighlighter hl;
  editor.SetHighlighter(&hl);
  EXPECT_EQ(editor.CellWidth(), 10);
  EXPECT_EQ(editor.RowHeight(), 18);
  editor.SetHighlighter(nullptr);
  EXPECT_EQ(editor.CellWidth(), 8);
  EXPECT_EQ(editor.RowHeight(), 16);
}

}  // namespace

namespace {

TEST_F(PaintTest, HugeLinePaintsTheCellsOfItsExpansion) {
  std::string huge(70000, 'x');
  for (std::size_t i = 0; i < huge.size(); i += 37) huge[i] = '\t';
  for (std::size_t i = 5; i < huge.size(); i += 101) huge[i] = ' ';
  editor.SetTabWidth(4);
  Text("short\r\n" + huge);
  const std::string expanded = editor.Lines().GetExpandedLine(1);
  Options(TEditorOptions{eoShowSpecialChars}, TEditorOptions{eoScrollPastEol});
  for (int left : {1, 2, 3, 30000, static_cast<int>(expanded.size()) - 50}) {
    SCOPED_TRACE(left);
    editor.SetLeftColumn(left);
    left = editor.LeftColumn();  // the last page is as far as it goes
    canvas.Clear();
    PaintAll(canvas);
    std::string want = expanded.substr(static_cast<std::size_t>(left - 1),
                                       static_cast<std::size_t>(editor.VisibleColumns()));
    for (char& c : want) c = c == '\t' ? ' ' : c == ' ' ? '\xB7' : c;
    if (static_cast<int>(want.size()) < editor.VisibleColumns()) want += '\xB6';
    EXPECT_EQ(Row(2).substr(0, want.size()), want);
    // One glyph per tab span whose middle is in sight, each in the middle of its span.
    for (const Op& g : Glyphs(2, '\xBB')) {
      const int cell = (g.from.x + editor.CellWidth() / 2 - editor.TextLeft()) / editor.CellWidth();
      EXPECT_EQ(expanded[static_cast<std::size_t>(cell)], '\t');
    }
  }
}

TEST_F(PaintTest, ConversionsOnALongLineAgreeWithCountingCellByCell) {
  std::string line;
  for (int i = 0; i < 3000; ++i) line += (i % 7 == 0) ? '\t' : static_cast<char>('a' + i % 26);
  editor.SetTabWidth(3);
  Text(line);
  long long column = 0;
  for (int ch = 1; ch <= static_cast<int>(line.size()) + 3; ++ch) {
    ASSERT_EQ(editor.BufferToDisplayPos({ch, 1}).Column, column + 1) << ch;
    ASSERT_EQ(editor.DisplayToBufferPos({static_cast<int>(column + 1), 1}).Char, ch) << ch;
    const bool tab =
        ch <= static_cast<int>(line.size()) && line[static_cast<std::size_t>(ch - 1)] == '\t';
    if (tab) {
      // Every cell of the tab's span maps back to the tab.
      const long long next = column + 3 - column % 3;
      for (long long c = column + 1; c <= next; ++c)
        ASSERT_EQ(editor.DisplayToBufferPos({static_cast<int>(c), 1}).Char, ch) << c;
      column = next;
    } else {
      ++column;
    }
  }
}

}  // namespace
