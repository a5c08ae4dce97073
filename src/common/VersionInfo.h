#pragma once

#include <string>

namespace tessaly {

// A string of the running program's own version information ("CompanyName",
// "ProductName", ...), or the empty text when there is none.
std::string OwnVersionString(const std::string& name);

}  // namespace tessaly
