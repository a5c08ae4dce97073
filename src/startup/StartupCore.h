// Start-up decisions that need no window system: the argument string, the
// mode, the installation folder and the sample entries, and the start-up run
// as a list of steps that the error handler can repeat or skip.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/AppError.h"
#include "common/mListBox.h"  // MakeEntry for the sample entries

namespace tessaly {

// The argument string as the program receives it: the command line without
// the program's own name (quoted, or up to the first blank or tab), with
// leading blanks removed.
std::string ArgumentString(const std::string& commandLine);

// The first two characters of the upper-cased argument string; "/C" when empty.
std::string CommandModeOf(const std::string& arguments);

// The number that follows the two-character switch, as a 32-bit handle
// (raises overflow beyond the 32-bit signed range).
int32_t HandleArgument(const std::string& arguments);

// Position (from 1) of "/INSTALL" (exact case), 0 when absent.
size_t InstallPosition(const std::string& arguments);
// The folder that follows "/INSTALL" and one further character, trimmed.
std::string InstallFolder(const std::string& arguments, size_t position);

enum class ErrorChoice { Abort, Retry, Ignore };

// Runs the steps in order. When a step raises an AppError, `onError` decides:
// Abort ends the run (returns false), Retry runs the same step again, Ignore
// goes on with the next step. Returns true when the run reached its end.
using StartupStep = std::function<void()>;
bool RunSteps(const std::vector<StartupStep>& steps, const std::function<ErrorChoice(const AppError&)>& onError);

}  // namespace tessaly
