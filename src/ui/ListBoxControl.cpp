#include "ui/ListBoxControl.h"

#include <vector>

#include "common/AppError.h"
#include "common/WideText_win.h"

namespace tessaly::ui {

void ListBoxControl::CheckIndex(int index, const char* proc) const {
  if (index < 0 || index >= ListCount()) throw AppError(kErrInvalidCall, "Invalid procedure call or argument", proc);
}

int ListBoxControl::ListCount() const {
  if (!hwnd_) return 0;
  const LRESULT n = SendMessageA(hwnd_, LB_GETCOUNT, 0, 0);
  return n == LB_ERR ? 0 : static_cast<int>(n);
}

std::string ListBoxControl::List(int index) const {
  CheckIndex(index, "ListBox.List");
  const LRESULT length = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length <= 0) return std::string();
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const LRESULT got =
      SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (got == LB_ERR) return std::string();
  return Utf8(std::wstring_view(buffer.data(), static_cast<std::size_t>(got)));
}

void ListBoxControl::SetList(int index, const std::string& text) {
  CheckIndex(index, "ListBox.List");
  // A list box has no message that changes an item's text: put a new item
  // in its place, with the old one's selection, and keep the scroll position.
  const bool selected = Selected(index);
  const LRESULT top = SendMessageA(hwnd_, LB_GETTOPINDEX, 0, 0);
  SendMessageA(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  const std::wstring wide = Wide(text);
  SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str()));
  if (selected) SetSelected(index, true);
  if (top != LB_ERR) SendMessageA(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

bool ListBoxControl::Selected(int index) const {
  CheckIndex(index, "ListBox.Selected");
  return SendMessageA(hwnd_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void ListBoxControl::SetSelected(int index, bool selected) {
  CheckIndex(index, "ListBox.Selected");
  const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
  if (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    SendMessageA(hwnd_, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
  } else if (selected) {
    SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  } else if (SendMessageA(hwnd_, LB_GETCURSEL, 0, 0) == index) {
    SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
}

void ListBoxControl::AddItem(const std::string& item) {
  if (!hwnd_) return;
  const std::wstring wide = Wide(item);
  SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
}

void ListBoxControl::RemoveItem(int index) {
  CheckIndex(index, "ListBox.RemoveItem");
  SendMessageA(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int ListBoxControl::SelCount() const {
  if (!hwnd_) return 0;
  const LRESULT n = SendMessageA(hwnd_, LB_GETSELCOUNT, 0, 0);
  if (n != LB_ERR) return static_cast<int>(n);
  return SendMessageA(hwnd_, LB_GETCURSEL, 0, 0) == LB_ERR ? 0 : 1;  // a single-selection list
}

int ListBoxControl::FirstSelected() const {
  const int count = ListCount();
  for (int i = 0; i < count; ++i)
    if (SendMessageA(hwnd_, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) return i;
  return -1;
}

void ListBoxControl::Clear() {
  if (hwnd_) SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
}

}  // namespace tessaly::ui
