// The program's help: a small help viewer of its own that reads the help
// file embedded in the program and answers the requests a Windows help call
// makes (a topic by context number, the contents, the keyword index).
#pragma once

#include "Win32.h"

#include <string>

namespace tessaly::ui {

// The application's help file setting: the name of its help file, "" when
// it has none.
const std::string& HelpFile();
void SetHelpFile(const std::string& name);

// As WinHelpA: HELP_CONTEXT shows the topic numbered `data`, HELP_CONTENTS
// the contents, HELP_PARTIALKEY the index with its search box focused
// (`data` points at the start of a keyword, or at ""), HELP_QUIT closes the
// viewer. The help file is the program's resource of that name (RCDATA),
// else a file of that name beside the program. A file that cannot be read
// raises AppError 53; an unknown context shows the contents.
void ShowHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data);

// The viewer's window while it is open, else nullptr.
HWND HelpWindow();

}  // namespace tessaly::ui
