// Cutting tokens off any text with any separator (the first byte): the tokens
// and separators put together again give the text.
#include "FuzzSupport.h"
#include "common/mString.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char separator = static_cast<char>(data[0]);
  const std::string text = fuzz::Text(data + 1, size - 1);
  std::string rest = text;
  std::string rebuilt;
  bool first = true;
  while (!rest.empty()) {
    const size_t before = rest.size();
    const bool hadSeparator = rest.find(separator) != std::string::npos;
    const std::string token = NextToken(rest, separator);
    FUZZ_CHECK(token.find(separator) == std::string::npos);
    FUZZ_CHECK(token.size() + rest.size() + (hadSeparator ? 1 : 0) == before);
    if (!first) rebuilt += separator;
    rebuilt += token;
    first = false;
    if (!hadSeparator)
      FUZZ_CHECK(rest.empty());
    else if (rest.empty())
      rebuilt += separator;  // the text ended in a separator
  }
  FUZZ_CHECK(rebuilt == text);
  return 0;
}
