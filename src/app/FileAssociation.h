#pragma once
// Making the program the shell's handler for macro files: the keys written
// below the classes root, how the current state is recognised, and whether
// the program may write there at all.
//
//   "." + ext                        default value ext + "file"
//   ext + "file"                     (key only)
//   ext + "file\DefaultIcon"         default value exe + ",0"
//   ext + "file\shell\open\command"  default value exe + " \"%1\""
#include <functional>
#include <string>

class IRegistry;

class TFileAssociation {
 public:
  // -1 not yet known, 0 the classes root refuses new keys, 1 it takes them.
  enum : int { asUnknown = -1, asDenied = 0, asAllowed = 1 };

  // `associations_changed` tells the shell that file associations changed.
  TFileAssociation(IRegistry& registry, std::function<void()> associations_changed);

  int AssociationState() const { return state_; }

  // Whether the three keys name exactly this program. The first call finds
  // out whether keys may be created (which leaves an empty ext + "file" key
  // behind when there was none); without that right the program's own keys
  // count as empty and the answer is false.
  bool IsAssociated(const std::string& ext, const std::string& exe);
  // Writes the keys and tells the shell; nothing while the state is 0. A key
  // or value the registry refuses midway raises Exception; what was written
  // stays.
  void AssociateExtension(const std::string& ext, const std::string& exe);
  // Deletes "." + ext and ext + "file" with everything below it, then tells
  // the shell; nothing while the state is 0.
  void RemoveAssociation(const std::string& ext);

  // The default values the keys hold for a program at exe.
  static std::string ClassName(const std::string& ext) { return ext + "file"; }
  static std::string IconValue(const std::string& exe) { return exe + ",0"; }
  static std::string OpenCommand(const std::string& exe) { return exe + " \"%1\""; }

 private:
  std::string DefaultValueOf(const std::string& path);
  void WriteDefaultValue(const std::string& path, const std::string* value);
  void NotifyShell();

  IRegistry& registry_;
  std::function<void()> associations_changed_;
  int state_ = asUnknown;
};
