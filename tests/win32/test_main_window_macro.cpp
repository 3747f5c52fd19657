#include "MainWindowFixture.h"

namespace {

// The stand-in interpreter, reached through Wine's Z: drive.
std::string StandInInterpreter() {
  std::string path = std::string("Z:") + QUILLON_TTPMACRO;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

class MainWindowMacroTest : public MainWindowFixture {
 protected:
  void InstallInterpreter() {
    ASSERT_TRUE(CopyFileA(StandInInterpreter().c_str(), program_dir.File("TTPMACRO.EXE").c_str(),
                          FALSE));
  }
  // What the stand-in logged once `runs` runs have ended (it runs on its own).
  std::string WaitForLog(int runs) {
    const std::string log = program_dir.File("ttpmacro.log");
    for (int i = 0; i < 200; ++i) {
      if (FileExistsOnDisk(log)) {
        const std::string bytes = ReadFileBytes(log);
        int ends = 0;
        for (std::size_t at = bytes.find("\nEND\n"); at != std::string::npos;
             at = bytes.find("\nEND\n", at + 1))
          ++ends;
        if (ends >= runs) return bytes;
      }
      Sleep(50);
    }
    return "(no log)";
  }
  std::string Temp(int n) {
    return program_dir.File("Temp_TTL") + "\\~macroE" + std::to_string(n) + ".ttl";
  }
};

TEST_F(MainWindowMacroTest, RunAndRunToCursorHandTheTextAndParametersToTheInterpreter) {
  InstallInterpreter();
  Start();
  form->Memo1().SetText("a\r\nb\r\nc");
  form->ExecuteCommand(cmRun);
  std::string log = WaitForLog(1);
  EXPECT_NE(log.find(" \"" + Temp(1) + "\"  \n"), std::string::npos) << log;
  EXPECT_NE(log.find("MACRO 11\n\r\na\r\nb\r\nc\r\n\nEND\n"), std::string::npos) << log;

  SetWindowTextA(form->ToolBar().ParamEdit(2), "x");
  SetWindowTextA(form->ToolBar().ParamEdit(3), "y z");
  form->Memo1().SetCaretPos({1, 2});
  ASSERT_EQ(GetFocus(), form->EditorHandle());
  form->ExecuteCommand(cmRunToCursor);
  log = WaitForLog(2);
  EXPECT_NE(log.find(" \"" + Temp(2) + "\" x y z\n"), std::string::npos) << log;
  EXPECT_NE(log.find("MACRO 8\n\r\na\r\nb\r\n\nEND\n"), std::string::npos) << log;
  EXPECT_TRUE(prompts.Log().empty());
  EXPECT_FALSE(form->Document().Modified()) << "a run does not touch the document";

  // closing removes the runs' files and keeps everything else there
  WriteFileBytes(program_dir.File("Temp_TTL") + "\\keep.txt", "k");
  WriteFileBytes(program_dir.File("Temp_TTL") + "\\~TTiniE5.ini", "i");
  Close();
  EXPECT_FALSE(FileExistsOnDisk(Temp(1)));
  EXPECT_FALSE(FileExistsOnDisk(Temp(2)));
  EXPECT_FALSE(FileExistsOnDisk(program_dir.File("Temp_TTL") + "\\~TTiniE5.ini"));
  EXPECT_TRUE(FileExistsOnDisk(program_dir.File("Temp_TTL") + "\\keep.txt"));
}

TEST_F(MainWindowMacroTest, TheMacroRunsInTheDocumentsFolder) {
  InstallInterpreter();
  TTempDir docs;
  Start();
  form->Memo1().SetText("include 'sub.ttl'");
  form->ExecuteCommand(cmRun);
  EXPECT_NE(WaitForLog(1).find("\nFOLDER " + program_dir.Path() + "\n"), std::string::npos)
      << "an unnamed document runs in the program's folder";

  const std::string macro = docs.File("main.ttl");
  WriteFileBytes(macro, "include 'sub.ttl'");
  form->Document().OpenPath(macro);
  form->ExecuteCommand(cmRun);
  EXPECT_NE(WaitForLog(2).find("\nFOLDER " + docs.Path() + "\n"), std::string::npos);
}

TEST_F(MainWindowMacroTest, WithoutTheInterpreterTheUserIsTold) {
  Start();
  form->Memo1().SetText("sendln 'x'");
  form->ExecuteCommand(cmRun);
  EXPECT_EQ(prompts.Messages(),
            std::vector<std::string>{
                "TTPMACRO.EXE not found.\rPlease move Quillon.exe into TeraTerm directory."});
  EXPECT_FALSE(FileExistsOnDisk(program_dir.File("Temp_TTL")));
}

}  // namespace
