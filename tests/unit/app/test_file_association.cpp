#include <gtest/gtest.h>

#include <string>

#include "app/FileAssociation.h"
#include "platform/Exception.h"
#include "platform/Registry.h"
#include "support/MemoryRegistry.h"

namespace {

constexpr char kExe[] = "C:\\Tera Term\\Quillon.exe";

class FileAssociationTest : public ::testing::Test {
 protected:
  TMemoryRegistry registry;
  int notifications = 0;
  TFileAssociation association{registry, [this] { ++notifications; }};

  std::unique_ptr<IRegistryKey> Key(const std::string& path, bool create = false) {
    return registry.Open(TRegistryRoot::ClassesRoot, path, create);
  }
  std::string Default(const std::string& path) {
    auto key = Key(path);
    return key ? key->ReadString("").value_or("<no value>") : "<no key>";
  }
  void StoreDefault(const std::string& path, const std::string& value) {
    Key(path, true)->WriteString("", value);
  }
};

TEST_F(FileAssociationTest, TheFirstQueryProbesTheRightToCreateKeys) {
  EXPECT_EQ(association.AssociationState(), -1);
  EXPECT_FALSE(association.IsAssociated("ttl", kExe));
  EXPECT_EQ(association.AssociationState(), 1);
  EXPECT_TRUE(Key("ttlfile")) << "the probe leaves the class key behind";
  EXPECT_FALSE(Key(".ttl"));

  TMemoryRegistry locked;
  locked.SetReadOnly(true);
  TFileAssociation denied(locked, [this] { ++notifications; });
  EXPECT_FALSE(denied.IsAssociated("ttl", kExe));
  EXPECT_EQ(denied.AssociationState(), 0);
}

TEST_F(FileAssociationTest, AssociatingWritesTheThreeValuesAndTellsTheShell) {
  ASSERT_FALSE(association.IsAssociated("ttl", kExe));
  association.AssociateExtension("ttl", kExe);
  EXPECT_EQ(Default(".ttl"), "ttlfile");
  EXPECT_EQ(Default("ttlfile\\DefaultIcon"), "C:\\Tera Term\\Quillon.exe,0");
  EXPECT_EQ(Default("ttlfile\\shell\\open\\command"), "C:\\Tera Term\\Quillon.exe \"%1\"");
  EXPECT_EQ(Default("ttlfile"), "<no value>") << "the class key itself gets no value";
  EXPECT_EQ(notifications, 1);
  EXPECT_TRUE(association.IsAssociated("ttl", kExe));
}

TEST_F(FileAssociationTest, OnlyAnExactMatchCountsAsAssociated) {
  struct Case {
    const char* what;
    const char* extension;
    const char* icon;
    const char* command;
    bool expected;
  };
  const std::string icon = std::string(kExe) + ",0";
  const std::string command = std::string(kExe) + " \"%1\"";
  const Case cases[] = {
      {"all three match", "ttlfile", icon.c_str(), command.c_str(), true},
      {"another program's class", "TeraTerm.Macro", icon.c_str(), command.c_str(), false},
      {"the program moved", "ttlfile", "D:\\Quillon.exe,0", "D:\\Quillon.exe \"%1\"", false},
      {"case differs", "TTLFILE", icon.c_str(), command.c_str(), false},
      {"an unquoted argument", "ttlfile", icon.c_str(), "C:\\Tera Term\\Quillon.exe %1", false},
      {"another icon", "ttlfile", "C:\\Tera Term\\Quillon.exe,1", command.c_str(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StoreDefault(".ttl", c.extension);
    StoreDefault("ttlfile\\DefaultIcon", c.icon);
    StoreDefault("ttlfile\\shell\\open\\command", c.command);
    EXPECT_EQ(association.IsAssociated("ttl", kExe), c.expected);
  }
}

TEST_F(FileAssociationTest, ApplyingTakesTheExtensionOverFromAnotherProgram) {
  StoreDefault(".ttl", "OtherEditor.Document");
  ASSERT_FALSE(association.IsAssociated("ttl", kExe));
  association.AssociateExtension("ttl", kExe);
  EXPECT_TRUE(association.IsAssociated("ttl", kExe));
  EXPECT_FALSE(association.IsAssociated("ttl", "D:\\moved\\Quillon.exe"));
}

TEST_F(FileAssociationTest, RemovingTakesBothKeysWithEverythingBelowThem) {
  association.IsAssociated("ttl", kExe);
  association.AssociateExtension("ttl", kExe);
  StoreDefault("ttlfile\\shell\\print\\command", "someone else's");
  StoreDefault(".ttl\\ShellNew", "x");
  StoreDefault(".tpl", "tplfile");
  association.RemoveAssociation("ttl");
  EXPECT_FALSE(Key(".ttl"));
  EXPECT_FALSE(Key("ttlfile"));
  EXPECT_TRUE(Key(".tpl")) << "other extensions stay";
  EXPECT_EQ(notifications, 2);
  EXPECT_FALSE(association.IsAssociated("ttl", kExe));
}

TEST_F(FileAssociationTest, WithoutTheRightToCreateKeysNothingIsWritten) {
  StoreDefault(".ttl", "ttlfile");
  registry.SetReadOnly(true);
  TFileAssociation denied(registry, [this] { ++notifications; });
  EXPECT_FALSE(denied.IsAssociated("ttl", kExe));
  EXPECT_EQ(denied.AssociationState(), 0);
  const int writes = registry.WriteCount();
  denied.AssociateExtension("ttl", kExe);
  denied.RemoveAssociation("ttl");
  EXPECT_EQ(registry.WriteCount(), writes);
  EXPECT_EQ(Default(".ttl"), "ttlfile") << "another program's key stays";
  EXPECT_FALSE(Key("ttlfile"));
  EXPECT_EQ(notifications, 0);
}

TEST_F(FileAssociationTest, AWriteRefusedMidwayRaisesAndKeepsWhatWasWritten) {
  association.IsAssociated("ttl", kExe);
  registry.DenyAccess(TRegistryRoot::ClassesRoot, "ttlfile\\DefaultIcon");
  EXPECT_THROW(association.AssociateExtension("ttl", kExe), Exception);
  EXPECT_EQ(Default(".ttl"), "ttlfile");
  EXPECT_FALSE(Key("ttlfile\\shell\\open\\command"));
  EXPECT_EQ(notifications, 0);
}

}  // namespace
