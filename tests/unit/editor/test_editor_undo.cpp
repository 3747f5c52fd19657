#include <gtest/gtest.h>

#include <random>
#include <string>

#include "EditingHelpers.h"
#include "EditorFixture.h"
#include "support/DoubleByteCodePage.h"
#include "support/MemoryClipboard.h"

namespace {

class EditorUndoTest : public EditorFixture {
 protected:
  TMemoryClipboard clipboard;
  void SetUp() override {
    EditorFixture::SetUp();
    editor.SetClipboard(&clipboard);
  }
  void Type(const std::string& s) {
    for (char c : s) editor.ProcessCommand(ecChar, c, nullptr);
  }
};

TEST_F(EditorUndoTest, TypedRunsUndoTogetherOnlyWithGroupUndo) {
  struct Case {
    bool group;
    std::vector<std::string> after_each_undo;
  };
  const Case cases[] = {{true, {""}}, {false, {"ab", "a", ""}}};
  for (const Case& c : cases) {
    editor.SetOptions(c.group ? TEditorOptions{eoGroupUndo} : TEditorOptions{});
    editor.ClearAll();
    Type("abc");
    for (const std::string& expected : c.after_each_undo) {
      editor.Undo();
      EXPECT_EQ(editor.Text(), expected) << c.group;
    }
    editor.Redo();
    EXPECT_EQ(editor.Text(), c.group ? "abc" : "a");
  }
}

TEST_F(EditorUndoTest, ACaretMoveEndsTheRun) {
  editor.SetOptions({eoGroupUndo});
  Type("ab");
  Run(ecLeft);
  Type("c");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "ab");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "");
}

TEST_F(EditorUndoTest, ModifiedFollowsTheSavedStateAndTheTitleEventFires) {
  int changes = 0, modified_events = 0;
  editor.OnChange = [&](TCustomEditor&) { ++changes; };
  editor.OnStatusChange = [&](TCustomEditor&, TStatusChanges s) {
    if (s.Contains(scModified)) ++modified_events;
  };
  editor.SetText("x");
  editor.SetModified(false);
  Type("a");
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(changes, 1) << "one OnChange per typed character";
  editor.Undo();
  EXPECT_FALSE(editor.Modified());
  editor.Redo();
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(modified_events, 3);
  EXPECT_EQ(changes, 3);
}

TEST_F(EditorUndoTest, NewEditEmptiesRedoButACaretMoveDoesNot) {
  Type("ab");
  editor.Undo();
  ASSERT_TRUE(editor.CanRedo());
  Run(ecRight);
  EXPECT_TRUE(editor.CanRedo());
  Type("x");
  EXPECT_FALSE(editor.CanRedo());
}

TEST_F(EditorUndoTest, APasteOfThreeLinesUndoesInOneStepWithoutGroupUndo) {
  editor.SetOptions({});
  editor.SetText("start");
  editor.SetCaretPos({6, 1});
  clipboard.Open();
  clipboard.SetData(IClipboard::kTextFormat, std::string("1\r\n2\r\n3\0", 8));
  clipboard.Close();
  Run(ecPaste);
  EXPECT_EQ(editor.Text(), "start1\r\n2\r\n3");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "start");
  editor.Redo();
  EXPECT_EQ(editor.Text(), "start1\r\n2\r\n3");
}

TEST_F(EditorUndoTest, MaxUndoKeepsOnlyTheNewestWholeActions) {
  editor.SetOptions({});
  editor.SetMaxUndo(2);
  Type("abc");
  editor.Undo();
  editor.Undo();
  editor.Undo();
  EXPECT_EQ(editor.Text(), "a");
  // A replace-all bigger than MaxUndo is undone whole, or not at all.
  editor.SetText("x x x x x");
  editor.UndoList().OpenGroup();
  for (int i = 4; i >= 0; --i) {
    editor.SetCaretPos({1 + 2 * i, 1});
    editor.SetSelectionEnd({2 + 2 * i, 1});
    editor.SetSelectedText("yy");
  }
  editor.UndoList().CloseGroup();
  ASSERT_EQ(editor.Text(), "yy yy yy yy yy");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "x x x x x");
  editor.Redo();
  const std::string replaced = editor.Text();
  editor.SetCaretPos({1, 1});
  Type("z");
  editor.Undo();
  EXPECT_EQ(editor.Text(), replaced);
  editor.Undo();
  EXPECT_TRUE(editor.Text() == replaced || editor.Text() == "x x x x x")
      << "no half-undone replace: " << editor.Text();
}

