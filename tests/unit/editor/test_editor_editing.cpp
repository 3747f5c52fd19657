#include <gtest/gtest.h>

#include <random>
#include <string>

#include "EditingHelpers.h"
#include "EditorFixture.h"
#include "support/DoubleByteCodePage.h"

namespace {

class EditingTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    editor.SetTabWidth(4);
  }
};

struct CommandCase {
  const char* what;
  TEditorOptions options;
  const char* before;  // "|" marks the caret
  TEditorCommand command;
  char ch;
  const char* after;
};

const TEditorOptions kPlain = {eoScrollPastEol};

TEST_F(EditingTest, CommandsChangeTextAndCaretAndUndoRestoresThem) {
  const CommandCase cases[] = {
      {"enter inside an indented line",
       {eoAutoIndent},
       "    ab|cd",
       ecLineBreak,
       0,
       "    ab\r\n\t|cd"},
      {"enter with tabs to spaces",
       {eoAutoIndent, eoTabsToSpaces},
       "    ab|cd",
       ecLineBreak,
       0,
       "    ab\r\n    |cd"},
      {"enter without auto indent", {}, "    ab|cd", ecLineBreak, 0, "    ab\r\n|cd"},
      {"enter at column 1 moves the line down",
       {eoAutoIndent},
       "x\r\n|ab",
       ecLineBreak,
       0,
       "x\r\n\r\n|ab"},
      {"enter at the end copies the indentation",
       {eoAutoIndent},
       "\t ab|",
       ecLineBreak,
       0,
       "\t ab\r\n\t |"},
      {"insert line keeps the caret", {eoAutoIndent}, "ab|cd", ecInsertLine, 0, "ab|\r\ncd"},
      {"backspace joins lines", kPlain, "ab\r\n|cd", ecDeleteLastChar, 0, "ab|cd"},
      {"backspace removes one character", kPlain, "ab|cd", ecDeleteLastChar, 0, "a|cd"},
      {"backspace in indentation goes back to the tab stop", kPlain, "      |x", ecDeleteLastChar,
       0, "    |x"},
      {"backspace stops at a tab", kPlain, "\t  |x", ecDeleteLastChar, 0, "\t|x"},
      {"smart backspace goes to the indentation above",
       {eoSmartTabDelete},
       "  a\r\n      |x",
       ecDeleteLastChar,
       0,
       "  a\r\n  |x"},
      {"delete joins the next line", kPlain, "ab|\r\ncd", ecDeleteChar, 0, "ab|cd"},
      {"delete removes one character", kPlain, "a|bc", ecDeleteChar, 0, "a|c"},
      {"delete word takes the spaces after it", kPlain, "|foo  bar", ecDeleteWord, 0, "|bar"},
      {"delete word on a space run", kPlain, "a|   b", ecDeleteWord, 0, "a|b"},
      {"delete word at the end joins", kPlain, "ab|\r\n  cd", ecDeleteWord, 0, "ab|cd"},
      {"delete word at the end keeps the tabs", kPlain, "ab|\r\n \tcd", ecDeleteWord, 0, "ab|\tcd"},
      {"delete last word", kPlain, "foo bar|", ecDeleteLastWord, 0, "foo |"},
      {"delete to line start", kPlain, "foo b|ar", ecDeleteBOL, 0, "|ar"},
      {"delete to line end", kPlain, "fo|o bar", ecDeleteEOL, 0, "fo|"},
      {"delete line", kPlain, "a\r\nb|b\r\nc", ecDeleteLine, 0, "a\r\n|c"},
      {"delete the last line empties it", kPlain, "a\r\nb|b", ecDeleteLine, 0, "a\r\n|"},
      {"tab inserts a tab", {}, "ab|x", ecTab, 0, "ab\t|x"},
      {"tab on line 1 with smart tabs", {eoSmartTabs}, "|x", ecTab, 0, "\t|x"},
      {"tab to spaces reaches the tab stop",
       {eoSmartTabs, eoTabsToSpaces},
       "ab|x",
       ecTab,
       0,
       "ab  |x"},
      {"smart tab goes under the next word",
       {eoSmartTabs, eoTabsToSpaces},
       "abc   def\r\n|x",
       ecTab,
       0,
       "abc   def\r\n      |x"},
      {"smart tab with tabs and spaces",
       {eoSmartTabs},
       "abc      def\r\n|x",
       ecTab,
       0,
       "abc      def\r\n\t\t |x"},
      {"shift tab back to the tab stop", kPlain, "    |x", ecShiftTab, 0, "|x"},
      {"shift tab removes a tab", kPlain, "\t\t|x", ecShiftTab, 0, "\t|x"},
      {"smart shift tab to the word above",
       {eoSmartTabs},
       "ab  cd\r\n      |x",
       ecShiftTab,
       0,
       "ab  cd\r\n    |x"},
      {"typing in overwrite mode still inserts", kPlain, "a|b", ecChar, 'x', "ax|b"},
      {"control characters are not typed", kPlain, "a|b", ecChar, 7, "a|b"},
      {"upper case of the word", kPlain, "foo ba|r", ecUpperCase, 0, "foo BA|R"},
      {"upper case of the word before", kPlain, "foo bar |", ecUpperCase, 0, "foo BAR |"},
      {"title case", kPlain, "|hELLO x", ecTitleCase, 0, "|Hello x"},
      {"toggle case of the character", kPlain, "|aB", ecToggleCaseBlock, 0, "|AB"},
      {"lower case of the word", kPlain, "AB|C d", ecLowerCase, 0, "ab|c d"},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.what);
    editor.SetOptions(c.options);
    editor.SetInsertMode(c.command != ecChar);
    LoadMarked(editor, c.before);
    editor.ClearUndoHistory();
    const std::string original = editor.Text();
    editor.ProcessCommand(c.command, c.ch, nullptr);
    EXPECT_EQ(Marked(editor), c.after);
    const std::string edited = editor.Text();
    editor.Undo();
    EXPECT_EQ(editor.Text(), original) << "undo";
    editor.Redo();
    EXPECT_EQ(editor.Text(), edited) << "redo";
  }
}

