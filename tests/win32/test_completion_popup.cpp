// The completion list as a real window over a real editor window: where it
// appears, which keys it takes while the editor keeps the focus, and what
// Enter, Esc and a double click do.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "app/CompletionProposal.h"
#include "app/CompletionSetup.h"
#include "editor/EditorMemo.h"
#include "win32/CompletionPopup.h"
#include "win32/EditorWindow.h"
#include "win32/WineTestSupport.h"

namespace {

class CompletionPopupTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    parent = MakeTestParentWindow("QuillonCompletionTestParent", 20, 20, 700, 500);
    SetForegroundWindow(parent);
    PumpMessages();
  }
  static void TearDownTestSuite() {
    DestroyWindow(parent);
    PumpMessages();
    parent = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(parent, nullptr);
    editor = std::make_unique<TEditorMemo>();
    scp = std::make_unique<TCompletionProposal>();
    edit = TEditorWindow::Create(parent, 9, *editor);
    ASSERT_NE(edit, nullptr);
    MoveWindow(edit, 0, 0, 660, 420, TRUE);
    ConfigureMainCompletionProposal(*scp);
    CopyDataFile("Completion.pro", dir.Path());
    ASSERT_TRUE(LoadCompletionItems(*scp, *editor, dir.File("Completion.pro")));
    popup = TCompletionPopup::Create(parent, *scp);
    ASSERT_NE(popup, nullptr);
    SetFocus(edit);
    PumpMessages();
  }
  void TearDown() override {
    scp->SetEditor(nullptr);
    DestroyWindow(popup->Handle());
    DestroyWindow(edit);
    PumpMessages();
    scp.reset();
    editor.reset();
  }

  // A key as the keyboard delivers it to the focused editor: the key, the
  // character it types (if any), the release.
  void Key(WPARAM vk, char typed = 0) {
    SendMessageA(edit, WM_KEYDOWN, vk, 1);
    if (typed) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(typed), 1);
    SendMessageA(edit, WM_KEYUP, vk, 0xC0000001);
  }
  void Type(const std::string& text) {
    for (char c : text) Key(VkKeyScanA(c) & 0xFF, c);
  }
  void CtrlSpace() {
    BYTE state[256];
    GetKeyboardState(state);
    const BYTE old = state[VK_CONTROL];
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    Key(VK_SPACE, ' ');
    state[VK_CONTROL] = old;
    SetKeyboardState(state);
    PumpMessages();
  }
  void Start(const std::string& text) {
    editor->SetText(text);
    editor->SetCaretPos({static_cast<int>(text.size()) + 1, 1});
    PumpMessages();
  }
  bool Shown() { return IsWindowVisible(popup->Handle()) != FALSE; }
  std::string Selected() { return scp->Form().ShownText(scp->Form().Position()); }

  static HWND parent;
  TTempDir dir;
  std::unique_ptr<TEditorMemo> editor;
  std::unique_ptr<TCompletionProposal> scp;
  HWND edit = nullptr;
  TCompletionPopup* popup = nullptr;
};

HWND CompletionPopupTest::parent = nullptr;

