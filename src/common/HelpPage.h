// The program's help: an HTML page installed beside the program, shown in
// the user's web browser at the anchor of the topic asked for. The anchors
// the program opens are named here and nowhere else; the page's check in a
// real browser reads them from here (help_anchors prints them).
#pragma once

#include <string>
#include <vector>

namespace tessaly::help {

// The page's file name, beside the program.
inline constexpr char kPageName[] = "TSCSS.htm";

// What a help request says when no page is installed.
inline constexpr char kNoHelpMessage[] =
    "Unable to display Help Contents. There is no Help associated with this project.";

// Help, Contents.
inline constexpr char kContents[] = "contents";
// Help, Search for Help On...: the keyword index.
inline constexpr char kIndex[] = "index";

// The help context numbers of the dialogs (F1, Help buttons) and the topic
// each one shows.
inline constexpr unsigned long kOptionsContext = 7;  // Screen Saver Options
struct ContextTopic {
  unsigned long context;
  const char* anchor;
};
inline constexpr ContextTopic kContextTopics[] = {{kOptionsContext, "options"}};

// The anchor of a help context number; the contents for a number without a
// topic of its own.
const char* AnchorOfContext(unsigned long context);

// Every anchor the program opens, each once: the contents, the index and
// the context topics.
std::vector<std::string> Anchors();

// The file URL of the page at `path` (an absolute path, "C:\dir\page.htm"
// or "\\server\share\page.htm", in UTF-8), followed by "#" and the anchor
// unless that is empty: "file:///C:/dir/page.htm#options". Every byte that
// may not stand in a URL path (blanks, "#", "%", "?", quotes, non-ASCII
// bytes...) is percent-encoded, so the address is one word on a command
// line and the browser finds the file it names.
std::string PageAddress(const std::string& path, const std::string& anchor);

// The command line that opens `address` with the command the system has
// registered for web addresses ("\"C:\\browser.exe\" \"%1\"",
// "browser.exe --single-argument %1" ...): "%1", "%0" and "%L" stand for
// the address, "%%" for "%", any other "%" placeholder for nothing; a command
// that names none gets the address appended after a blank.
std::string BrowserCommandLine(const std::string& command, const std::string& address);

}  // namespace tessaly::help
