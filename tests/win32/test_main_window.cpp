#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "editor/EditorMemo.h"
#include "language/TtlHighlighter.h"
#include "support/ScriptedPrompts.h"
#include "win32/MainWindow.h"
#include "win32/WineTestSupport.h"

namespace {

constexpr const char* kNotPlainText =
    "Failed to open the file. It does not appear to be a plain text file.";

class MainWindowTest : public ::testing::Test {
 protected:
  TTempDir program_dir;
  TTempDir docs;
  TScriptedPrompts prompts;
  std::unique_ptr<TForm1> form;

  void SetUp() override { ClearSettingsKey(); }
  void TearDown() override {
    form.reset();
    PumpMessages();
  }

  void Start(std::vector<std::string> args = {}) {
    CopyDataFile("KeyFile.ini", program_dir.Path());
    TMainWindowServices services;
    services.prompts = &prompts;
    services.program_dir = program_dir.Path();
    services.quit_on_close = false;
    form = std::make_unique<TForm1>(services);
    form->Create();
    form->FinishStartup(args);
    PumpMessages();
  }
  std::string Title() { return WindowText(form->Handle()); }
  std::string Text() { return form->Memo1().Lines().GetText(); }
  // Stands in for typing until the editor edits: a change the editor reports.
  void Change(const std::string& line) {
    form->Memo1().Lines().Add(line);
    form->Document().TextChanged();
  }
  std::string Doc(const std::string& name, const std::string& bytes) {
    const std::string path = docs.File(name);
    WriteFileBytes(path, bytes);
    return path;
  }
};

TEST_F(MainWindowTest, StartsWithAnEmptyUnnamedDocument) {
  Start();
  EXPECT_EQ(Title(), "Quillonar - [Noname.TTL]");
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(form->StatusBar().Panel(1), "Ln. 1, Col. 1");
  EXPECT_EQ(form->StatusBar().Panel(2), "");
  EXPECT_EQ(form->StatusBar().Panel(3), "INS");
  EXPECT_EQ(SendMessageA(form->StatusBar().Handle(), SB_GETPARTS, 0, 0), 8);
  EXPECT_FALSE(form->ToolBar().Enabled(cmNew));
  EXPECT_TRUE(form->ToolBar().Enabled(cmOpen));
  EXPECT_EQ(form->ToolBar().Tip(cmToolPrint), "No default printer");
  EXPECT_TRUE(prompts.Log().empty());
}

TEST_F(MainWindowTest, CommandLineFileThatIsNotPlainTextIsRefused) {
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"NUL byte", std::string("connect\0host", 12)},
      {"form feed as byte 2049", std::string(2048, 'a') + "\f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    prompts.ClearLog();
    Start({Doc("bad.ttl", c.bytes)});
    EXPECT_EQ(prompts.Messages(), std::vector<std::string>{kNotPlainText});
    EXPECT_EQ(prompts.Log()[0].caption, "Warning");
    EXPECT_EQ(Title(), "Quillonar - [Noname.TTL]");
    EXPECT_EQ(Text(), "");
  }
}

TEST_F(MainWindowTest, MissingFileOrDirectoryOnTheCommandLineGivesThePlainTextWarning) {
  for (const std::string& arg : {docs.File("missing.ttl"), docs.Path()}) {
    prompts.ClearLog();
    Start({arg});
    EXPECT_EQ(prompts.Messages(), std::vector<std::string>{kNotPlainText}) << arg;
    EXPECT_EQ(Title(), "Quillonar - [Noname.TTL]");
  }
}

TEST_F(MainWindowTest, CommandLineFileOpensWithItsName) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
  } cases[] = {
      {"login.ttl", "connect 'host'\r\nwait '$'\r\n", "connect 'host'\r\nwait '$'\r\n"},
      {"with space été.ttl", "sendln 'x'", "sendln 'x'"},
      {"only tabs and ctrl-z.ttl", "\t\x1a\t", "\t\x1a\t"},
      {"empty.ttl", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start({Doc(c.name, c.bytes)});
    EXPECT_TRUE(prompts.Log().empty());
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(form->Document().CurrentFileName(), docs.File(c.name));
    EXPECT_EQ(Title().rfind("Quillonar - [", 0), 0u);
    EXPECT_EQ(Title().find('*'), std::string::npos);
  }
}

