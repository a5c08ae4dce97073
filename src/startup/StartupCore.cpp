#include "startup/StartupCore.h"

#include <exception>

#include "common/Convert.h"

namespace tessaly {

std::string ArgumentString(const std::string& commandLine) {
  size_t i = 0;
  const size_t n = commandLine.size();
  if (i < n && commandLine[i] == '"') {
    size_t close = commandLine.find('"', 1);
    i = (close == std::string::npos) ? n : close + 1;
  } else {
    while (i < n && commandLine[i] != ' ' && commandLine[i] != '\t') ++i;
  }
  while (i < n && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
  return commandLine.substr(i);
}

std::string CommandModeOf(const std::string& arguments) {
  std::string mode = UpperCase(arguments.substr(0, 2));
  return mode.empty() ? "/C" : mode;
}

int32_t HandleArgument(const std::string& arguments) {
  return ToInt32(NumberOfText(arguments.size() > 2 ? arguments.substr(2) : std::string()));
}

size_t InstallPosition(const std::string& arguments) {
  size_t p = arguments.find("/INSTALL");
  return p == std::string::npos ? 0 : p + 1;
}

std::string InstallFolder(const std::string& arguments, size_t position) {
  size_t from = position + 9 - 1;  // after "/INSTALL" and one more character
  if (from >= arguments.size()) return std::string();
  return Trim(arguments.substr(from));
}

bool RunSteps(const std::vector<StartupStep>& steps, const std::function<ErrorChoice(const AppError&)>& onError) {
  for (size_t i = 0; i < steps.size();) {
    try {
      steps[i]();
      ++i;
    } catch (const AppError& err) {
      switch (onError(err)) {
        case ErrorChoice::Abort: return false;
        case ErrorChoice::Retry: break;
        case ErrorChoice::Ignore: ++i; break;
      }
    } catch (const std::exception& ex) {
      switch (onError(AppError(kErrInvalidCall, ex.what(), "Tessaly"))) {
        case ErrorChoice::Abort: return false;
        case ErrorChoice::Retry: break;
        case ErrorChoice::Ignore: ++i; break;
      }
    }
  }
  return true;
}

}  // namespace tessaly