TEST_F(CompletionPopupTest, CtrlSpaceShowsTheListUnderTheCaretWithoutTakingTheFocus) {
  Start("    se");
  CtrlSpace();
  ASSERT_TRUE(Shown());
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(editor->Text(), "    se") << "the blank of Ctrl+Space is not typed";
  const TPoint caret = editor->RowColumnToPixels(editor->CaretDisplayPos());
  POINT below{caret.x, caret.y + editor->RowHeight()};
  ClientToScreen(edit, &below);
  RECT r;
  GetWindowRect(popup->Handle(), &r);
  EXPECT_EQ(r.top, below.y);
  EXPECT_EQ(r.left, below.x);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(Selected(), "send");
  EXPECT_NE(GetWindowLongA(popup->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
}

TEST_F(CompletionPopupTest, TheEditorKeepsTheFocusWhileTheListTakesTheKeys) {
  Start("wa");
  CtrlSpace();
  ASSERT_TRUE(Shown());
  Type("i");
  EXPECT_EQ(editor->Text(), "wai");
  EXPECT_EQ(scp->Form().CurrentString(), "wai");
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(Selected(), "waitevent");
  EXPECT_EQ(editor->CaretPos(), (TBufferCoord{4, 1})) << "Down moved the list, not the caret";
  EXPECT_EQ(GetFocus(), edit);
  Key(VK_ESCAPE, '\x1B');
  EXPECT_FALSE(Shown());
  EXPECT_EQ(editor->Text(), "wai");
  EXPECT_EQ(scp->NbLinesInWindow(), 4) << "an untouched list keeps its size";
  EXPECT_EQ(scp->Width(), 600);
  Key(VK_DOWN);
  EXPECT_EQ(editor->CaretPos(), (TBufferCoord{4, 1})) << "the editor has its keys back";
}

TEST_F(CompletionPopupTest, EnterInsertsTheSelectedEntry) {
  Start("x = sen");
  CtrlSpace();
  Key(VK_DOWN);
  Key(VK_RETURN, '\r');
  EXPECT_FALSE(Shown());
  EXPECT_EQ(editor->Text(), "x = sendbinary");
  EXPECT_EQ(editor->LineCount(), 1) << "the Enter character does not reach the editor";
}

TEST_F(CompletionPopupTest, DoubleClickInsertsTheRowUnderThePointer) {
  Start("wai");
  CtrlSpace();
  ASSERT_TRUE(Shown());
  const int ih = scp->Form().ItemHeight();
  const LPARAM row1 = MAKELPARAM(20, ih + ih / 2);
  SendMessageA(popup->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, row1);
  SendMessageA(popup->Handle(), WM_LBUTTONUP, 0, row1);
  EXPECT_EQ(Selected(), "wait4all");
  SendMessageA(popup->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, row1);
  SendMessageA(popup->Handle(), WM_LBUTTONUP, 0, row1);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(editor->Text(), "wait4all");
  EXPECT_EQ(GetFocus(), edit);
}

TEST_F(CompletionPopupTest, WheelAndScrollBarMoveTheList) {
  Start("");
  CtrlSpace();
  ASSERT_TRUE(Shown());
  SendMessageA(popup->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_GT(scp->Form().Position(), 0);
  SendMessageA(popup->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(scp->Form().TopIndex(), scp->Form().ShownCount() - scp->Form().LinesInWindow());
  EXPECT_GE(scp->Form().Position(), scp->Form().TopIndex());
  EXPECT_EQ(GetFocus(), edit);
}

TEST_F(CompletionPopupTest, TheDelayTimerOpensTheListAfterADot) {
  Start("x");
  Type(".");
  EXPECT_TRUE(scp->TimerRunning());
  EXPECT_FALSE(Shown());
  SetForegroundWindow(parent);
  SendMessageA(popup->Handle(), WM_TIMER, TCompletionPopup::kTimerId, 0);
  EXPECT_FALSE(scp->TimerRunning());
  ASSERT_EQ(GetForegroundWindow(), parent);
  EXPECT_TRUE(Shown());
}

TEST_F(CompletionPopupTest, ThePopupPaintsItsSelectedRowInTheHighlightColour) {
  Start("send");
  CtrlSpace();
  ASSERT_TRUE(Shown());
  RedrawWindow(popup->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(popup->Handle());
  const int ih = scp->Form().ItemHeight();
  const COLORREF c = GetPixel(dc, 300, ih / 2);
  ReleaseDC(popup->Handle(), dc);
  ASSERT_NE(c, CLR_INVALID);
  EXPECT_EQ(c, GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(CompletionPopupTest, DestroyingThePopupDetachesItFromTheProposal) {
  EXPECT_EQ(scp->PopupHost(), popup);
  DestroyWindow(popup->Handle());
  EXPECT_EQ(scp->PopupHost(), nullptr);
  popup = TCompletionPopup::Create(parent, *scp);
  Start("se");
  CtrlSpace();
  EXPECT_TRUE(Shown());
}

}  // namespace
