#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TokenHelpers.h"
#include "language/KeywordStartup.h"
#include "support/ScriptedPrompts.h"

namespace {

// A program directory of its own for each test, holding only the files the
// test writes into it.
class ProgramDirectoryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = (std::filesystem::temp_directory_path() /
            (std::string("quillon-startup-") + info->name() + "-" + std::to_string(::getpid())))
               .string();
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    std::filesystem::remove(directory().ProgramDirFile("KeyFile.ini"));
  }
  TProgramDirectory directory() const { return TProgramDirectory(dir_); }
  void WriteKeywordFile(const std::string& content) {
    std::ofstream out(directory().ProgramDirFile("KeyFile.ini"), std::ios::binary);
    out << content;
  }

  std::string dir_;
  TTtlHighlighter main_;
  TTtlHighlighter preview_;
  TScriptedPrompts prompts_;
};

TEST_F(ProgramDirectoryFixture, AMissingKeywordFileDisablesHighlightingWithOneWarning) {
  EXPECT_FALSE(LoadKeywordFileAtStartup(directory(), main_, preview_, prompts_));
  ASSERT_EQ(prompts_.Log().size(), 1u);
  const auto& asked = prompts_.Log()[0];
  EXPECT_EQ(asked.text,
            "The file 'KeyFile.ini' was not found in application directory.\r"
            "Syntax highlighting and context sensitive help functions will be disabled.");
  EXPECT_EQ(asked.caption, "Warning");
  EXPECT_EQ(asked.message_kind, TMessageKind::Warning);
  EXPECT_EQ(asked.buttons, TMessageButtons::Ok);
  EXPECT_FALSE(main_.Enabled());
  EXPECT_FALSE(preview_.Enabled());
  EXPECT_EQ(main_.HelpIdOf("sendln"), 0);
}

TEST_F(ProgramDirectoryFixture, AKeywordFileBesideTheProgramFeedsBothHighlighters) {
  WriteKeywordFile(kSmallKeywordFile);
  EXPECT_TRUE(LoadKeywordFileAtStartup(directory(), main_, preview_, prompts_));
  EXPECT_TRUE(prompts_.Log().empty());
  EXPECT_TRUE(main_.Enabled());
  EXPECT_TRUE(preview_.Enabled());
  EXPECT_EQ(main_.HelpIdOf("sendln"), 92078);
  for (TTtlHighlighter* hl : {&main_, &preview_}) {
    hl->SetLineText("SendLn", 0);
    EXPECT_EQ(hl->Kind(), TTtlTokenKind::Keyword);
  }
}

TEST_F(ProgramDirectoryFixture, ATooShortKeywordFileCountsAsMissing) {
  WriteKeywordFile("[COMMANDS]\r\nsendln=1\r\nwait=2\r\nif=3\r\n");
  EXPECT_FALSE(LoadKeywordFileAtStartup(directory(), main_, preview_, prompts_));
  EXPECT_EQ(prompts_.Messages().size(), 1u);
  EXPECT_FALSE(main_.Enabled());
  EXPECT_FALSE(preview_.Enabled());
  main_.SetLineText("sendln", 0);
  EXPECT_EQ(main_.Kind(), TTtlTokenKind::Other);
  EXPECT_EQ(main_.HelpIdOf("sendln"), 0);
}

TEST_F(ProgramDirectoryFixture, AFileInTheCurrentDirectoryIsNotUsed) {
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  {
    std::ofstream out("KeyFile.ini", std::ios::binary);
    out << kSmallKeywordFile;
  }
  const bool loaded = LoadKeywordFileAtStartup(directory(), main_, preview_, prompts_);
  std::filesystem::current_path(cwd);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(prompts_.Messages().size(), 1u);
}

}  // namespace
