#include <gtest/gtest.h>

#include <string>

#include "EditingHelpers.h"
#include "EditorFixture.h"
#include "support/MemoryClipboard.h"

namespace {

const std::string kBlockName = "Quillon Control Block Type";

class ClipboardTest : public EditorFixture {
 protected:
  TMemoryClipboard clipboard;
  TFakeEditorHost other_host;
  TEditorMemo other;
  unsigned block = 0;

  void SetUp() override {
    EditorFixture::SetUp();
    other.SetHost(&other_host);
    editor.SetClipboard(&clipboard);
    other.SetClipboard(&clipboard);
    block = clipboard.RegisterFormat(kBlockName);
  }
  void TearDown() override {
    other.SetHost(nullptr);
    EditorFixture::TearDown();
  }
  void Put(unsigned format, const std::string& bytes) { clipboard.blocks[format] = bytes; }
  void Select(TCustomEditor& e, TBufferCoord a, TBufferCoord b) {
    e.SetCaretPos(a);
    e.SetSelectionEnd(b);
  }
};

TEST_F(ClipboardTest, CopyPutsPlainTextAndTheModeBlock) {
  struct Case {
    TSelectionMode mode;
    std::string plain;
  };
  const Case cases[] = {{smNormal, "bc\r\nde"}, {smColumn, "b\r\ne"}, {smLine, "abc\r\ndef"}};
  for (const Case& c : cases) {
    editor.SetText("abc\r\ndef");
    editor.SetSelectionMode(c.mode);
    Select(editor, {2, 1}, {3, 2});
    editor.CopyToClipboard();
    EXPECT_EQ(clipboard.blocks[IClipboard::kTextFormat], c.plain + '\0');
    EXPECT_EQ(clipboard.blocks[block], std::string(1, char(c.mode)) + c.plain + '\0');
    EXPECT_FALSE(clipboard.is_open);
  }
}

TEST_F(ClipboardTest, AColumnCopyPastedIntoAnotherEditorStaysAColumn) {
  editor.SetText("abc\r\ndef\r\nghi");
  editor.SetSelectionMode(smColumn);
  Select(editor, {2, 1}, {3, 3});
  editor.CopyToClipboard();
  other.SetText("12345\r\n12345");
  other.SetCaretPos({3, 1});
  other.PasteFromClipboard();
  EXPECT_EQ(other.Text(), "12b345\r\n12e345\r\n  h");
  other.Undo();
  EXPECT_EQ(other.Text(), "12345\r\n12345");
}

TEST_F(ClipboardTest, CutDeletesInOneStepAndPasteReplacesTheSelection) {
  editor.SetText("hello world");
  Select(editor, {1, 1}, {7, 1});
  editor.CutToClipboard();
  EXPECT_EQ(editor.Text(), "world");
  editor.SetCaretPos({6, 1});
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.Text(), "worldhello ");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "world");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "hello world");
}

TEST_F(ClipboardTest, PlainTextWithLoneLineFeedsPastesOnePiecePerLineInColumnMode) {
  editor.SetText("ab\r\ncd");
  editor.SetSelectionMode(smColumn);
  editor.SetCaretPos({2, 1});
  Put(IClipboard::kTextFormat, std::string("x\ny\nz\0", 6));
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.Text(), "axb\r\ncyd\r\n z");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "ab\r\ncd");
}

