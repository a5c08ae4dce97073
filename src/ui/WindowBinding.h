// One way for an object to own a window: the window procedure binds the
// object when the window is created (WM_NCCREATE from CREATESTRUCT, or
// WM_INITDIALOG from the dialog's init parameter), forwards every message
// to it, and tells it when the window is gone. Nothing thrown by a handler
// leaves the window procedure.
#pragma once

#include "common/Win32.h"

namespace tessaly::ui {

class WindowHandler {
 public:
  virtual ~WindowHandler() = default;

  // Handles one message. Leaving `handled` false asks for the default
  // processing (DefWindowProc, or the dialog manager's for a dialog).
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
  // The window is bound to this object (before any other message).
  virtual void WindowBound(HWND hwnd) = 0;
  // The window is being destroyed (WM_NCDESTROY); no message follows.
  virtual void WindowGone(HWND hwnd) = 0;
};

// For CreateWindowEx: lpParam is the WindowHandler*.
LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// For CreateDialogParam: the init parameter is the WindowHandler*.
INT_PTR CALLBACK BoundDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Cuts the window off its object, so that it dies without the object's
// handlers (used when the object goes first).
void UnbindWindow(HWND hwnd);

}  // namespace tessaly::ui