TEST_F(EditingTest, EnterOnAnEmptyLineGoesToTheIndentationWithoutBlanks) {
  editor.SetOptions({eoAutoIndent, eoScrollPastEol});
  LoadMarked(editor, "    abc\r\n|\r\nz");
  Run(ecLineBreak);
  EXPECT_EQ(editor.Text(), "    abc\r\n\r\n\r\nz");
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{5, 3}));
}

TEST_F(EditingTest, BackspaceJoinUndoRestoresBothLinesAndTheCaret) {
  LoadMarked(editor, "ab\r\n|cd");
  Run(ecDeleteLastChar);
  editor.Undo();
  EXPECT_EQ(Marked(editor), "ab\r\n|cd");
}

TEST_F(EditingTest, BlockIndentAndUnindentOverThreeLines) {
  struct Case {
    TEditorOptions options;
    const char* indented;
  };
  const Case cases[] = {{{eoTabIndent}, "\ta\r\n\t  b\r\n\tc"},
                        {{eoTabIndent, eoTabsToSpaces}, "    a\r\n      b\r\n    c"}};
  for (const Case& c : cases) {
    editor.SetOptions(c.options);
    editor.SetText("a\r\n  b\r\nc");
    editor.SetCaretPos({1, 1});
    editor.SetSelectionEnd({2, 3});
    Run(ecTab);
    EXPECT_EQ(editor.Text(), c.indented);
    EXPECT_TRUE(editor.HasSelection());
    Run(ecShiftTab);
    EXPECT_EQ(editor.Text(), "a\r\n  b\r\nc");
    Run(ecShiftTab);
    EXPECT_EQ(editor.Text(), "a\r\nb\r\nc") << "the spaces of line 2 go next";
    editor.Undo();
    editor.Undo();
    EXPECT_EQ(editor.Text(), c.indented);
    editor.Undo();
    EXPECT_EQ(editor.Text(), "a\r\n  b\r\nc");
  }
}

