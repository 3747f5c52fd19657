#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "WineTestSupport.h"
#include "app/Commands.h"
#include "win32/MainMenus.h"
#include "win32/RecentFilesMenu.h"
#include "win32/Win32Registry.h"

namespace {

const char kTestKey[] = "Software\\Brevik\\Quillon\\Tests\\RecentFiles";

struct MenuItem {
  UINT id;
  UINT type;
  HMENU submenu;
  std::string caption;  // "-" for a separator
  bool operator==(const MenuItem&) const = default;
};

std::vector<MenuItem> Items(HMENU menu) {
  std::vector<MenuItem> out;
  for (int pos = 0; pos < GetMenuItemCount(menu); ++pos) {
    char text[300] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    EXPECT_TRUE(GetMenuItemInfoA(menu, pos, TRUE, &info));
    const bool separator = (info.fType & MFT_SEPARATOR) != 0;
    out.push_back({info.wID, info.fType, info.hSubMenu, separator ? "-" : std::string(text)});
  }
  return out;
}

// The captions of the items following "Exit".
std::vector<std::string> AfterExit(HMENU menu) {
  std::vector<std::string> out;
  bool past_exit = false;
  for (const auto& item : Items(menu)) {
    if (past_exit) out.push_back(item.caption);
    if (item.id == static_cast<UINT>(cmExit)) past_exit = true;
  }
  return out;
}

class RecentFilesMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    bar_ = BuildMainMenu();
    file_ = GetSubMenu(bar_, 0);
    ASSERT_TRUE(file_);
    own_items_ = Items(file_);
    ASSERT_FALSE(own_items_.empty());
    ASSERT_EQ(own_items_.back().id, static_cast<UINT>(cmExit));
  }
  void TearDown() override {
    mru_.reset();
    DestroyMenu(bar_);
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    // The parent goes too once no other test keeps anything there.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brevik\\Quillon\\Tests");
  }
  TRecentFilesMenu& Create() {
    mru_ = std::make_unique<TRecentFilesMenu>(file_, registry_, kTestKey);
    mru_->OnMenuClick = [this](TMostRecentFiles&, const std::string& p) { clicked_.push_back(p); };
    mru_->OnFileNotExist = [this](TMostRecentFiles&, const std::string& p) {
      missing_.push_back(p);
    };
    return *mru_;
  }
  std::string RawString(const char* name) {
    char text[300] = {};
    DWORD type = REG_NONE, size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, kTestKey, name, RRF_RT_ANY, &type, text, &size) !=
        ERROR_SUCCESS)
      return "<missing>";
    if (type != REG_SZ) return "<not REG_SZ>";
    return text;
  }

  TWin32Registry registry_;
  HMENU bar_ = nullptr;
  HMENU file_ = nullptr;
  std::vector<MenuItem> own_items_;
  std::unique_ptr<TRecentFilesMenu> mru_;
  std::vector<std::string> clicked_, missing_;
};

TEST_F(RecentFilesMenu, OpenedFilesFollowExitAfterOneSeparator) {
  auto& mru = Create();
  for (auto p : {"C:\\m\\1.ttl", "C:\\m\\2.ttl", "C:\\m\\3.ttl", "C:\\m\\4.ttl", "C:\\m\\5.ttl"})
    mru.AddFile(p);
  EXPECT_EQ(AfterExit(file_), (std::vector<std::string>{"-", "&1  C:\\m\\5.ttl", "&2  C:\\m\\4.ttl",
                                                        "&3  C:\\m\\3.ttl", "&4  C:\\m\\2.ttl"}));
  // Entry n arrives as command 900 + n.
  auto items = Items(file_);
  for (int n = 1; n <= 4; ++n)
    EXPECT_EQ(items[own_items_.size() + n].id, kRecentSeparatorId + n) << n;
}

TEST_F(RecentFilesMenu, AnEmptyListShowsNoSeparatorAfterExit) {
  Create();
  EXPECT_TRUE(AfterExit(file_).empty());
  EXPECT_EQ(Items(file_), own_items_);
}

