#include <functional>

#include "MainWindowFixture.h"

namespace {

class MainWindowCompletionTest : public MainWindowFixture {
 protected:
  void Key(WPARAM vk, char typed = 0) {
    HWND edit = form->EditorHandle();
    SendMessageA(edit, WM_KEYDOWN, vk, 1);
    if (typed) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(typed), 1);
    SendMessageA(edit, WM_KEYUP, vk, 0xC0000001);
  }
  void Type(const std::string& text) {
    for (char c : text) Key(VkKeyScanA(c) & 0xFF, c);
  }
  void CtrlSpace() {
    BYTE state[256] = {};
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    Key(VK_SPACE, ' ');
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    PumpMessages();
  }
};

TEST_F(MainWindowCompletionTest, CtrlSpaceOffersTheCommandsOfTheItemFile) {
  CopyDataFile("Completion.pro", program_dir.Path());
  Start();
  Type("sendl");
  CtrlSpace();
  Key(VK_RETURN, '\r');
  PumpMessages();
  EXPECT_EQ(Memo().Text(), "sendln");
  EXPECT_TRUE(prompts.Log().empty());
  EXPECT_EQ(GetFocus(), form->EditorHandle());
}

TEST_F(MainWindowCompletionTest, TheListClosesWhenAnotherPartOfTheWindowIsUsed) {
  CopyDataFile("Completion.pro", program_dir.Path());
  Start();
  struct Case {
    const char* what;
    std::function<void()> act;
  } cases[] = {
      {"a parameter box takes the focus", [&] { SetFocus(form->ToolBar().ParamEdit(2)); }},
      {"a menu opens", [&] { SendMessageA(form->Handle(), WM_ENTERMENULOOP, FALSE, 0); }},
      {"a tool-bar button is clicked",
       [&] {
         SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(cmShowSpecial, BN_CLICKED),
                      reinterpret_cast<LPARAM>(form->ToolBar().Handle()));
       }},
      {"the tool bar is clicked where there is no button",
       [&] {
         RECT bar;
         GetWindowRect(form->ToolBar().Handle(), &bar);
         MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&bar), 2);
         SendMessageA(form->Handle(), WM_PARENTNOTIFY, WM_LBUTTONDOWN,
                      MAKELPARAM(bar.right - 2, bar.top + 2));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Memo().SetText("first line\r\nse");
    Memo().SetCaretPos({3, 2});
    SetFocus(form->EditorHandle());
    CtrlSpace();
    ASSERT_TRUE(form->SCP().Visible());
    c.act();
    PumpMessages();
    EXPECT_FALSE(form->SCP().Visible());
    // Back in the editor, on another line: Enter is a line break again.
    SetFocus(form->EditorHandle());
    Memo().SetCaretPos({1, 1});
    Key(VK_RETURN, '\r');
    EXPECT_EQ(Memo().Text(), "\r\nfirst line\r\nse");
  }
}

TEST_F(MainWindowCompletionTest, TheWheelMovesTheListWhileItIsShown) {
  CopyDataFile("Completion.pro", program_dir.Path());
  Start();
  Memo().SetText(std::string(100, '\n'));
  Memo().SetCaretPos({1, 1});
  CtrlSpace();
  ASSERT_TRUE(form->SCP().Visible());
  const int before = form->SCP().Form().Position();
  // The window system sends the wheel to the window with the focus.
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
  ASSERT_EQ(SendInput(1, &wheel, sizeof wheel), 1u);
  for (int i = 0; i < 20 && form->SCP().Form().Position() == before; ++i) {
    Sleep(10);
    PumpMessages();
  }
  EXPECT_GT(form->SCP().Form().Position(), before);
  EXPECT_EQ(Memo().TopRow(), 1) << "the text stays where it was";
  EXPECT_TRUE(form->SCP().Visible());
}

TEST_F(MainWindowCompletionTest, WithoutTheItemFileCtrlSpaceSaysSo) {
  Start();
  Type("wa");
  CtrlSpace();
  EXPECT_EQ(
      prompts.Messages(),
      std::vector<std::string>{"Completion.pro file not found. Completion Proposal is disabled."});
  EXPECT_EQ(Memo().Text(), "wa");
}

}  // namespace
