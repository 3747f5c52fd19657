#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/RecentFiles.h"
#include "platform/Registry.h"
#include "support/MemoryRegistry.h"

namespace {

using Files = std::vector<std::string>;

const char kKey[] = "Software\\Brevik\\Quillon";

// A menu held as a list of items; the list's own items are marked so the test
// can tell them from the menu's.
class FakeMenu : public IRecentFilesMenu {
 public:
  struct Item {
    std::string caption;  // "-" for a separator
    bool own = false;
  };
  std::vector<Item> items;
  bool alive = true;
  int changes = 0;

  explicit FakeMenu(std::vector<std::string> captions) {
    for (auto& c : captions) items.push_back({c, false});
  }
  bool Alive() const override { return alive; }
  int ItemCount() const override { return static_cast<int>(items.size()); }
  bool IsOwnItem(int pos) const override { return items.at(pos).own; }
  bool IsSeparator(int pos) const override { return items.at(pos).caption == "-"; }
  void RemoveItem(int pos) override {
    items.erase(items.begin() + pos);
    ++changes;
  }
  void InsertSeparator(int pos) override {
    items.insert(items.begin() + pos, {"-", true});
    ++changes;
  }
  void InsertEntry(int pos, int, const std::string& caption) override {
    items.insert(items.begin() + pos, {caption, true});
    ++changes;
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (auto& i : items) out.push_back(i.caption);
    return out;
  }
  int PositionOf(const std::string& caption) const {
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i].caption == caption) return static_cast<int>(i);
    return -1;
  }
};

std::vector<std::string> FileMenuCaptions() {
  return {"New", "Open ...",          "Save",          "Save as ...", "-", "Import macro Template",
          "-",   "Printer setup ...", "Print preview", "Print ...",   "-", "Exit"};
}

// The list as the main window sets it up, on the "File" menu.
struct Fixture {
  TMemoryRegistry registry;
  FakeMenu menu{FileMenuCaptions()};
  std::set<std::string> existing;
  TMostRecentFiles mru;
  std::vector<std::string> clicked, missing;

  explicit Fixture(TSamePath same_path = {}) : mru(std::move(same_path)) {
    mru.SetFileExists([this](const std::string& p) { return existing.count(p) > 0; });
    mru.SetMenuPosition(21);
    mru.SetRegistry(&registry);
    mru.SetOwnerMenuItem(&menu);
    mru.OnMenuClick = [this](TMostRecentFiles& sender, const std::string& path) {
      EXPECT_EQ(&sender, &mru);
      clicked.push_back(path);
    };
    mru.OnFileNotExist = [this](TMostRecentFiles& sender, const std::string& path) {
      EXPECT_EQ(&sender, &mru);
      missing.push_back(path);
    };
  }
  void Add(const Files& paths) {
    for (auto& p : paths) mru.AddFile(p);
  }
  // The items following "Exit".
  std::vector<std::string> AfterExit() const {
    auto all = menu.Captions();
    auto exit = menu.PositionOf("Exit");
    return {all.begin() + exit + 1, all.end()};
  }
};

TEST(RecentFiles, MaxFilesStaysBetweenOneAndEight) {
  const struct {
    int set, expected;
  } cases[] = {{0, 1}, {-5, 1}, {1, 1}, {3, 3}, {8, 8}, {9, 8}, {1000, 8}};
  for (auto c : cases) {
    TMostRecentFiles mru;
    EXPECT_EQ(mru.MaxFiles(), 4);
    mru.SetMaxFiles(c.set);
    EXPECT_EQ(mru.MaxFiles(), c.expected) << c.set;
  }
}

