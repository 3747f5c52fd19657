#pragma once
// What the program relies on from a registry, checked the same way against the
// in-memory registry (natively) and the real one (under Wine). Each check
// works below base, a key path that the caller has cleared.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "platform/Registry.h"

namespace registry_contract {

// Removes path with everything below it, if it exists.
inline void ClearKey(IRegistry& registry, TRegistryRoot root, const std::string& path) {
  if (auto top = registry.Open(root, "", false)) top->DeleteKey(path);
}

inline std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

inline void TypedReadsFailOnMissingOrMistypedValues(IRegistry& registry, TRegistryRoot root,
                                                    const std::string& base) {
  auto key = registry.Open(root, base, true);
  ASSERT_TRUE(key);
  key->WriteInteger("Number", 42);
  key->WriteString("Text", "42");
  key->WriteBinary("Bytes", std::string("\x2a\0\0\0", 4));
  struct Case {
    const char* name;
    bool integer, string, binary;
  } cases[] = {
      {"Number", true, false, false},
      {"Text", false, true, false},
      {"Bytes", false, false, true},
      {"Missing", false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(key->ReadInteger(c.name).has_value(), c.integer) << c.name;
    EXPECT_EQ(key->ReadString(c.name).has_value(), c.string) << c.name;
    EXPECT_EQ(key->ReadBinary(c.name).has_value(), c.binary) << c.name;
    EXPECT_EQ(key->ReadBool(c.name).has_value(), c.integer) << c.name;
    EXPECT_EQ(key->ValueExists(c.name), c.integer || c.string || c.binary) << c.name;
  }
}

inline void WrittenValuesReadBack(IRegistry& registry, TRegistryRoot root,
                                  const std::string& base) {
  auto key = registry.Open(root, base, true);
  ASSERT_TRUE(key);
  for (std::int32_t v : {0, 1, -1, 2147483647, -2147483647 - 1, 0x1FFFFFFF}) {
    key->WriteInteger("I", v);
    EXPECT_EQ(key->ReadInteger("I"), v);
  }
  key->WriteBool("B", true);
  EXPECT_EQ(key->ReadBool("B"), true);
  EXPECT_EQ(key->ReadInteger("B"), 1);
  key->WriteInteger("B", 7);
  EXPECT_EQ(key->ReadBool("B"), true);
  key->WriteBool("B", false);
  EXPECT_EQ(key->ReadBool("B"), false);

  struct StringCase {
    std::string written, read;
  } strings[] = {
      {"", ""},
      {"C:\\TeraTerm\\ttmacro.tpl", "C:\\TeraTerm\\ttmacro.tpl"},
      {"  spaced  ", "  spaced  "},
      {"éü\u00a0", "éü\u00a0"},  // strings are UTF-8: any character
      {"C:\\マクロ\\日本語.ttl", "C:\\マクロ\\日本語.ttl"},
      {std::string("cut\0here", 8), "cut"},
      {std::string(100000, 'x'), std::string(100000, 'x')},
  };
  for (const auto& c : strings) {
    key->WriteString("S", c.written);
    EXPECT_EQ(key->ReadString("S"), c.read) << c.written.substr(0, 20);
  }
  for (const std::string& bytes :
       {std::string(), std::string("\0\x01\xff", 3), std::string(5000, '\0')}) {
    key->WriteBinary("Bin", bytes);
    EXPECT_EQ(key->ReadBinary("Bin"), bytes);
  }
  // Writing a value again with another type replaces it.
  key->WriteString("I", "now text");
  EXPECT_FALSE(key->ReadInteger("I").has_value());
  EXPECT_EQ(key->ReadString("I"), "now text");
}

inline void NamesIgnoreCase(IRegistry& registry, TRegistryRoot root, const std::string& base) {
  auto key = registry.Open(root, base + "\\Mixed\\Case", true);
  ASSERT_TRUE(key);
  key->WriteInteger("FontSize", 9);
  EXPECT_EQ(key->ReadInteger("fontsize"), 9);
  key->WriteInteger("FONTSIZE", 12);
  EXPECT_EQ(key->ReadInteger("FontSize"), 12);
  EXPECT_EQ(key->ValueNames(), std::vector<std::string>{"FontSize"});
  auto again = registry.Open(root, base + "\\MIXED\\case", false);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->ReadInteger("FontSize"), 12);
  auto parent = registry.Open(root, base, false);
  EXPECT_EQ(parent->SubKeyNames(), std::vector<std::string>{"Mixed"});
}

inline void ListsValueAndSubkeyNames(IRegistry& registry, TRegistryRoot root,
                                     const std::string& base) {
  auto key = registry.Open(root, base, true);
  ASSERT_TRUE(key);
  EXPECT_TRUE(key->ValueNames().empty());
  EXPECT_TRUE(key->SubKeyNames().empty());
  key->WriteString("MRU1", "a");
  key->WriteInteger("NT", 1);
  key->WriteBinary("Blob", "b");
  ASSERT_TRUE(key->OpenKey("TForm1", true));
  ASSERT_TRUE(key->OpenKey("Comment\\Deeper", true));
  EXPECT_EQ(Sorted(key->ValueNames()), (std::vector<std::string>{"Blob", "MRU1", "NT"}));
  EXPECT_EQ(Sorted(key->SubKeyNames()), (std::vector<std::string>{"Comment", "TForm1"}));
  EXPECT_TRUE(key->DeleteValue("nt"));
  EXPECT_FALSE(key->DeleteValue("NT"));
  EXPECT_FALSE(key->ValueExists("NT"));
  EXPECT_EQ(Sorted(key->ValueNames()), (std::vector<std::string>{"Blob", "MRU1"}));
}

inline void OpensPathsInEitherSpelling(IRegistry& registry, TRegistryRoot root,
                                       const std::string& base) {
  EXPECT_EQ(registry.Open(root, base + "\\A\\B", false), nullptr);
  auto created = registry.Open(root, base + "\\A\\B", true);
  ASSERT_TRUE(created);
  created->WriteInteger("V", 5);
  for (const std::string& path : {base + "\\A\\B", "\\" + base + "\\A\\B\\", base + "\\A\\\\B"}) {
    auto key = registry.Open(root, path, false);
    ASSERT_TRUE(key) << path;
    EXPECT_EQ(key->ReadInteger("V"), 5) << path;
  }
  auto a = registry.Open(root, base + "\\A", false);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->OpenKey("Missing", false), nullptr);
  auto b = a->OpenKey("B", false);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->ReadInteger("V"), 5);
  // An empty path is the key itself.
  auto self = b->OpenKey("", false);
  ASSERT_TRUE(self);
  EXPECT_EQ(self->ReadInteger("V"), 5);
  // Longer than a key name may be.
  EXPECT_EQ(a->OpenKey(std::string(300, 'k'), true), nullptr);
}

