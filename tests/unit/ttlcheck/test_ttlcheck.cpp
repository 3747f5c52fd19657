// The command-line checker, run as a user or a build script runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct TRun {
  int code = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class TtlCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("ttlcheck-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sub");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return (dir_ / name).string();
  }

  // Runs ttlcheck with the arguments from the test's folder.
  TRun Check(const std::vector<std::string>& arguments) {
    std::string command = "cd '" + dir_.string() + "' && '" QUILLON_TTLCHECK "'";
    for (const std::string& a : arguments) command += " '" + a + "'";
    command += " >'" + (dir_ / "out.txt").string() + "' 2>'" + (dir_ / "err.txt").string() + "'";
    TRun run;
    const int status = std::system(command.c_str());
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(dir_ / "out.txt");
    run.err = ReadAll(dir_ / "err.txt");
    return run;
  }

  fs::path dir_;
};

TEST_F(TtlCheckTest, ExitCodeTellsCleanErrorsWarningsAndUnreadableFiles) {
  Write("clean.ttl", "sendln 'x'\r\n");
  Write("error.ttl", "if a then\r\n  sendln 'x'\r\n");
  Write("warning.ttl", ":unused\r\nsendln 'x'\r\n");
  struct Case {
    std::vector<std::string> arguments;
    int code;
  };
  const std::vector<Case> cases = {
      {{"clean.ttl"}, 0},
      {{"error.ttl"}, 1},
      {{"warning.ttl"}, 0},
      {{"--werror", "warning.ttl"}, 1},
      {{"--werror", "clean.ttl"}, 0},
      {{"clean.ttl", "error.ttl"}, 1},
      {{"missing.ttl"}, 2},
      {{"error.ttl", "missing.ttl"}, 2},
      {{"sub"}, 2},
      {{}, 2},
      {{"--frobnicate", "clean.ttl"}, 2},
      {{"--help"}, 0},
  };
  for (const Case& c : cases) {
    const TRun run = Check(c.arguments);
    std::string shown;
    for (const std::string& a : c.arguments) shown += a + " ";
    EXPECT_EQ(run.code, c.code) << shown << "\n" << run.out << run.err;
  }
}

TEST_F(TtlCheckTest, PrintsOneLinePerProblemInTheFormatBuildToolsRead) {
  Write("a.ttl", "if a then\r\n\tsendlm 'x'\r\n:unused\r\n");
  Write("b.ttl", "goto nowhere\r\n");
  const TRun run = Check({"a.ttl", "b.ttl", "missing.ttl"});
  EXPECT_EQ(run.out,
            "a.ttl(1,1): error TTL010: 'if' without its 'endif'\n"
            "a.ttl(2,2): error TTL003: unknown command 'sendlm'\n"
            "a.ttl(3,2): warning TTL101: label 'unused' is never used\n"
            "b.ttl(1,6): error TTL020: label 'nowhere' is not defined in this file\n");
  EXPECT_NE(run.err.find("missing.ttl"), std::string::npos) << run.err;
  EXPECT_EQ(run.code, 2);
}

TEST_F(TtlCheckTest, ReadsEachEncodingAndCountsColumnsInCharacters) {
  // "été = 'x": the unclosed quote is the 7th character.
  const std::string utf8 = "\xC3\xA9t\xC3\xA9 = 'x\r\n";
  std::string utf16le = "\xFF\xFE";
  for (char16_t c : std::u16string(u"\u00E9t\u00E9 = 'x\r\n")) {
    utf16le += static_cast<char>(c & 0xFF);
    utf16le += static_cast<char>(c >> 8);
  }
  struct Case {
    const char* name;
    std::string bytes;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"bom.ttl", "\xEF\xBB\xBF" + utf8, "bom.ttl(1,7): error TTL001:"},
      {"utf8.ttl", utf8, "utf8.ttl(1,7): error TTL001:"},
      {"utf16.ttl", utf16le, "utf16.ttl(1,7): error TTL001:"},
      // One byte that is no UTF-8 makes the file ANSI: one byte, one character.
      {"ansi.ttl", "\xE9t\xE9 = 'x\r\n", "ansi.ttl(1,7): error TTL001:"},
      {"ansi2.ttl", "\xE9\xE9t\xE9 = 'x\r\n", "ansi2.ttl(1,8): error TTL001:"},
  };
  for (const Case& c : cases) {
    Write(c.name, c.bytes);
    const TRun run = Check({c.name});
    EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.name << "\n" << run.out;
    EXPECT_EQ(run.code, 1) << c.name;
  }
}

TEST_F(TtlCheckTest, LooksForIncludedFilesBesideTheMacroNotInTheCurrentFolder) {
  Write("sub/main.ttl", "include 'lib.ttl'\r\ninclude 'gone.ttl'\r\n");
  Write("sub/lib.ttl", "x = 1\r\n");
  const TRun run = Check({(dir_ / "sub" / "main.ttl").string()});
  EXPECT_EQ(run.out, (dir_ / "sub" / "main.ttl").string() +
                         "(2,10): warning TTL104: included file 'gone.ttl' not found\n");
  EXPECT_EQ(run.code, 0);
}

}  // namespace
