#include "ui/CommonDialog.h"

#include "common/ScopedWin.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <vector>

#include "common/WideText_win.h"
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

namespace {

// Room for one path, however long (the system's limit for wide paths).
const std::size_t kOnePath = 32768;
// How often a dialog that still found its names too long is asked again.
const int kMaxAttempts = 3;

// The buffer of a multiple-selection dialog, grown while the dialog is up:
// before the dialog copies the chosen names (OK) and whenever the selection
// changes, it is made as large as the names can be, so that no choice is too
// long for it.
struct GrowingBuffer {
  std::vector<wchar_t> chars;
  OPENFILENAMEW* ofn = nullptr;

  void EnsureRoom(std::size_t needed) {
    if (needed <= chars.size()) return;
    chars.resize(needed, L'\0');
    ofn->lpstrFile = chars.data();
    ofn->nMaxFile = static_cast<DWORD>(chars.size() - 2);
  }
};

HWND Descendant(HWND parent, const wchar_t* className) { return FindWindowExW(parent, nullptr, className, nullptr); }

// The longest the dialog's answer can be: its folder, and either the text
// of its name box (the names, each in quotes) or, for the files selected in
// its list, a whole path each.
std::size_t AnswerBound(HWND dialog) {
  const LRESULT folder = SendMessageW(dialog, CDM_GETFOLDERPATH, 0, 0);
  std::size_t bound = static_cast<std::size_t>(std::max<LRESULT>(folder, MAX_PATH)) + 2;
  std::size_t names = 0;
  HWND box = GetDlgItem(dialog, cmb13);
  HWND edit = box ? FindWindowExW(box, nullptr, L"Edit", nullptr) : nullptr;
  if (!edit) edit = GetDlgItem(dialog, edt1);
  if (!edit) edit = box;
  if (edit) names = static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 2;
  if (HWND view = Descendant(dialog, L"SHELLDLL_DefView")) {
    if (HWND list = Descendant(view, WC_LISTVIEWW)) {
      const LRESULT selected = SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0);
      if (selected > 0) names = std::max(names, static_cast<std::size_t>(selected) * (MAX_PATH + 1));
    }
  }
  return bound + names + 2;
}

const UINT_PTR kOkSubclass = 0x7e55;

// OK on the dialog itself: room for its answer before it is copied.
LRESULT CALLBACK DialogOk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR ref) {
  if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
    reinterpret_cast<GrowingBuffer*>(ref)->EnsureRoom(AnswerBound(hwnd));
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, DialogOk, id);
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

UINT_PTR CALLBACK GrowHook(HWND child, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    auto* ofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
    auto* buffer = reinterpret_cast<GrowingBuffer*>(ofn->lCustData);
    SetWindowLongPtrW(child, GWLP_USERDATA, static_cast<LONG_PTR>(ofn->lCustData));
    SetWindowSubclass(GetParent(child), DialogOk, kOkSubclass, reinterpret_cast<DWORD_PTR>(buffer));
    return 0;
  }
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(CDN_SELCHANGE)) {
    auto* buffer = reinterpret_cast<GrowingBuffer*>(GetWindowLongPtrW(child, GWLP_USERDATA));
    if (buffer) buffer->EnsureRoom(AnswerBound(GetParent(child)));
  }
  return 0;
}

}  // namespace

bool CommonDialog::ShowOpen(HWND owner) { return Show(owner, false); }

bool CommonDialog::ShowSave(HWND owner) { return Show(owner, true); }

bool CommonDialog::Show(HWND owner, bool save) {
  InitOle();
  const bool multiple = (Flags & OFN_ALLOWMULTISELECT) != 0;
  const std::wstring initial = Wide(FileName);
  std::size_t size = std::max<std::size_t>(MaxFileSize < 2 ? 2 : MaxFileSize, multiple ? MaxFileSize : kOnePath);
  size = std::max(size, initial.size() + 1);
  const std::wstring filter = Wide(PlatformFilter(Filter));
  const std::wstring title = Wide(DialogTitle);

  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    GrowingBuffer buffer;
    buffer.chars.assign(size + 2, L'\0');
    std::copy(initial.begin(), initial.end(), buffer.chars.begin());
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = buffer.chars.data();
    ofn.nMaxFile = static_cast<DWORD>(size);
    ofn.lpstrTitle = DialogTitle.empty() ? nullptr : title.c_str();
    ofn.Flags = Flags;
    ofn.lpstrDefExt = nullptr;  // the name is taken as typed
    buffer.ofn = &ofn;
    if (multiple && (Flags & OFN_EXPLORER)) {
      ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLESIZING;
      ofn.lpfnHook = GrowHook;
      ofn.lCustData = reinterpret_cast<LPARAM>(&buffer);
    }
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) {
      FileName.clear();
      if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return false;
      // The names still did not fit: the dialog is asked again with room
      // for what it said it needs (its first unit), or four times as much.
      const std::size_t said = buffer.chars.empty() ? 0 : static_cast<std::size_t>(buffer.chars[0]);
      size = std::max(said + 2, buffer.chars.size() * 4);
      continue;
    }
    // Several names come as the folder, a NUL and the names, ending in two
    // NULs (the folder then has no "\" of its own before the first name);
    // one name comes as a path ending in one NUL.
    const std::vector<wchar_t>& chars = buffer.chars;
    const std::size_t offset = ofn.nFileOffset;
    const bool several = multiple && offset > 0 && offset < chars.size() && chars[offset - 1] == L'\0';
    std::size_t end = 0;
    if (several) {
      end = offset;
      while (end + 1 < chars.size() && !(chars[end] == L'\0' && chars[end + 1] == L'\0')) ++end;
    } else {
      while (end < chars.size() && chars[end] != L'\0') ++end;
    }
    FileName = Utf8(std::wstring_view(chars.data(), end));
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
  }
  MessageBoxText(owner, "The names of the chosen files are too long to take all at once. Please choose fewer files.",
                 DialogTitle, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

}  // namespace tessaly::ui
