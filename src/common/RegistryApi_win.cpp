#include <windows.h>

#include "common/RegistryApi.h"

namespace tessaly {
namespace {

HKEY AsHkey(RegHandle h) { return reinterpret_cast<HKEY>(h); }
const char* AsName(const std::string& name) { return name.c_str(); }

class Win32Registry : public RegistryApi {
 public:
  long OpenKey(RegHandle root, const std::string& subKey, unsigned access, RegHandle& key) override {
    HKEY out = nullptr;
    LONG rc = RegOpenKeyExA(AsHkey(root), subKey.c_str(), 0, access, &out);
    key = reinterpret_cast<RegHandle>(out);
    return rc;
  }
  long CreateKey(RegHandle root, const std::string& subKey, unsigned access, RegHandle& key) override {
    HKEY out = nullptr;
    LONG rc = RegCreateKeyExA(AsHkey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              access, nullptr, &out, nullptr);
    key = reinterpret_cast<RegHandle>(out);
    return rc;
  }
  long QueryValue(RegHandle key, const std::string& name, unsigned* type, unsigned char* data,
                  unsigned long* size) override {
    DWORD t = 0;
    DWORD s = size ? static_cast<DWORD>(*size) : 0;
    LONG rc = RegQueryValueExA(AsHkey(key), AsName(name), nullptr, &t, data, size ? &s : nullptr);
    if (type) *type = t;
    if (size) *size = s;
    return rc;
  }
  long SetValue(RegHandle key, const std::string& name, unsigned type, const unsigned char* data,
                unsigned long size) override {
    return RegSetValueExA(AsHkey(key), AsName(name), 0, type, data, static_cast<DWORD>(size));
  }
  long DeleteValue(RegHandle key, const std::string& name) override {
    return RegDeleteValueA(AsHkey(key), AsName(name));
  }
  long DeleteKey(RegHandle key, const std::string& subKey) override {
    return RegDeleteKeyA(AsHkey(key), subKey.c_str());
  }
  long CloseKey(RegHandle key) override { return RegCloseKey(AsHkey(key)); }
};

}  // namespace

RegistryApi& SystemRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace tessaly
