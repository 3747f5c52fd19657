#include <gtest/gtest.h>

#include "app/SettingsStore.h"
#include "platform/Registry.h"
#include "support/MemoryRegistry.h"

namespace {

TEST(SettingsStore, ParametersRoundTripAndWrongTypesReadAsEmpty) {
  TMemoryRegistry registry;
  EXPECT_EQ(LoadParams(registry).param2, "");  // no key yet
  EXPECT_FALSE(registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false))
      << "reading does not create the key";
  SaveParams(registry, {"host 22", ""});
  const TMacroParams read = LoadParams(registry);
  EXPECT_EQ(read.param2, "host 22");
  EXPECT_EQ(read.param3, "");
  registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, true)->WriteInteger("Param3", 7);
  EXPECT_EQ(LoadParams(registry).param3, "");
}

TEST(SettingsStore, ShowSpecialIsUnknownUntilStoredAndAnyNumberButZeroIsOn) {
  TMemoryRegistry registry;
  EXPECT_EQ(LoadShowSpecial(registry), std::nullopt);
  SaveShowSpecial(registry, true);
  EXPECT_EQ(LoadShowSpecial(registry), true);
  SaveShowSpecial(registry, false);
  EXPECT_EQ(LoadShowSpecial(registry), false);
  auto key = registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, true);
  key->WriteInteger("ShowSpecial", 5);
  EXPECT_EQ(LoadShowSpecial(registry), true);
  key->WriteString("ShowSpecial", "1");
  EXPECT_EQ(LoadShowSpecial(registry), std::nullopt);
}

TEST(SettingsStore, TheTemplateFileFallsBackToTheDefaultWhenEmptyOrMissing) {
  TMemoryRegistry registry;
  EXPECT_EQ(LoadTemplateFile(registry, "C:\\TT\\ttmacro.tpl"), "C:\\TT\\ttmacro.tpl");
  auto key = registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, true);
  key->WriteString("TemplateFile", "");
  EXPECT_EQ(LoadTemplateFile(registry, "d"), "d");
  key->WriteString("TemplateFile", "D:\\mine.tpl");
  EXPECT_EQ(LoadTemplateFile(registry, "d"), "D:\\mine.tpl");
  key->WriteInteger("TemplateFile", 3);
  EXPECT_EQ(LoadTemplateFile(registry, "d"), "d");
}

}  // namespace
