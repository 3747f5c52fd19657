#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "EditorFixture.h"
#include "editor/TextDrawer.h"

namespace {

class MemoTest : public EditorFixture {
 protected:
  std::intptr_t Send(unsigned msg, std::uintptr_t w = 0, std::intptr_t l = 0) {
    bool handled = false;
    const std::intptr_t r = editor.EditMessage(msg, w, l, handled);
    EXPECT_TRUE(handled) << msg;
    return r;
  }
  static std::intptr_t Ptr(void* p) { return reinterpret_cast<std::intptr_t>(p); }
};

TEST_F(MemoTest, SelectionMessagesUseCharacterOffsets) {
  Text("first\r\nsecond line\r\nthird");
  Send(em::SetSel, 9, 13);
  EXPECT_EQ(editor.SelectedText(), "cond");
  std::uint32_t start = 0, end = 0;
  const std::intptr_t packed =
      Send(em::GetSel, reinterpret_cast<std::uintptr_t>(&start), Ptr(&end));
  EXPECT_EQ(start, 9u);
  EXPECT_EQ(end, 13u);
  EXPECT_EQ(packed, 9 | (13 << 16));
  EXPECT_EQ(Send(em::GetSel), 9 | (13 << 16));  // the pointers are optional
  char buffer[32];
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(Send(em::GetSelText, 0, Ptr(buffer)), 4);
  EXPECT_STREQ(buffer, "cond");
  Send(em::SetSel, 3, 3);
  EXPECT_FALSE(editor.HasSelection());
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{4, 1}));
}

TEST_F(MemoTest, GetLineCopiesOnlyWhatFitsAndNothingForAMissingLine) {
  Text("first\r\nsecond line");
  struct Case {
    int line;
    std::uint16_t room;
    const char* copied;
  };
  const Case cases[] = {{1, 100, "second line"},
                        {1, 4, "seco"},
                        {0, 5, "first"},
                        {1, 0, ""},
                        {2, 50, ""},
                        {-1, 50, ""}};
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    std::memcpy(buffer, &c.room, sizeof c.room);
    const std::intptr_t n = Send(em::GetLine, static_cast<std::uintptr_t>(c.line), Ptr(buffer));
    ASSERT_EQ(n, static_cast<std::intptr_t>(std::strlen(c.copied))) << c.line << "/" << c.room;
    if (n > 0) {
      EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), c.copied);
    }
    // Nothing is written past the copied characters (no terminator either).
    if (n >= 2) {
      EXPECT_EQ(buffer[n], '#');
    }
  }
}

TEST_F(MemoTest, CountsModifiedStateAndTopLine) {
  NumberedLines(200);
  EXPECT_EQ(Send(em::GetLineCount), 200);
  EXPECT_EQ(Send(em::GetModify), 0);
  Send(em::SetModify, 1);
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(Send(em::GetModify), 1);
  editor.SetTopRow(42);
  EXPECT_EQ(Send(em::GetFirstVisibleLine), 42);
  EXPECT_EQ(Send(em::CanUndo), 0);
  bool handled = true;
  editor.EditMessage(0x0400, 0, 0, handled);  // not an edit message
  EXPECT_FALSE(handled);
}

TEST_F(MemoTest, CharFromPosGivesLineAndCharacterNumber) {
  Options({}, TEditorOptions{eoScrollPastEol});
  Text("ab\r\ncdef\r\ng");
  auto at = [&](int x, int y) {
    return Send(em::CharFromPos, 0, static_cast<std::intptr_t>((x & 0xFFFF) | (y << 16)));
  };
  const int rh = editor.RowHeight();
  struct Case {
    int column, row;
    int line_index, low;
  };
  // The low word is the character (1-based) plus the previous lines and two per break.
  const Case cases[] = {{1, 1, 0, 1},
                        {3, 1, 0, 3},
                        {9, 1, 0, 3},
                        {2, 2, 1, 6},
                        {1, 3, 2, 11},
                        // below the text: column 1 of that line
                        {4, 6, 5, 14}};
  for (const Case& c : cases) {
    const std::intptr_t r = at(CellX(c.column) + 1, (c.row - 1) * rh + 2);
    EXPECT_EQ((r >> 16) & 0xFFFF, c.line_index) << c.column << "," << c.row;
    EXPECT_EQ(r & 0xFFFF, c.low) << c.column << "," << c.row;
  }
}

TEST(TextDrawer, NeedsAFontAndMeasuresEachStyleOnce) {
  TFakeEditorHost host;
  TTextDrawer drawer(&host);
  try {
    drawer.SetBaseFont(nullptr);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "SetBaseFont: 'Value' must be specified.");
  }
  const TFont font{"Courier New", -12};
  drawer.SetBaseFont(&font);
  host.style_metrics[fsBold] = {9, 17, 1};
  EXPECT_EQ(drawer.Stock().Metrics(fsBold).Advance, 9);
  EXPECT_EQ(drawer.Stock().Metrics(0).Advance, 8);
  const int measured = host.measurements;
  drawer.Stock().Metrics(fsBold);
  drawer.Stock().Metrics(0);
  EXPECT_EQ(host.measurements, measured);
  const TFont bigger{"Courier New", -20};
  drawer.SetBaseFont(&bigger);  // a new base font is measured again
  drawer.Stock().Metrics(0);
  EXPECT_EQ(host.measurements, measured + 1);
}

TEST(TextDrawer, DrawsEveryCharacterOneCellApart) {
  TFakeEditorHost host;
  TTextDrawer drawer(&host);
  const TFont font{"Courier New", -12};
  drawer.SetBaseFont(&font);
  drawer.SetCellWidth(11);
  TRecordingCanvas canvas;
  drawer.BeginDrawing(canvas);
  drawer.SetStyle(fsItalic);
  drawer.SetForeColor(clYellow);
  drawer.SetBackColor(clBlack);
  drawer.DrawRun(5, 6, {0, 0, 100, 20}, "abc");
  drawer.EndDrawing();
  ASSERT_EQ(canvas.Ops().size(), 1u);
  const auto& op = canvas.Ops()[0];
  EXPECT_EQ(op.advance, 11);
  EXPECT_EQ(op.style, fsItalic);
  EXPECT_EQ(op.color, clYellow);
  EXPECT_EQ(op.background, clBlack);
  EXPECT_EQ(op.font.Height, -12);
  EXPECT_TRUE(op.opaque);
}

}  // namespace
