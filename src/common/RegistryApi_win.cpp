// The registry through its wide calls. Names, key paths and the text of
// string values are UTF-8 on the program's side: a REG_SZ value is read as
// the UTF-8 of what the registry holds (which is UTF-16, whatever call wrote
// it, so values written by the A calls of earlier versions read the same)
// and written from UTF-8. Data of other types passes byte for byte.
#include <windows.h>

#include <vector>

#include "common/RegistryApi.h"
#include "common/WideText_win.h"

namespace tessaly {
namespace {

HKEY AsHkey(RegHandle h) { return reinterpret_cast<HKEY>(h); }

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The value's data as the program sees it: text as UTF-8 (the terminating
// NUL unit, where stored, a NUL byte), anything else as stored.
LONG ReadValue(HKEY key, const std::wstring& name, DWORD& type, std::string& data) {
  std::vector<BYTE> raw;
  for (;;) {
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) return rc;
    raw.assign(size, 0);
    rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, raw.empty() ? nullptr : raw.data(), &size);
    if (rc == ERROR_MORE_DATA) continue;  // the value grew meanwhile
    if (rc != ERROR_SUCCESS) return rc;
    raw.resize(size);
    break;
  }
  if (IsText(type)) {
    std::wstring wide(raw.size() / sizeof(wchar_t), L'\0');
    if (!wide.empty()) memcpy(&wide[0], raw.data(), wide.size() * sizeof(wchar_t));
    data = Utf8(std::wstring_view(wide));
    if (raw.size() % sizeof(wchar_t)) data += static_cast<char>(raw.back());  // an odd last byte
  } else {
    data.assign(raw.begin(), raw.end());
  }
  return ERROR_SUCCESS;
}

class Win32Registry : public RegistryApi {
 public:
  long OpenKey(RegHandle root, const std::string& subKey, unsigned access, RegHandle& key) override {
    HKEY out = nullptr;
    LONG rc = RegOpenKeyExW(AsHkey(root), Wide(subKey).c_str(), 0, access, &out);
    key = reinterpret_cast<RegHandle>(out);
    return rc;
  }
  long CreateKey(RegHandle root, const std::string& subKey, unsigned access, RegHandle& key) override {
    HKEY out = nullptr;
    LONG rc = RegCreateKeyExW(AsHkey(root), Wide(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                              &out, nullptr);
    key = reinterpret_cast<RegHandle>(out);
    return rc;
  }
  long QueryValue(RegHandle key, const std::string& name, unsigned* type, unsigned char* data,
                  unsigned long* size) override {
    DWORD t = 0;
    std::string value;
    const LONG rc = ReadValue(AsHkey(key), Wide(name), t, value);
    if (type) *type = t;
    if (rc != ERROR_SUCCESS) return rc;
    if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    const unsigned long room = *size;
    *size = static_cast<unsigned long>(value.size());
    if (!data) return ERROR_SUCCESS;
    if (room < value.size()) return ERROR_MORE_DATA;
    memcpy(data, value.data(), value.size());
    return ERROR_SUCCESS;
  }
  long SetValue(RegHandle key, const std::string& name, unsigned type, const unsigned char* data,
                unsigned long size) override {
    if (!IsText(type)) return RegSetValueExW(AsHkey(key), Wide(name).c_str(), 0, type, data, size);
    // The UTF-8 bytes given, with the NUL the caller counted, as UTF-16.
    const std::wstring wide = Wide(std::string_view(reinterpret_cast<const char*>(data), size));
    return RegSetValueExW(AsHkey(key), Wide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(wide.data()),
                          static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
  }
  long DeleteValue(RegHandle key, const std::string& name) override {
    return RegDeleteValueW(AsHkey(key), Wide(name).c_str());
  }
  long DeleteKey(RegHandle key, const std::string& subKey) override {
    return RegDeleteKeyW(AsHkey(key), Wide(subKey).c_str());
  }
  long CloseKey(RegHandle key) override { return RegCloseKey(AsHkey(key)); }
};

}  // namespace

RegistryApi& SystemRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace tessaly
