#include "ui/Form.h"
#include "ui/Dpi.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/App.h"
#include "common/AppError.h"
#include "ui/TimerControl.h"
#include "common/ScopeFlag.h"

namespace tessaly::ui {
namespace {

const char kFormClass[] = "TessalyForm";

}  // namespace

int ShiftFromMouseKeys(WPARAM keys) {
  int shift = 0;
  if (keys & MK_SHIFT) shift |= kShiftMask;
  if (keys & MK_CONTROL) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

int ShiftFromKeyboard() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

int ButtonsFromMouseKeys(WPARAM keys) {
  int buttons = 0;
  if (keys & MK_LBUTTON) buttons |= kLeftButton;
  if (keys & MK_RBUTTON) buttons |= kRightButton;
  if (keys & MK_MBUTTON) buttons |= kMiddleButton;
  return buttons;
}

Form::Form(std::string caption) : caption_(std::move(caption)) {}

Form::Form(int templateId, std::string caption) : templateId_(templateId), caption_(std::move(caption)) {}

Form::~Form() {
  for (TimerControl* t : timers_) t->DetachOwner();
  if (hwnd_) {
    // The derived part is gone: let the window die without our handlers.
    HWND hwnd = hwnd_;
    UnbindWindow(hwnd);
    Unlist(hwnd);
    DestroyWindow(hwnd);
  }
  detail::RemoveForm(this);
}

void Form::Load(HWND owner) {
  if (hwnd_) return;
  HWND hwnd = nullptr;
  if (IsDialog()) {
    InitDialogControls();
    hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, BoundDialogProc,
                              reinterpret_cast<LPARAM>(static_cast<WindowHandler*>(this)));
  } else {
    RegisterWindowClass(kFormClass, BoundWindowProc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    hwnd = CreateWindowExA(WindowExStyle(), kFormClass, caption_.c_str(), WindowStyle(), 0, 0, 320, 240, owner, nullptr,
                           GetModuleHandleA(nullptr), static_cast<WindowHandler*>(this));
  }
  if (!hwnd) {
    hwnd_ = nullptr;
    throw AppError(kErrInvalidCall, "Unable to create the window " + caption_, "Tessaly");
  }
  hwnd_ = hwnd;
  if (IsDialog()) {
    char title[256] = {};
    GetWindowTextA(hwnd_, title, sizeof title);
    caption_ = title;
  }
  TakeMonitorDpi();
  detail::AddForm(this);
  if (accelerators_) detail::SetWindowAccelerators(hwnd_, accelerators_);
  for (TimerControl* t : timers_) t->Arm();
  try {
    Form_Load();
  } catch (...) {
    // A window whose loading failed does not stay behind hidden and
    // half-made (the program would never end): it is unloaded without
    // asking, its Form_Unload tidying what the loading had begun.
    {
      ScopeFlag busy(unloading_);
      int cancel = 0;
      try {
        Form_Unload(cancel);
      } catch (...) {}
    }
    if (hwnd_) Destroy();
    throw;
  }
}

void Form::ShowModal(HWND owner) {
  try {
    Load(owner);
  } catch (...) {
    Discard();  // a modal form that failed to load does not stay behind
    throw;
  }
  if (!hwnd_) return;
  const bool disabledOwner = owner && IsWindowEnabled(owner);
  if (disabledOwner) EnableWindow(owner, FALSE);
  modalOwner_ = disabledOwner ? owner : nullptr;
  Show();
  const int quit = RunModalLoop([this] { return Loaded(); });
  if (hwnd_) Unload();
  Discard();  // Form_QueryUnload refused while the program is quitting
  modalOwner_ = nullptr;
  if (quit >= 0) PostQuitMessage(quit);
}

void Form::Discard() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  UnbindWindow(hwnd);
  if (modalOwner_) EnableWindow(modalOwner_, TRUE);
  Unlist(hwnd);
  DestroyWindow(hwnd);
}

void Form::SetAccelerators(HACCEL table) {
  accelerators_ = table;
  if (hwnd_) detail::SetWindowAccelerators(hwnd_, table);
}

void Form::Show() {
  if (!hwnd_) Load();
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}

void Form::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Form::Unload() { UnloadWithMode(kUnloadFromCode); }

void Form::UnloadWithMode(int mode) {
  if (!hwnd_ || unloading_) return;
  {
    ScopeFlag busy(unloading_);
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel || !hwnd_) return;
    Form_Unload(cancel);
    if (cancel || !hwnd_) return;
  }
  Destroy();
}

