#include "app/FileAssociation.h"

#include "platform/Exception.h"
#include "platform/Registry.h"

namespace {

// The unnamed value of a key.
constexpr char kDefaultValue[] = "";

}  // namespace

TFileAssociation::TFileAssociation(IRegistry& registry, std::function<void()> associations_changed)
    : registry_(registry), associations_changed_(std::move(associations_changed)) {}

std::string TFileAssociation::DefaultValueOf(const std::string& path) {
  auto key = registry_.Open(TRegistryRoot::ClassesRoot, path, false);
  if (!key) return std::string();
  return key->ReadString(kDefaultValue).value_or("");
}

// Opens (creating) the key and sets its default value, when one is given. A
// key that cannot be created is an error like a refused value: writing on
// would put the value somewhere it does not belong.
void TFileAssociation::WriteDefaultValue(const std::string& path, const std::string* value) {
  auto key = registry_.Open(TRegistryRoot::ClassesRoot, path, true);
  if (!key) throw Exception("Failed to set data for ''");
  if (value) key->WriteString(kDefaultValue, *value);
}

void TFileAssociation::NotifyShell() {
  if (associations_changed_) associations_changed_();
}

bool TFileAssociation::IsAssociated(const std::string& ext, const std::string& exe) {
  const std::string class_name = ClassName(ext);
  const std::string extension_value = DefaultValueOf("." + ext);
  if (state_ == asUnknown) {
    state_ = registry_.Open(TRegistryRoot::ClassesRoot, class_name, true) ? asAllowed : asDenied;
  }
  std::string icon;
  std::string command;
  if (state_ == asAllowed) {
    icon = DefaultValueOf(class_name + "\\DefaultIcon");
    command = DefaultValueOf(class_name + "\\shell\\open\\command");
  }
  return extension_value == class_name && icon == IconValue(exe) && command == OpenCommand(exe);
}

void TFileAssociation::AssociateExtension(const std::string& ext, const std::string& exe) {
  if (state_ == asDenied) return;
  const std::string class_name = ClassName(ext);
  const std::string icon = IconValue(exe);
  const std::string command = OpenCommand(exe);
  WriteDefaultValue("." + ext, &class_name);
  WriteDefaultValue(class_name, nullptr);
  WriteDefaultValue(class_name + "\\DefaultIcon", &icon);
  WriteDefaultValue(class_name + "\\shell\\open\\command", &command);
  NotifyShell();
}

void TFileAssociation::RemoveAssociation(const std::string& ext) {
  if (state_ == asDenied) return;
  if (auto root = registry_.Open(TRegistryRoot::ClassesRoot, "", false)) {
    root->DeleteKey("." + ext);
    root->DeleteKey(ClassName(ext));
  }
  NotifyShell();
}
