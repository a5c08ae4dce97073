// The handful of registry calls the settings store needs, so the store can run
// on the real registry or on an in-memory stand-in.
#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

using RegHandle = uintptr_t;

// Predefined roots, with the platform's handle values.
inline RegHandle PredefinedRoot(uint32_t value) {
  return static_cast<RegHandle>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}
const uint32_t kHKeyClassesRoot = 0x80000000u;
const uint32_t kHKeyCurrentUser = 0x80000001u;
const uint32_t kHKeyLocalMachine = 0x80000002u;
const uint32_t kHKeyDynData = 0x80000006u;

const unsigned kKeyAllAccess = 0xF003F;
const unsigned kKeyRead = 0x20019;
const unsigned kRegSz = 1;
const unsigned kRegDword = 4;
const long kRegSuccess = 0;

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;
  virtual long OpenKey(RegHandle root, const std::string& subKey, unsigned access, RegHandle& key) = 0;
  virtual long CreateKey(RegHandle root, const std::string& subKey, unsigned access, RegHandle& key) = 0;
  // name "" is the key's unnamed value. data may be null to ask for the size.
  virtual long QueryValue(RegHandle key, const std::string& name, unsigned* type, unsigned char* data,
                          unsigned long* size) = 0;
  virtual long SetValue(RegHandle key, const std::string& name, unsigned type, const unsigned char* data,
                        unsigned long size) = 0;
  virtual long DeleteValue(RegHandle key, const std::string& name) = 0;
  virtual long DeleteKey(RegHandle key, const std::string& subKey) = 0;
  virtual long CloseKey(RegHandle key) = 0;
};

// The registry of the running platform.
RegistryApi& SystemRegistry();

// A key of a RegistryApi, closed when it goes. It holds a key only once an
// open or create has succeeded; a failed one leaves it as it was.
class RegKey {
 public:
  explicit RegKey(RegistryApi& api) : api_(api) {}
  ~RegKey() { reset(); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  // OpenKey / CreateKey; their result.
  long Open(RegHandle root, const std::string& subKey, unsigned access) {
    RegHandle key = 0;
    const long rc = api_.OpenKey(root, subKey, access, key);
    return Adopt(rc, key);
  }
  long Create(RegHandle root, const std::string& subKey, unsigned access) {
    RegHandle key = 0;
    const long rc = api_.CreateKey(root, subKey, access, key);
    return Adopt(rc, key);
  }
  RegHandle get() const { return key_; }
  explicit operator bool() const { return open_; }

 private:
  long Adopt(long rc, RegHandle key) {
    if (rc != kRegSuccess) return rc;
    reset();
    key_ = key;
    open_ = true;
    return rc;
  }
  void reset() {
    if (open_) api_.CloseKey(key_);
    open_ = false;
    key_ = 0;
  }

  RegistryApi& api_;
  RegHandle key_ = 0;
  bool open_ = false;
};

}  // namespace tessaly