TEST(RecentFiles, AddingFilesKeepsTheNewestFirstWithoutDuplicates) {
  const struct {
    const char* what;
    int max_files;
    Files added;
    Files expected;
  } cases[] = {
      {"five files leave the last four",
       4,
       {"C:\\a.ttl", "C:\\b.ttl", "C:\\c.ttl", "C:\\d.ttl", "C:\\e.ttl"},
       {"C:\\e.ttl", "C:\\d.ttl", "C:\\c.ttl", "C:\\b.ttl"}},
      {"a case-differing path moves the third entry up as now written",
       4,
       {"C:\\m\\one.ttl", "C:\\m\\two.ttl", "C:\\m\\three.ttl", "c:\\M\\ONE.TTL"},
       {"c:\\M\\ONE.TTL", "C:\\m\\three.ttl", "C:\\m\\two.ttl"}},
      {"reopening the second moves it up",
       4,
       {"C:\\a.ttl", "C:\\b.ttl", "C:\\a.ttl"},
       {"C:\\a.ttl", "C:\\b.ttl"}},
      {"the first entry stays as first written", 4, {"C:\\a.ttl", "C:\\A.TTL"}, {"C:\\a.ttl"}},
      {"a one-file list keeps only the newest", 1, {"C:\\a.ttl", "C:\\b.ttl"}, {"C:\\b.ttl"}},
      {"eight files at most",
       8,
       {"1", "2", "3", "4", "5", "6", "7", "8", "9"},
       {"9", "8", "7", "6", "5", "4", "3", "2"}},
      {"an empty name is no file", 4, {"C:\\a.ttl", ""}, {"C:\\a.ttl"}},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.mru.SetMaxFiles(c.max_files);
    f.Add(c.added);
    EXPECT_EQ(f.mru.Files(), c.expected) << c.what;
  }
}

TEST(RecentFiles, OnlyAsciiLettersFoldWithoutTheSystemsComparison) {
  // "Ä" and "ä" differ in their second byte only; without the file system's
  // own comparison they stay two files, and "A"/"a" still fold around them.
  Fixture f;
  f.Add({"C:\\Ä.ttl", "C:\\ä.ttl", "c:\\Ä.TTL"});
  EXPECT_EQ(f.mru.Files(), (Files{"c:\\Ä.TTL", "C:\\ä.ttl"}));
  // The program hands in the system's comparison, which knows every letter.
  Fixture windows([](const std::string& a, const std::string& b) {
    auto fold = [](std::string s) {
      for (std::size_t at; (at = s.find("ä")) != std::string::npos;) s.replace(at, 2, "Ä");
      return s;
    };
    return SamePathIgnoringAsciiCase(fold(a), fold(b));
  });
  // accented capitals match their small letters
  windows.Add({"C:\\Ärger.ttl", "C:\\x.ttl", "C:\\äRGER.TTL"});
  EXPECT_EQ(windows.mru.Files(), (Files{"C:\\äRGER.TTL", "C:\\x.ttl"}));
}

TEST(RecentFiles, AddingTheFirstEntryAgainLeavesTheMenuAlone) {
  Fixture f;
  int rebuilds = 0;
  f.mru.OnMenuRebuilt = [&](TMostRecentFiles&) { ++rebuilds; };
  f.Add({"C:\\b.ttl", "C:\\a.ttl"});
  ASSERT_EQ(rebuilds, 2);
  const int changes = f.menu.changes;
  f.mru.AddFile("C:\\a.ttl");
  EXPECT_EQ(rebuilds, 2);
  EXPECT_EQ(f.menu.changes, changes);
}

TEST(RecentFiles, WithoutAMenuNothingIsAdded) {
  Fixture f;
  f.mru.SetOwnerMenuItem(nullptr);
  f.mru.AddFile("C:\\a.ttl");
  EXPECT_TRUE(f.mru.Files().empty());

  // A destroyed menu counts as none.
  f.mru.SetOwnerMenuItem(&f.menu);
  f.menu.alive = false;
  f.mru.AddFile("C:\\b.ttl");
  EXPECT_TRUE(f.mru.Files().empty());
  EXPECT_EQ(f.mru.OwnerMenuItem(), nullptr);
}

TEST(RecentFiles, EntriesFollowExitAfterOneSeparator) {
  Fixture f;
  f.Add({"C:\\a.ttl", "C:\\b.ttl", "C:\\c.ttl", "C:\\d.ttl", "C:\\e.ttl"});
  EXPECT_EQ(f.AfterExit(), (std::vector<std::string>{"-", "&1  C:\\e.ttl", "&2  C:\\d.ttl",
                                                     "&3  C:\\c.ttl", "&4  C:\\b.ttl"}));
  // Every rebuild replaces the list's items and leaves the menu's own ones.
  f.mru.SetShowFullPath(false);
  f.mru.SetShowFullPath(true);
  f.mru.AddFile("C:\\c.ttl");
  auto all = f.menu.Captions();
  std::vector<std::string> own_part(all.begin(), all.begin() + 12);
  EXPECT_EQ(own_part, FileMenuCaptions());
  EXPECT_EQ(f.AfterExit(), (std::vector<std::string>{"-", "&1  C:\\c.ttl", "&2  C:\\e.ttl",
                                                     "&3  C:\\d.ttl", "&4  C:\\b.ttl"}));
}

