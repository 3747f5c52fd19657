#include "app/SettingsStore.h"

#include <functional>

#include "platform/Exception.h"
#include "platform/Registry.h"

namespace {

std::unique_ptr<IRegistryKey> OpenSettings(IRegistry& registry, bool create) {
  return registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, create);
}

// A key that refuses a value costs the user nothing but that value.
void WriteSettings(IRegistry& registry, const std::function<void(IRegistryKey&)>& write) {
  auto key = OpenSettings(registry, true);
  if (!key) return;
  try {
    write(*key);
  } catch (const Exception&) {
  }
}

}  // namespace

TMacroParams LoadParams(IRegistry& registry) {
  TMacroParams params;
  auto key = OpenSettings(registry, false);
  if (!key) return params;
  params.param2 = key->ReadString("Param2").value_or("");
  params.param3 = key->ReadString("Param3").value_or("");
  return params;
}

void SaveParams(IRegistry& registry, const TMacroParams& params) {
  WriteSettings(registry, [&](IRegistryKey& key) {
    key.WriteString("Param2", params.param2);
    key.WriteString("Param3", params.param3);
  });
}

std::string LoadTemplateFile(IRegistry& registry, const std::string& default_path) {
  auto key = OpenSettings(registry, false);
  const std::string stored = key ? key->ReadString("TemplateFile").value_or("") : std::string();
  return stored.empty() ? default_path : stored;
}

std::optional<bool> LoadShowSpecial(IRegistry& registry) {
  auto key = OpenSettings(registry, false);
  if (!key) return std::nullopt;
  return key->ReadBool("ShowSpecial");
}

void SaveShowSpecial(IRegistry& registry, bool on) {
  WriteSettings(registry, [&](IRegistryKey& key) { key.WriteBool("ShowSpecial", on); });
}
