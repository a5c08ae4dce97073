#pragma once

#include <string>

namespace tessaly {

// A string of the running program's own version information ("CompanyName",
// "ProductName", ...), or the empty text when there is none.
std::string OwnVersionString(const std::string& name);

// The major, minor and revision numbers of the running program's file
// version (its first three fields); false when it has none.
struct VersionNumbers {
  int major = 0, minor = 0, revision = 0;
};
bool OwnVersionNumbers(VersionNumbers& numbers);

}  // namespace tessaly
