// The uninstall wrapper's entry point; everything else is in the library
// (Module1, the survey window), which the layout test opens as well.
#include <windows.h>
#include <commctrl.h>

#include "uninstall/Module1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  try {
    return Module1::Main();
  } catch (...) {
    MessageBoxA(nullptr, "The uninstall wrapper stopped unexpectedly.", Module1::kAppTitle, MB_ICONSTOP | MB_OK);
    return 1;
  }
}
