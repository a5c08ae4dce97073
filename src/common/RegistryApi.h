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
  virtual long QueryValue(RegHandle key, const std::string& name, unsigned* type,
                          unsigned char* data, unsigned long* size) = 0;
  virtual long SetValue(RegHandle key, const std::string& name, unsigned type,
                        const unsigned char* data, unsigned long size) = 0;
  virtual long DeleteValue(RegHandle key, const std::string& name) = 0;
  virtual long DeleteKey(RegHandle key, const std::string& subKey) = 0;
  virtual long CloseKey(RegHandle key) = 0;
};

// The registry of the running platform.
RegistryApi& SystemRegistry();

// Closes a key on scope exit.
class ScopedRegKey {
 public:
  explicit ScopedRegKey(RegistryApi& api) : api_(api) {}
  ~ScopedRegKey() {
    if (open_) api_.CloseKey(key_);
  }
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;
  RegHandle& Out() { open_ = true; return key_; }
  void Forget() { open_ = false; }
  RegHandle Get() const { return key_; }

 private:
  RegistryApi& api_;
  RegHandle key_ = 0;
  bool open_ = false;
};

}  // namespace tessaly
