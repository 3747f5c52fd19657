#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/HelpTopics.h"
#include "support/ScriptedPrompts.h"

namespace {

// Writes down what the help viewer was asked, one line per request.
class RecordingViewer : public IHelpViewer {
 public:
  std::vector<std::string> calls;
  void ShowContext(const std::string& file, std::int32_t context) override {
    calls.push_back("context " + file + " " + std::to_string(context));
  }
  void ShowTableOfContents(const std::string& file) override { calls.push_back("toc " + file); }
  void ShowTopic(const std::string& file, const std::string& topic) override {
    calls.push_back("topic " + file + " " + topic);
  }
  void CloseAll() override { calls.push_back("close"); }
};

const char kDir[] = "C:\\Tera Term";
const char kHelpPath[] = "C:\\Tera Term\\teraterm.chm";

struct HelpRig {
  explicit HelpRig(bool help_file_present) {
    if (help_file_present) existing.insert(kHelpPath);
  }
  std::set<std::string> existing;
  std::vector<std::string> looked_at;
  RecordingViewer viewer;
  TScriptedPrompts prompts;
  TTeraTermHelp help{TProgramDirectory(kDir), viewer, prompts, [this](const std::string& path) {
                       looked_at.push_back(path);
                       return existing.count(path) > 0;
                     }};
};

TEST(TeraTermHelp, OpensContentsOrTopicAndUsesUpThePendingTopic) {
  struct Case {
    const char* name;
    bool file_present;
    std::int32_t pending;
    std::vector<std::string> viewer_calls;
    std::vector<std::string> messages;
  } cases[] = {
      {"no topic opens the contents", true, 0, {"toc C:\\Tera Term\\teraterm.chm"}, {}},
      {"a topic opens that context", true, 2001, {"context C:\\Tera Term\\teraterm.chm 2001"}, {}},
      {"a missing file shows only the error", false, 0, {}, {kHelpFileNotFound}},
      {"a missing file with a topic shows only the error", false, 77, {}, {kHelpFileNotFound}},
  };
  for (const auto& c : cases) {
    HelpRig rig(c.file_present);
    rig.help.SetPendingContext(c.pending);
    rig.help.Execute();
    EXPECT_EQ(rig.viewer.calls, c.viewer_calls) << c.name;
    EXPECT_EQ(rig.prompts.Messages(), c.messages) << c.name;
    EXPECT_EQ(rig.looked_at, std::vector<std::string>{kHelpPath}) << c.name;
    EXPECT_EQ(rig.help.PendingContext(), 0) << c.name;
    EXPECT_EQ(rig.help.HelpFile(), c.file_present ? kHelpPath : "") << c.name;
  }
}

TEST(TeraTermHelp, MissingFileErrorBoxHasFixedCaptionIconAndOkButton) {
  HelpRig rig(false);
  rig.help.ShowHelpTopic(5);
  ASSERT_EQ(rig.prompts.Log().size(), 1u);
  const auto& asked = rig.prompts.Log()[0];
  EXPECT_EQ(asked.text, "TeraTerm help file 'teraterm.chm' not found.");
  EXPECT_EQ(asked.caption, "Error");
  EXPECT_EQ(asked.message_kind, TMessageKind::Error);
  EXPECT_EQ(asked.buttons, TMessageButtons::Ok);
}

TEST(TeraTermHelp, ContextHelpTopicDoesNotLeakIntoTheNextMenuCommand) {
  HelpRig rig(true);
  rig.help.ShowHelpTopic(42);  // Ctrl+F1 on a known command
  rig.help.Execute();          // then "TeraTerm Help" from the menu
  rig.help.ShowHelpTopic(0);   // Ctrl+F1 on an unknown word
  EXPECT_EQ(rig.viewer.calls, (std::vector<std::string>{"context C:\\Tera Term\\teraterm.chm 42",
                                                        "toc C:\\Tera Term\\teraterm.chm",
                                                        "toc C:\\Tera Term\\teraterm.chm"}));
}

TEST(TeraTermHelp, TopicOfAFailedRequestIsNotKeptForTheNextOne) {
  HelpRig rig(false);
  rig.help.ShowHelpTopic(42);
  rig.existing.insert(kHelpPath);  // the user copies the help file in
  rig.help.Execute();
  EXPECT_EQ(rig.viewer.calls, std::vector<std::string>{"toc C:\\Tera Term\\teraterm.chm"});
}

TEST(HelpFiles, OnlyCompiledHelpFilesAreServed) {
  struct Case {
    const char* name;
    bool served;
  } cases[] = {
      {"teraterm.chm", true},
      {"TERATERM.CHM", true},
      {"C:\\x\\Help.Chm", true},
      {"teraterm.hlp", false},
      {"teraterm.chm.txt", false},
      {"chm", false},
      {"", false},
      {"readme.html", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsCompiledHelpFile(c.name), c.served) << c.name;
}

TEST(HelpFiles, NameWithoutDirectoryIsTakenFromTheProgramDirectory) {
  const TProgramDirectory dir("C:\\Apps\\Quillon\\");
  struct Case {
    const char* name;
    const char* resolved;
  } cases[] = {
      {"teraterm.chm", "C:\\Apps\\Quillon\\teraterm.chm"},
      {"D:\\docs\\teraterm.chm", "D:\\docs\\teraterm.chm"},
      {"sub\\teraterm.chm", "sub\\teraterm.chm"},
      {"D:teraterm.chm", "D:teraterm.chm"},
      {"\\\\server\\share\\x.chm", "\\\\server\\share\\x.chm"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveHelpFile(c.name, dir), c.resolved) << c.name;
}

TEST(HelpFiles, TopicLocationNamesAPageInsideTheFile) {
  struct Case {
    const char* topic;
    const char* location;
  } cases[] = {
      {"macro/command/sendln", "C:\\t.chm::/macro/command/sendln.htm"},
      {"index.htm", "C:\\t.chm::/index.htm"},
      {"index.html", "C:\\t.chm::/index.html"},
      {"INDEX.HTM", "C:\\t.chm::/INDEX.HTM"},
      {"page.ht", "C:\\t.chm::/page.ht.htm"},
      {"notes.txt", "C:\\t.chm::/notes.txt.htm"},
      {"", "C:\\t.chm::/.htm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HelpTopicLocation("C:\\t.chm", c.topic), c.location) << c.topic;
  }
}

TEST(AboutTexts, VersionLineFromTheFileVersion) {
  struct Case {
    std::uint32_t ms, ls;
    const char* text;
  } cases[] = {
      {0x00020005, 0x00000000, "Version 2.5  (Beta)"},
      {0x00020005, 0x00030000, "Version 2.5  (Release 3)"},
      {0x00020005, 0x0000002A, "Version 2.5  (Beta)"},  // the build number is not shown
      {0x000A0000, 0x00010007, "Version 10.0  (Release 1)"},
      {0xFFFFFFFF, 0xFFFF0000, "Version 65535.65535  (Release 65535)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VersionText(FileVersionFromParts(c.ms, c.ls)), c.text) << c.text;
  }
}

TEST(AboutTexts, FileVersionPartsSplitIntoFourNumbers) {
  EXPECT_EQ(FileVersionFromParts(0x00020005, 0x0003002A), (TFileVersion{2, 5, 3, 42}));
}

TEST(AboutTexts, ProgramWithoutVersionResourceShowsTheMarkerVersion) {
  const TFileVersion v = FileVersionOrDefault(std::nullopt);
  EXPECT_EQ(v, (TFileVersion{99999, 99999, 0, 0}));
  EXPECT_EQ(VersionText(v), "Version 99999.99999  (Beta)");
  EXPECT_EQ(FileVersionOrDefault(TFileVersion{1, 2, 3, 4}), (TFileVersion{1, 2, 3, 4}));
}

TEST(AboutTexts, BuildLineShowsDayMonthYear) {
  struct Case {
    const char* date;
    const char* text;
  } cases[] = {
      {"Mar  5 2024", "Build: 05-Mar-2024"}, {"Dec 31 1999", "Build: 31-Dec-1999"},
      {"Jan 10 2030", "Build: 10-Jan-2030"}, {"Foo 10 2030", "Build: Foo 10 2030"},
      {"2024-03-05", "Build: 2024-03-05"},   {"", "Build: "},
      {"Mar xx 2024", "Build: Mar xx 2024"},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildText(c.date), c.text) << c.date;
}

TEST(AboutTexts, BuildLineOfThisCompilerDateIsWellFormed) {
  const std::string text = BuildText(__DATE__);
  ASSERT_EQ(text.size(), std::string("Build: 05-Mar-2024").size()) << text;
  EXPECT_EQ(text[9], '-');
  EXPECT_EQ(text[13], '-');
}

}  // namespace
