#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "app/Document.h"
#include "platform/Exception.h"
#include "support/ScriptedPrompts.h"

namespace {

// An editor and window surface with files kept in memory.
class FakeView : public IDocumentView {
 public:
  std::map<std::string, std::string> files;
  std::string text;
  std::string shown_title;
  bool modified_panel = false;
  bool fail_saves = false;
  std::vector<std::string> recent;

  void LoadText(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) throw Exception("Cannot open file \"" + path + "\".");
    text = it->second;
  }
  void SaveText(const std::string& path) override {
    if (fail_saves) throw Exception("Cannot create file \"" + path + "\". Access is denied");
    files[path] = text;
  }
  void ClearText() override { text.clear(); }
  void ShowTitle(const std::string& title) override { shown_title = title; }
  void SetModifiedPanel(bool on) override { modified_panel = on; }
  void UpdateCommandState() override {}
  std::string DisplayName(const std::string& path) override {
    return path.substr(path.find_last_of('\\') + 1);
  }
  bool IsPlainTextFile(const std::string& path) override {
    auto it = files.find(path);
    return it != files.end() && it->second.find('\0') == std::string::npos;
  }
  void AddRecentFile(const std::string& path) override { recent.push_back(path); }
};

class DocumentTest : public ::testing::Test {
 protected:
  FakeView view;
  TScriptedPrompts prompts;
  TDocument doc{view, prompts};

  void SetUp() override {
    view.files["C:\\macros\\login.ttl"] = "connect 'host'";
    view.files["C:\\macros\\binary.ttl"] = std::string("ab\0cd", 5);
    doc.New();
  }
  void Type(const std::string& s) {
    view.text += s;
    doc.TextChanged();
  }
};

TEST_F(DocumentTest, StartsEmptyAndUnnamed) {
  EXPECT_EQ(view.shown_title, "Quillonar - [Noname.TTL]");
  EXPECT_FALSE(doc.Modified());
  EXPECT_TRUE(prompts.Log().empty());
}

TEST_F(DocumentTest, TypingMarksTheTitleAndNewAsksAboutNoname) {
  Type("x");
  EXPECT_EQ(view.shown_title, "Quillonar - [Noname.TTL*]");
  EXPECT_TRUE(view.modified_panel);
  prompts.AnswerMessage(mrCancel);
  doc.New();
  ASSERT_EQ(prompts.Log().size(), 1u);
  const auto& asked = prompts.Log()[0];
  EXPECT_EQ(asked.text, "Do you want to save the changes made to Noname.TTL?");
  EXPECT_EQ(asked.caption, "Warning");
  EXPECT_EQ(asked.buttons, TMessageButtons::YesNoCancel);
  EXPECT_EQ(view.text, "x");
}

