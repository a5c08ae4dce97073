// The mode the program runs in, read once at start-up from the two
// characters of its switch ("/C", "/S", "/P", "/A"; anything else is the
// installation, which looks for "/INSTALL" itself).
#pragma once

#include <string>

namespace tessaly {

enum class Mode { Configure, Show, Preview, Password, Install };

inline Mode ModeOfCommand(const std::string& commandMode) {
  if (commandMode == "/C") return Mode::Configure;
  if (commandMode == "/S") return Mode::Show;
  if (commandMode == "/P") return Mode::Preview;
  if (commandMode == "/A") return Mode::Password;
  return Mode::Install;
}

}  // namespace tessaly
