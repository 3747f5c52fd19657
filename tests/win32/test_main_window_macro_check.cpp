// The macro checked while it is edited, as the main window shows it: marks
// under the tokens and in the gutter, the count in the status bar, the tool
// tip over a mark, and stepping from problem to problem.
#include <windowsx.h>

#include "MainWindowFixture.h"
#include "app/LiveMacroCheck.h"
#include "support/ScriptedSearchDialogs.h"

namespace {

class MainWindowMacroCheckTest : public MainWindowFixture {
 protected:
  TScriptedSearchDialogs dialogs;
  void SetUp() override {
    MainWindowFixture::SetUp();
    search_dialogs = &dialogs;
  }
  // Pumps messages until the check has answered for the text as it is.
  void WaitForCheck() {
    for (int i = 0; i < 500 && !form->MacroCheck().Current(); ++i) {
      PumpMessages();
      Sleep(20);
    }
    ASSERT_TRUE(form->MacroCheck().Current());
    PumpMessages();
  }
  // Whether a pixel of the colour shows in the editor's client rectangle.
  bool ColourIn(const RECT& r, COLORREF colour) {
    UpdateWindow(form->EditorHandle());
    HDC dc = GetDC(form->EditorHandle());
    bool found = false;
    for (int y = r.top; y < r.bottom && !found; ++y)
      for (int x = r.left; x < r.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
    ReleaseDC(form->EditorHandle(), dc);
    return found;
  }
  RECT CellsOf(int line, int first_char, int chars) {
    const TPoint p = Memo().RowColumnToPixels(Memo().BufferToDisplayPos({first_char, line}));
    return {p.x, p.y, p.x + chars * Memo().CellWidth(), p.y + Memo().RowHeight()};
  }
};

constexpr COLORREF kErrorRed = RGB(230, 0, 0);
constexpr COLORREF kWarningTeal = RGB(0, 150, 160);

TEST_F(MainWindowMacroCheckTest, ProblemsAreMarkedCountedExplainedAndSteppedThrough) {
  Start();
  Memo().SetText(":start\r\nsendlm 'x'\r\nsendln 'ok'\r\ngoto nowhere\r\n:start\r\nend");
  EXPECT_EQ(form->StatusBar().Panel(0), "");
  WaitForCheck();
  EXPECT_EQ(form->StatusBar().Panel(0), "3 errors, 1 warning");

  // A red wave under "sendlm" and none under "sendln"; a dot in the gutter.
  EXPECT_TRUE(ColourIn(CellsOf(2, 1, 6), kErrorRed));
  EXPECT_FALSE(ColourIn(CellsOf(3, 1, 6), kErrorRed));
  const RECT gutter2{0, Memo().RowHeight(), Memo().GutterPixels(), 2 * Memo().RowHeight()};
  EXPECT_TRUE(ColourIn(gutter2, kErrorRed));
  // The label that is never used gets a blue-green one.
  EXPECT_TRUE(ColourIn(CellsOf(1, 2, 5), kWarningTeal));

  // The tool tip over the wave, as the message loop hands the mouse over.
  const RECT word = CellsOf(2, 1, 6);
  const LPARAM at = MAKELPARAM(word.left + 2, word.top + Memo().RowHeight() / 2);
  MSG move{form->EditorHandle(), WM_MOUSEMOVE, 0, at, 0, {}};
  SendMessageW(form->EditorHandle(), WM_MOUSEMOVE, 0, at);
  form->AfterDispatch(move);
  EXPECT_EQ(form->ProblemTip(), "unknown command 'sendlm'");

  // F4 and Shift+F4 step through them, round the end.
  Memo().SetCaretPos({1, 3});
  const std::vector<TBufferCoord> forward = {{6, 4}, {2, 5}, {2, 1}};
  for (const TBufferCoord& expected : forward) {
    ASSERT_TRUE(PressShortCut(VK_F4, false));
    EXPECT_EQ(Memo().CaretPos(), expected);
  }
  ASSERT_TRUE(PressShortCut(VK_F4, true));
  EXPECT_EQ(Memo().CaretPos(), (TBufferCoord{2, 5}));

  // A search empties the panel; the count comes back when it is done.
  dialogs.edits.push_back([](TSearchDialogValues& v) { v.search_text = "sendln"; });
  form->ExecuteCommand(cmFind);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(Memo().SelectedText(), "sendln");
  EXPECT_EQ(form->StatusBar().Panel(0), "3 errors, 1 warning");
}

}  // namespace
