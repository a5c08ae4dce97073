#include "common/HelpPage.h"

#include <cstring>

namespace tessaly::help {
namespace {

// The characters a URL path or fragment may hold as they are (RFC 3986
// pchar, without "%"); "/" separates the folders.
bool Plain(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return c != 0 && std::strchr("-._~!$&'()*+,;=:@/", c) != nullptr;
}

void AppendEncoded(std::string& out, const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch == '\\' ? '/' : ch);
    if (Plain(c)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
}

bool IsSlash(char c) { return c == '\\' || c == '/'; }

}  // namespace

const char* AnchorOfContext(unsigned long context) {
  for (const ContextTopic& topic : kContextTopics)
    if (topic.context == context) return topic.anchor;
  return kContents;
}

std::vector<std::string> Anchors() {
  std::vector<std::string> anchors{kContents, kIndex};
  for (const ContextTopic& topic : kContextTopics) anchors.emplace_back(topic.anchor);
  return anchors;
}

std::string PageAddress(const std::string& path, const std::string& anchor) {
  std::string address = "file://";
  if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) {
    AppendEncoded(address, path.substr(2));  // \\server\share\... -> file://server/share/...
  } else {
    address += '/';
    AppendEncoded(address, path);
  }
  if (!anchor.empty()) {
    address += '#';
    AppendEncoded(address, anchor);
  }
  return address;
}

std::string BrowserCommandLine(const std::string& command, const std::string& address) {
  std::string line;
  bool named = false;
  for (std::size_t i = 0; i < command.size(); ++i) {
    if (command[i] != '%' || i + 1 == command.size()) {
      line += command[i];
      continue;
    }
    const char code = command[++i];
    if (code == '0' || code == '1' || code == 'L' || code == 'l') {
      line += address;
      named = true;
    } else if (code == '%') {
      line += '%';
    }
    // Any other placeholder (the other arguments, an item list ...) stands
    // for nothing here.
  }
  if (!named) {
    if (!line.empty() && line.back() != ' ') line += ' ';
    line += address;
  }
  return line;
}

}  // namespace tessaly::help
