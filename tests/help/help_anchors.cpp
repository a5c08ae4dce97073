// Prints every anchor of the help page that the program opens, one a line,
// for the page's check in a real browser (check_page.sh).
#include <cstdio>

#include "common/HelpPage.h"

int main() {
  for (const std::string& anchor : tessaly::help::Anchors()) std::printf("%s\n", anchor.c_str());
  return 0;
}
