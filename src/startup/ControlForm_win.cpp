// The hidden window of the system preview: its picture box runs the show
// inside the preview window that the system names on the command line.
#include <windows.h>
#include <commctrl.h>

#include "common/AppError.h"
#include "common/Convert.h"
#include "ui/App.h"
#include "startup/ShowWindows.h"
#include "startup/Startup.h"

namespace tessaly {

namespace {

const char kControlFormCaption[] = "Screen Preview Pallete";
const UINT_PTR kHookId = 1;

// Watches PicBase's window and reports WM_CLOSE to the form, which then
// takes the picture box back; the message itself goes on as usual.
LRESULT CALLBACK Msghook1(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_CLOSE) {
    try {
      reinterpret_cast<ControlForm*>(ref)->Msghook1_Message(msg, wParam, lParam, 0);
    } catch (...) {}
    return 0;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, Msghook1, kHookId);
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

ControlForm::ControlForm() : ShowForm(kControlFormCaption) {}

void ControlForm::Form_Load() {
  const HWND preview = reinterpret_cast<HWND>(static_cast<intptr_t>(Startup().PreviewHwnd));
  // The picture box is made a child of the preview window. Where the system
  // refuses to move a window into another program's window, it is created
  // there directly, which gives the same window.
  PicBase_.Create(hWnd());
  SetWindowSubclass(PicBase_.hWnd(), Msghook1, kHookId, reinterpret_cast<DWORD_PTR>(this));
  GetClientRect(preview, &PreviewRect);
  monitor_ = SystemMonitors().front();  // a preview is placed as on the primary monitor
  Layout();
  if (IsWindow(preview) && SetParent(PicBase_.hWnd(), preview) == nullptr) {
    PicBase_.Create(preview);
    SetWindowSubclass(PicBase_.hWnd(), Msghook1, kHookId, reinterpret_cast<DWORD_PTR>(this));
  }
  PreviewAttached = true;
  Engine().StartSlideShow(PicPreview_, 1, *this);
}

void ControlForm::Layout() {
  PicBase_.Move(0, 0, Scale().ToTwipsX(PreviewRect.right - PreviewRect.left),
                Scale().ToTwipsY(PreviewRect.bottom - PreviewRect.top));
}

void ControlForm::Msghook1_Message(unsigned msg, uintptr_t, intptr_t, intptr_t) {
  if (msg != WM_CLOSE) return;
  HWND box = PicBase_.hWnd();
  if (box != nullptr && SetParent(box, hWnd()) == nullptr) ShowWindow(box, SW_HIDE);
  PreviewAttached = false;
}

void ControlForm::tmrSwitch_Timer() {
  const HWND preview = reinterpret_cast<HWND>(static_cast<intptr_t>(Startup().PreviewHwnd));
  if (!IsWindow(preview) || !PreviewAttached) {
    Unload();
    return;
  }
  Engine().NextSlide(PicPreview_, imgFullSize_, 0);
}

}  // namespace tessaly
