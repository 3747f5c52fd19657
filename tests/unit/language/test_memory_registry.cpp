#include <gtest/gtest.h>

#include <memory>

#include "support/MemoryRegistry.h"
#include "support/RegistryContract.h"

namespace {

std::unique_ptr<TMemoryRegistry> NewMemoryRegistry() { return std::make_unique<TMemoryRegistry>(); }

QUILLON_REGISTRY_CONTRACT_TESTS(MemoryRegistry, NewMemoryRegistry, TRegistryRoot::CurrentUser,
                                std::string("Software\\Brevik\\QuillonTest"),
                                registry_contract::ClearKey)

TEST(MemoryRegistry, RootsAreSeparateTrees) {
  TMemoryRegistry registry;
  registry.Open(TRegistryRoot::CurrentUser, "Software\\X", true)->WriteInteger("V", 1);
  EXPECT_EQ(registry.Open(TRegistryRoot::LocalMachine, "Software\\X", false), nullptr);
  EXPECT_EQ(registry.Open(TRegistryRoot::ClassesRoot, "Software\\X", false), nullptr);
  registry.Open(TRegistryRoot::ClassesRoot, ".ttl", true)->WriteString("", "TTLFile");
  EXPECT_EQ(registry.Open(TRegistryRoot::ClassesRoot, ".TTL", false)->ReadString(""), "TTLFile");
}

TEST(MemoryRegistry, AReadOnlyStoreStillReadsButRefusesChanges) {
  TMemoryRegistry registry;
  auto key = registry.Open(TRegistryRoot::CurrentUser, "Software\\X", true);
  key->WriteInteger("V", 1);
  registry.SetReadOnly(true);
  EXPECT_EQ(registry.Open(TRegistryRoot::CurrentUser, "Software\\Y", true), nullptr);
  auto again = registry.Open(TRegistryRoot::CurrentUser, "Software\\X", true);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->ReadInteger("V"), 1);
  try {
    again->WriteInteger("V", 2);
    ADD_FAILURE() << "write succeeded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Failed to set data for 'V'");
  }
  EXPECT_FALSE(again->DeleteValue("V"));
  EXPECT_FALSE(registry.Open(TRegistryRoot::CurrentUser, "Software", false)->DeleteKey("X"));
  EXPECT_EQ(registry.WriteCount(), 1);
}

TEST(MemoryRegistry, ADeniedKeyIsListedButDoesNotOpen) {
  TMemoryRegistry registry;
  registry.DenyAccess(TRegistryRoot::CurrentUser, "Software\\Locked");
  auto software = registry.Open(TRegistryRoot::CurrentUser, "Software", false);
  ASSERT_TRUE(software);
  EXPECT_EQ(software->SubKeyNames(), std::vector<std::string>{"Locked"});
  EXPECT_EQ(software->OpenKey("Locked", false), nullptr);
  EXPECT_EQ(software->OpenKey("Locked", true), nullptr);
  EXPECT_EQ(software->OpenKey("Locked\\Below", true), nullptr);
}

}  // namespace
