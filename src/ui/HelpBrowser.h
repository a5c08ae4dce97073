// Help in the user's web browser: the help page installed beside the
// program (common/HelpPage.h), opened at the anchor of a topic.
#pragma once

#include "common/Win32.h"

#include <string>

namespace tessaly::ui {

// The application's help file setting: the full path of the help page
// beside the program, "" when none is installed there.
const std::string& HelpPage();
void SetHelpPage(const std::string& path);

// Opens the help page at `anchor` in the browser registered for web
// addresses (the page's file URL with the anchor; a plain file path would
// lose the anchor), else through the shell. Without a page it says
// help::kNoHelpMessage (information icon, `title` as caption); a page that
// no browser could be started for is reported under the program's title.
void ShowHelpTopic(HWND owner, const char* title, const char* anchor);

}  // namespace tessaly::ui
