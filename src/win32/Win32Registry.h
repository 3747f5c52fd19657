#pragma once
// The real registry behind the program's registry seam. Key names, value names
// and string values are UTF-8 in the program and UTF-16 in the registry, so
// strings the earlier ANSI program stored read back as the same text.
#include <memory>
#include <string>

#include "platform/Registry.h"

class TWin32Registry : public IRegistry {
 public:
  std::unique_ptr<IRegistryKey> Open(TRegistryRoot root, const std::string& path,
                                     bool create) override;
};
