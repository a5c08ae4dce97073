// The shell's folder dialog.
#include <windows.h>
#include <shlobj.h>

#include "common/mCommonDialogs.h"

namespace tessaly {

std::string BrowseForFolder(uintptr_t ownerHwnd, const std::string& title) {
  char titleBuffer[MAX_PATH * 2] = "";
  lstrcpynA(titleBuffer, title.c_str(), sizeof titleBuffer);
  BROWSEINFOA info = {};
  info.hwndOwner = reinterpret_cast<HWND>(ownerHwnd);
  info.pidlRoot = nullptr;
  info.pszDisplayName = nullptr;
  info.lpszTitle = titleBuffer;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST item = SHBrowseForFolderA(&info);
  if (item == nullptr) return std::string();
  std::string path(MAX_PATH, '\0');
  SHGetPathFromIDListA(item, &path[0]);
  CoTaskMemFree(item);
  return path.substr(0, path.find('\0'));
}

}  // namespace tessaly
