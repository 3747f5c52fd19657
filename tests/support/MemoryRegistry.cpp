#include "MemoryRegistry.h"

#include <algorithm>

#include "platform/Exception.h"

namespace {

constexpr std::size_t kMaxKeyNameLength = 255;

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return static_cast<unsigned char>(FoldCase(x)) < static_cast<unsigned char>(FoldCase(y));
    });
  }
};

// "A\\B\\" -> {"A", "B"}; empty components are skipped.
std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

enum class ValueType { Integer, String, Binary };

}  // namespace

struct TMemoryRegistry::Node {
  struct Value {
    std::string name;
    ValueType type;
    std::int32_t integer = 0;
    std::string bytes;
  };
  std::vector<Value> values;  // in the order they were first written
  std::map<std::string, std::shared_ptr<Node>, NameLess> subkeys;
  bool deleted = false;
  bool denied = false;

  Value* FindValue(const std::string& name) {
    for (auto& v : values) {
      if (SameName(v.name, name)) return &v;
    }
    return nullptr;
  }

  void MarkDeleted() {
    deleted = true;
    for (auto& [name, child] : subkeys) child->MarkDeleted();
  }
};

struct TMemoryRegistry::State {
  bool read_only = false;
  int write_count = 0;
  std::shared_ptr<Node> roots[3] = {std::make_shared<Node>(), std::make_shared<Node>(),
                                    std::make_shared<Node>()};
};

namespace {

using Node = TMemoryRegistry::Node;
using State = TMemoryRegistry::State;

std::shared_ptr<Node> Walk(const std::shared_ptr<State>& state, std::shared_ptr<Node> node,
                           const std::string& path, bool create) {
  if (node->deleted) return nullptr;
  for (const std::string& part : SplitPath(path)) {
    if (part.size() > kMaxKeyNameLength) return nullptr;
    auto it = node->subkeys.find(part);
    if (it == node->subkeys.end()) {
      if (!create || state->read_only) return nullptr;
      it = node->subkeys.emplace(part, std::make_shared<Node>()).first;
    }
    node = it->second;
    if (node->denied) return nullptr;
  }
  return node;
}

class TMemoryRegistryKey : public IRegistryKey {
 public:
  TMemoryRegistryKey(std::shared_ptr<State> state, std::shared_ptr<Node> node)
      : state_(std::move(state)), node_(std::move(node)) {}

  std::unique_ptr<IRegistryKey> OpenKey(const std::string& path, bool create) override {
    auto node = Walk(state_, node_, path, create);
    if (!node) return nullptr;
    return std::make_unique<TMemoryRegistryKey>(state_, node);
  }

  std::optional<std::int32_t> ReadInteger(const std::string& name) override {
    const Node::Value* v = Find(name, ValueType::Integer);
    if (!v) return std::nullopt;
    return v->integer;
  }
  std::optional<std::string> ReadString(const std::string& name) override {
    const Node::Value* v = Find(name, ValueType::String);
    if (!v) return std::nullopt;
    // A stored string ends at its first NUL, as it does in the real store.
    return v->bytes.substr(0, v->bytes.find('\0'));
  }
  std::optional<std::string> ReadBinary(const std::string& name) override {
    const Node::Value* v = Find(name, ValueType::Binary);
    if (!v) return std::nullopt;
    return v->bytes;
  }

  void WriteInteger(const std::string& name, std::int32_t value) override {
    Write(name, ValueType::Integer, value, std::string());
  }
  void WriteString(const std::string& name, const std::string& value) override {
    Write(name, ValueType::String, 0, value);
  }
  void WriteBinary(const std::string& name, const std::string& bytes) override {
    Write(name, ValueType::Binary, 0, bytes);
  }

  bool ValueExists(const std::string& name) override {
    return !node_->deleted && node_->FindValue(name) != nullptr;
  }
  bool DeleteValue(const std::string& name) override {
    if (node_->deleted || state_->read_only) return false;
    auto& values = node_->values;
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const Node::Value& v) { return SameName(v.name, name); });
    if (it == values.end()) return false;
    values.erase(it);
    return true;
  }
  bool DeleteKey(const std::string& path) override {
    if (node_->deleted || state_->read_only) return false;
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) return false;
    const std::string last = parts.back();
    parts.pop_back();
    std::shared_ptr<Node> parent = node_;
    for (const std::string& part : parts) {
      auto it = parent->subkeys.find(part);
      if (it == parent->subkeys.end()) return false;
      parent = it->second;
    }
    auto it = parent->subkeys.find(last);
    if (it == parent->subkeys.end()) return false;
    it->second->MarkDeleted();
    parent->subkeys.erase(it);
    return true;
  }
  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    if (node_->deleted) return names;
    for (const auto& v : node_->values) names.push_back(v.name);
    return names;
  }
  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    if (node_->deleted) return names;
    for (const auto& [name, child] : node_->subkeys) names.push_back(name);
    return names;
  }

 private:
  const Node::Value* Find(const std::string& name, ValueType type) {
    if (node_->deleted) return nullptr;
    const Node::Value* v = node_->FindValue(name);
    if (!v || v->type != type) return nullptr;
    return v;
  }

  void Write(const std::string& name, ValueType type, std::int32_t integer,
             const std::string& bytes) {
    if (node_->deleted || state_->read_only) {
      throw Exception("Failed to set data for '" + name + "'");
    }
    ++state_->write_count;
    Node::Value* v = node_->FindValue(name);
    if (!v) {
      node_->values.push_back(Node::Value{name, type, 0, std::string()});
      v = &node_->values.back();
    }
    v->type = type;
    v->integer = integer;
    v->bytes = bytes;
  }

  std::shared_ptr<State> state_;
  std::shared_ptr<Node> node_;
};

}  // namespace

TMemoryRegistry::TMemoryRegistry() : state_(std::make_shared<State>()) {}
TMemoryRegistry::~TMemoryRegistry() = default;

std::unique_ptr<IRegistryKey> TMemoryRegistry::Open(TRegistryRoot root, const std::string& path,
                                                    bool create) {
  auto node = Walk(state_, state_->roots[static_cast<int>(root)], path, create);
  if (!node) return nullptr;
  return std::make_unique<TMemoryRegistryKey>(state_, node);
}

void TMemoryRegistry::DenyAccess(TRegistryRoot root, const std::string& path) {
  std::shared_ptr<Node> node = state_->roots[static_cast<int>(root)];
  for (const std::string& part : SplitPath(path)) {
    auto it = node->subkeys.find(part);
    if (it == node->subkeys.end()) it = node->subkeys.emplace(part, std::make_shared<Node>()).first;
    node = it->second;
  }
  node->denied = true;
}

void TMemoryRegistry::SetReadOnly(bool value) { state_->read_only = value; }
bool TMemoryRegistry::ReadOnly() const { return state_->read_only; }
int TMemoryRegistry::WriteCount() const { return state_->write_count; }
