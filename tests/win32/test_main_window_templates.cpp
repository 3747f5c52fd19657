#include "MainWindowFixture.h"
#include "win32/SettingsWindow.h"
#include "win32/WideString.h"

namespace {

constexpr const char* kTemplates =
    "; templates\r\n"
    "[MACRO_TEMPLATE Telnet login]\r\n"
    "connect 'host:23 /nossh'\r\n"
    "[MACRO_TEMPLATE SEPARATOR]\r\n"
    "[macro_template Wait prompt]\r\n"
    "wait '$'\r\n";

class MainWindowTemplatesTest : public MainWindowFixture {
 protected:
  HMENU FileMenu() { return GetSubMenu(GetMenu(form->Handle()), 0); }
  HMENU Templates() { return GetSubMenu(FileMenu(), 5); }
  bool TemplatesEnabled() {
    return (GetMenuState(FileMenu(), 5, MF_BYPOSITION) & MF_GRAYED) == 0;
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (int i = 0; i < GetMenuItemCount(Templates()); ++i) {
      wchar_t text[128] = L"";
      GetMenuStringW(Templates(), i, text, 128, MF_BYPOSITION);
      captions.push_back(GetMenuItemID(Templates(), i) == 0 ? "-" : Utf8(text));
    }
    return captions;
  }
  void Choose(int position) {
    SendMessageA(form->Handle(), WM_COMMAND, GetMenuItemID(Templates(), position), 0);
  }
};

TEST_F(MainWindowTemplatesTest, TheTemplateFileFillsTheSubmenuAndAChoiceIsInserted) {
  WriteFileBytes(program_dir.File("ttmacro.tpl"), kTemplates);
  Start();
  char caption[64] = "";
  GetMenuStringA(FileMenu(), 5, caption, sizeof caption, MF_BYPOSITION);
  ASSERT_STREQ(caption, "Import macro Template");
  EXPECT_TRUE(TemplatesEnabled());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Telnet login", "-", "Wait prompt"}));

  Memo().SetText("a\r\nb");
  Memo().SetCaretPos({1, 2});
  Choose(2);
  EXPECT_EQ(Memo().Text(), "a\r\nwait '$'\r\n\r\nb");
  EXPECT_EQ(form->StatusBar().Panel(2), "Modified");
  EXPECT_NE(WindowText(form->Handle()).find('*'), std::string::npos);

  // in the middle of a line the template gets lines of its own; one Undo
  // takes it out again
  Memo().SetText("abcdef");
  Memo().SetCaretPos({4, 1});
  Choose(0);
  EXPECT_EQ(Memo().Text(), "abc\r\nconnect 'host:23 /nossh'\r\n\r\ndef");
  Memo().Undo();
  EXPECT_EQ(Memo().Text(), "abcdef");
}

TEST_F(MainWindowTemplatesTest, ItemsRebuiltByApplyInTheSettingsAreDrawnLikeTheOthers) {
  WriteFileBytes(program_dir.File("ttmacro.tpl"), kTemplates);
  Start();
  WriteFileBytes(program_dir.File("ttmacro.tpl"), "[MACRO_TEMPLATE New one]\r\nx\r\n");
  // The settings window is a dialog owned by the main window.
  HWND settings = nullptr;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWindow(w, GW_OWNER) == form->Handle() && GetDlgItem(w, TfrmSettings::idApply))
      settings = w;
  }
  ASSERT_NE(settings, nullptr);
  SendMessageA(settings, WM_COMMAND, MAKEWPARAM(TfrmSettings::idApply, BN_CLICKED), 0);
  ASSERT_EQ(Captions(), std::vector<std::string>{"New one"});
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoA(Templates(), 0, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
}

TEST_F(MainWindowTemplatesTest, TemplateNamesKeepEveryCharacterOfTheirFile) {
  struct Case {
    const char* file;
    std::string caption;
  };
  const Case cases[] = {
      // Omega, a Japanese word and o with double acute: no ANSI code page has them all.
      {"\xEF\xBB\xBF[MACRO_TEMPLATE \xCE\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xC5\x91]\r\nx\r\n",
       "\xCE\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xC5\x91"},
      // An ANSI file's name is in the system's code page.
      {"[MACRO_TEMPLATE Caf\xE9]\r\nx\r\n", "Caf" + Utf8FromAnsi("\xE9")},
  };
  for (const Case& c : cases) {
    WriteFileBytes(program_dir.File("ttmacro.tpl"), c.file);
    Start();
    EXPECT_EQ(Captions(), std::vector<std::string>{c.caption}) << c.caption;
    Close();
  }
}

TEST_F(MainWindowTemplatesTest, WithoutATemplateFileTheSubmenuIsDisabled) {
  Start();
  EXPECT_FALSE(TemplatesEnabled());
  EXPECT_TRUE(prompts.Log().empty());
}

TEST_F(MainWindowTemplatesTest, TheStoredTemplateFileWins) {
  WriteFileBytes(program_dir.File("mine.tpl"), "[MACRO_TEMPLATE Mine]\r\nx\r\n");
  WriteFileBytes(program_dir.File("ttmacro.tpl"), kTemplates);
  registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, true)
      ->WriteString("TemplateFile", program_dir.File("mine.tpl"));
  Start();
  EXPECT_EQ(Captions(), std::vector<std::string>{"Mine"});
}

}  // namespace