TEST_F(MainWindowTest, FileThatVanishesAfterTheOpenDialogIsReported) {
  Start();
  Change("draft");
  prompts.AnswerFile(docs.File("gone.ttl"));  // chosen in the dialog, deleted since
  prompts.AnswerMessage(mrNo);                 // discard the draft
  form->ExecuteCommand(cmOpen);
  const auto messages = prompts.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[1].find("gone.ttl"), std::string::npos) << messages[1];
  EXPECT_EQ(prompts.Log()[2].caption, "Error");
  EXPECT_EQ(Title(), "Quillonar - [Noname.TTL]");
  EXPECT_EQ(Text(), "");
}

TEST_F(MainWindowTest, TenMegabyteLineLoads) {
  const std::string line(10 * 1024 * 1024, 'x');
  Start({Doc("long.ttl", line)});
  ASSERT_EQ(form->Memo1().Lines().Count(), 1);
  EXPECT_EQ(form->Memo1().Lines().GetLine(0).size(), line.size());
}

TEST_F(MainWindowTest, DroppingThreeFilesOpensTheFirst) {
  Start();
  const auto a = Doc("a.ttl", "first"), b = Doc("b.ttl", "second"), c = Doc("c.ttl", "third");
  SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({a, b, c})), 0);
  EXPECT_EQ(Text(), "first");
  EXPECT_EQ(form->Document().CurrentFileName(), a);
}

TEST_F(MainWindowTest, DroppedFileWithAPathLongerThan255CharactersOpens) {
  Start();
  // Between 255 characters and the ANSI file functions' own limit of 259.
  std::string dir = docs.Path() + "\\" + std::string(100, 'd');
  CreateDirectoryA(dir.c_str(), nullptr);
  dir += "\\" + std::string(100, 'e');
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string path = dir + "\\" + std::string(258 - dir.size() - 1 - 4, 'm') + ".ttl";
  ASSERT_EQ(path.size(), 258u);
  WriteFileBytes(path, "deep");
  SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  EXPECT_TRUE(prompts.Messages().empty());
  EXPECT_EQ(Text(), "deep");
  EXPECT_EQ(form->Document().CurrentFileName(), path);
}

TEST_F(MainWindowTest, SaveOnUnnamedDocumentRunsSaveAsAndCancelKeepsTextAndMarker) {
  Start();
  Change("sendln 'x'");
  EXPECT_EQ(Title(), "Quillonar - [Noname.TTL*]");
  EXPECT_EQ(form->StatusBar().Panel(2), "Modified");
  prompts.AnswerFile(std::nullopt);
  form->ExecuteCommand(cmSave);
  ASSERT_EQ(prompts.Log().size(), 1u);
  EXPECT_EQ(prompts.Log()[0].text, "Save Macro as");
  EXPECT_EQ(Title(), "Quillonar - [Noname.TTL*]");
  EXPECT_EQ(Text(), "sendln 'x'");

  const std::string target = docs.File("saved.ttl");
  prompts.AnswerFile(target);
  form->ExecuteCommand(cmSave);
  EXPECT_EQ(ReadFileBytes(target), "sendln 'x'");
  EXPECT_EQ(form->StatusBar().Panel(2), "");
  EXPECT_EQ(Title().find('*'), std::string::npos);
}

TEST_F(MainWindowTest, SavePromptAnswersBeforeOpeningAnotherFile) {
  const auto other = Doc("other.ttl", "other text");
  struct Case {
    const char* what;
    int answer;
    std::string text;
    bool renamed;
  } cases[] = {
      {"Cancel leaves text and name alone", mrCancel, "draft", false},
      {"No discards the changes", mrNo, "other text", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start();
    Change("draft");
    prompts.ClearLog();
    prompts.AnswerFile(other);
    prompts.AnswerMessage(c.answer);
    form->ExecuteCommand(cmOpen);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0], "Do you want to save the changes made to Noname.TTL?");
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(form->Document().CurrentFileName(), c.renamed ? other : "");
  }
}

TEST_F(MainWindowTest, ReopeningTheOpenFileReloadsIt) {
  const auto path = Doc("macro.ttl", "version 1");
  Start({path});
  WriteFileBytes(path, "version 2");
  SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  EXPECT_EQ(Text(), "version 2");
  EXPECT_TRUE(prompts.Log().empty());
}

