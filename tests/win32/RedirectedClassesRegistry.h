#pragma once
// The real registry with the classes root moved to a scratch key of the
// current user, so that tests of the file-type association neither need
// rights there nor leave anything behind in it.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/Registry.h"
#include "win32/Win32Registry.h"

class TRedirectedClassesRegistry : public IRegistry {
 public:
  static constexpr const char* kScratchPath = "Software\\Brevik\\QuillonTestClasses";

  TRedirectedClassesRegistry() { Clear(); }
  ~TRedirectedClassesRegistry() override { Clear(); }

  std::unique_ptr<IRegistryKey> Open(TRegistryRoot root, const std::string& path,
                                     bool create) override {
    if (root != TRegistryRoot::ClassesRoot) return real_.Open(root, path, create);
    auto scratch = real_.Open(TRegistryRoot::CurrentUser, kScratchPath, true);
    if (!scratch) return nullptr;
    return path.empty() ? std::move(scratch) : scratch->OpenKey(path, create);
  }

  static void Clear() { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchPath); }

 private:
  TWin32Registry real_;
};