TEST_F(EditingTest, SelectedTextInTheThreeModesReadsAndReplaces) {
  struct Case {
    TSelectionMode mode;
    const char* selected;
    const char* after;
  };
  const Case cases[] = {{smNormal, "bc\r\nefg\r\ngh", "aXi"},
                        {smLine, "abc\r\nefg\r\nghi", "X\r\n"},
                        {smColumn, "b\r\nf\r\nh", "ac\r\neg\r\ngXi"}};
  for (const Case& c : cases) {
    editor.SetText("abc\r\nefg\r\nghi");
    editor.SetSelectionMode(c.mode);
    editor.SetCaretPos({2, 1});
    editor.SetSelectionEnd({3, 3});
    EXPECT_EQ(editor.SelectedText(), c.selected);
    editor.SetSelectedText("X");
    EXPECT_EQ(editor.Text(), c.after) << int(c.mode);
    editor.Undo();
    EXPECT_EQ(editor.Text(), "abc\r\nefg\r\nghi") << int(c.mode);
  }
}

TEST_F(EditingTest, BookmarksFollowInsertedAndDeletedLines) {
  NumberedLines(5);
  editor.SetBookMark(1, 1, 3);
  editor.SetCaretPos({1, 1});
  Run(ecLineBreak);
  EXPECT_EQ(editor.BookMark(1)->Line, 4);
  editor.SetCaretPos({1, 2});
  Run(ecDeleteLine);
  EXPECT_EQ(editor.BookMark(1)->Line, 3);
  editor.SetCaretPos({1, 3});
  Run(ecDeleteLastChar);  // joins line 3 to line 2
  EXPECT_EQ(editor.BookMark(1)->Line, 2);
}

TEST_F(EditingTest, ReadOnlyChangesNothing) {
  editor.SetText("abc");
  editor.SetReadOnly(true);
  for (TEditorCommand c : {ecDeleteLastChar, ecLineBreak, ecTab, ecDeleteLine, ecUpperCase}) Run(c);
  editor.ProcessCommand(ecChar, 'x', nullptr);
  editor.SetSelectedText("zz");
  EXPECT_EQ(editor.Text(), "abc");
  EXPECT_FALSE(editor.CanUndo());
}

TEST_F(EditingTest, ImeStringsOverwriteInOverwriteMode) {
  editor.SetText("abcdef");
  editor.SetCaretPos({2, 1});
  editor.SetInsertMode(false);
  char ime[] = "XY";
  editor.ProcessCommand(ecImeStr, 0, ime);
  EXPECT_EQ(Marked(editor), "aXY|def");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "abcdef");
}

TEST_F(EditingTest, ReplaceSelMessageRecordsOnlyWhenAsked) {
  for (bool can_undo : {false, true}) {
    editor.SetText("abc");
    editor.SetCaretPos({2, 1});
    editor.SetSelectionEnd({3, 1});
    bool handled = false;
    editor.EditMessage(em::ReplaceSel, can_undo ? 1 : 0, reinterpret_cast<std::intptr_t>("XY"),
                       handled);
    EXPECT_EQ(editor.Text(), "aXYc");
    EXPECT_EQ(editor.CanUndo(), can_undo);
    EXPECT_EQ(editor.EditMessage(em::Undo, 0, 0, handled), can_undo ? 1 : 0);
    EXPECT_EQ(editor.Text(), can_undo ? "abc" : "aXYc");
  }
}

