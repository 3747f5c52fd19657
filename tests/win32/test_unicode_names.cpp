// Files, folders and parameters named with any character: Japanese and
// accented names through open, save, drop, the recent files, the title and a
// macro run, and paths longer than the old 260-character limit.
#include "MainWindowFixture.h"

#include <commctrl.h>
#include "language/TtlHighlighter.h"
#include "win32/WideString.h"

namespace {

class UnicodeNamesTest : public MainWindowFixture {
 protected:
  TTempDir docs{"マクロ Français"};

  std::string RecentEntry(int n) {
    HMENU file = GetSubMenu(GetMenu(form->Handle()), 0);
    wchar_t text[1024] = L"";
    GetMenuStringW(file, 900 + n, text, 1024, MF_BYCOMMAND);
    return Utf8(text);
  }
};

TEST_F(UnicodeNamesTest, OpenSaveAndDropWorkInAFolderNamedInJapaneseAndAccents) {
  Start();
  const std::string opened = docs.File("ログイン été.ttl");
  WriteFileBytes(opened, "connect 'host'");
  prompts.AnswerFile(opened);
  form->ExecuteCommand(cmOpen);
  EXPECT_EQ(Memo().Lines().GetText(), "connect 'host'");
  EXPECT_EQ(form->Document().CurrentFileName(), opened);
  EXPECT_NE(WindowText(form->Handle()).find("ログイン été"), std::string::npos)
      << WindowText(form->Handle());

  const std::string saved = docs.File("保存 naïve.ttl");
  Memo().SetText("wait '$'");
  prompts.AnswerFile(saved);
  form->ExecuteCommand(cmSaveAs);
  EXPECT_EQ(ReadFileBytes(saved), "wait '$'");
  EXPECT_EQ(form->Document().CurrentFileName(), saved);

  const std::string dropped = docs.File("ドロップ ñ.ttl");
  WriteFileBytes(dropped, "sendln 'x'");
  SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dropped})), 0);
  EXPECT_EQ(Memo().Lines().GetText(), "sendln 'x'");
  EXPECT_EQ(form->Document().CurrentFileName(), dropped);
  EXPECT_TRUE(prompts.Messages().empty());

  // The recent files show the names and come back from the registry as written.
  EXPECT_EQ(RecentEntry(1), "&1  " + dropped);
  EXPECT_EQ(RecentEntry(2), "&2  " + saved);
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  Close();
  Start();
  EXPECT_EQ(RecentEntry(3), "&3  " + opened);
  // The same name in other letter case is the same file to Windows.
  const std::string upper = docs.Path() + "\\ログイン ÉTÉ.TTL";
  form->Document().OpenPath(upper);
  EXPECT_EQ(RecentEntry(1), "&1  " + upper);
  EXPECT_EQ(RecentEntry(3), "&3  " + saved);
  EXPECT_EQ(RecentEntry(4), "");
}

TEST_F(UnicodeNamesTest, TheWideLoopGivesTheParameterBoxAnyCharacterAndTheEditorItsCodePage) {
  Start();
  // Characters as the keyboard delivers them, through the program's loop.
  PostMessageW(form->ToolBar().ParamEdit(2), WM_CHAR, L'ホ', 1);
  PostMessageW(form->ToolBar().ParamEdit(2), WM_CHAR, L'é', 1);
  PostMessageW(form->EditorHandle(), WM_CHAR, L'é', 1);
  PumpMessages();
  EXPECT_EQ(form->ToolBar().ParamText(2), "ホé");
  EXPECT_EQ(Memo().Lines().GetText(), AnsiFromUtf8("é")) << "the code page's byte, as before";
}

TEST_F(UnicodeNamesTest, ToolTipsAnswerTheUnicodeWindowsRequest) {
  Start();
  // The tips ask their Unicode parent in its own form.
  HWND tips = reinterpret_cast<HWND>(SendMessageW(form->ToolBar().Handle(), TB_GETTOOLTIPS, 0, 0));
  ASSERT_TRUE(tips);
  wchar_t text[128] = L"";
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = form->ToolBar().Handle();
  info.uId = cmNew;
  info.lpszText = text;
  SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(Utf8(text), "New (Ctrl+N)");
}

TEST_F(UnicodeNamesTest, AProgramInAUnicodeFolderFindsItsDataFiles) {
  TTempDir tera_term("テラターム Ü");
  CopyDataFile("KeyFile.ini", tera_term.Path());
  TMainWindowServices services;
  services.prompts = &prompts;
  services.registry = &registry;
  services.program_dir = tera_term.Path();
  services.quit_on_close = false;
  form = std::make_unique<TForm1>(services);
  form->Create();
  form->FinishStartup({});
  EXPECT_TRUE(prompts.Messages().empty()) << prompts.Messages().front();
  EXPECT_NE(form->TTM().HelpIdOf("sendln"), 0) << "the keyword file was read";
}

TEST_F(UnicodeNamesTest, PathsBeyond260CharactersOpenAndSave) {
  Start();
  std::string dir = docs.Path();
  while (dir.size() < 280) {
    dir += "\\" + std::string(60, 'd');
    CreateDirectoryW(Wide(dir).c_str(), nullptr);
  }
  const std::string path = dir + "\\長い.ttl";
  WriteFileBytes(path, "deep");
  ASSERT_EQ(ReadFileBytes(path), "deep");
  SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  EXPECT_EQ(Memo().Lines().GetText(), "deep");
  Memo().SetText("deeper");
  form->Document().TextChanged();
  form->ExecuteCommand(cmSave);
  EXPECT_FALSE(form->Document().Modified()) << WindowText(form->Handle());
  EXPECT_EQ(ReadFileBytes(path), "deeper");
  EXPECT_TRUE(prompts.Messages().empty()) << prompts.Messages().front();
}

TEST_F(UnicodeNamesTest, AMacroInAUnicodeFolderRunsThereWithParametersOfAnyCharacter) {
  std::string interpreter = std::string("Z:") + QUILLON_TTPMACRO;
  for (char& c : interpreter) {
    if (c == '/') c = '\\';
  }
  ASSERT_TRUE(
      CopyFileW(Wide(interpreter).c_str(), Wide(program_dir.File("TTPMACRO.EXE")).c_str(), FALSE));
  Start();
  const std::string macro = docs.File("メイン.ttl");
  WriteFileBytes(macro, "include 'sub.ttl'");
  form->Document().OpenPath(macro);
  form->ToolBar().SetParamText(2, "ホスト");
  form->ToolBar().SetParamText(3, "Zoë €");
  form->ExecuteCommand(cmRun);
  const std::string log_path = program_dir.File("ttpmacro.log");
  std::string log;
  for (int i = 0; i < 200 && log.find("\nEND\n") == std::string::npos; ++i) {
    Sleep(50);
    log = ReadFileBytes(log_path);
  }
  EXPECT_NE(log.find("\nFOLDER " + docs.Path() + "\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\" ホスト Zoë €\n"), std::string::npos) << log;
  EXPECT_NE(log.find("MACRO 21\n\r\ninclude 'sub.ttl'\r\n"), std::string::npos) << log;

  // The parameters are kept as typed.
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  Close();
  Start();
  EXPECT_EQ(form->ToolBar().ParamText(2), "ホスト");
  EXPECT_EQ(form->ToolBar().ParamText(3), "Zoë €");
}

}  // namespace
