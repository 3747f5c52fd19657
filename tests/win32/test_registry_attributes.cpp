#include <gtest/gtest.h>
#include <windows.h>

#include "language/TtlHighlighter.h"
#include "platform/Registry.h"
#include "win32/Win32Registry.h"

namespace {

// The highlighter's colours live in the program's real settings key, one
// subkey per attribute; only those subkeys are touched here.
class RegistryAttributes : public ::testing::Test {
 protected:
  void SetUp() override { ClearAttributeKeys(); }
  void TearDown() override { ClearAttributeKeys(); }
  void ClearAttributeKeys() {
    TTtlHighlighter names;
    auto key = registry_.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false);
    if (!key) return;
    for (int i = 0; i < names.AttributeCount(); ++i) key->DeleteKey(names.AttributeAt(i)->Name());
  }
  TWin32Registry registry_;
};

TEST_F(RegistryAttributes, ColoursAndStylesSurviveAStoreAndRestore) {
  TTtlHighlighter saved;
  saved.CommentAttri()->SetForeground(0x00123456);
  saved.CommentAttri()->SetBackground(0xFF000005);
  saved.KeyAttri()->SetStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
  saved.SpaceAttri()->SetBackground(0x00FFFFFF);
  saved.StringAttri()->SetStyle(0);
  ASSERT_TRUE(saved.StoreAttributes(registry_, TRegistryRoot::CurrentUser, kSettingsKeyPath));

  // As the registry itself shows it.
  HKEY raw = nullptr;
  ASSERT_EQ(
      RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brevik\\Quillon\\Comment", 0, KEY_READ, &raw),
      ERROR_SUCCESS);
  struct Case {
    const char* value;
    DWORD expected;
  } cases[] = {{"Background", 0xFF000005}, {"Foreground", 0x00123456}, {"Style", 2}};
  for (const auto& c : cases) {
    DWORD type = 0, data = 0, size = sizeof(data);
    ASSERT_EQ(RegQueryValueExA(raw, c.value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size),
              ERROR_SUCCESS)
        << c.value;
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << c.value;
    EXPECT_EQ(data, c.expected) << c.value;
  }
  RegCloseKey(raw);

  TTtlHighlighter restored;
  ASSERT_TRUE(restored.RestoreAttributes(registry_, TRegistryRoot::CurrentUser, kSettingsKeyPath));
  for (int i = 0; i < saved.AttributeCount(); ++i) {
    const auto* a = saved.AttributeAt(i);
    const auto* b = restored.AttributeAt(i);
    EXPECT_EQ(b->Foreground(), a->Foreground()) << a->Name();
    EXPECT_EQ(b->Background(), a->Background()) << a->Name();
    EXPECT_EQ(b->Style(), a->Style()) << a->Name();
  }
}

TEST_F(RegistryAttributes, DamagedValuesKeepTheBuiltInLook) {
  HKEY raw = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Brevik\\Quillon\\Symbol", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &raw, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(raw, "Foreground", 0, REG_SZ, reinterpret_cast<const BYTE*>("255"), 4);
  const unsigned long long qword = 1;
  RegSetValueExA(raw, "Background", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&qword), 8);
  const DWORD style = 0xFFFFFFF2;  // italic, plus bits that are no style
  RegSetValueExA(raw, "Style", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&style), 4);
  RegCloseKey(raw);

  TTtlHighlighter hl;
  // The other eight subkeys are missing.
  EXPECT_FALSE(hl.RestoreAttributes(registry_, TRegistryRoot::CurrentUser, kSettingsKeyPath));
  EXPECT_EQ(hl.SymbolAttri()->Foreground(), 0xFF00FFu);
  EXPECT_EQ(hl.SymbolAttri()->Background(), clNone);
  EXPECT_EQ(hl.SymbolAttri()->Style(), fsItalic);
  EXPECT_EQ(hl.CommentAttri()->Foreground(), 0x008000u);
}

}  // namespace
