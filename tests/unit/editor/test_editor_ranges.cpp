#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "TestHighlighters.h"

namespace {

class RangeTest : public EditorFixture {
 protected:
  WordHighlighter hl;
  void SetUp() override {
    EditorFixture::SetUp();
    editor.SetHighlighter(&hl);
    Text("a {\r\nb\r\nc }\r\nd\r\ne");
  }
  void TearDown() override {
    editor.SetHighlighter(nullptr);
    EditorFixture::TearDown();
  }
  std::vector<int> Ranges() {
    std::vector<int> r;
    for (int i = 0; i < editor.Lines().Count(); ++i) r.push_back(editor.Lines().GetRange(i));
    return r;
  }
};

TEST_F(RangeTest, EveryLineStoresTheStateAtItsEnd) {
  EXPECT_EQ(Ranges(), (std::vector<int>{1, 1, 0, 0, 0}));
}

TEST_F(RangeTest, RescanStopsAtTheFirstUnchangedStateAndRepaintsOnlyChangedLines) {
  struct Case {
    int index;
    const char* text;
    std::vector<int> ranges;
    int scanned;
    int last_repainted_line;
  };
  const Case cases[] = {
      {0, "a", {0, 0, 0, 0, 0}, 3, 2},    // the block is gone: line 2 changes too
      {0, "a {", {1, 1, 0, 0, 0}, 3, 2},  // and comes back
      {3, "dd", {1, 1, 0, 0, 0}, 2, 4},   // nothing follows from it: one line
      {3, "{", {1, 1, 0, 1, 1}, 2, -1},   // to the last line: repaints to the bottom
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    hl.lines_scanned = 0;
    host.ClearRecords();
    editor.Lines().SetLine(c.index, c.text);
    EXPECT_EQ(Ranges(), c.ranges);
    EXPECT_EQ(hl.lines_scanned, c.scanned);
    ASSERT_EQ(host.invalidated.size(), 1u);
    EXPECT_EQ(host.invalidated[0].top, RowY(c.index + 1));
    EXPECT_EQ(host.invalidated[0].bottom,
              c.last_repainted_line < 0 ? host.client_height : RowY(c.last_repainted_line + 1));
  }
}

TEST_F(RangeTest, InsertedAndDeletedLinesAreScannedToo) {
  editor.Lines().Insert(3, "{");
  EXPECT_EQ(Ranges(), (std::vector<int>{1, 1, 0, 1, 1, 1}));
  editor.Lines().Delete(3);
  EXPECT_EQ(Ranges(), (std::vector<int>{1, 1, 0, 0, 0}));
}

TEST_F(RangeTest, ANewHighlighterScansTheWholeText) {
  editor.SetHighlighter(nullptr);
  editor.Lines().SetLine(4, "{");
  WordHighlighter other;
  editor.SetHighlighter(&other);
  EXPECT_EQ(Ranges(), (std::vector<int>{1, 1, 0, 0, 1}));
  editor.SetHighlighter(nullptr);
}

}  // namespace