TEST(RecentFiles, AnEmptyListLeavesNoSeparator) {
  Fixture f;
  f.Add({"C:\\gone.ttl"});
  ASSERT_EQ(f.AfterExit().size(), 2u);
  // The only entry's file is gone: choosing it empties the list.
  f.mru.ChooseMenuItem(f.menu.PositionOf("&1  C:\\gone.ttl"));
  EXPECT_TRUE(f.AfterExit().empty());
  EXPECT_EQ(f.menu.Captions(), FileMenuCaptions());
}

TEST(RecentFiles, SeparatorsAreAddedOnlyWhereTheMenuHasNone) {
  const struct {
    int position;
    std::vector<std::string> inserted;  // at position, into the "File" menu
  } cases[] = {
      {0, {"&1  C:\\a.ttl", "-"}},       // at the top: nothing above to part from
      {1, {"-", "&1  C:\\a.ttl", "-"}},  // between "New" and "Open ...": both
      {4, {"-", "&1  C:\\a.ttl"}},       // before the menu's separator: only above
      {5, {"&1  C:\\a.ttl", "-"}},       // after the menu's separator: only below
      {12, {"-", "&1  C:\\a.ttl"}},      // at the end: nothing below
  };
  for (const auto& c : cases) {
    Fixture f;
    f.mru.SetMenuPosition(c.position);
    f.mru.AddFile("C:\\a.ttl");
    auto expected = FileMenuCaptions();
    expected.insert(expected.begin() + c.position, c.inserted.begin(), c.inserted.end());
    EXPECT_EQ(f.menu.Captions(), expected) << "position " << c.position;
  }
}

TEST(RecentFiles, CaptionsNumberTheEntriesAndShowPathOrName) {
  const struct {
    const char* path;
    bool full;
    const char* expected;
  } cases[] = {
      {"C:\\macros\\login.ttl", true, "&1  C:\\macros\\login.ttl"},
      {"C:\\macros\\login.ttl", false, "&1  login.ttl"},
      {"C:login.ttl", false, "&1  login.ttl"},
      {"\\\\server\\share\\x.ttl", false, "&1  x.ttl"},
      {"login.ttl", false, "&1  login.ttl"},
      // An ampersand in the path is shown, not taken as the access key.
      {"C:\\R&D\\a&b.ttl", true, "&1  C:\\R&&D\\a&&b.ttl"},
      {"C:\\R&D\\a&b.ttl", false, "&1  a&&b.ttl"},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.mru.SetShowFullPath(c.full);
    f.mru.AddFile(c.path);
    EXPECT_EQ(f.mru.Caption(0), c.expected) << c.path;
    EXPECT_EQ(f.AfterExit().at(1), c.expected) << c.path;
  }
  Fixture f;
  f.Add({"C:\\a.ttl", "C:\\b.ttl", "C:\\c.ttl"});
  EXPECT_EQ(f.mru.Caption(2), "&3  C:\\a.ttl");
  EXPECT_EQ(f.mru.Caption(3), "");
}

TEST(RecentFiles, FileNamesSplitOnlyAtWholeCharacters) {
  // "表" is E8 A1 A8 and "ソ" E3 82 BD in UTF-8: no byte of them is a separator.
  Fixture f;
  f.mru.SetShowFullPath(false);
  f.mru.AddFile("C:\\マクロ\\表ソ.ttl");
  f.mru.AddFile("D:日本.ttl");
  EXPECT_EQ(f.mru.Caption(0), "&1  日本.ttl");
  EXPECT_EQ(f.mru.Caption(1), "&2  表ソ.ttl");
}

