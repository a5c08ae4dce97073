#include "uninstall/SurveyAddress.h"

namespace qmunins {
namespace {

bool StandsLiterally(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '-':
    case '.':
    case '_':
    case '~':
    case '!':
    case '$':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case ';':
    case '=':
    case ':':
    case '@':
    case '/':
    case '?': return true;
    default: return false;
  }
}

}  // namespace

std::string PercentEncodeQuery(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (StandsLiterally(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string SurveyAddress(std::string base, const std::string& commandLine) {
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base + "/uninstall.htm?" + PercentEncodeQuery(commandLine);
}

}  // namespace qmunins
