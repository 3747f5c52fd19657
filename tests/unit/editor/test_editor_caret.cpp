#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/EditorVirtualKeys.h"
#include "language/EditorHighlighter.h"
#include "support/DoubleByteCodePage.h"

namespace {

using CaretTest = EditorFixture;

TEST_F(CaretTest, BufferAndDisplayPositionsConvertThroughTabs) {
  editor.SetTabWidth(4);
  Text("a\tb\r\nxyz");
  struct Case {
    int ch, column;
  };
  // "a", a TAB filling columns 2..4, "b" in column 5; beyond the end one column each.
  const Case to_display[] = {{1, 1}, {2, 2}, {3, 5}, {4, 6}, {6, 8}};
  for (const Case& c : to_display)
    EXPECT_EQ(editor.BufferToDisplayPos({c.ch, 1}).Column, c.column) << c.ch;
  const Case to_buffer[] = {{1, 1}, {2, 2}, {2, 3}, {2, 4}, {3, 5}, {4, 6}, {6, 8}};
  for (const Case& c : to_buffer)
    EXPECT_EQ(editor.DisplayToBufferPos({c.column, 1}).Char, c.ch) << c.column;
  EXPECT_EQ(editor.BufferToDisplayPos({3, 2}).Column, 3);
  EXPECT_EQ(editor.DisplayToBufferPos({0, 2}).Char, 1);
}

TEST_F(CaretTest, EmptyTextKeepsTheCaretAtTheStart) {
  Options({}, TEditorOptions{eoScrollPastEol});
  Text("");
  for (TEditorCommand c : {ecRight, ecDown, ecLineEnd, ecEditorBottom, ecPageDown, ecWordRight}) {
    Run(c);
    EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 1})) << c;
  }
}

TEST_F(CaretTest, LineEndsWrapWithoutScrollPastEol) {
  Options({}, TEditorOptions{eoScrollPastEol});
  Text("abc\r\nde");
  editor.SetCaretPos({1, 2});
  Run(ecLeft);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{4, 1}));
  Run(ecRight);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 2}));
  editor.SetCaretPos({3, 2});
  Run(ecRight);  // the last line: no wrap, no move past its end
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{3, 2}));
  editor.SetCaretPos({1, 1});
  Run(ecLeft);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 1}));
}

TEST_F(CaretTest, ScrollPastEolLetsTheCaretLeaveTheLineAndKeepsItsColumn) {
  Options(TEditorOptions{eoScrollPastEol});
  Text("a long line here\r\nab");
  editor.SetCaretPos({17, 1});
  Run(ecRight);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{18, 1}));
  editor.SetCaretPos({10, 1});
  Run(ecDown);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{10, 2}));
}

TEST_F(CaretTest, VerticalMovesClampToShortLinesWithoutScrollPastEol) {
  Options({}, TEditorOptions{eoScrollPastEol});
  Text("a long line here\r\nab\r\nanother long line");
  editor.SetCaretPos({10, 1});
  Run(ecDown);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{3, 2}));
  Run(ecDown);  // the current column, not the one remembered
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{3, 3}));
  Options(TEditorOptions{eoKeepCaretX});
  editor.SetCaretPos({10, 1});
  Run(ecDown);
  Run(ecDown);  // the remembered column comes back
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{10, 3}));
}

TEST_F(CaretTest, SmartHomeAlternatesBetweenIndentAndColumnOne) {
  Options(TEditorOptions{eoEnhanceHomeKey});
  Text("    abc");
  editor.SetCaretPos({7, 1});
  const int expected[] = {5, 1, 5, 1};
  for (int e : expected) {
    Run(ecLineStart);
    EXPECT_EQ(editor.CaretChar(), e);
  }
  Options({}, TEditorOptions{eoEnhanceHomeKey});
  editor.SetCaretPos({7, 1});
  Run(ecLineStart);
  EXPECT_EQ(editor.CaretChar(), 1);
}

