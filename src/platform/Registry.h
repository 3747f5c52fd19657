#pragma once
// A key of the settings store. The program uses the real registry; tests use
// an in-memory tree with the same behaviour.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class TRegistryRoot { CurrentUser, LocalMachine, ClassesRoot };

class IRegistryKey {
 public:
  virtual ~IRegistryKey() = default;

  // Opens a subkey ("A\B" paths allowed). Returns nullptr when the key does not
  // exist and create is false, or when it cannot be opened or created.
  virtual std::unique_ptr<IRegistryKey> OpenKey(const std::string& path, bool create) = 0;

  // Typed reads: nullopt when the value is missing or stored with another type.
  virtual std::optional<std::int32_t> ReadInteger(const std::string& name) = 0;  // DWORD
  virtual std::optional<std::string> ReadString(const std::string& name) = 0;    // string
  virtual std::optional<std::string> ReadBinary(const std::string& name) = 0;    // binary

  // Typed writes; a failure raises Exception("Failed to set data for '<name>'").
  virtual void WriteInteger(const std::string& name, std::int32_t value) = 0;
  virtual void WriteString(const std::string& name, const std::string& value) = 0;
  virtual void WriteBinary(const std::string& name, const std::string& bytes) = 0;

  virtual bool ValueExists(const std::string& name) = 0;
  virtual bool DeleteValue(const std::string& name) = 0;
  // Deletes a subkey with everything below it.
  virtual bool DeleteKey(const std::string& path) = 0;
  virtual std::vector<std::string> ValueNames() = 0;
  virtual std::vector<std::string> SubKeyNames() = 0;

  // Booleans are stored as DWORD 0/1; any non-zero value reads as true.
  std::optional<bool> ReadBool(const std::string& name) {
    auto v = ReadInteger(name);
    if (!v) return std::nullopt;
    return *v != 0;
  }
  void WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // Opens (or with create, creates) path below one of the roots.
  virtual std::unique_ptr<IRegistryKey> Open(TRegistryRoot root, const std::string& path,
                                             bool create) = 0;
};

// The program's per-user settings key, below the current user's root.
inline constexpr const char* kSettingsKeyPath = "Software\\Brevik\\Quillon";