TEST(RecentFiles, LoadingStopsAtTheFirstMissingValueAndSkipsEmptyOnes) {
  struct Value {
    const char* name;
    const char* text;  // nullptr: stored as a number
  };
  const struct {
    const char* what;
    std::vector<Value> stored;
    Files expected;
  } cases[] = {
      {"second missing", {{"MRU1", "C:\\a.ttl"}, {"MRU3", "C:\\c.ttl"}}, {"C:\\a.ttl"}},
      {"first empty", {{"MRU1", ""}, {"MRU2", "C:\\b.ttl"}}, {"C:\\b.ttl"}},
      {"nothing stored", {}, {}},
      {"only MaxFiles values are read",
       {{"MRU1", "1"}, {"MRU2", "2"}, {"MRU3", "3"}, {"MRU4", "4"}, {"MRU5", "5"}},
       {"1", "2", "3", "4"}},
      {"a number is no path", {{"MRU1", nullptr}, {"MRU2", "C:\\b.ttl"}}, {}},
      {"a repeated path is kept once",
       {{"MRU1", "C:\\a.ttl"}, {"MRU2", "c:\\A.TTL"}, {"MRU3", "C:\\b.ttl"}},
       {"C:\\a.ttl", "C:\\b.ttl"}},
      {"names carry no leading zeros", {{"MRU01", "C:\\a.ttl"}}, {}},
  };
  for (const auto& c : cases) {
    Fixture f;
    {
      auto key = f.registry.Open(TRegistryRoot::CurrentUser, kKey, true);
      for (const auto& v : c.stored) {
        if (v.text)
          key->WriteString(v.name, v.text);
        else
          key->WriteInteger(v.name, 7);
      }
    }
    f.mru.SetRegPath(kKey);
    EXPECT_EQ(f.mru.Files(), c.expected) << c.what;
    // The loaded list is in the menu at once.
    EXPECT_EQ(f.AfterExit().size(), c.expected.empty() ? 0 : c.expected.size() + 1) << c.what;
  }
}

TEST(RecentFiles, AKeyThatCannotBeOpenedGivesAnEmptyList) {
  Fixture missing;
  missing.Add({"C:\\a.ttl"});
  missing.mru.SetRegPath(kKey);
  EXPECT_TRUE(missing.mru.Files().empty());
  EXPECT_TRUE(missing.AfterExit().empty());
  // Loading does not create the key.
  EXPECT_EQ(missing.registry.Open(TRegistryRoot::CurrentUser, kKey, false), nullptr);

  Fixture denied;
  denied.registry.Open(TRegistryRoot::CurrentUser, kKey, true)->WriteString("MRU1", "C:\\a.ttl");
  denied.registry.DenyAccess(TRegistryRoot::CurrentUser, kKey);
  denied.mru.SetRegPath(kKey);
  EXPECT_TRUE(denied.mru.Files().empty());
}

std::map<std::string, std::string> StoredStrings(IRegistry& registry) {
  std::map<std::string, std::string> out;
  auto key = registry.Open(TRegistryRoot::CurrentUser, kKey, false);
  if (!key) return out;
  for (auto& name : key->ValueNames()) out[name] = key->ReadString(name).value_or("<not text>");
  return out;
}

TEST(RecentFiles, SavingWritesEveryPositionEmptyBeyondTheList) {
  Fixture f;
  // A longer list stored earlier, MRU1 lost: it loads as empty.
  f.registry.Open(TRegistryRoot::CurrentUser, kKey, true)->WriteString("MRU4", "C:\\old.ttl");
  f.mru.SetRegPath(kKey);
  f.Add({"C:\\a.ttl", "C:\\b.ttl"});
  EXPECT_TRUE(f.mru.Save());
  EXPECT_EQ(StoredStrings(f.registry),
            (std::map<std::string, std::string>{
                {"MRU1", "C:\\b.ttl"}, {"MRU2", "C:\\a.ttl"}, {"MRU3", ""}, {"MRU4", ""}}));
}

TEST(RecentFiles, TheListIsStoredWhenItGoesAwayAndReadBackNextTime) {
  TMemoryRegistry registry;
  FakeMenu menu(FileMenuCaptions());
  {
    TMostRecentFiles mru;
    mru.SetRegistry(&registry);
    mru.SetOwnerMenuItem(&menu);
    mru.SetRegPath(kKey);  // no key yet: created when stored
    for (auto p : {"C:\\1.ttl", "C:\\2.ttl", "C:\\3.ttl"}) mru.AddFile(p);
  }
  FakeMenu next_menu(FileMenuCaptions());
  TMostRecentFiles next;
  next.SetRegistry(&registry);
  next.SetOwnerMenuItem(&next_menu);
  next.SetRegPath(kKey);
  EXPECT_EQ(next.Files(), (Files{"C:\\3.ttl", "C:\\2.ttl", "C:\\1.ttl"}));
}

