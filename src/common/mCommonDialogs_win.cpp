// The shell's folder dialog, through its wide calls: any folder name.
#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "common/WideText_win.h"
#include "common/mCommonDialogs.h"

namespace tessaly {

std::string BrowseForFolder(uintptr_t ownerHwnd, const std::string& title) {
  const std::wstring titleText = Wide(title);
  BROWSEINFOW info = {};
  info.hwndOwner = reinterpret_cast<HWND>(ownerHwnd);
  info.pidlRoot = nullptr;
  info.pszDisplayName = nullptr;
  info.lpszTitle = titleText.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST item = SHBrowseForFolderW(&info);
  if (item == nullptr) return std::string();
  std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
  SHGetPathFromIDListW(item, path.data());
  CoTaskMemFree(item);
  return Utf8(path.data());
}

}  // namespace tessaly
