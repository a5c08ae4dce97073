#include "dialogs/AboutInfo.h"

#include <vector>

#include "common/CRegSettings.h"
#include "common/ProductNames.h"

namespace tessaly {

const char kSysInfoPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char kSysInfoFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

namespace {

const unsigned long kValueBuffer = 1024;
const char kSysInfoExe[] = "\\MSINFO32.EXE";

}  // namespace

bool GetKeyValue(RegistryApi& registry, RegHandle KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal) {
  KeyVal.clear();
  RegKey key(registry);
  // Read access is enough, and all a standard user has under
  // HKEY_LOCAL_MACHINE: asking for write access there fails for them.
  if (key.Open(KeyRoot, KeyName, kKeyRead) != kRegSuccess) return false;
  std::vector<unsigned char> buffer(kValueBuffer, 0);
  unsigned type = 0;
  unsigned long size = kValueBuffer;
  if (registry.QueryValue(key.get(), SubKeyRef, &type, buffer.data(), &size) != kRegSuccess) return false;
  std::size_t n = size > kValueBuffer ? kValueBuffer : size;
  if (n > 0 && buffer[n - 1] == 0) --n;
  if (type == kRegSz) KeyVal.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n));
  return true;
}

std::string SysInfoProgram(RegistryApi& registry, FileSystem& fs) {
  const RegHandle machine = PredefinedRoot(kHKeyLocalMachine);
  std::string value;
  if (GetKeyValue(registry, machine, kSysInfoPathKey, "PATH", value)) return value;
  if (GetKeyValue(registry, machine, kSysInfoFolderKey, "MSINFO", value)) {
    const std::string program = value + kSysInfoExe;
    if (!value.empty() && !fs.Find(program, kAttrNormal).empty()) return program;
  }
  return std::string();
}

std::string MakerAddress(RegistryApi& registry, const std::string& buildDefault) {
  CRegSettings wrapper(registry, TESSALY_COMPANY_NAME, "qmunins");
  std::string address = wrapper.GetSetting("", "BaseAddress", buildDefault);
  if (address.empty()) address = buildDefault;
  if (!address.empty() && address.back() == '/') address.pop_back();
  return address;
}

}  // namespace tessaly
