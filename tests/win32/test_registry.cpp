#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "support/RegistryContract.h"
#include "win32/WideString.h"
#include "win32/Win32Registry.h"

namespace {

const char kTestKey[] = "Software\\Brevik\\QuillonTest";

std::unique_ptr<TWin32Registry> NewWin32Registry() { return std::make_unique<TWin32Registry>(); }

QUILLON_REGISTRY_CONTRACT_TESTS(Registry, NewWin32Registry, TRegistryRoot::CurrentUser,
                                std::string(kTestKey), registry_contract::ClearKey)

class RegistryRaw : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_contract::ClearKey(registry_, TRegistryRoot::CurrentUser, kTestKey);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &raw_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(raw_);
    registry_contract::ClearKey(registry_, TRegistryRoot::CurrentUser, kTestKey);
  }
  void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExA(raw_, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
  DWORD RawType(const char* name) {
    DWORD type = REG_NONE;
    EXPECT_EQ(RegQueryValueExA(raw_, name, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    return type;
  }

  TWin32Registry registry_;
  HKEY raw_ = nullptr;
};

TEST_F(RegistryRaw, ValuesAreWrittenWithTheRegistrysOwnTypes) {
  auto key = registry_.Open(TRegistryRoot::CurrentUser, kTestKey, false);
  ASSERT_TRUE(key);
  key->WriteInteger("I", -2);
  key->WriteString("S", "text");
  key->WriteBinary("B", "\x01\x02");
  key->WriteBool("F", true);
  EXPECT_EQ(RawType("I"), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(RawType("S"), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(RawType("B"), static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(RawType("F"), static_cast<DWORD>(REG_DWORD));
  DWORD value = 0, size = sizeof(value);
  ASSERT_EQ(RegQueryValueExA(raw_, "I", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 0xFFFFFFFEu);
  char text[16] = {};
  size = sizeof(text);
  ASSERT_EQ(RegQueryValueExA(raw_, "S", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, 5u);  // stored with its terminator
  EXPECT_STREQ(text, "text");
}

TEST_F(RegistryRaw, ValuesOfOtherTypesReadAsMissing) {
  const unsigned long long qword = 5;
  const char expand[] = "%TEMP%\\x";
  const char multi[] = "a\0b\0";
  const DWORD dword = 7;
  const char unterminated[3] = {'a', 'b', 'c'};
  SetRaw("Q", REG_QWORD, &qword, sizeof(qword));
  SetRaw("E", REG_EXPAND_SZ, expand, sizeof(expand));
  SetRaw("M", REG_MULTI_SZ, multi, sizeof(multi));
  SetRaw("Short", REG_DWORD, &dword, 2);
  SetRaw("BigEndian", REG_DWORD_BIG_ENDIAN, &dword, sizeof(dword));
  SetRaw("NoNul", REG_SZ, unterminated, sizeof(unterminated));
  SetRaw("Empty", REG_SZ, "", 0);
  auto key = registry_.Open(TRegistryRoot::CurrentUser, kTestKey, false);
  ASSERT_TRUE(key);
  for (const char* name : {"Q", "M", "Short", "BigEndian"}) {
    EXPECT_FALSE(key->ReadInteger(name).has_value()) << name;
    EXPECT_FALSE(key->ReadString(name).has_value()) << name;
    EXPECT_FALSE(key->ReadBinary(name).has_value()) << name;
    EXPECT_TRUE(key->ValueExists(name)) << name;
  }
  // An expandable string is text, taken as stored.
  EXPECT_EQ(key->ReadString("E"), "%TEMP%\\x");
  EXPECT_EQ(key->ReadString("NoNul"), "abc");
  EXPECT_EQ(key->ReadString("Empty"), "");
}

TEST_F(RegistryRaw, OtherRootsAreReachable) {
  auto machine = registry_.Open(TRegistryRoot::LocalMachine, "Software", false);
  ASSERT_TRUE(machine);
  EXPECT_FALSE(machine->SubKeyNames().empty());
  auto classes = registry_.Open(TRegistryRoot::ClassesRoot, "", false);
  ASSERT_TRUE(classes);
  EXPECT_FALSE(classes->SubKeyNames().empty());
  EXPECT_EQ(registry_.Open(TRegistryRoot::LocalMachine, kTestKey, false), nullptr);
}

}  // namespace

namespace {

TEST_F(RegistryRaw, StringsTheAnsiProgramStoredReadBackAsTheSameText) {
  // An accented path as the earlier program wrote it, in the code page.
  SetRaw("MRU1", REG_SZ, "C:\\Fran\xe7" "ais\\a.ttl", 18);
  auto key = registry_.Open(TRegistryRoot::CurrentUser, kTestKey, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString("MRU1"), Utf8FromAnsi("C:\\Fran\xe7" "ais\\a.ttl"));
  // What the program writes is the same characters to every reader, still REG_SZ.
  key->WriteString("MRU2", "C:\\マクロ\\ドロップ ñ.ttl");
  EXPECT_EQ(RawType("MRU2"), static_cast<DWORD>(REG_SZ));
  wchar_t text[64] = {};
  DWORD size = sizeof text;
  ASSERT_EQ(RegQueryValueExW(raw_, L"MRU2", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(text), L"C:\\マクロ\\ドロップ ñ.ttl");
}

}  // namespace
