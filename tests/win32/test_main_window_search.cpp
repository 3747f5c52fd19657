#include "MainWindowFixture.h"
#include "support/ScriptedSearchDialogs.h"

namespace {

class MainWindowSearchTest : public MainWindowFixture {
 protected:
  TScriptedSearchDialogs dialogs;

  void SetUp() override {
    MainWindowFixture::SetUp();
    search_dialogs = &dialogs;
    Start();
  }
  bool MenuEnabled(TCommandId id) {
    HMENU bar = GetMenu(form->Handle());
    SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, 2)),
                 2);
    return (GetMenuState(bar, id, MF_BYCOMMAND) & MF_GRAYED) == 0;
  }
};

TEST_F(MainWindowSearchTest, FindThenF3AndShiftF3WalkTheOccurrences) {
  // nothing to search in yet: Find and Find Next use up their keys and do nothing
  EXPECT_FALSE(MenuEnabled(cmFind));
  EXPECT_TRUE(PressShortCut('F', false, true));
  EXPECT_TRUE(dialogs.shown.empty());
  Memo().SetText("wait 'a'\r\nsendln 'b'\r\nwait 'c'");
  EXPECT_TRUE(MenuEnabled(cmFind));
  EXPECT_TRUE(MenuEnabled(cmReplace));
  EXPECT_FALSE(MenuEnabled(cmFindNext));
  EXPECT_TRUE(PressShortCut(VK_F3, false));  // no search text confirmed yet
  EXPECT_FALSE(Memo().HasSelection());

  form->StatusBar().SetPanel(0, "old message");
  dialogs.edits.push_back([](TSearchDialogValues& v) { v.search_text = "wait"; });
  form->ExecuteCommand(cmFind);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_FALSE(dialogs.shown_for_replace[0]);
  EXPECT_EQ(Memo().SelectedText(), "wait");
  EXPECT_EQ(Memo().SelectionBegin(), (TBufferCoord{1, 1}));
  EXPECT_EQ(form->StatusBar().Panel(0), "");
  EXPECT_TRUE(MenuEnabled(cmFindNext));
  EXPECT_TRUE(MenuEnabled(cmFindPrevious));

  EXPECT_TRUE(PressShortCut(VK_F3, false));
  EXPECT_EQ(Memo().SelectionBegin(), (TBufferCoord{1, 3}));
  EXPECT_TRUE(PressShortCut(VK_F3, true));  // the same one again, backwards
  EXPECT_TRUE(PressShortCut(VK_F3, true));
  EXPECT_EQ(Memo().SelectionBegin(), (TBufferCoord{1, 1}));
  EXPECT_EQ(form->StatusBar().Panel(1), "Ln. 1, Col. 1");
  EXPECT_TRUE(prompts.Log().empty());

  EXPECT_TRUE(PressShortCut(VK_F3, true));
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"Search string not found"});
  EXPECT_FALSE(Memo().HasSelection());
}

TEST_F(MainWindowSearchTest, ReplaceAsksBesideEachOccurrenceInsideTheWindow) {
  std::string text;
  for (int i = 1; i <= 60; ++i) text += "line " + std::to_string(i) + " wait 'x'\r\n";
  Memo().SetText(text);
  dialogs.answers = {raReplace, raSkip, raCancel};
  dialogs.edits.push_back([](TSearchDialogValues& v) {
    v.search_text = "wait";
    v.replace_text = "pause";
  });
  form->ExecuteCommand(cmReplace);
  ASSERT_EQ(dialogs.confirmations.size(), 3u);
  EXPECT_EQ(Memo().LineText(1), "line 1 pause 'x'");
  EXPECT_EQ(Memo().LineText(2), "line 2 wait 'x'");
  EXPECT_EQ(Memo().LineText(3), "line 3 wait 'x'");
  EXPECT_TRUE(form->Document().Modified());
  EXPECT_EQ(dialogs.releases, 1);

  RECT client;
  GetClientRect(form->Handle(), &client);
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  RECT editor;
  GetWindowRect(form->EditorHandle(), &editor);
  for (std::size_t i = 0; i < dialogs.confirmations.size(); ++i) {
    const auto& c = dialogs.confirmations[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(c.search, "wait");
    EXPECT_EQ(c.area.left, origin.x);
    EXPECT_EQ(c.area.top, origin.y);
    EXPECT_EQ(c.area.Width(), client.right);
    EXPECT_EQ(c.area.Height(), client.bottom);
    EXPECT_EQ(c.y2 - c.y1, Memo().RowHeight());
    EXPECT_GT(c.x, editor.left);
    EXPECT_LT(c.x, editor.right);
    EXPECT_GE(c.y1, editor.top);
    EXPECT_LT(c.y2, editor.bottom);
  }
  // "wait" is the eighth character of each line, one row apart
  EXPECT_EQ(dialogs.confirmations[1].y1 - dialogs.confirmations[0].y1, Memo().RowHeight());
  EXPECT_EQ(dialogs.confirmations[0].x, dialogs.confirmations[1].x);
}

TEST_F(MainWindowSearchTest, AMalformedRegularExpressionIsReportedAndTheProgramGoesOn) {
  Memo().SetText("sendln 'x'");
  dialogs.edits.push_back([](TSearchDialogValues& v) {
    v.search_text = "send(ln";
    v.regular_expression = true;
  });
  form->ExecuteCommand(cmFind);
  ASSERT_EQ(prompts.Log().size(), 1u);
  EXPECT_EQ(prompts.Log()[0].caption, "Error");
  EXPECT_NE(prompts.Log()[0].text.find("TRegexMatcher(comp)"), std::string::npos);
  EXPECT_EQ(Memo().PaintLock(), 0);
  EXPECT_EQ(dialogs.releases, 1);
  EXPECT_EQ(Memo().Text(), "sendln 'x'");
}

}  // namespace
