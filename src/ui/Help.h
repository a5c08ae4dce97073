// The program's help: a help page (HTML) installed beside the program, shown
// by a small help viewer of the program's own that answers the requests a
// Windows help call makes (a topic by context number, the contents, the
// keyword index).
#pragma once

#include "common/Win32.h"

#include <string>

namespace tessaly::ui {

// The name of the help page installed beside the program.
inline constexpr char kHelpPageName[] = "TSCSS.htm";

// What a help request says when no help is installed.
inline constexpr char kNoHelpMessage[] =
    "Unable to display Help Contents. There is no Help associated with this project.";

// The application's help file setting: the full path of the help page
// beside the program, "" when none is installed there.
const std::string& HelpFile();
void SetHelpFile(const std::string& name);

// As WinHelpA: HELP_CONTEXT shows the topic numbered `data`, HELP_CONTENTS
// the contents, HELP_PARTIALKEY the index with its search box focused
// (`data` points at the start of a keyword, or at ""), HELP_QUIT closes the
// viewer. `file` is a path, or a name beside the program. A file that
// cannot be read, or holds no topic, raises AppError 53; an unknown context
// shows the contents.
void ShowHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data);

// ShowHelp over HelpFile() as a window's command does it: with no help
// installed it says kNoHelpMessage (information icon, `title` as caption);
// a help file that cannot be shown is reported by its error's description
// under the program's title.
void ShowProgramHelp(HWND owner, const char* title, UINT command, ULONG_PTR data);

// The viewer's window while it is open, else nullptr.
HWND HelpWindow();

}  // namespace tessaly::ui
