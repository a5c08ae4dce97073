#include "Form.h"

#include <windowsx.h>

#include <algorithm>

#include "App.h"
#include "AppError.h"
#include "TimerControl.h"

namespace tessaly::ui {
namespace {

const char kFormClass[] = "TessalyForm";

// Resets a flag when the scope ends, also by an exception.
struct FlagScope {
  bool& flag;
  explicit FlagScope(bool& f) : flag(f) { flag = true; }
  ~FlagScope() { flag = false; }
};

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

Form::~Form() {
  for (TimerControl* t : timers_) t->DetachOwner();
  if (hwnd_) {
    // The derived part is gone: let the window die without our handlers.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  detail::RemoveForm(this);
}

void Form::Load() {
  if (hwnd_) return;
  RegisterWindowClass(kFormClass, &Form::Trampoline, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HWND hwnd = CreateWindowExA(WindowExStyle(), kFormClass, caption_.c_str(), WindowStyle(), 0, 0,
                              320, 240, nullptr, nullptr, GetModuleHandleA(nullptr), this);
  if (!hwnd) {
    hwnd_ = nullptr;
    throw AppError(kErrInvalidCall, "Unable to create the window " + caption_, "Tessaly");
  }
  hwnd_ = hwnd;
  detail::AddForm(this);
  for (TimerControl* t : timers_) t->Arm();
  Form_Load();
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
    FlagScope busy(unloading_);
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel || !hwnd_) return;
    Form_Unload(cancel);
    if (cancel || !hwnd_) return;
  }
  HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
  if (detail::RemoveForm(this) && detail::FormCount() == 0) PostQuitMessage(0);
}

void Form::Move(long left, long top, long width, long height) {
  if (!hwnd_) return;
  MoveWindow(hwnd_, TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
             TwipsToPixelsY(height), TRUE);
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
    case WM_LBUTTONDOWN:
      Form_MouseDown(kLeftButton, ShiftFromMouseKeys(wParam), x, y);
      return 0;
    case WM_RBUTTONDOWN:
      Form_MouseDown(kRightButton, ShiftFromMouseKeys(wParam), x, y);
      return 0;
    case WM_MBUTTONDOWN:
      Form_MouseDown(kMiddleButton, ShiftFromMouseKeys(wParam), x, y);
      return 0;
    case WM_MOUSEMOVE:
      Form_MouseMove(ButtonsFromMouseKeys(wParam), ShiftFromMouseKeys(wParam), x, y);
      return 0;
    case WM_CLOSE:
      UnloadWithMode(kUnloadFromControlMenu);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT Form::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    for (TimerControl* t : timers_) {
      if (t->Id() == wParam) {
        t->Fire();
        return 0;
      }
    }
  }
  return WndProc(msg, wParam, lParam);
}

LRESULT CALLBACK Form::Trampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    Form* self = nullptr;
    if (msg == WM_NCCREATE) {
      self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      if (self) self->hwnd_ = hwnd;
    } else {
      self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      if (self->hwnd_ == hwnd) {
        // Destroyed from outside (a parent or the system): unlist the form.
        self->hwnd_ = nullptr;
        detail::RemoveForm(self);
      }
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return self->Dispatch(msg, wParam, lParam);
  } catch (...) {
    // Nothing may leave a window procedure; the handler's work is lost.
    return msg == WM_NCCREATE ? FALSE : 0;
  }
}

}  // namespace tessaly::ui
