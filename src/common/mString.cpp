#include "common/mString.h"

namespace tessaly {

std::string NextToken(std::string& text, char separator) {
  size_t p = text.find(separator);
  if (p == std::string::npos) {
    std::string all;
    all.swap(text);
    return all;
  }
  std::string head = text.substr(0, p);
  text.erase(0, p + 1);
  return head;
}

}  // namespace tessaly
