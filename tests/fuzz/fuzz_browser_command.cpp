// The command the system registers for web addresses (read from the
// registry) and the help page's path, as the help puts them together: the
// input is the command, a NUL, then the path.
#include "FuzzSupport.h"
#include "common/HelpPage.h"

using namespace tessaly;

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The address's percent-encoding undone; every "%" starts a complete escape.
std::string Decoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    FUZZ_CHECK(i + 2 < text.size());
    const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
    FUZZ_CHECK(high >= 0 && low >= 0);
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = fuzz::Text(data, size);
  const size_t nul = input.find('\0');
  const std::string command = input.substr(0, nul);
  std::string path = nul == std::string::npos ? std::string("C:\\TSCSS.htm") : input.substr(nul + 1);

  const std::string tail = std::string("#") + help::kIndex;
  const std::string address = help::PageAddress(path, help::kIndex);
  // One word on any command line, whatever the path holds, with the anchor
  // at its end and nowhere else.
  for (const char c : address) FUZZ_CHECK(c > ' ' && c < 0x7F && c != '"');
  FUZZ_CHECK(address.size() > tail.size() && address.find('#') == address.size() - tail.size());
  FUZZ_CHECK(address.compare(address.size() - tail.size(), tail.size(), tail) == 0);
  // The file it names is the path, its backslashes as slashes.
  for (char& c : path)
    if (c == '\\') c = '/';
  const bool unc = path.size() >= 2 && path[0] == '/' && path[1] == '/';
  FUZZ_CHECK(Decoded(address.substr(0, address.size() - tail.size())) == (unc ? "file:" : "file:///") + path);

  // The command line holds the address whole, and nothing beyond what the
  // command and one address per placeholder make.
  const std::string line = help::BrowserCommandLine(command, address);
  FUZZ_CHECK(line.find(address) != std::string::npos);
  size_t placeholders = 0;
  for (size_t i = 0; i + 1 < command.size(); ++i)
    if (command[i] == '%') ++placeholders, ++i;
  FUZZ_CHECK(line.size() <= command.size() + (placeholders + 1) * address.size() + 1);
  return 0;
}