TEST_F(RecentFilesMenu, RebuildingNeverTouchesTheMenusOwnItems) {
  auto& mru = Create();
  mru.AddFile("C:\\a.ttl");
  mru.AddFile("C:\\b.ttl");
  mru.SetShowFullPath(false);
  mru.AddFile("C:\\A.TTL");
  mru.SetMaxFiles(1);
  auto items = Items(file_);
  ASSERT_EQ(items.size(), own_items_.size() + 2);
  EXPECT_EQ(std::vector<MenuItem>(items.begin(), items.begin() + own_items_.size()), own_items_);
  EXPECT_EQ(AfterExit(file_), (std::vector<std::string>{"-", "&1  A.TTL"}));
}

TEST_F(RecentFilesMenu, ChoosingAnEntryOpensItOrDropsAVanishedFile) {
  TTempDir dir;
  const std::string kept = dir.File("kept.ttl"), gone = dir.File("gone.ttl");
  WriteFileBytes(kept, "send 'x'\r\n");
  auto& mru = Create();
  mru.AddFile(kept);
  mru.AddFile(gone);  // entry 1; kept is entry 2

  EXPECT_FALSE(mru.HandleMenuCommand(cmExit));
  EXPECT_FALSE(mru.HandleMenuCommand(static_cast<int>(kRecentSeparatorId)));
  EXPECT_TRUE(mru.HandleMenuCommand(static_cast<int>(kRecentLastEntryId)));  // no such entry
  EXPECT_TRUE(clicked_.empty());
  EXPECT_TRUE(missing_.empty());

  EXPECT_TRUE(mru.HandleMenuCommand(static_cast<int>(kRecentFirstEntryId) + 1));
  EXPECT_EQ(clicked_, std::vector<std::string>{kept});
  EXPECT_EQ(AfterExit(file_), (std::vector<std::string>{"-", "&1  " + kept, "&2  " + gone}));

  EXPECT_TRUE(mru.HandleMenuCommand(static_cast<int>(kRecentFirstEntryId) + 1));
  EXPECT_EQ(missing_, std::vector<std::string>{gone});
  EXPECT_EQ(AfterExit(file_), (std::vector<std::string>{"-", "&1  " + kept}));
}

TEST_F(RecentFilesMenu, TheListSurvivesTheProgramInTheRegistry) {
  Create();
  for (auto p : {"C:\\1.ttl", "C:\\2.ttl", "C:\\3.ttl"}) mru_->AddFile(p);
  mru_.reset();  // the program ends
  EXPECT_EQ(RawString("MRU1"), "C:\\3.ttl");
  EXPECT_EQ(RawString("MRU2"), "C:\\2.ttl");
  EXPECT_EQ(RawString("MRU3"), "C:\\1.ttl");
  EXPECT_EQ(RawString("MRU4"), "");
  EXPECT_EQ(RawString("MRU5"), "<missing>");

  // The next start shows them at once, in a fresh menu.
  DestroyMenu(bar_);
  bar_ = BuildMainMenu();
  file_ = GetSubMenu(bar_, 0);
  Create();
  EXPECT_EQ(AfterExit(file_),
            (std::vector<std::string>{"-", "&1  C:\\3.ttl", "&2  C:\\2.ttl", "&3  C:\\1.ttl"}));
}

TEST_F(RecentFilesMenu, LoadingStopsAtTheFirstMissingValue) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const char first[] = "C:\\first.ttl", third[] = "C:\\third.ttl";
  RegSetValueExA(key, "MRU1", 0, REG_SZ, reinterpret_cast<const BYTE*>(first), sizeof first);
  RegSetValueExA(key, "MRU3", 0, REG_SZ, reinterpret_cast<const BYTE*>(third), sizeof third);
  RegCloseKey(key);
  auto& mru = Create();
  EXPECT_EQ(mru.Files(), std::vector<std::string>{first});
}

}  // namespace
