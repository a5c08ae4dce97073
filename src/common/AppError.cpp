#include "common/AppError.h"

namespace tessaly {

std::string DiagnosticText(const std::string& procName, const AppError& err) {
  return "sProcNm=" + procName + " Num=" + std::to_string(err.Number()) + " Src=" + err.Source();
}

std::string ProgramErrorText(const AppError& err) {
  return "The following error was encountered:\r" + std::to_string(err.Number()) + ": " + err.Description() +
         err.Source() + "\rPlease report this error to the manufacturer.";
}

std::string PlayListErrorText(const std::string& verb, const AppError& err) {
  return "Unable to " + verb + " Play List File.  " + err.Description();
}

}  // namespace tessaly
