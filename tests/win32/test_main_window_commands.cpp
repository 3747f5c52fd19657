// Menu shortcuts and the enabled state of the commands as the focus and the
// mouse move around the main window.
#include <cstring>
#include <string>

#include "MainWindowFixture.h"

namespace {

class MainWindowCommandsTest : public MainWindowFixture {
 protected:
  // A key as the message loop handles it: a shortcut first, else the window
  // (with the control character Ctrl and a letter types).
  void Key(HWND target, WPARAM vk, bool shift, bool ctrl) {
    BYTE state[256] = {};
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    MSG msg{target, WM_KEYDOWN, vk, 1, 0, {}};
    if (!form->HandleShortCut(msg)) {
      SendMessageW(target, WM_KEYDOWN, vk, 1);
      if (ctrl && vk >= 'A' && vk <= 'Z') SendMessageW(target, WM_CHAR, vk - 'A' + 1, 1);
    }
    state[VK_SHIFT] = state[VK_CONTROL] = 0;
    SetKeyboardState(state);
  }
  void CtrlKey(HWND target, WPARAM vk) { Key(target, vk, false, true); }
  static std::u16string WideWindowText(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(
        window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
    return text;
  }
};

TEST_F(MainWindowCommandsTest, AShortcutOfADisabledItemDoesNothingInTheEditor) {
  Start();
  // New and Print are disabled on an empty, unmodified document.
  CtrlKey(form->EditorHandle(), 'N');
  CtrlKey(form->EditorHandle(), 'P');
  EXPECT_EQ(Memo().Lines().Count(), 0);
  EXPECT_EQ(WindowText(form->Handle()), "Quillonar - [Noname.TTL]");
  // A parameter box keeps its own keys.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  HWND param = form->ToolBar().ParamEdit(2);
  SetWindowTextA(param, "abc");
  SendMessageA(param, EM_SETSEL, 0, -1);
  CtrlKey(param, 'C');  // Copy is disabled: nothing is selected in the editor
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

TEST_F(MainWindowCommandsTest, TheEditKeysActOnTheParameterBoxThatHasTheFocus) {
  Start();
  // The editor has something to copy, cut, undo and select, so a key that
  // reached it would show.
  SendMessageW(form->EditorHandle(), WM_CHAR, 'z', 1);
  Memo().SelectAllText();
  HWND box = form->ToolBar().ParamEdit(3);
  SetFocus(box);
  PumpMessages();
  // Nothing is selected in the box: Copy and Cut say so although the editor
  // has a selection.
  EXPECT_FALSE(form->ToolBar().Enabled(cmCopy));
  EXPECT_FALSE(form->ToolBar().Enabled(cmCut));

  struct Case {
    const char* key;
    WPARAM vk;
    bool shift;
    bool ctrl;
    const char16_t* before;
    int sel_start, sel_end;  // the box's selection before the key
    wchar_t typed;           // over the selection before the key, 0 for nothing
    const char16_t* clipboard;
    const char16_t* after;
    const char16_t* clipboard_after;
    int caret_start, caret_end;  // the selection after, -1 where it does not matter
  };
  // Characters no ANSI code page holds together.
  const char16_t* const ja = u"\u65E5";
  const char16_t* const e = u"\u00E9";
  const char16_t* const ja_e = u"\u65E5\u00E9";
  const Case cases[] = {
      {"Ctrl+V", 'V', false, true, u"", 0, 0, 0, ja_e, ja_e, ja_e, 2, 2},
      {"Shift+Ins", VK_INSERT, true, false, u"ab", 1, 1, 0, ja, u"a\u65E5b", ja, 2, 2},
      {"Ctrl+C", 'C', false, true, ja_e, 0, -1, 0, u"x", ja_e, ja_e, 0, 2},
      {"Ctrl+Ins", VK_INSERT, false, true, ja_e, 1, 2, 0, u"x", ja_e, e, 1, 2},
      {"Ctrl+X", 'X', false, true, ja_e, 0, 1, 0, u"x", e, ja, 0, 0},
      {"Shift+Del", VK_DELETE, true, false, ja_e, 0, -1, 0, u"x", u"", ja_e, 0, 0},
      {"Ctrl+Z", 'Z', false, true, ja_e, 0, -1, L'q', u"x", ja_e, u"x", -1, -1},
      {"Ctrl+A", 'A', false, true, ja_e, 1, 1, 0, u"x", ja_e, u"x", 0, 2},
  };
  for (const Case& c : cases) {
    SetWindowTextW(box, reinterpret_cast<const wchar_t*>(c.before));
    SendMessageW(box, EM_SETSEL, c.sel_start, c.sel_end);
    if (c.typed) SendMessageW(box, WM_CHAR, c.typed, 1);
    PutClipboardUnicodeText(form->Handle(), c.clipboard);
    Key(box, c.vk, c.shift, c.ctrl);
    EXPECT_EQ(WideWindowText(box), c.after) << c.key;
    EXPECT_EQ(ClipboardUnicodeText(form->Handle()), c.clipboard_after) << c.key;
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (c.caret_start >= 0) {
      EXPECT_EQ(start, static_cast<DWORD>(c.caret_start)) << c.key;
      EXPECT_EQ(end, static_cast<DWORD>(c.caret_end)) << c.key;
    }
    // The editor kept its text, its selection and its own undo.
    EXPECT_EQ(Memo().Lines().GetText(), "z") << c.key;
    EXPECT_TRUE(Memo().SelAvail()) << c.key;
    EXPECT_TRUE(Memo().CanUndo()) << c.key;
    EXPECT_EQ(GetFocus(), box) << c.key;
  }
  // Back in the editor the keys are the editor's again.
  SetFocus(form->EditorHandle());
  PumpMessages();
  Key(form->EditorHandle(), 'C', false, true);
  EXPECT_EQ(ClipboardUnicodeText(form->Handle()), u"z");
}

}  // namespace
