#pragma once
// The real registry behind the program's registry seam (ANSI functions).
#include <memory>
#include <string>

#include "platform/Registry.h"

class TWin32Registry : public IRegistry {
 public:
  std::unique_ptr<IRegistryKey> Open(TRegistryRoot root, const std::string& path,
                                     bool create) override;
};
