// The program's settings store: string values in sections below
// "Software\<Company>\<AppName>" of a registry root. Reports failures only
// through its results; never raises and never shows a message.
#pragma once

#include <string>

#include "common/RegistryApi.h"

namespace tessaly {

class CRegSettings {
 public:
  CRegSettings(RegistryApi& api, std::string defaultCompany, std::string defaultAppName);

  void SetCompany(const std::string& NewVal);
  const std::string& Company() const { return company_; }
  void SetAppName(const std::string& NewVal);
  const std::string& AppName() const { return appName_; }

  bool DeleteSetting(const std::string& Section, const std::string& Key = std::string(),
                     RegHandle lKeyType = PredefinedRoot(kHKeyCurrentUser));
  std::string GetSetting(const std::string& Section, const std::string& Key, const std::string& Default = std::string(),
                         RegHandle lKeyType = PredefinedRoot(kHKeyCurrentUser));
  bool SaveSetting(const std::string& Section, const std::string& Key, const std::string& Setting,
                   RegHandle lKeyType = PredefinedRoot(kHKeyCurrentUser));

 private:
  std::string BuildKeyPath(const std::string& Section) const;

  RegistryApi& api_;
  std::string defaultCompany_;
  std::string defaultAppName_;
  std::string company_;
  std::string appName_;
};

}  // namespace tessaly
