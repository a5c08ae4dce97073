// The one error type of the program: an error number, a description and the
// name of the procedure or module that raised it, as the user-facing
// messages show them.
#pragma once

#include <stdexcept>
#include <string>

namespace tessaly {

// Error numbers used across the program.
enum ErrorNumber : long {
  kErrInvalidCall = 5,    // invalid procedure call or argument
  kErrOverflow = 6,       // a number beyond the range of its type
  kErrSubscript = 9,      // an item index outside a collection
  kErrTypeMismatch = 13,  // a text that does not read as a number
  kErrOutOfMemory = 7,
  kErrBadFileName = 52,  // bad file name or number
  kErrFileNotFound = 53,
  kErrDeviceIO = 57,  // device I/O error
  kErrFileExists = 58,
  kErrDiskFull = 61,
  kErrTooManyFiles = 67,
  kErrDeviceUnavailable = 68,
  kErrPermissionDenied = 70,
  kErrDiskNotReady = 71,
  kErrPathFileAccess = 75,  // path/file access error
  kErrPathNotFound = 76,
  kErrInvalidPropertyValue = 380,  // a control given a value it cannot take
  kErrNoSuchMember = 438,          // object doesn't support this property or method
  kErrInvalidPicture = 481,        // a file that is no picture the loader reads
};

class AppError : public std::runtime_error {
 public:
  AppError(long number, std::string description, std::string source)
      : std::runtime_error(description),
        number_(number),
        description_(std::move(description)),
        source_(std::move(source)) {}

  long Number() const { return number_; }
  const std::string& Description() const { return description_; }
  const std::string& Source() const { return source_; }

 private:
  long number_;
  std::string description_;
  std::string source_;
};

// The errors raised by name, each with the number and text the messages show.
namespace errors {
inline AppError InvalidPropertyValue(std::string source) {
  return AppError(kErrInvalidPropertyValue, "Invalid property value", std::move(source));
}
inline AppError NoSuchMember(std::string source) {
  return AppError(kErrNoSuchMember, "Object doesn't support this property or method", std::move(source));
}
inline AppError InvalidPicture(std::string source) {
  return AppError(kErrInvalidPicture, "Invalid picture", std::move(source));
}
inline AppError DiskNotReady(std::string source) {
  return AppError(kErrDiskNotReady, "Disk not ready", std::move(source));
}
inline AppError BadFileName(std::string source) {
  return AppError(kErrBadFileName, "Bad file name or number", std::move(source));
}
}  // namespace errors

// "sProcNm=<proc> Num=<number> Src=<source>": the diagnostic text shown by
// handlers that report an error and carry on.
std::string DiagnosticText(const std::string& procName, const AppError& err);

// The start-up handler's message: "The following error was encountered:" CR
// number ": " description+source CR "Please report this error to the
// manufacturer."
std::string ProgramErrorText(const AppError& err);

// "Unable to <verb> Play List File.  " + description.
std::string PlayListErrorText(const std::string& verb, const AppError& err);

}  // namespace tessaly
