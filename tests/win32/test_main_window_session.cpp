#include "MainWindowFixture.h"

namespace {

class MainWindowSessionTest : public MainWindowFixture {
 protected:
  TTempDir docs;

  std::vector<std::string> FileMenuTail() {
    HMENU file = GetSubMenu(GetMenu(form->Handle()), 0);
    std::vector<std::string> tail;
    bool after_exit = false;
    for (int i = 0; i < GetMenuItemCount(file); ++i) {
      char text[300] = "";
      GetMenuStringA(file, i, text, sizeof text, MF_BYPOSITION);
      if (after_exit) tail.push_back(GetMenuItemID(file, i) == 900 ? "-" : text);
      if (GetMenuItemID(file, i) == cmExit) after_exit = true;
    }
    return tail;
  }
  // Closes through the window, as the user does, so that it stores its state.
  void CloseByUser() {
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Close();
  }
};

TEST_F(MainWindowSessionTest, OpenedFilesAreOfferedAgainAfterARestart) {
  Start();
  EXPECT_TRUE(FileMenuTail().empty());
  const std::string a = docs.File("a.ttl"), b = docs.File("b.ttl");
  WriteFileBytes(a, "sendln 'a'");
  WriteFileBytes(b, "sendln 'b'");
  form->Document().OpenPath(a);
  form->Document().OpenPath(b);
  EXPECT_EQ(FileMenuTail(), (std::vector<std::string>{"-", "&1  " + b, "&2  " + a}));
  CloseByUser();

  Start();
  EXPECT_EQ(FileMenuTail(), (std::vector<std::string>{"-", "&1  " + b, "&2  " + a}));
  // choosing the second reopens it; a file that is gone is dropped with a warning
  HMENU file = GetSubMenu(GetMenu(form->Handle()), 0);
  SendMessageA(form->Handle(), WM_COMMAND, 902, 0);
  EXPECT_EQ(form->Document().CurrentFileName(), a);
  EXPECT_EQ(Memo().Text(), "sendln 'a'");
  DeleteFileA(b.c_str());
  SendMessageA(form->Handle(), WM_COMMAND, 902, 0);
  EXPECT_EQ(prompts.Messages(),
            std::vector<std::string>{"The file '" + b + "' does not exist."});
  EXPECT_EQ(FileMenuTail(), (std::vector<std::string>{"-", "&1  " + a}));
  EXPECT_NE(GetMenuItemCount(file), 0);
}

TEST_F(MainWindowSessionTest, TheWindowComesBackWhereItWasLeft) {
  Start();
  RECT first;
  GetWindowRect(form->Handle(), &first);
  EXPECT_EQ(first.left, 190);
  EXPECT_EQ(first.top, 105);
  MoveWindow(form->Handle(), 50, 60, 700, 500, TRUE);
  CloseByUser();

  Start();
  RECT again;
  GetWindowRect(form->Handle(), &again);
  EXPECT_EQ(again.left, 50);
  EXPECT_EQ(again.top, 60);
  EXPECT_EQ(again.right - again.left, 700);
  EXPECT_EQ(again.bottom - again.top, 500);
}

TEST_F(MainWindowSessionTest, WhenWindowsEndsTheSessionEverythingIsKeptAsAtExit) {
  Start();
  const std::string a = docs.File("a.ttl");
  WriteFileBytes(a, "sendln 'a'");
  form->Document().OpenPath(a);
  form->ToolBar().SetParamText(2, "host");
  MoveWindow(form->Handle(), 40, 50, 600, 400, TRUE);
  CreateDirectoryA(program_dir.File("Temp_TTL").c_str(), nullptr);
  const std::string leftover = program_dir.File("Temp_TTL") + "\\~macroE3.ttl";
  WriteFileBytes(leftover, "x");

  ASSERT_TRUE(SendMessageA(form->Handle(), WM_QUERYENDSESSION, 0, 0));
  SendMessageA(form->Handle(), WM_ENDSESSION, TRUE, 0);
  // Stored before the window goes, which it may never do.
  auto key = registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString("Param2"), "host");
  EXPECT_EQ(key->ReadString("MRU1"), a);
  EXPECT_EQ(key->ReadString("FontName"), "Courier New");
  EXPECT_EQ(key->ReadString("LastTTLFile"), a);
  auto placement = key->OpenKey("TForm1", false);
  ASSERT_TRUE(placement);
  EXPECT_EQ(placement->ReadString("NormPos"), "40,50,640,450");
  EXPECT_FALSE(FileExistsOnDisk(leftover));
}

TEST_F(MainWindowSessionTest, HelpWithoutTheHelpFileSaysSo) {
  Start();
  form->ExecuteCommand(cmHelp);
  EXPECT_EQ(prompts.Messages(),
            std::vector<std::string>{"TeraTerm help file 'teraterm.chm' not found."});
  EXPECT_EQ(prompts.Log()[0].caption, "Error");
}

}  // namespace
