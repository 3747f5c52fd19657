#include "MainWindowFixture.h"

namespace {

class MainWindowSettingsTest : public MainWindowFixture {
 protected:
  std::optional<std::int32_t> StoredShowSpecial() {
    auto key = registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false);
    return key ? key->ReadInteger("ShowSpecial") : std::nullopt;
  }
  // Clicks the tool bar's toggle with the mouse, as the user does.
  void ClickShowSpecial() {
    HWND bar = form->ToolBar().Handle();
    RECT r{};
    const LRESULT index = SendMessageA(bar, TB_COMMANDTOINDEX, cmShowSpecial, 0);
    SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar, WM_LBUTTONUP, 0, at);
    PumpMessages();
  }
  bool SpecialCharsShown() { return Memo().Options().Contains(eoShowSpecialChars); }
};

TEST_F(MainWindowSettingsTest, ShowSpecialCharactersIsStoredTheMomentItChanges) {
  Start();
  EXPECT_TRUE(form->ToolBar().Enabled(cmShowSpecial));
  EXPECT_FALSE(form->ToolBar().Checked(cmShowSpecial));
  EXPECT_FALSE(SpecialCharsShown());
  EXPECT_EQ(StoredShowSpecial(), std::nullopt);

  ClickShowSpecial();
  EXPECT_TRUE(form->ToolBar().Checked(cmShowSpecial));
  EXPECT_TRUE(SpecialCharsShown());
  EXPECT_EQ(StoredShowSpecial(), 1);

  // as if the program were killed now: the next start comes up with it on
  Start();
  EXPECT_TRUE(form->ToolBar().Checked(cmShowSpecial));
  EXPECT_TRUE(SpecialCharsShown());

  form->ExecuteCommand(cmShowSpecial);
  EXPECT_FALSE(form->ToolBar().Checked(cmShowSpecial));
  EXPECT_FALSE(SpecialCharsShown());
  EXPECT_EQ(StoredShowSpecial(), 0);
}

TEST_F(MainWindowSettingsTest, TheParametersComeBackAtTheNextStart) {
  Start();
  EXPECT_EQ(form->ToolBar().ParamText(2), "");
  form->ToolBar().SetParamText(2, "router-1");
  form->ToolBar().SetParamText(3, "admin secret");
  Close();
  Start();
  EXPECT_EQ(form->ToolBar().ParamText(2), "router-1");
  EXPECT_EQ(form->ToolBar().ParamText(3), "admin secret");
}

}  // namespace