inline void DeletingAKeyDeletesEverythingBelowIt(IRegistry& registry, TRegistryRoot root,
                                                 const std::string& base) {
  auto key = registry.Open(root, base, true);
  ASSERT_TRUE(key);
  auto deep = key->OpenKey("Tree\\Branch\\Leaf", true);
  ASSERT_TRUE(deep);
  deep->WriteString("Name", "leaf");
  key->OpenKey("Tree", false)->WriteInteger("Top", 1);
  key->OpenKey("Kept", true)->WriteInteger("Still", 1);

  EXPECT_FALSE(key->DeleteKey("Nothing"));
  EXPECT_FALSE(key->DeleteKey(""));
  EXPECT_TRUE(key->DeleteKey("tree"));
  EXPECT_FALSE(key->DeleteKey("Tree"));
  EXPECT_EQ(key->OpenKey("Tree", false), nullptr);
  EXPECT_EQ(registry.Open(root, base + "\\Tree\\Branch\\Leaf", false), nullptr);
  EXPECT_EQ(key->SubKeyNames(), std::vector<std::string>{"Kept"});
  // A handle to the deleted key neither reads nor writes.
  EXPECT_FALSE(deep->ReadString("Name").has_value());
  EXPECT_THROW(deep->WriteString("Name", "again"), Exception);
  EXPECT_EQ(registry.Open(root, base + "\\Tree", false), nullptr);

  EXPECT_TRUE(key->OpenKey("Kept", true)->ReadInteger("Still").has_value());
  EXPECT_TRUE(registry.Open(root, base + "\\Deep\\Er", true));
  EXPECT_TRUE(key->DeleteKey("Deep\\Er"));
  EXPECT_TRUE(registry.Open(root, base + "\\Deep", false));
}

}  // namespace registry_contract

// Runs every check as its own test; prefix names the registry, clear(root,
// path) removes the test key before each check.
#define QUILLON_REGISTRY_CONTRACT_TESTS(Suite, MakeRegistry, Root, Base, Clear)        \
  TEST(Suite, TypedReadsFailOnMissingOrMistypedValues) {                               \
    auto registry = MakeRegistry();                                                    \
    Clear(*registry, Root, Base);                                                      \
    registry_contract::TypedReadsFailOnMissingOrMistypedValues(*registry, Root, Base); \
  }                                                                                    \
  TEST(Suite, WrittenValuesReadBack) {                                                 \
    auto registry = MakeRegistry();                                                    \
    Clear(*registry, Root, Base);                                                      \
    registry_contract::WrittenValuesReadBack(*registry, Root, Base);                   \
  }                                                                                    \
  TEST(Suite, NamesIgnoreCase) {                                                       \
    auto registry = MakeRegistry();                                                    \
    Clear(*registry, Root, Base);                                                      \
    registry_contract::NamesIgnoreCase(*registry, Root, Base);                         \
  }                                                                                    \
  TEST(Suite, ListsValueAndSubkeyNames) {                                              \
    auto registry = MakeRegistry();                                                    \
    Clear(*registry, Root, Base);                                                      \
    registry_contract::ListsValueAndSubkeyNames(*registry, Root, Base);                \
  }                                                                                    \
  TEST(Suite, OpensPathsInEitherSpelling) {                                            \
    auto registry = MakeRegistry();                                                    \
    Clear(*registry, Root, Base);                                                      \
    registry_contract::OpensPathsInEitherSpelling(*registry, Root, Base);              \
  }                                                                                    \
  TEST(Suite, DeletingAKeyDeletesEverythingBelowIt) {                                  \
    auto registry = MakeRegistry();                                                    \
    Clear(*registry, Root, Base);                                                      \
    registry_contract::DeletingAKeyDeletesEverythingBelowIt(*registry, Root, Base);    \
  }