TEST(RecentFiles, AStoreThatRefusesWritesIsIgnored) {
  Fixture f;
  f.mru.SetRegPath(kKey);
  f.Add({"C:\\a.ttl"});
  f.registry.SetReadOnly(true);
  EXPECT_FALSE(f.mru.Save());  // the key cannot be created
  f.registry.SetReadOnly(false);
  f.registry.Open(TRegistryRoot::CurrentUser, kKey, true);
  f.registry.SetReadOnly(true);
  EXPECT_FALSE(f.mru.Save());  // the key opens but the writes fail
  EXPECT_EQ(f.registry.WriteCount(), 0);
  // Going away with the store still read-only must not throw either.
}

TEST(RecentFiles, ChoosingAnEntry) {
  const Files list = {"C:\\c.ttl", "C:\\b.ttl", "C:\\a.ttl"};  // newest first
  const struct {
    const char* what;
    const char* chosen;  // caption of the chosen item
    std::set<std::string> existing;
    Files clicked, missing, after;
  } cases[] = {
      {"an existing second entry moves to the top",
       "&2  C:\\b.ttl",
       {"C:\\a.ttl", "C:\\b.ttl", "C:\\c.ttl"},
       {"C:\\b.ttl"},
       {},
       {"C:\\b.ttl", "C:\\c.ttl", "C:\\a.ttl"}},
      {"the first entry stays where it is",
       "&1  C:\\c.ttl",
       {"C:\\c.ttl"},
       {"C:\\c.ttl"},
       {},
       list},
      {"a deleted file's entry disappears and is reported",
       "&3  C:\\a.ttl",
       {"C:\\c.ttl"},
       {},
       {"C:\\a.ttl"},
       {"C:\\c.ttl", "C:\\b.ttl"}},
      {"the separator is no entry", "-", {}, {}, {}, list},
      {"the menu's own items are no entries", "Exit", {}, {}, {}, list},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.Add({"C:\\a.ttl", "C:\\b.ttl", "C:\\c.ttl"});
    f.existing = c.existing;
    int pos =
        std::string(c.chosen) == "-" ? f.menu.PositionOf("Exit") + 1 : f.menu.PositionOf(c.chosen);
    ASSERT_GE(pos, 0) << c.what;
    f.mru.ChooseMenuItem(pos);
    EXPECT_EQ(f.clicked, c.clicked) << c.what;
    EXPECT_EQ(f.missing, c.missing) << c.what;
    EXPECT_EQ(f.mru.Files(), c.after) << c.what;
    // The menu shows the list as it is now.
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < c.after.size(); ++i)
      entries.push_back(f.mru.Caption(static_cast<int>(i)));
    auto after_exit = f.AfterExit();
    EXPECT_EQ(std::vector<std::string>(after_exit.begin() + 1, after_exit.end()), entries)
        << c.what;
  }
}

TEST(RecentFiles, EntriesRightAfterASeparatorAreCountedFromTheFirstOne) {
  // No separator of the list's own: the first own item is entry 1.
  Fixture f;
  f.mru.SetMenuPosition(5);  // just after the separator below "Save as ..."
  f.Add({"C:\\a.ttl", "C:\\b.ttl"});
  f.existing = {"C:\\a.ttl"};
  f.mru.ChooseMenuItem(5 + 1);
  EXPECT_EQ(f.clicked, (Files{"C:\\a.ttl"}));
  EXPECT_EQ(f.mru.Files(), (Files{"C:\\a.ttl", "C:\\b.ttl"}));
}

TEST(RecentFiles, WithoutAClickHandlerChoosingDoesNothing) {
  Fixture f;
  f.Add({"C:\\gone.ttl"});
  f.mru.OnMenuClick = nullptr;
  f.mru.ChooseMenuItem(f.menu.PositionOf("&1  C:\\gone.ttl"));
  EXPECT_EQ(f.mru.Files(), (Files{"C:\\gone.ttl"}));
  EXPECT_TRUE(f.missing.empty());
}

TEST(RecentFiles, LoweringMaxFilesDropsTheSurplusEntries) {
  Fixture f;
  f.Add({"C:\\a.ttl", "C:\\b.ttl", "C:\\c.ttl"});
  f.mru.SetMaxFiles(2);
  EXPECT_EQ(f.mru.Files(), (Files{"C:\\c.ttl", "C:\\b.ttl"}));
  EXPECT_EQ(f.AfterExit(), (std::vector<std::string>{"-", "&1  C:\\c.ttl", "&2  C:\\b.ttl"}));
}

}  // namespace