TEST_F(EditorUndoTest, UndoAfterClearAllDoesNothing) {
  Type("abc");
  Run(ecClearAll);
  EXPECT_FALSE(editor.Modified());
  editor.Undo();
  editor.Redo();
  EXPECT_EQ(editor.Text(), "");
  EXPECT_FALSE(editor.CanUndo());
}

// Random editing followed by undoing everything gives the original text back;
// redoing everything gives the edited text again.
TEST_F(EditorUndoTest, RandomEditsUndoToTheOriginalAndRedoToTheEdit) {
  const TEditorCommand commands[] = {ecChar,
                                     ecChar,
                                     ecChar,
                                     ecLineBreak,
                                     ecInsertLine,
                                     ecDeleteChar,
                                     ecDeleteLastChar,
                                     ecDeleteWord,
                                     ecDeleteLastWord,
                                     ecDeleteBOL,
                                     ecDeleteEOL,
                                     ecDeleteLine,
                                     ecTab,
                                     ecShiftTab,
                                     ecBlockIndent,
                                     ecBlockUnindent,
                                     ecUpperCase,
                                     ecToggleCaseBlock,
                                     ecCut,
                                     ecPaste,
                                     ecCopy};
  const TEditorOption optional[] = {eoGroupUndo,     eoAutoIndent,     eoSmartTabs, eoTabsToSpaces,
                                    eoScrollPastEol, eoSmartTabDelete, eoTabIndent};
  TDoubleByteCodePage double_byte;
  const char* texts[] = {"", "one two\r\n\tth\x82\x61ree\r\n    four five\r\n\r\nsix",
                         "a\r\n  b\r\n\t\tc  d\r\ne"};
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    TEditorOptions options;
    for (TEditorOption o : optional)
      if (pick(2)) options += TEditorOptions{o};
    editor.SetOptions(options);
    editor.SetTabWidth(1 + pick(8));
    editor.SetSelectionMode(static_cast<TSelectionMode>(pick(3)));
    editor.SetInsertMode(pick(4) != 0);
    editor.SetCodePage(seed % 2 ? &double_byte : nullptr);
    editor.SetText(texts[seed % 3]);
    editor.ClearUndoHistory();
    const std::string original = editor.Text();
    for (int step = 0; step < 40; ++step) {
      const int lines = std::max(1, editor.LineCount());
      editor.SetCaretPos({1 + pick(12), 1 + pick(lines + 1)});
      if (pick(3) == 0) editor.SetSelectionEnd({1 + pick(12), 1 + pick(lines + 1)});
      const TEditorCommand c = commands[pick(static_cast<int>(std::size(commands)))];
      editor.ProcessCommand(c, static_cast<char>("aZ 1\t"[pick(5)]), nullptr);
      if (c == ecChar && pick(2)) editor.ProcessCommand(ecChar, 'q', nullptr);
    }
    const std::string edited = editor.Text();
    int guard = 0;
    while (editor.CanUndo() && ++guard < 1000) editor.Undo();
    ASSERT_EQ(editor.Text(), original) << "seed " << seed;
    guard = 0;
    while (editor.CanRedo() && ++guard < 1000) editor.Redo();
    ASSERT_EQ(editor.Text(), edited) << "seed " << seed;
  }
  editor.SetCodePage(nullptr);
}

}  // namespace
