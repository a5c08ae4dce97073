#include "ui/CommonDialog.h"

#include "common/ScopedWin.h"

#include <commdlg.h>

#include <vector>

#include "ui/App.h"

namespace tessaly::ui {

std::string PlatformFilter(const std::string& filter) {
  std::string out = filter;
  for (char& c : out)
    if (c == '|') c = '\0';
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

bool CommonDialog::ShowOpen(HWND owner) { return Show(owner, false); }

bool CommonDialog::ShowSave(HWND owner) { return Show(owner, true); }

bool CommonDialog::Show(HWND owner, bool save) {
  InitOle();
  const std::size_t size = MaxFileSize < 2 ? 2 : MaxFileSize;
  std::vector<char> buffer(size + 2, '\0');
  FileName.copy(buffer.data(), std::min(FileName.size(), size - 1));
  const std::string filter = PlatformFilter(Filter);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(size);
  ofn.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
  ofn.Flags = Flags;
  ofn.lpstrDefExt = nullptr;  // the name is taken as typed
  const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (!ok) {
    FileName.clear();
    return false;
  }
  // Several names come as the folder, a NUL and the names, ending in two
  // NULs (the folder then has no "\" of its own before the first name);
  // one name comes as a path ending in one NUL.
  const std::size_t offset = ofn.nFileOffset;
  const bool several = (Flags & OFN_ALLOWMULTISELECT) && offset > 0 && offset < buffer.size() &&
                       buffer[offset - 1] == '\0';
  std::size_t end = 0;
  if (several) {
    end = offset;
    while (end + 1 < buffer.size() && !(buffer[end] == '\0' && buffer[end + 1] == '\0')) ++end;
  } else {
    while (end < buffer.size() && buffer[end] != '\0') ++end;
  }
  FileName.assign(buffer.data(), end);
  FilterIndex = static_cast<int>(ofn.nFilterIndex);
  return true;
}

}  // namespace tessaly::ui