TEST_F(CaretTest, SmartEndStopsAfterTheTextThenAfterTrailingBlanks) {
  Options(TEditorOptions{eoEnhanceEndKey});
  Text("abc  ");
  editor.SetCaretPos({1, 1});
  const int expected[] = {4, 6, 4};
  for (int e : expected) {
    Run(ecLineEnd);
    EXPECT_EQ(editor.CaretChar(), e);
  }
  Options({}, TEditorOptions{eoEnhanceEndKey});
  editor.SetCaretPos({1, 1});
  Run(ecLineEnd);
  EXPECT_EQ(editor.CaretChar(), 6);
}

TEST_F(CaretTest, ShiftMovesSelectFromWhereTheCaretWas) {
  Text("hello world\r\nsecond");
  editor.SetCaretPos({3, 1});
  Run(ecSelRight);
  Run(ecSelRight);
  EXPECT_EQ(editor.SelectionAnchor(), (TBufferCoord{3, 1}));
  EXPECT_EQ(editor.SelectedText(), "ll");
  Run(ecSelDown);
  EXPECT_EQ(editor.SelectedText(), "llo world\r\nseco");
  Run(ecRight);  // a plain move collapses the selection
  EXPECT_FALSE(editor.HasSelection());
  Run(ecSelectAll);
  EXPECT_EQ(editor.SelectedText(), "hello world\r\nsecond");
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{7, 2}));
}

TEST_F(CaretTest, ColumnSelectionOfZeroWidthIsNoSelection) {
  Text("abcdef\r\nabcdef\r\nabcdef");
  editor.SetSelectionMode(smColumn);
  editor.SetSelectionAnchor({3, 1});
  editor.SetSelectionEnd({3, 3});
  EXPECT_FALSE(editor.HasSelection());
  editor.SetSelectionEnd({5, 3});
  EXPECT_TRUE(editor.HasSelection());
  EXPECT_EQ(editor.SelectedText(), "cd\r\ncd\r\ncd");
  editor.SetSelectionMode(smNormal);
  editor.SetSelectionAnchor({3, 1});
  editor.SetSelectionEnd({3, 3});
  EXPECT_TRUE(editor.HasSelection());  // normal mode: different lines are a selection
}

TEST_F(CaretTest, LineSelectionTakesWholeLines) {
  Text("one\r\ntwo\r\nthree");
  editor.SetSelectionMode(smLine);
  editor.SetSelectionAnchor({2, 1});
  editor.SetSelectionEnd({1, 2});
  EXPECT_EQ(editor.SelectedText(), "one\r\ntwo\r\n");
  editor.SetSelectionEnd({1, 3});
  EXPECT_EQ(editor.SelectedText(), "one\r\ntwo\r\nthree");
}

TEST_F(CaretTest, PageKeysMoveByTheWindowAsTheOptionsSay) {
  NumberedLines(500);
  ASSERT_EQ(editor.VisibleRows(), 30);
  struct Case {
    TEditorOptions options;
    int page;
  };
  const Case cases[] = {{{}, 30},
                        {TEditorOptions{eoHalfPageScroll}, 15},
                        {TEditorOptions{eoScrollByOneLess}, 29},
                        {eoHalfPageScroll | eoScrollByOneLess, 14}};
  for (const Case& c : cases) {
    Options(c.options, (eoHalfPageScroll | eoScrollByOneLess) - c.options);
    editor.SetCaretPos({1, 1});
    Run(ecPageDown);
    EXPECT_EQ(editor.CaretLine(), 1 + c.page);
    EXPECT_EQ(editor.TopRow(), 1 + c.page);
    Run(ecPageDown);
    Run(ecPageUp);
    EXPECT_EQ(editor.CaretLine(), 1 + c.page);
  }
  editor.SetCaretPos({1, 1});
  Options({}, eoHalfPageScroll | eoScrollByOneLess);
  editor.SetTopRow(10);
  editor.SetCaretPos({1, 20});
  Run(ecPageBottom);
  EXPECT_EQ(editor.CaretLine(), 39);
  Run(ecPageTop);
  EXPECT_EQ(editor.CaretLine(), 10);
}

TEST_F(CaretTest, EditorTopAndBottomAndGotoXY) {
  Text("first\r\nsecond\r\nlast line");
  Run(ecEditorBottom);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{10, 3}));
  Run(ecSelEditorTop);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 1}));
  EXPECT_EQ(editor.SelectedText(), "first\r\nsecond\r\nlast line");
  TBufferCoord target{3, 2};
  editor.ProcessCommand(ecGotoXY, 0, &target);
  EXPECT_EQ(editor.CaretPos(), target);
  EXPECT_FALSE(editor.HasSelection());
}

