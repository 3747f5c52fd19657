#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/MacroRun.h"
#include "platform/FileSystem.h"
#include "support/ScriptedPrompts.h"

namespace {

// Files and directories in memory; records what was started.
class TFakeMacroPlatform : public IMacroPlatform {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> dirs;
  bool can_make_directories = true;
  bool writes_fail = false;
  struct Started {
    std::string program, parameters, folder;
  };
  std::vector<Started> started;

  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool DirectoryExists(const std::string& path) override { return dirs.count(path) != 0; }
  bool MakeDirectory(const std::string& path) override {
    if (!can_make_directories) return false;
    dirs.insert(path);
    return true;
  }
  void WriteNewFile(const std::string& path, const std::string& bytes) override {
    if (writes_fail) throw EFileError(FileCreateErrorText(path, "Access is denied."));
    files[path] = bytes;
  }
  // Enough wildcard for "prefix*suffix".
  std::vector<std::string> FilesMatching(const std::string& pattern) override {
    const std::size_t star = pattern.find('*');
    const std::string head = pattern.substr(0, star), tail = pattern.substr(star + 1);
    std::vector<std::string> found;
    for (const auto& [path, bytes] : files) {
      if (path.size() >= head.size() + tail.size() && path.compare(0, head.size(), head) == 0 &&
          path.compare(path.size() - tail.size(), tail.size(), tail) == 0 &&
          path.find('\\', head.size()) == std::string::npos)
        found.push_back(path);
    }
    return found;
  }
  bool RemoveFile(const std::string& path) override { return files.erase(path) != 0; }
  void StartProgram(const std::string& program, const std::string& parameters,
                    const std::string& working_folder) override {
    started.push_back({program, parameters, working_folder});
  }
};

class MacroRunTest : public ::testing::Test {
 protected:
  TProgramDirectory program_dir{"C:\\Tera Term"};
  TScriptedPrompts prompts;
  TFakeMacroPlatform platform;
  TMacroRunner runner{program_dir, prompts, platform};