TEST_F(MainWindowTest, FailedSaveLeavesTheOldFileAndTheDocumentModified) {
  const auto path = Doc("locked.ttl", "original\r\n");
  Start({path});
  Change("added");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  form->ExecuteCommand(cmSave);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Log()[0].caption, "Error");
  EXPECT_NE(prompts.Messages()[0].find("locked.ttl"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(path), "original\r\n");
  EXPECT_NE(Title().find('*'), std::string::npos);
  EXPECT_EQ(form->Document().CurrentFileName(), path);
  // No temporary file is left behind.
  WIN32_FIND_DATAA found;
  int files = 0;
  HANDLE h = FindFirstFileA(docs.File("*").c_str(), &found);
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  } while (FindNextFileA(h, &found));
  FindClose(h);
  EXPECT_EQ(files, 1);
}

TEST_F(MainWindowTest, SavingWritesBackByteForByteWithTheLineBreakStyle) {
  for (const std::string bytes : {"a\nb\n", "a\rb", "a\r\nb\r\n", ""}) {
    const auto path = Doc("breaks.ttl", bytes);
    Start({path});
    Change("c");
    form->ExecuteCommand(cmSave);
    const std::string expected_break = bytes.find("\r\n") != std::string::npos ? "\r\n"
                                       : bytes.find('\n') != std::string::npos ? "\n"
                                       : bytes.find('\r') != std::string::npos ? "\r"
                                                                               : "\r\n";
    const std::string expected = bytes.empty() ? "c" : bytes + expected_break + "c";
    EXPECT_EQ(ReadFileBytes(path), expected);
  }
}

TEST_F(MainWindowTest, CloseQueryKeepsTheWindowOnCancel) {
  Start();
  Change("x");
  prompts.AnswerMessage(mrCancel);
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(form->Handle()));
  prompts.AnswerMessage(mrNo);
  HWND hwnd = form->Handle();
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsShortcutsAndLaterCommandsDisabled) {
  Start();
  HMENU bar = GetMenu(form->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 5);
  char text[128];
  const char* tops[] = {"File", "Edit", "Search", "Actions", "Help"};
  for (int i = 0; i < 5; ++i) {
    GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, tops[i]);
  }
  struct Item {
    TCommandId id;
    const char* text;
    bool enabled;
  } items[] = {
      {cmOpen, "Open ...\tCtrl+O", true},       {cmSaveAs, "Save as ...", true},
      {cmPrint, "Print ...\tCtrl+P", false},    {cmRedo, "Redo\tCtrl+Alt+Z", false},
      {cmFind, "Find\tCtrl+F", false},          {cmRun, "Run\tF9", false},
      {cmHelp, "TeraTerm Help\tCtrl+Shift+F1", true},
  };
  for (int i = 0; i < 5; ++i) {
    SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, i)), i);
  }
  for (const auto& item : items) {
    GetMenuStringA(bar, item.id, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, item.text);
    const UINT state = GetMenuState(bar, item.id, MF_BYCOMMAND);
    EXPECT_EQ((state & MF_GRAYED) == 0, item.enabled) << item.text;
  }
}

TEST_F(MainWindowTest, ShortcutOfAnEnabledItemRunsItAndADisabledOneIsIgnored) {
  Start();
  MSG msg{};
  msg.hwnd = form->EditorHandle();
  msg.message = WM_KEYDOWN;
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  msg.wParam = 'O';
  prompts.AnswerFile(std::nullopt);
  EXPECT_TRUE(form->HandleShortCut(msg));
  ASSERT_EQ(prompts.Log().size(), 1u);
  EXPECT_EQ(prompts.Log()[0].text, "Open TeraTerm Macro file");
  msg.wParam = 'P';  // Print is not available: the key is used up and does nothing
  EXPECT_TRUE(form->HandleShortCut(msg));
  EXPECT_EQ(prompts.Log().size(), 1u);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
}

}  // namespace

namespace {

TEST(MainWindowStartup, MissingKeywordFileIsReportedOnce) {
  TTempDir program_dir;
  TScriptedPrompts prompts;
  TMainWindowServices services;
  services.prompts = &prompts;
  services.program_dir = program_dir.Path();
  services.quit_on_close = false;
  TForm1 form(services);
  form.Create();
  form.FinishStartup({});
  EXPECT_EQ(prompts.Messages(),
            std::vector<std::string>{
                "The file 'KeyFile.ini' was not found in application directory.\r"
                "Syntax highlighting and context sensitive help functions will be disabled."});
  EXPECT_EQ(prompts.Log()[0].caption, "Warning");
}

}  // namespace