TEST_F(CaretTest, WordMovesStopAtWordStarts) {
  Text("alpha, beta.gamma\r\n  next(line)");
  struct Case {
    TBufferCoord from;
    TEditorCommand command;
    TBufferCoord to;
  };
  const Case cases[] = {
      {{1, 1}, ecWordRight, {8, 1}},    // over "alpha, " to "beta"
      {{8, 1}, ecWordRight, {13, 1}},   // "." breaks words
      {{13, 1}, ecWordRight, {18, 1}},  // no word left: after the last character
      {{17, 1}, ecWordRight, {3, 2}},   // on the last character: the next line's first word
      {{18, 1}, ecWordRight, {3, 2}},  {{3, 2}, ecWordLeft, {18, 1}},  // only blanks before: end of
                                                                       // the previous line
      {{13, 1}, ecWordLeft, {8, 1}},   {{10, 1}, ecWordLeft, {8, 1}}, {{8, 2}, ecWordLeft, {3, 2}},
      {{1, 1}, ecWordLeft, {1, 1}},
  };
  for (const Case& c : cases) {
    editor.SetCaretPos(c.from);
    Run(c.command);
    EXPECT_EQ(editor.CaretPos(), c.to) << c.from << " " << c.command;
  }
}

// Word characters are the highlighter's: here "." is a word character.
class DotWords : public TCustomHighlighter {
 public:
  DotWords() {
    THighlighterCharSet breaks = DefaultWordBreakChars();
    breaks.reset('.');
    SetWordBreakChars(breaks);
    Loaded();
  }
  THighlighterAttributes* DefaultAttribute(int) const override { return nullptr; }
  void SetLineText(std::string_view text, int) override { len_ = static_cast<int>(text.size()); }
  void NextToken() override {}
  bool AtLineEnd() const override { return true; }
  std::string TokenText() const override { return {}; }
  int TokenStart() const override { return len_; }
  int TokenKind() const override { return 0; }
  THighlighterAttributes* TokenAttribute() const override { return nullptr; }
  // Only letters and the dot are identifier characters.
  THighlighterCharSet IdentChars() const override {
    THighlighterCharSet s;
    for (int c = 'a'; c <= 'z'; ++c) s.set(c);
    s.set('.');
    return s;
  }

 private:
  int len_ = 0;
};

TEST_F(CaretTest, WordMovesUseTheHighlightersWordCharacters) {
  Text("beta.gamma x_y");
  DotWords hl;
  editor.SetHighlighter(&hl);
  editor.SetCaretPos({1, 1});
  Run(ecWordRight);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{12, 1}));
  Run(ecWordRight);  // "_" is no identifier character here
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{14, 1}));
  editor.SetHighlighter(nullptr);
  editor.SetCaretPos({1, 1});
  Run(ecWordRight);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{6, 1}));
}

TEST_F(CaretTest, SelectWordAndMatchBracket) {
  Text("call foo(bar[1], (x))");
  editor.SetCaretPos({7, 1});
  Run(ecSelWord);
  EXPECT_EQ(editor.SelectedText(), "foo");
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{9, 1}));
  editor.SetCaretPos({9, 1});
  Run(ecMatchBracket);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{21, 1}));
  Run(ecMatchBracket);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{9, 1}));
  editor.SetCaretPos({13, 1});
  Run(ecMatchBracket);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{15, 1}));
}

TEST_F(CaretTest, PositionsOutsideTheTextAreClamped) {
  Options({}, TEditorOptions{eoScrollPastEol});
  Text("abc\r\nde");
  editor.SetCaretPos({-5, -7});
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 1}));
  editor.SetCaretPos({99, 1000});
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{3, 2}));
  editor.SetSelectionAnchor({-1, 0});
  editor.SetSelectionEnd({500, 500});
  EXPECT_EQ(editor.SelectionAnchor(), (TBufferCoord{1, 1}));
  EXPECT_EQ(editor.SelectionEnd(), (TBufferCoord{3, 2}));
  editor.SetTopRow(-3);
  editor.SetLeftColumn(1 << 30);
  EXPECT_EQ(editor.TopRow(), 1);
  EXPECT_EQ(editor.LeftColumn(), 1);
  Options(TEditorOptions{eoScrollPastEol});
  editor.SetCaretPos({1 << 30, 1});
  EXPECT_EQ(editor.CaretChar(), editor.MaxScrollWidth() + 1);
}