TEST_F(DocumentTest, AnswersInTheSavePromptBeforeNew) {
  struct Case {
    const char* what;
    int answer;
    std::optional<std::string> save_as_path;
    bool text_kept;
    std::string title;
  } cases[] = {
      {"Cancel keeps everything", mrCancel, std::nullopt, true, "Quillonar - [Noname.TTL*]"},
      {"No discards", mrNo, std::nullopt, false, "Quillonar - [Noname.TTL]"},
      {"Yes with Save as cancelled keeps the text", mrYes, std::nullopt, true,
       "Quillonar - [Noname.TTL*]"},
      {"Yes with Save as confirmed saves, then clears", mrYes, "C:\\macros\\new.ttl", false,
       "Quillonar - [Noname.TTL]"},
      {"Closing the box counts as Cancel", 0, std::nullopt, true, "Quillonar - [Noname.TTL*]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    doc.New();
    view.text.clear();
    Type("sendln 'x'");
    prompts.ClearLog();
    prompts.AnswerMessage(c.answer);
    if (c.answer == mrYes) prompts.AnswerFile(c.save_as_path);
    doc.New();
    EXPECT_EQ(!view.text.empty(), c.text_kept);
    EXPECT_EQ(view.shown_title, c.title);
    if (c.save_as_path) {
      EXPECT_EQ(view.files[*c.save_as_path], "sendln 'x'");
      EXPECT_EQ(prompts.Log()[1].text, "Save Macro as");
    }
    EXPECT_TRUE(prompts.ScriptUsedUp());
  }
}

TEST_F(DocumentTest, SaveOnUnnamedDocumentRunsSaveAsAndNamedSavesSilently) {
  Type("a");
  prompts.AnswerFile("C:\\macros\\a.ttl");
  doc.Save();
  ASSERT_EQ(prompts.Log().size(), 1u);
  EXPECT_EQ(prompts.Log()[0].kind, "save");
  EXPECT_TRUE(prompts.Log()[0].dialog.overwrite_prompt);
  EXPECT_EQ(doc.CurrentFileName(), "C:\\macros\\a.ttl");
  EXPECT_EQ(view.shown_title, "Quillonar - [a.ttl]");
  EXPECT_EQ(view.recent, std::vector<std::string>{"C:\\macros\\a.ttl"});

  Type("b");
  prompts.ClearLog();
  doc.Save();
  EXPECT_TRUE(prompts.Log().empty());
  EXPECT_EQ(view.files["C:\\macros\\a.ttl"], "ab");
  EXPECT_FALSE(doc.Modified());
  EXPECT_FALSE(view.modified_panel);
}

TEST_F(DocumentTest, FailedSaveKeepsDocumentModifiedAndItsName) {
  prompts.AnswerFile("C:\\macros\\login.ttl");
  doc.OpenFileByPath("C:\\macros\\login.ttl");
  Type(" more");
  view.fail_saves = true;
  EXPECT_THROW(doc.Save(), Exception);
  EXPECT_TRUE(doc.Modified());
  EXPECT_EQ(doc.CurrentFileName(), "C:\\macros\\login.ttl");

  prompts.AnswerFile("C:\\macros\\other.ttl");
  EXPECT_THROW(doc.SaveAs(), Exception);
  EXPECT_TRUE(doc.Modified());
  EXPECT_EQ(doc.CurrentFileName(), "C:\\macros\\login.ttl");
  EXPECT_EQ(view.shown_title, "Quillonar - [login.ttl*]");
}

TEST_F(DocumentTest, FileThatIsNotPlainTextIsRefusedWithoutTouchingTheDocument) {
  Type("keep me");
  for (const char* path : {"C:\\macros\\binary.ttl", "C:\\macros\\missing.ttl"}) {
    prompts.ClearLog();
    doc.OpenFileByPath(path);
    EXPECT_EQ(prompts.Messages(), std::vector<std::string>{kNotPlainTextWarning}) << path;
    EXPECT_EQ(prompts.Log()[0].caption, "Warning");
    EXPECT_EQ(view.text, "keep me");
    EXPECT_TRUE(doc.Modified());
  }
}

TEST_F(DocumentTest, CancelInThePromptBeforeOpenLeavesTextAndName) {
  Type("draft");
  prompts.AnswerFile("C:\\macros\\login.ttl");
  prompts.AnswerMessage(mrCancel);
  doc.Open();
  EXPECT_EQ(view.text, "draft");
  EXPECT_EQ(doc.CurrentFileName(), "");
  EXPECT_EQ(view.shown_title, "Quillonar - [Noname.TTL*]");
}

TEST_F(DocumentTest, ReopeningTheOpenFileReloadsIt) {
  doc.OpenFileByPath("C:\\macros\\login.ttl");
  view.files["C:\\macros\\login.ttl"] = "changed on disk";
  doc.OpenFileByPath("C:\\macros\\login.ttl");
  EXPECT_EQ(view.text, "changed on disk");
  EXPECT_EQ(view.shown_title, "Quillonar - [login.ttl]");
  EXPECT_TRUE(prompts.Log().empty());
}

TEST_F(DocumentTest, FailedLoadLeavesTheEmptyUnnamedDocument) {
  Type("old");
  prompts.AnswerMessage(mrNo);
  EXPECT_THROW(doc.OpenPath("C:\\macros\\vanished.ttl"), Exception);
  EXPECT_EQ(view.text, "");
  EXPECT_EQ(doc.CurrentFileName(), "");
  EXPECT_EQ(view.shown_title, "Quillonar - [Noname.TTL]");
}

TEST_F(DocumentTest, CloseQuery) {
  EXPECT_TRUE(doc.CloseQuery());
  EXPECT_TRUE(prompts.Log().empty());

  Type("x");
  prompts.AnswerMessage(mrCancel);
  EXPECT_FALSE(doc.CloseQuery());
  prompts.AnswerMessage(mrYes);
  prompts.AnswerFile(std::nullopt);
  EXPECT_FALSE(doc.CloseQuery()) << "a cancelled Save as keeps the window open";
  prompts.AnswerMessage(mrYes);
  prompts.AnswerFile("C:\\macros\\x.ttl");
  EXPECT_TRUE(doc.CloseQuery());
  EXPECT_EQ(view.files["C:\\macros\\x.ttl"], "x");

  Type("y");
  prompts.AnswerMessage(mrNo);
  EXPECT_TRUE(doc.CloseQuery());
}

}  // namespace
