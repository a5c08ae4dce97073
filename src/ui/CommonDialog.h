// The platform's file dialogs as one object with the properties the
// program's windows set: title, filter ("Name|*.a;*.b|All Files(*.*)|*.*"),
// first filter shown, initial file name, flags (the OFN_* values), room for
// the returned names. Cancel is not an error: it leaves FileName empty.
#pragma once

#include "common/Win32.h"

#include <string>

namespace tessaly::ui {

class CommonDialog {
 public:
  std::string DialogTitle;
  std::string Filter;
  int FilterIndex = 1;
  std::string FileName;
  unsigned long Flags = 0;
  std::size_t MaxFileSize = 260;

  // Show the open or the save dialog owned by `owner`. Afterwards FileName
  // is the chosen path; with OFN_ALLOWMULTISELECT and several files chosen,
  // the folder, a NUL, and the names separated by NULs; "" on cancel.
  // Returns false on cancel.
  bool ShowOpen(HWND owner);
  bool ShowSave(HWND owner);

 private:
  bool Show(HWND owner, bool save);
};

// The filter in the platform's form: each "|" a NUL, ending in two NULs.
std::string PlatformFilter(const std::string& filter);

}  // namespace tessaly::ui