TEST_F(CaretTest, CharacterOffsetsCountLineBreaksAsTwo) {
  Text("ab\r\ncde\r\nf");
  struct Case {
    int offset;
    TBufferCoord position;
  };
  const Case cases[] = {{0, {1, 1}}, {2, {3, 1}}, {4, {1, 2}},
                        {7, {4, 2}}, {9, {1, 3}}, {10, {2, 3}}};
  for (const Case& c : cases) {
    editor.SetSelStart(c.offset);
    EXPECT_EQ(editor.CaretPos(), c.position) << c.offset;
    EXPECT_EQ(editor.SelStart(), c.offset);
    EXPECT_EQ(editor.SelLength(), 0);
  }
  editor.SetSelStart(1);
  editor.SetSelLength(5);
  EXPECT_EQ(editor.SelectedText(), "b\r\ncd");
  EXPECT_EQ(editor.SelLength(), 5);
  editor.SetSelStart(1000);  // beyond the text: column 1 of the line after, clamped
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 3}));
  EXPECT_EQ(editor.OffsetToPosition(1000), (TBufferCoord{1, 4}));
}

TEST_F(CaretTest, DoubleByteCharactersAreNeverSplit) {
  TDoubleByteCodePage cp;
  editor.SetCodePage(&cp);
  Options({}, TEditorOptions{eoScrollPastEol});
  Text("a\x82\xA0z\r\nabcdef");
  editor.SetCaretPos({2, 1});
  Run(ecRight);
  EXPECT_EQ(editor.CaretChar(), 4);
  Run(ecLeft);
  EXPECT_EQ(editor.CaretChar(), 2);
  // Down from column 3 of the second line lands on the second byte: it steps back.
  editor.SetCaretPos({3, 2});
  Run(ecUp);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{2, 1}));
  EXPECT_EQ(editor.DisplayToBufferPos({3, 1}).Char, 4);
  editor.SetCodePage(nullptr);
}

TEST_F(CaretTest, StatusChangesCollectUnderThePaintLock) {
  NumberedLines(100);
  std::vector<TStatusChanges> seen;
  editor.OnStatusChange = [&](TCustomEditor&, TStatusChanges c) { seen.push_back(c); };
  Run(ecDown);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].Contains(scCaretY));
  EXPECT_FALSE(seen[0].Contains(scCaretX));
  seen.clear();
  editor.BeginUpdate();
  Run(ecRight);
  Run(ecPageDown);
  EXPECT_TRUE(seen.empty());
  editor.EndUpdate();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].Contains(scCaretX));
  EXPECT_TRUE(seen[0].Contains(scCaretY));
  EXPECT_TRUE(seen[0].Contains(scTopLine));
  seen.clear();
  editor.SetInsertMode(false);  // outside the lock: at once
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], TStatusChanges{scInsertMode});
}

}  // namespace

namespace {

TEST_F(CaretTest, LineLongerThanTheScrollWidthStaysReachable) {
  Options(TEditorOptions{eoScrollPastEol});
  Text(std::string(3000, 'x') + "\r\nshort");
  Run(ecLineEnd);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{3001, 1}));
  EXPECT_EQ(editor.LeftColumn(), 3001 - editor.VisibleColumns() + 1);
  EXPECT_GE(host.bars[THostScrollBar::Horizontal].Max, 3001);
  Run(ecSelLineStart);
  EXPECT_EQ(editor.SelectedText().size(), 3000u);
  // The scroll width grew to what the caret reached; it limits other lines.
  EXPECT_EQ(editor.ScrollWidth(), 3001);
  editor.SetCaretPos({5000, 2});
  EXPECT_EQ(editor.CaretChar(), 3002);
}

}  // namespace