  void InstallInterpreter() { platform.files["C:\\Tera Term\\TTPMACRO.EXE"] = "MZ"; }
  std::string Temp(int n) {
    return "C:\\Tera Term\\Temp_TTL\\~macroE" + std::to_string(n) + ".ttl";
  }
};

TEST(MacroFileBytes, AnEmptyLineThenEveryLineEndingInCrLf) {
  struct Case {
    const char* text;
    const char* bytes;
  } cases[] = {
      {"a\r\nb", "\r\na\r\nb\r\n"},       {"a\r\nb\r\n", "\r\na\r\nb\r\n"},  // lines to the caret
                                                                             // end in a break
                                                                             // already
      {"a\nb\rc", "\r\na\r\nb\r\nc\r\n"}, {"a\r\n\r\nb", "\r\na\r\n\r\nb\r\n"}, {"", "\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(MacroFileBytes(c.text), c.bytes) << c.text;
  // A Unicode document goes as UTF-8 after a byte-order mark, even when it is
  // plain ASCII now, so that the interpreter reads what the editor shows.
  EXPECT_EQ(MacroFileBytes("sendln '\xE3\x81\x93'\nend", true),
            "\xEF\xBB\xBF\r\nsendln '\xE3\x81\x93'\r\nend\r\n");
}

TEST(MacroParameters, BothValuesGoAsTypedAfterTheQuotedPath) {
  EXPECT_EQ(MacroParameters("C:\\t\\~macroE1.ttl", "", ""), " \"C:\\t\\~macroE1.ttl\"  ");
  EXPECT_EQ(MacroParameters("p", "x", "y z"), " \"p\" x y z");
}

TEST_F(MacroRunTest, ARunWritesTheNextFileAndStartsTheInterpreterOnIt) {
  InstallInterpreter();
  runner.RunMacro("a\r\nb", "", "", "");
  EXPECT_EQ(platform.files[Temp(1)], "\r\na\r\nb\r\n");
  ASSERT_EQ(platform.started.size(), 1u);
  EXPECT_EQ(platform.started[0].program, "C:\\Tera Term\\TTPMACRO.EXE");
  EXPECT_EQ(platform.started[0].parameters, " \"" + Temp(1) + "\"  ");
  EXPECT_EQ(platform.started[0].folder, "C:\\Tera Term") << "an unnamed document runs here";
  EXPECT_TRUE(prompts.Log().empty());

  runner.RunMacro("c", "x", "y z", "D:\\macros\\login.ttl");
  EXPECT_EQ(platform.files[Temp(2)], "\r\nc\r\n");
  EXPECT_EQ(platform.started[1].parameters, " \"" + Temp(2) + "\" x y z");
  EXPECT_EQ(platform.started[1].folder, "D:\\macros");
  // 128 names in turn: the 129th run writes the first again
  for (int i = 3; i <= 128; ++i) runner.RunMacro("x", "", "", "");
  runner.RunMacro("again", "", "", "");
  EXPECT_EQ(platform.files[Temp(1)], "\r\nagain\r\n");
  EXPECT_EQ(runner.TempFileCounter(), 2);
}

TEST(MacroWorkingFolder, TheDocumentsFolderOrTheProgramsForAnUnnamedOne) {
  struct Case {
    const char* document;
    const char* folder;
  } cases[] = {
      {"", "C:\\Tera Term\\"},
      {"D:\\macros\\sub\\login.ttl", "D:\\macros\\sub"},
      {"D:\\login.ttl", "D:\\"},
      {"\\\\server\\share\\login.ttl", "\\\\server\\share"},
      {"D:/macros/login.ttl", "D:/macros"},
      {"C:\\日本\\Français\\a.ttl", "C:\\日本\\Français"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MacroWorkingFolder(c.document, "C:\\Tera Term\\"), c.folder) << c.document;
}

TEST_F(MacroRunTest, FailuresTellTheUserAndStartNothing) {
  struct Case {
    bool interpreter, can_make_dir, writes_fail;
    std::vector<std::string> messages;
    int counter_after;
  } cases[] = {
      {false,
       true,
       false,
       {"TTPMACRO.EXE not found.\rPlease move Quillon.exe into TeraTerm directory."},
       1},
      {true,
       false,
       false,
       {"Cannot create directoryC:\\Tera Term\\Temp_TTL",
        "Failed to create Temp_TTL direcory. Cannot execute the macro."},
       1},
  };
  for (const Case& c : cases) {
    TFakeMacroPlatform fresh;
    platform = fresh;
    prompts.ClearLog();
    if (c.interpreter) InstallInterpreter();
    platform.can_make_directories = c.can_make_dir;
    runner.RunMacro("a", "", "", "");
    EXPECT_EQ(prompts.Messages(), c.messages);
    EXPECT_TRUE(platform.started.empty());
    EXPECT_EQ(runner.TempFileCounter(), c.counter_after);
  }
  // a file that cannot be written: the error reaches the caller, the counter
  // has moved on and the interpreter is not started
  platform.can_make_directories = true;
  platform.writes_fail = true;
  EXPECT_THROW(runner.RunMacro("a", "", "", ""), EFileError);
  EXPECT_EQ(runner.TempFileCounter(), 2);
  EXPECT_TRUE(platform.started.empty());
}

TEST_F(MacroRunTest, ClosingRemovesOnlyTheRunsOwnFiles) {
  const std::string dir = "C:\\Tera Term\\Temp_TTL\\";
  for (const char* name : {"~macroE1.ttl", "~macroE17.ttl", "~TTiniE3.ini", "notes.txt",
                           "~macroE1.bak", "sub\\~macroE2.ttl"})
    platform.files[dir + name] = "x";
  runner.DeleteTempMacroFiles();
  std::vector<std::string> left;
  for (const auto& [path, bytes] : platform.files) left.push_back(path.substr(dir.size()));
  EXPECT_EQ(left, (std::vector<std::string>{"notes.txt", "sub\\~macroE2.ttl", "~macroE1.bak"}));
  EXPECT_TRUE(platform.dirs.empty()) << "nothing is created at exit";
}

}  // namespace