void Form::Destroy() {
  HWND hwnd = hwnd_;
  UnbindWindow(hwnd);
  // A modal form's owner comes back before the form goes, so that the
  // activation returns to it.
  if (modalOwner_) EnableWindow(modalOwner_, TRUE);
  const bool last = Unlist(hwnd);
  DestroyWindow(hwnd);
  if (last) PostQuitMessage(0);
}

void Form::Move(long left, long top, long width, long height) {
  if (!hwnd_) return;
  MoveWindow(hwnd_, TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height), TRUE);
}

long Form::Left() const {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return r.left * TwipsX();
}

long Form::Top() const {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return r.top * TwipsY();
}

long Form::Width() const {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return (r.right - r.left) * TwipsX();
}

long Form::Height() const {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return (r.bottom - r.top) * TwipsY();
}

void Form::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (hwnd_) SetWindowTextA(hwnd_, caption_.c_str());
}

void Form::AttachTimer(TimerControl* timer) {
  if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) timers_.push_back(timer);
}

void Form::DetachTimer(TimerControl* timer) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

LRESULT Form::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const float x = static_cast<float>(GET_X_LPARAM(lParam)) * TwipsX();
  const float y = static_cast<float>(GET_Y_LPARAM(lParam)) * TwipsY();
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Form_KeyDown(static_cast<int>(wParam), ShiftFromKeyboard());
      if (msg == WM_KEYDOWN) return 0;
      break;
    case WM_LBUTTONDOWN: Form_MouseDown(kLeftButton, ShiftFromMouseKeys(wParam), x, y); return 0;
    case WM_RBUTTONDOWN: Form_MouseDown(kRightButton, ShiftFromMouseKeys(wParam), x, y); return 0;
    case WM_MBUTTONDOWN: Form_MouseDown(kMiddleButton, ShiftFromMouseKeys(wParam), x, y); return 0;
    case WM_MOUSEMOVE: Form_MouseMove(ButtonsFromMouseKeys(wParam), ShiftFromMouseKeys(wParam), x, y); return 0;
    case WM_CLOSE: UnloadWithMode(kUnloadFromControlMenu); return 0;
    case WM_ENDSESSION:
      if (wParam) UnloadWithMode(kUnloadFromSession);
      return 0;
    case WM_DPICHANGED:
      if (!MonitorDpiScaling()) break;
      Form_DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      if (IsDialog()) break;  // the dialog manager scales the dialog and its controls
      return 0;
    default: break;
  }
  return DefaultProc(msg, wParam, lParam);
}

LRESULT Form::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsDialog()) {
    defaulted_ = true;
    return 0;
  }
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (msg == WM_TIMER) {
    for (TimerControl* t : timers_) {
      if (t->Id() == wParam) {
        t->Fire();
        return 0;
      }
    }
  }
  const bool outer = defaulted_;
  defaulted_ = false;
  const LRESULT result = WndProc(msg, wParam, lParam);
  handled = !defaulted_;
  defaulted_ = outer;
  return result;
}

void Form::WindowBound(HWND hwnd) { hwnd_ = hwnd; }

void Form::WindowGone(HWND hwnd) {
  if (hwnd_ != hwnd) return;
  // Destroyed from outside (an owner or the system): unlist the form.
  Unlist(hwnd);
}

bool Form::Unlist(HWND hwnd) {
  detail::SetWindowAccelerators(hwnd, nullptr);
  hwnd_ = nullptr;
  return detail::RemoveForm(this) && detail::FormCount() == 0;
}

// ---------------------------------------------------------------------------
// The DPI of the form's monitor

void Form::TakeMonitorDpi() {
  if (MonitorDpiScaling() && hwnd_) scale_.SetDpi(WindowDpi(hwnd_));
}

void Form::Form_DpiChanged(int dpi, const RECT& suggested) {
  scale_.SetDpi(dpi);
  if (IsDialog()) return;  // the dialog manager moves and scales a dialog
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tessaly::ui
