#include "win32/Win32Registry.h"

#include <windows.h>

#include <vector>

#include "platform/Exception.h"
#include "win32/WideString.h"

namespace {

// "\A\\B\" -> "A\B": the registry functions reject a leading backslash and
// empty path components, while callers may write paths either way.
std::string NormalizePath(const std::string& path) {
  std::string result;
  result.reserve(path.size());
  for (char c : path) {
    if (c == '\\' && (result.empty() || result.back() == '\\')) continue;
    result.push_back(c);
  }
  if (!result.empty() && result.back() == '\\') result.pop_back();
  return result;
}

HKEY RootHandle(TRegistryRoot root) {
  switch (root) {
    case TRegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case TRegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case TRegistryRoot::CurrentUser:
    default:
      return HKEY_CURRENT_USER;
  }
}

constexpr REGSAM kFullAccess = KEY_READ | KEY_WRITE | DELETE;

class TWin32RegistryKey : public IRegistryKey {
 public:
  explicit TWin32RegistryKey(HKEY key) : key_(key) {}
  ~TWin32RegistryKey() override { RegCloseKey(key_); }
  TWin32RegistryKey(const TWin32RegistryKey&) = delete;
  TWin32RegistryKey& operator=(const TWin32RegistryKey&) = delete;

  // Opens or creates path below parent. A key the user may only read is
  // opened for reading, so settings under a protected root still load.
  static std::unique_ptr<IRegistryKey> OpenBelow(HKEY parent, const std::string& path,
                                                 bool create) {
    const std::wstring sub = Wide(NormalizePath(path));
    HKEY key = nullptr;
    LONG rc;
    if (create) {
      rc = RegCreateKeyExW(parent, sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kFullAccess,
                           nullptr, &key, nullptr);
    } else {
      rc = RegOpenKeyExW(parent, sub.c_str(), 0, kFullAccess, &key);
      if (rc == ERROR_ACCESS_DENIED) rc = RegOpenKeyExW(parent, sub.c_str(), 0, KEY_READ, &key);
    }
    if (rc != ERROR_SUCCESS) return nullptr;
    return std::make_unique<TWin32RegistryKey>(key);
  }

  std::unique_ptr<IRegistryKey> OpenKey(const std::string& path, bool create) override {
    return OpenBelow(key_, path, create);
  }

  std::optional<std::int32_t> ReadInteger(const std::string& name) override {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG rc = RegQueryValueExW(key_, Wide(name).c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return std::nullopt;
    return static_cast<std::int32_t>(value);
  }

  std::optional<std::string> ReadString(const std::string& name) override {
    std::optional<std::string> bytes = ReadTyped(name, REG_SZ, REG_EXPAND_SZ);
    if (!bytes) return std::nullopt;
    std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
    bytes->copy(reinterpret_cast<char*>(text.data()), text.size() * sizeof(wchar_t));
    // The stored terminator, and anything after an embedded NUL, is not text.
    const std::size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) text.resize(nul);
    return Utf8(text);
  }

  std::optional<std::string> ReadBinary(const std::string& name) override {
    return ReadTyped(name, REG_BINARY, REG_BINARY);
  }

  void WriteInteger(const std::string& name, std::int32_t value) override {
    const DWORD v = static_cast<DWORD>(value);
    Set(name, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v));
  }

  void WriteString(const std::string& name, const std::string& value) override {
    const std::wstring text = Wide(value);
    Set(name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }

  void WriteBinary(const std::string& name, const std::string& bytes) override {
    Set(name, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
        static_cast<DWORD>(bytes.size()));
  }

  bool ValueExists(const std::string& name) override {
    return RegQueryValueExW(key_, Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& name) override {
    return RegDeleteValueW(key_, Wide(name).c_str()) == ERROR_SUCCESS;
  }

  bool DeleteKey(const std::string& path) override {
    const std::wstring sub = Wide(NormalizePath(path));
    if (sub.empty()) return false;  // a key does not delete itself
    HKEY probe = nullptr;
    if (RegOpenKeyExW(key_, sub.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS) return false;
    RegCloseKey(probe);
    return RegDeleteTreeW(key_, sub.c_str()) == ERROR_SUCCESS;
  }

  std::vector<std::string> ValueNames() override {
    return Enumerate([this](DWORD index, wchar_t* buffer, DWORD* length) {
      return RegEnumValueW(key_, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

  std::vector<std::string> SubKeyNames() override {
    return Enumerate([this](DWORD index, wchar_t* buffer, DWORD* length) {
      return RegEnumKeyExW(key_, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

 private:
  void Set(const std::string& name, DWORD type, const BYTE* data, DWORD size) {
    if (RegSetValueExW(key_, Wide(name).c_str(), 0, type, data, size) != ERROR_SUCCESS) {
      throw Exception("Failed to set data for '" + name + "'");
    }
  }

  // The raw bytes of a value stored with one of two types.
  std::optional<std::string> ReadTyped(const std::string& name, DWORD type1, DWORD type2) {
    const std::wstring wide_name = Wide(name);
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExW(key_, wide_name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
      }
      if (type != type1 && type != type2) return std::nullopt;
      std::string bytes(size, '\0');
      DWORD got = size;
      const LONG rc = RegQueryValueExW(key_, wide_name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(bytes.data()), &got);
      if (rc == ERROR_MORE_DATA) continue;  // grew between the two calls
      if (rc != ERROR_SUCCESS || (type != type1 && type != type2)) return std::nullopt;
      bytes.resize(got);
      return bytes;
    }
    return std::nullopt;
  }

  template <class EnumFunction>
  std::vector<std::string> Enumerate(EnumFunction enumerate) {
    std::vector<std::string> names;
    std::vector<wchar_t> buffer(256);
    for (DWORD index = 0;;) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LONG rc = enumerate(index, buffer.data(), &length);
      if (rc == ERROR_MORE_DATA) {
        if (buffer.size() >= 65536) break;
        buffer.resize(buffer.size() * 2);
        continue;
      }
      if (rc != ERROR_SUCCESS) break;
      names.push_back(Utf8(std::wstring_view(buffer.data(), length)));
      ++index;
    }
    return names;
  }

  HKEY key_;
};

}  // namespace

std::unique_ptr<IRegistryKey> TWin32Registry::Open(TRegistryRoot root, const std::string& path,
                                                   bool create) {
  return TWin32RegistryKey::OpenBelow(RootHandle(root), path, create);
}
