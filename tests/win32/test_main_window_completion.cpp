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

TEST_F(MainWindowCompletionTest, WithoutTheItemFileCtrlSpaceSaysSo) {
  Start();
  Type("wa");
  CtrlSpace();
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{
                                    "Completion.pro file not found. Completion Proposal is disabled."});
  EXPECT_EQ(Memo().Text(), "wa");
}

}  // namespace
