// Start-up of the uninstall wrapper: Add/Remove Programs starts qmunins.exe
// with the uninstaller's arguments; the wrapper asks for the survey and then
// hands the arguments, untouched, to st6unst.exe in the Windows directory.
#pragma once

#include <string>

namespace Module1 {

// The program's title, used for its own messages.
extern const char kAppTitle[];

// Runs the wrapper; returns the process exit code.
int Main();

// The Windows directory with a trailing "\", or "" when it cannot be found.
std::string WindowsDirectory();

// The text up to its first NUL character; the whole text when it has none.
std::string StripNull(const std::string& text);

// Unless the text, trimmed of blanks at both ends, ends in "/" or "\", drops
// its trailing blanks and appends "\".
void AddBackslash(std::string& text);

// The argument text exactly as the program received it: the full command line
// with the program's own name and the blanks after it removed.
std::string CommandLine();

// The text after the program name of a full command line (Windows rules: a
// quoted name runs to its closing quote, otherwise up to the first blank).
std::string ArgumentsOf(const char* fullCommandLine);

// The survey site: the registry's "BaseAddress" when set, else the built-in one.
std::string BaseAddress();

}  // namespace Module1
