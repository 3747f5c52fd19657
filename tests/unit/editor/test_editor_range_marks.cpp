#include <gtest/gtest.h>

#include <map>

#include "EditorFixture.h"

namespace {

using Op = TRecordingCanvas::Op;
using Kind = TRecordingCanvas::Kind;

constexpr TColor kRed = Rgb(230, 0, 0);
constexpr TColor kTeal = Rgb(0, 150, 160);

struct Marks : IEditorRangeMarks {
  std::map<int, std::vector<TEditorRangeMark>> lines;
  void MarksOfLine(int line, std::vector<TEditorRangeMark>& marks) const override {
    if (auto it = lines.find(line); it != lines.end())
      marks.insert(marks.end(), it->second.begin(), it->second.end());
  }
};

class RangeMarksTest : public EditorFixture {
 protected:
  TRecordingCanvas canvas;
  Marks marks;
  void SetUp() override {
    EditorFixture::SetUp();
    editor.SetTabWidth(4);
    editor.SetRangeMarkColors({kRed, kTeal});
  }
  std::vector<Op> Ops(Kind kind) {
    std::vector<Op> found;
    for (const Op& op : canvas.Ops())
      if (op.kind == kind) found.push_back(op);
    return found;
  }
};

TEST_F(RangeMarksTest, UnderlinesFollowTheCellsOfTheCharactersBeforeThem) {
  editor.Lines().SetEncoding(TTextEncoding::Utf8);
  // A tab, then a two-cell character of three bytes, then the marked word.
  Text("\t\xE6\x97\xA5 sendlm x\r\nend");
  marks.lines[0] = {{5, 6, 0}, {13, 0, 1}};  // "sendlm", and the cell after the line
  marks.lines[1] = {{0, 3, 1}};
  const int text_left_without = editor.TextLeft();
  editor.SetRangeMarks(&marks);
  EXPECT_GT(editor.TextLeft(), text_left_without) << "the dots have a column of their own";
  PaintAll(canvas);
  const auto waves = Ops(Kind::Wave);
  ASSERT_EQ(waves.size(), 3u);
  const int bottom = editor.RowHeight() - 1;
  EXPECT_EQ(waves[0].from.x, CellX(8));  // 4 cells of tab, 2 of the character, a blank
  EXPECT_EQ(waves[0].to.x, CellX(14));
  EXPECT_EQ(waves[0].to.y, bottom);
  EXPECT_EQ(waves[0].color, kRed);
  EXPECT_EQ(waves[1].from.x, CellX(16));
  EXPECT_EQ(waves[1].to.x, CellX(17)) << "an empty range shows one cell";
  EXPECT_EQ(waves[1].color, kTeal);
  EXPECT_EQ(waves[2].from.y, RowY(2) + bottom - (waves[2].to.y - waves[2].from.y));
  // One dot per marked line, in the colour of its gravest mark.
  std::map<int, TColor> dots;
  for (const Op& op : Ops(Kind::Fill))
    if (op.color == kRed || op.color == kTeal) dots[op.rect.top / editor.RowHeight()] = op.color;
  EXPECT_EQ(dots, (std::map<int, TColor>{{0, kRed}, {1, kTeal}}));
  for (const Op& op : Ops(Kind::Fill)) {
    if (op.color == kRed) {
      EXPECT_LT(op.rect.right, editor.GutterPixels() / 2);
    }
  }
}

TEST_F(RangeMarksTest, TheGuttersBorderAndTheMarginGrowWithTheDpi) {
  Text("x");
  editor.Gutter().SetShowLineNumbers(true);
  const int gutter = editor.GutterPixels();
  EXPECT_EQ(editor.TextLeft(), gutter + 2);
  editor.SetDpi(192);
  EXPECT_EQ(editor.GutterPixels(), gutter + 2);
  EXPECT_EQ(editor.TextLeft(), editor.GutterPixels() + 4);
  canvas.Clear();
  PaintAll(canvas);
  int border_lines = 0;
  for (const Op& op : Ops(Kind::Line))
    if (op.from.x == op.to.x && op.from.x >= editor.GutterPixels() - 4 &&
        op.from.x < editor.GutterPixels())
      ++border_lines;
  EXPECT_EQ(border_lines, 4);
  editor.SetDpi(96);
  EXPECT_EQ(editor.GutterPixels(), gutter);
}

}  // namespace
