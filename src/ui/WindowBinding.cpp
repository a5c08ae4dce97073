#include "ui/WindowBinding.h"

namespace tessaly::ui {
namespace {

bool IsDialog(HWND hwnd) { return GetClassLongPtrA(hwnd, GCW_ATOM) == reinterpret_cast<ULONG_PTR>(WC_DIALOG); }

WindowHandler* BoundTo(HWND hwnd, bool dialog) {
  return reinterpret_cast<WindowHandler*>(GetWindowLongPtrA(hwnd, dialog ? DWLP_USER : GWLP_USERDATA));
}

void Bind(HWND hwnd, bool dialog, WindowHandler* handler) {
  SetWindowLongPtrA(hwnd, dialog ? DWLP_USER : GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handler));
}

// Messages whose dialog-procedure result is the value itself rather than a
// handled flag with the result in DWLP_MSGRESULT.
bool ReturnsValueDirectly(UINT msg) {
  switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG: return true;
    default: return false;
  }
}

}  // namespace

void UnbindWindow(HWND hwnd) {
  if (hwnd) Bind(hwnd, IsDialog(hwnd), nullptr);
}

LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    WindowHandler* self = nullptr;
    if (msg == WM_NCCREATE) {
      self = static_cast<WindowHandler*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      Bind(hwnd, false, self);
      if (self) self->WindowBound(hwnd);
    } else {
      self = BoundTo(hwnd, false);
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
      Bind(hwnd, false, nullptr);
      self->WindowGone(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    bool handled = true;
    const LRESULT result = self->HandleMessage(msg, wParam, lParam, handled);
    return handled ? result : DefWindowProcA(hwnd, msg, wParam, lParam);
  } catch (...) {
    // The handler's work is lost; the window carries on.
    return msg == WM_NCCREATE ? FALSE : 0;
  }
}

INT_PTR CALLBACK BoundDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    WindowHandler* self = nullptr;
    if (msg == WM_INITDIALOG) {
      self = reinterpret_cast<WindowHandler*>(lParam);
      Bind(hwnd, true, self);
      if (self) self->WindowBound(hwnd);
    } else {
      self = BoundTo(hwnd, true);
    }
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
      Bind(hwnd, true, nullptr);
      self->WindowGone(hwnd);
      return FALSE;
    }
    bool handled = true;
    const LRESULT result = self->HandleMessage(msg, wParam, lParam, handled);
    if (!handled) return FALSE;
    if (ReturnsValueDirectly(msg)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // namespace tessaly::ui
