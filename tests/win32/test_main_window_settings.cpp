#include "MainWindowFixture.h"
#include "win32/Printing.h"

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

TEST_F(MainWindowSettingsTest, StoredSettingsReachTheMainEditorAtStartUp) {
  auto key = registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, true);
  key->WriteString("FontName", "Arial");
  key->WriteInteger("FontSize", 12);
  key->WriteInteger("SpacePerTAB", 6);
  key->WriteString("EditorBgColor", "not a number");  // keeps its default
  key.reset();
  Start();
  EXPECT_EQ(Memo().Font().Name, "Arial");
  EXPECT_EQ(Memo().Font().Size(), 12);
  EXPECT_EQ(Memo().TabWidth(), 8);
  EXPECT_EQ(Memo().Color(), static_cast<TColor>(0xFF000005));
}

TEST_F(MainWindowSettingsTest, AFirstRunLeavesEverySettingInTheKey) {
  Start();
  EXPECT_EQ(Memo().Font().Name, "Courier New");
  EXPECT_EQ(Memo().Font().Size(), 9);
  EXPECT_EQ(Memo().TabWidth(), 4);
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  Close();
  auto key = registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false);
  ASSERT_TRUE(key);
  for (const char* name :
       {"NT", "MRU1", "MRU4", "Param2", "Param3", "PrintPreviewScale", "LastTTLFile", "TAB2Space",
        "SmartTabs", "ShowSpecial", "SpacePerTAB", "TemplateFile", "FontName", "FontCharSet",
        "FontSize", "FontStyle", "EditorBgColor", "EditorActLineColor",
        "EditorSelectionForeground", "EditorSelectionBackground", "SCPWidth", "CheckMacros"})
    EXPECT_TRUE(key->ValueExists(name)) << name;
  EXPECT_TRUE(key->OpenKey("TForm1", false));
  EXPECT_TRUE(key->OpenKey("Comment", false)) << "the highlighter's attributes";
  EXPECT_EQ(key->ReadString("TemplateFile"), program_dir.File("ttmacro.tpl"));
}

TEST_F(MainWindowSettingsTest, TheStoredNTValueChoosesHowPrintersAreCounted) {
  // Before the NT family, the default printer was a value of a machine key.
  const char* kOldKey = "Config\\0001\\System\\CurrentControlSet\\Control\\Print\\Printers";
  HKEY probe = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Config", 0, KEY_READ, &probe) == ERROR_SUCCESS) {
    RegCloseKey(probe);
    GTEST_SKIP() << "the machine has the old printer key";
  }
  HKEY old_key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOldKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                            &old_key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(old_key, "Default", 0, REG_SZ, reinterpret_cast<const BYTE*>("Old printer"), 12);
  RegCloseKey(old_key);
  const bool ports = CountInstalledPrinters(true) > 0;
  for (const bool nt : {false, true}) {
    SCOPED_TRACE(nt ? "NT" : "before NT");
    registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, true)->WriteBool("NT", nt);
    Start();
    HMENU file = GetSubMenu(GetMenu(form->Handle()), 0);
    SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    const bool setup = (GetMenuState(file, cmPrinterSetup, MF_BYCOMMAND) & MF_GRAYED) == 0;
    EXPECT_EQ(setup, nt ? ports : true);
    Close();
  }
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Config");
}

}  // namespace
