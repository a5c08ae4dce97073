#include "common/CRegSettings.h"

#include <vector>

#include "common/Convert.h"

namespace tessaly {
namespace {

// "*" stands for the key's unnamed value.
std::string ValueName(const std::string& key) { return key == "*" ? std::string() : key; }

}  // namespace

CRegSettings::CRegSettings(RegistryApi& api, std::string defaultCompany, std::string defaultAppName)
    : api_(api),
      defaultCompany_(std::move(defaultCompany)),
      defaultAppName_(std::move(defaultAppName)),
      company_(defaultCompany_),
      appName_(defaultAppName_) {}

void CRegSettings::SetCompany(const std::string& NewVal) { company_ = NewVal.empty() ? defaultCompany_ : Trim(NewVal); }

void CRegSettings::SetAppName(const std::string& NewVal) { appName_ = NewVal.empty() ? defaultAppName_ : Trim(NewVal); }

std::string CRegSettings::BuildKeyPath(const std::string& Section) const {
  std::string path = "Software\\" + company_ + "\\" + appName_;
  if (!Section.empty()) path += "\\" + Section;
  return path;
}

std::string CRegSettings::GetSetting(const std::string& Section, const std::string& Key, const std::string& Default,
                                     RegHandle lKeyType) {
  RegKey key(api_);
  if (key.Open(lKeyType, BuildKeyPath(Section), kKeyAllAccess) != kRegSuccess) return Default;
  const std::string name = ValueName(Key);
  unsigned long size = 0;
  if (api_.QueryValue(key.get(), name, nullptr, nullptr, &size) != kRegSuccess || size == 0) return Default;
  std::vector<unsigned char> buffer(size, ' ');
  unsigned long length = size;
  if (api_.QueryValue(key.get(), name, nullptr, buffer.data(), &length) != kRegSuccess) return Default;
  // The stored text without its terminating NUL: the last byte is dropped.
  return std::string(reinterpret_cast<const char*>(buffer.data()), size - 1);
}

bool CRegSettings::SaveSetting(const std::string& Section, const std::string& Key, const std::string& Setting,
                               RegHandle lKeyType) {
  RegKey key(api_);
  if (key.Create(lKeyType, BuildKeyPath(Section), kKeyAllAccess) != kRegSuccess) return false;
  // A non-empty text is stored with its terminating NUL, so the reader's
  // dropped last byte is that NUL whatever the platform does with unterminated
  // data; an empty text is stored as zero bytes.
  const unsigned long size = Setting.empty() ? 0 : static_cast<unsigned long>(Setting.size() + 1);
  return api_.SetValue(key.get(), ValueName(Key), kRegSz, reinterpret_cast<const unsigned char*>(Setting.c_str()),
                       size) == kRegSuccess;
}

bool CRegSettings::DeleteSetting(const std::string& Section, const std::string& Key, RegHandle lKeyType) {
  RegKey key(api_);
  if (!Key.empty()) {
    if (key.Open(lKeyType, BuildKeyPath(Section), kKeyAllAccess) != kRegSuccess) return false;
    return api_.DeleteValue(key.get(), ValueName(Key)) == kRegSuccess;
  }
  if (key.Open(lKeyType, BuildKeyPath(std::string()), kKeyAllAccess) != kRegSuccess) return false;
  return api_.DeleteKey(key.get(), Section) == kRegSuccess;
}

}  // namespace tessaly