namespace {

TEST_F(MainWindowTest, CtrlF1LooksUpTheWordAtTheCaret) {
  Start({Doc("help.ttl", "  sendln 'x'\r\nnothing here")});
  std::vector<std::int32_t> topics;
  form->OnHelpTopic = [&](std::int32_t t) { topics.push_back(t); };
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  MSG msg{};
  msg.hwnd = form->EditorHandle();
  msg.message = WM_KEYDOWN;
  msg.wParam = VK_F1;
  form->Memo1().SetCaretPos({5, 1});
  EXPECT_TRUE(form->HandleShortCut(msg));
  form->Memo1().SetCaretPos({3, 2});  // inside "nothing": not a keyword
  EXPECT_TRUE(form->HandleShortCut(msg));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  ASSERT_EQ(topics.size(), 2u);
  EXPECT_EQ(topics[0], form->TTM().HelpIdOf("sendln"));
  EXPECT_GT(topics[0], 0);
  EXPECT_EQ(topics[1], 0);
}

}  // namespace

namespace {

TEST_F(MainWindowTest, StatusBarFollowsTheCaretAndTheInsertKey) {
  Start({Doc("status.ttl", "connect 'host'\r\nwait 'login:'\r\n")});
  HWND editor = form->EditorHandle();
  SetFocus(editor);
  SendMessageA(editor, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(editor, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(form->StatusBar().Panel(1), "Ln. 2, Col. 14");
  SendMessageA(editor, WM_KEYDOWN, VK_INSERT, 0);
  EXPECT_EQ(form->StatusBar().Panel(3), "OVR");
  SendMessageA(editor, WM_KEYDOWN, VK_INSERT, 0);
  EXPECT_EQ(form->StatusBar().Panel(3), "INS");
}

}  // namespace

namespace {

TEST_F(MainWindowTest, TypingMarksTheTitleAndTheEditMenuWorks) {
  Start();
  HWND editor = form->EditorHandle();
  SetFocus(editor);
  for (char c : std::string("wait 'x'")) SendMessageA(editor, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(Title(), "Quillonar - [Noname.TTL*]");
  EXPECT_EQ(form->StatusBar().Panel(2), "Modified");
  EXPECT_EQ(Text(), "wait 'x'");
  EXPECT_TRUE(form->ToolBar().Enabled(cmUndo));

  form->ExecuteCommand(cmSelectAll);
  form->ExecuteCommand(cmCopy);
  EXPECT_TRUE(form->ToolBar().Enabled(cmPaste));
  form->ExecuteCommand(cmCut);
  EXPECT_EQ(Text(), "");
  form->ExecuteCommand(cmPaste);
  EXPECT_EQ(Text(), "wait 'x'");
  form->ExecuteCommand(cmUndo);
  EXPECT_EQ(Text(), "");
  EXPECT_TRUE(form->ToolBar().Enabled(cmRedo));
  form->ExecuteCommand(cmRedo);
  EXPECT_EQ(Text(), "wait 'x'");
}

TEST_F(MainWindowTest, UndoingBackToTheSavedTextLeavesTheEditorUnmodified) {
  const auto path = Doc("saved.ttl", "");
  Start({path});
  HWND editor = form->EditorHandle();
  SendMessageA(editor, WM_CHAR, 'a', 0);
  form->ExecuteCommand(cmSave);
  EXPECT_FALSE(form->Memo1().Modified());
  SendMessageA(editor, WM_KEYDOWN, VK_END, 0);  // a caret move ends the typing run
  SendMessageA(editor, WM_KEYDOWN, 'B', 0);
  SendMessageA(editor, WM_CHAR, 'b', 0);
  EXPECT_TRUE(form->Memo1().Modified());
  EXPECT_EQ(SendMessageA(editor, EM_GETMODIFY, 0, 0), TRUE);
  form->ExecuteCommand(cmUndo);
  EXPECT_EQ(ReadFileBytes(path), "a");
  EXPECT_EQ(Text(), "a");
  EXPECT_FALSE(form->Memo1().Modified());
}

}  // namespace
