#pragma once
// An in-memory registry that behaves like the real one where the program can
// tell: key and value names are case-insensitive (the first spelling is kept),
// typed reads fail on missing or differently typed values, strings read back
// up to their first NUL, deleting a key deletes everything below it, and a
// handle to a deleted key no longer reads or writes.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

class TMemoryRegistry : public IRegistry {
 public:
  TMemoryRegistry();
  ~TMemoryRegistry() override;

  std::unique_ptr<IRegistryKey> Open(TRegistryRoot root, const std::string& path,
                                     bool create) override;

  // While set, keys cannot be created and every write raises, like a store
  // the user may not change. Existing keys still open and read.
  void SetReadOnly(bool value);
  bool ReadOnly() const;

  // Makes an existing or new key at path refuse to open, like a key whose
  // permissions shut the user out. The key exists and is listed by its parent.
  void DenyAccess(TRegistryRoot root, const std::string& path);

  // Number of typed writes so far (for tests that check nothing was written).
  int WriteCount() const;

  struct Node;
  struct State;

 private:
  std::shared_ptr<State> state_;
};
