#include "SurveyAddress.h"

#include <cstring>

namespace qmunins {

std::string PercentEncodeQuery(const std::string& text) {
  static const char kLiteral[] = "-._~!$&'()*+,;=:@/?";
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (alnum || (c != 0 && std::strchr(kLiteral, c))) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string SurveyAddress(std::string base, const std::string& commandLine) {
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base + "/uninstall.htm?" + PercentEncodeQuery(commandLine);
}

}  // namespace qmunins
