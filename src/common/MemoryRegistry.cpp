#include "common/MemoryRegistry.h"

#include <algorithm>
#include <cstring>

namespace tessaly {
namespace {

const long kErrFileNotFound = 2;
const long kErrAccessDenied = 5;
const long kErrInvalidHandle = 6;
const long kErrMoreData = 234;

std::vector<std::string> SplitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : path) {
    if (c == '\\') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool MemoryRegistry::Less::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Lower(x) < Lower(y); });
}

MemoryRegistry::Node* MemoryRegistry::NodeOf(RegHandle key) const {
  auto h = handles_.find(key);
  if (h != handles_.end()) return h->second;
  auto r = roots_.find(key);
  if (r != roots_.end()) return const_cast<Node*>(&r->second);
  return nullptr;
}

MemoryRegistry::Node* MemoryRegistry::Resolve(RegHandle base, const std::string& subKey, bool create) {
  Node* node = NodeOf(base);
  if (!node) {
    if (base < PredefinedRoot(kHKeyClassesRoot) || base > PredefinedRoot(kHKeyDynData)) return nullptr;
    node = &roots_[base];
  }
  for (const std::string& part : SplitKeyPath(subKey)) {
    auto it = node->keys.find(part);
    if (it == node->keys.end()) {
      if (!create) return nullptr;
      it = node->keys.emplace(part, std::make_unique<Node>()).first;
    }
    node = it->second.get();
  }
  return node;
}

const MemoryRegistry::Node* MemoryRegistry::ResolveConst(RegHandle root, const std::string& path) const {
  auto r = roots_.find(root);
  if (r == roots_.end()) return nullptr;
  const Node* node = &r->second;
  for (const std::string& part : SplitKeyPath(path)) {
    auto it = node->keys.find(part);
    if (it == node->keys.end()) return nullptr;
    node = it->second.get();
  }
  return node;
}

long MemoryRegistry::OpenKey(RegHandle root, const std::string& subKey, unsigned, RegHandle& key) {
  Node* node = Resolve(root, subKey, false);
  if (!node) return kErrFileNotFound;
  key = nextHandle_++;
  handles_[key] = node;
  return kRegSuccess;
}

long MemoryRegistry::CreateKey(RegHandle root, const std::string& subKey, unsigned, RegHandle& key) {
  Node* node = Resolve(root, subKey, true);
  if (!node) return kErrInvalidHandle;
  key = nextHandle_++;
  handles_[key] = node;
  return kRegSuccess;
}

long MemoryRegistry::QueryValue(RegHandle key, const std::string& name, unsigned* type, unsigned char* data,
                                unsigned long* size) {
  Node* node = NodeOf(key);
  if (!node) return kErrInvalidHandle;
  auto it = node->values.find(name);
  if (it == node->values.end()) return kErrFileNotFound;
  const Value& v = it->second;
  if (type) *type = v.type;
  if (!size) return data ? kErrAccessDenied : kRegSuccess;
  if (data) {
    if (*size < v.data.size()) {
      *size = static_cast<unsigned long>(v.data.size());
      return kErrMoreData;
    }
    if (!v.data.empty()) std::memcpy(data, v.data.data(), v.data.size());
  }
  *size = static_cast<unsigned long>(v.data.size());
  return kRegSuccess;
}

long MemoryRegistry::SetValue(RegHandle key, const std::string& name, unsigned type, const unsigned char* data,
                              unsigned long size) {
  Node* node = NodeOf(key);
  if (!node) return kErrInvalidHandle;
  Value& v = node->values[name];
  v.type = type;
  v.data.assign(data, data + size);
  return kRegSuccess;
}

long MemoryRegistry::DeleteValue(RegHandle key, const std::string& name) {
  Node* node = NodeOf(key);
  if (!node) return kErrInvalidHandle;
  return node->values.erase(name) ? kRegSuccess : kErrFileNotFound;
}

long MemoryRegistry::DeleteKey(RegHandle key, const std::string& subKey) {
  Node* node = NodeOf(key);
  if (!node) return kErrInvalidHandle;
  std::vector<std::string> parts = SplitKeyPath(subKey);
  if (parts.empty()) return kErrAccessDenied;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    auto it = node->keys.find(parts[i]);
    if (it == node->keys.end()) return kErrFileNotFound;
    node = it->second.get();
  }
  auto it = node->keys.find(parts.back());
  if (it == node->keys.end()) return kErrFileNotFound;
  if (!it->second->keys.empty()) return kErrAccessDenied;
  Node* doomed = it->second.get();
  for (auto h = handles_.begin(); h != handles_.end();) h = (h->second == doomed) ? handles_.erase(h) : std::next(h);
  node->keys.erase(it);
  return kRegSuccess;
}

long MemoryRegistry::CloseKey(RegHandle key) { return handles_.erase(key) ? kRegSuccess : kErrInvalidHandle; }

const MemoryRegistry::Value* MemoryRegistry::Find(RegHandle root, const std::string& path,
                                                  const std::string& name) const {
  const Node* node = ResolveConst(root, path);
  if (!node) return nullptr;
  auto it = node->values.find(name);
  return it == node->values.end() ? nullptr : &it->second;
}

bool MemoryRegistry::KeyExists(RegHandle root, const std::string& path) const {
  return ResolveConst(root, path) != nullptr;
}

}  // namespace tessaly
