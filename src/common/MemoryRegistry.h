// An in-memory registry that answers like the platform's: keys and value
// names are compared without regard to case, missing keys fail to open,
// a key with subkeys cannot be deleted, a too-small buffer gets "more data".
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "common/RegistryApi.h"

namespace tessaly {

class MemoryRegistry : public RegistryApi {
 public:
  struct Value {
    unsigned type = kRegSz;
    std::vector<unsigned char> data;
  };

  long OpenKey(RegHandle root, const std::string& subKey, unsigned access, RegHandle& key) override;
  long CreateKey(RegHandle root, const std::string& subKey, unsigned access, RegHandle& key) override;
  long QueryValue(RegHandle key, const std::string& name, unsigned* type, unsigned char* data,
                  unsigned long* size) override;
  long SetValue(RegHandle key, const std::string& name, unsigned type, const unsigned char* data,
                unsigned long size) override;
  long DeleteValue(RegHandle key, const std::string& name) override;
  long DeleteKey(RegHandle key, const std::string& subKey) override;
  long CloseKey(RegHandle key) override;

  // For tests: the raw value at root\path, or null.
  const Value* Find(RegHandle root, const std::string& path, const std::string& name) const;
  bool KeyExists(RegHandle root, const std::string& path) const;
  int OpenHandles() const { return static_cast<int>(handles_.size()); }

 private:
  struct Node;
  struct Less {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  struct Node {
    std::map<std::string, std::unique_ptr<Node>, Less> keys;
    std::map<std::string, Value, Less> values;
  };

  Node* Resolve(RegHandle base, const std::string& subKey, bool create);
  const Node* ResolveConst(RegHandle root, const std::string& path) const;
  Node* NodeOf(RegHandle key) const;

  std::map<RegHandle, Node> roots_;
  std::map<RegHandle, Node*> handles_;
  RegHandle nextHandle_ = 0x1000;
};

}  // namespace tessaly