TEST_F(EditingTest, ReplaceSelMessageIsUndoneExactlyWhateverTheSelection) {
  editor.SetOptions(editor.Options() + TEditorOptions{eoScrollPastEol});
  struct Case {
    const char* what;
    TSelectionMode mode;
    TBufferCoord anchor, end;  // equal: no selection, just the caret
    const char* replacement;
  } cases[] = {
      {"column selection", smColumn, {2, 1}, {4, 2}, "Z"},
      {"column selection past the line ends", smColumn, {3, 1}, {9, 3}, "Z\r\nW"},
      {"caret beyond the end of a line", smNormal, {8, 1}, {8, 1}, "XY"},
      {"line selection", smLine, {2, 1}, {2, 2}, "new"},
      {"normal selection across lines", smNormal, {3, 1}, {2, 3}, "1\r\n2\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string original = "abcd\r\nefgh\r\nij";
    editor.SetText(original);
    editor.SetSelectionMode(c.mode);
    editor.SetCaretPos(c.anchor);
    editor.SetSelectionAnchor(c.anchor);
    editor.SetSelectionEnd(c.end);
    bool handled = false;
    editor.EditMessage(em::ReplaceSel, 1, reinterpret_cast<std::intptr_t>(c.replacement), handled);
    const std::string replaced = editor.Text();
    EXPECT_NE(replaced, original);
    editor.Undo();
    EXPECT_EQ(editor.Text(), original);
    editor.Redo();
    EXPECT_EQ(editor.Text(), replaced);
  }
  // A replacement that may not be undone ends the history before it.
  editor.SetText("abc");
  editor.SetCaretPos({4, 1});
  editor.ProcessCommand(ecChar, 'd', nullptr);
  bool handled = false;
  editor.EditMessage(em::ReplaceSel, 0, reinterpret_cast<std::intptr_t>("\r\nxy"), handled);
  editor.Undo();
  EXPECT_EQ(editor.Text(), "abcd\r\nxy");
}

}  // namespace

namespace {

// The longest-line answer is kept up to date line by line; it must always
// equal a fresh search.
TEST(LongestLine, FollowsEveryKindOfChange) {
  TEditorStringList lines;
  std::mt19937 rng(7);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int i = 0; i < 20; ++i) lines.Add(std::string(static_cast<std::size_t>(pick(30)), 'a'));
  for (int step = 0; step < 2000; ++step) {
    const std::string text(static_cast<std::size_t>(pick(40)), pick(4) ? 'b' : '\t');
    const int at = pick(lines.Count());
    switch (pick(8)) {
      case 0:
      case 1:
        lines.SetLine(at, text);
        break;
      case 2:
        lines.Insert(at, text);
        break;
      case 3:
        if (lines.Count() > 2) lines.DeleteLineRange(at, 1 + pick(3));
        break;
      case 4:
        lines.InsertEmptyLines(at, 1 + pick(3));
        break;
      case 5:
        lines.Exchange(at, pick(lines.Count()));
        break;
      case 6:
        lines.SetTabWidth(1 + pick(8));
        break;
      default:
        lines.AppendLines(std::vector<std::string>{text});
        break;
    }
    int longest = 0;
    for (int i = 0; i < lines.Count(); ++i) longest = std::max(longest, lines.GetExpandedLength(i));
    ASSERT_EQ(lines.LongestLineLength(), longest) << "step " << step;
  }
}

}  // namespace

namespace {

class DoubleByteEditingTest : public EditingTest {
 protected:
  TDoubleByteCodePage code_page;
  void SetUp() override {
    EditingTest::SetUp();
    editor.SetCodePage(&code_page);
  }
};

TEST_F(DoubleByteEditingTest, DeletingAndCaseConversionKeepDoubleByteCharactersWhole) {
  const std::string wide = "\x82\x61";  // a lead byte, then a trail byte that looks like "a"
  struct Case {
    std::string before;
    TEditorCommand command;
    std::string after;
  };
  const Case cases[] = {{"x" + wide + "|y", ecDeleteLastChar, "x|y"},
                        {"x|" + wide + "y", ecDeleteChar, "x|y"},
                        {"|" + wide + "b", ecToggleCaseBlock, "|" + wide + "b"},
                        {"c" + wide + "b|", ecUpperCase, "c" + wide + "B|"}};
  for (const Case& c : cases) {
    LoadMarked(editor, c.before);
    Run(c.command);
    EXPECT_EQ(Marked(editor), c.after) << c.command;
  }
}

}  // namespace
