// Menu shortcuts and the enabled state of the commands as the focus and the
// mouse move around the main window.
#include <cstring>

#include "MainWindowFixture.h"

namespace {

class MainWindowCommandsTest : public MainWindowFixture {
 protected:
  // A key as the message loop handles it: a shortcut first, else the window.
  void CtrlKey(HWND target, WPARAM vk, char typed) {
    BYTE state[256] = {};
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    MSG msg{target, WM_KEYDOWN, vk, 1, 0, {}};
    if (!form->HandleShortCut(msg)) {
      SendMessageA(target, WM_KEYDOWN, vk, 1);
      SendMessageA(target, WM_CHAR, static_cast<unsigned char>(typed), 1);
    }
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
  }
};

TEST_F(MainWindowCommandsTest, AShortcutOfADisabledItemDoesNothingInTheEditor) {
  Start();
  // New and Print are disabled on an empty, unmodified document.
  CtrlKey(form->EditorHandle(), 'N', '\x0E');
  CtrlKey(form->EditorHandle(), 'P', '\x10');
  EXPECT_EQ(Memo().Lines().Count(), 0);
  EXPECT_EQ(WindowText(form->Handle()), "Quillonar - [Noname.TTL]");
  // A parameter box keeps its own keys.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  HWND param = form->ToolBar().ParamEdit(2);
  SetWindowTextA(param, "abc");
  SendMessageA(param, EM_SETSEL, 0, -1);
  CtrlKey(param, 'C', '\x03');  // Copy is disabled: nothing is selected in the editor
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE copied = GetClipboardData(CF_TEXT);
  EXPECT_STREQ(copied ? static_cast<const char*>(GlobalLock(copied)) : "", "abc");
  if (copied) GlobalUnlock(copied);
  CloseClipboard();
}

TEST_F(MainWindowCommandsTest, TheCommandsFollowTheFocusAndTheMouse) {
  Start();
  Memo().SetText("sendln 'x'");
  SetFocus(form->EditorHandle());
  PumpMessages();
  EXPECT_TRUE(form->ToolBar().Enabled(cmRunToCursor));
  SetFocus(form->ToolBar().ParamEdit(2));
  PumpMessages();
  EXPECT_FALSE(form->ToolBar().Enabled(cmRunToCursor)) << "it needs the editor focused";
  SetFocus(form->EditorHandle());
  PumpMessages();
  EXPECT_TRUE(form->ToolBar().Enabled(cmRunToCursor));

  // Text put on the clipboard by another program shows after a click.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  form->UpdateCommandState();
  EXPECT_FALSE(form->ToolBar().Enabled(cmPaste));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 2);
  std::memcpy(GlobalLock(block), "z", 2);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
  SendMessageA(form->EditorHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 5));
  SendMessageA(form->EditorHandle(), WM_LBUTTONUP, 0, MAKELPARAM(40, 5));
  EXPECT_TRUE(form->ToolBar().Enabled(cmPaste));
}

}  // namespace