TEST_F(ClipboardTest, BrokenClipboardBlocksPasteSafely) {
  struct Case {
    const char* what;
    std::string block;
    bool unreadable;
    const char* after;  // nullptr: the paste fails with the error and changes nothing
  };
  const Case cases[] = {
      {"block without its NUL", std::string("\x02xy", 3), false, "axyb"},
      {"text up to the first NUL", std::string("\x00xy\0zz", 6), false, "axyb"},
      {"unknown mode byte", std::string("\x07xy\0", 4), false, "axyb"},
      {"zero-length block", std::string(), false, nullptr},
      {"block that cannot be locked", std::string("\x00xy\0", 4), true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    editor.SetText("ab");
    editor.ClearUndoHistory();
    editor.SetCaretPos({2, 1});
    clipboard.blocks.clear();
    Put(block, c.block);
    clipboard.unreadable[block] = c.unreadable;
    if (c.after) {
      editor.PasteFromClipboard();
      EXPECT_EQ(editor.Text(), c.after);
    } else {
      try {
        editor.PasteFromClipboard();
        ADD_FAILURE() << "no error";
      } catch (const EEditorError& e) {
        EXPECT_STREQ(e.what(), "Clipboard paste operation failed.");
      }
      EXPECT_EQ(editor.Text(), "ab");
      EXPECT_FALSE(editor.CanUndo());
      EXPECT_EQ(editor.PaintLock(), 0);
      EXPECT_EQ(editor.UndoList().BlockCount(), 0);
    }
    clipboard.unreadable[block] = false;
  }
}

TEST_F(ClipboardTest, CopyFailureRaisesTheCopyError) {
  editor.SetText("abc");
  Select(editor, {1, 1}, {3, 1});
  for (bool fail_open : {true, false}) {
    clipboard.fail_open = fail_open;
    clipboard.fail_set = !fail_open;
    try {
      editor.CopyToClipboard();
      ADD_FAILURE() << "no error";
    } catch (const EEditorError& e) {
      EXPECT_STREQ(e.what(), "Clipboard copy operation failed");
    }
    EXPECT_FALSE(clipboard.is_open);
  }
  // A failed cut keeps the text and closes what it opened.
  EXPECT_THROW(Run(ecCut), EEditorError);
  EXPECT_EQ(editor.Text(), "abc");
  EXPECT_EQ(editor.PaintLock(), 0);
  EXPECT_EQ(editor.UndoList().BlockCount(), 0);
}

TEST_F(ClipboardTest, ReadOnlyEditorsDoNotPaste) {
  editor.SetText("ab");
  Put(IClipboard::kTextFormat, std::string("zz\0", 3));
  editor.SetReadOnly(true);
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.Text(), "ab");
  EXPECT_FALSE(editor.CanPaste());
}

// ---- drag and drop

class DragTest : public ClipboardTest {
 protected:
  // Presses inside the selection and moves far enough to start a drag.
  void StartDrag(TCustomEditor& e, TBufferCoord inside) {
    const TPoint p = e.RowColumnToPixels(e.BufferToDisplayPos(inside));
    e.MouseDown(TMouseButton::Left, ssLeft, p.x + 1, p.y + 1);
    e.MouseMove(ssLeft, p.x + 20, p.y + 1);
    ASSERT_TRUE(e.DragActive());
  }
  TPoint At(TCustomEditor& e, TBufferCoord p) {
    const TPoint px = e.RowColumnToPixels(e.BufferToDisplayPos(p));
    return {px.x + 1, px.y + 1};
  }
};

TEST_F(DragTest, DropsWithinOneControlMoveOrCopy) {
  struct Case {
    TShiftState shift;
    TBufferCoord drop;
    const char* after;
  };
  const Case cases[] = {{0, {10, 1}, "one ttwo hree"},
                        {ssCtrl, {10, 1}, "one two ttwo hree"},
                        {0, {1, 1}, "two one three"},
                        {0, {6, 1}, "one two three"}};  // inside the selection: nothing
  for (const Case& c : cases) {
    editor.SetText("one two three");
    editor.ClearUndoHistory();
    Select(editor, {5, 1}, {9, 1});  // "two "
    StartDrag(editor, {6, 1});
    const TPoint p = At(editor, c.drop);
    editor.MouseMove(ssLeft | c.shift, p.x, p.y);
    editor.MouseUp(TMouseButton::Left, c.shift, p.x, p.y);
    EXPECT_EQ(editor.Text(), c.after);
    EXPECT_FALSE(editor.DragActive());
    if (std::string(c.after) != "one two three") {
      EXPECT_EQ(editor.SelectedText(), "two ");
      editor.Undo();
      EXPECT_EQ(editor.Text(), "one two three");
    }
  }
}

TEST_F(DragTest, DropsFromAnotherControlCopyOrMoveWithShift) {
  for (bool shift : {false, true}) {
    editor.SetText("abc def");
    other.SetText("xyz");
    Select(editor, {5, 1}, {8, 1});
    StartDrag(editor, {6, 1});
    const TPoint p = At(other, {2, 1});
    EXPECT_TRUE(other.DragOver(editor, p.x, p.y, shift ? ssShift : 0));
    other.DragDrop(editor, p.x, p.y, shift ? ssShift : 0);
    EXPECT_EQ(other.Text(), "xdefyz");
    EXPECT_EQ(editor.Text(), shift ? "abc " : "abc def");
    EXPECT_FALSE(editor.DragActive());
    other.Undo();
    EXPECT_EQ(other.Text(), "xyz");
  }
  other.SetReadOnly(true);
  Select(editor, {1, 1}, {3, 1});
  StartDrag(editor, {2, 1});
  EXPECT_FALSE(other.DragOver(editor, 10, 5, 0)) << "read-only controls refuse drops";
}

}  // namespace
