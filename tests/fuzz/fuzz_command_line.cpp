// The command line as the program receives it: its argument string, the mode
// and the window handle after "/P" or "/A".
#include "common/AppError.h"
#include "common/Convert.h"
#include "FuzzSupport.h"
#include "startup/StartupCore.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string commandLine = fuzz::Text(data, size);
  const std::string arguments = ArgumentString(commandLine);
  FUZZ_CHECK(arguments.size() <= commandLine.size());
  FUZZ_CHECK(commandLine.compare(commandLine.size() - arguments.size(), arguments.size(), arguments) == 0);
  FUZZ_CHECK(arguments.empty() || (arguments[0] != ' ' && arguments[0] != '\t'));
  const std::string mode = CommandModeOf(arguments);
  FUZZ_CHECK(!mode.empty() && mode.size() <= 2);
  try {
    HandleArgument(arguments);
  } catch (const AppError& e) {
    FUZZ_CHECK(e.Number() == kErrOverflow);
  }
  const size_t install = InstallPosition(arguments);
  if (install > 0) {
    const std::string folder = InstallFolder(arguments, install);
    FUZZ_CHECK(folder == Trim(folder));
  }
  return 0;
}
