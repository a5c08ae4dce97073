#pragma once

#include <string>

namespace qmunins {

// The Windows directory with a trailing "\", or "" when there is none.
std::string WindowsDirectory();
// The text up to its first NUL.
std::string StripNull(const std::string& text);
// Appends "\" unless the trimmed text ends in "/" or "\".
void AddBackslash(std::string& text);
// The arguments as the program received them (its own name removed).
std::string CommandLine();
// The maker's web address: the registry's "BaseAddress", else the built-in one.
std::string BaseAddress();

extern const char kAppTitle[];

}  // namespace qmunins
