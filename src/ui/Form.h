// A top-level window of the program: a borderless popup (the show windows)
// or, when it names a dialog template, a dialog. Derived windows override
// the Form_* handlers; the window procedure is bound to the object (see
// WindowBinding.h) and never lets an exception out.
#pragma once

#include "common/Win32.h"

#include <string>
#include <vector>

#include "common/Controls.h"
#include "ui/WindowBinding.h"
#include "ui/Dpi.h"

namespace tessaly::ui {

class TimerControl;

// Mouse buttons and shift states as the handlers receive them.
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// UnloadMode values passed to Form_QueryUnload: the window's close box,
// Alt+F4 or WM_CLOSE; the program's own code; the end of the Windows session.
enum UnloadMode { kUnloadFromControlMenu = 0, kUnloadFromCode = 1, kUnloadFromSession = 2 };

class Form : public LoadedWindow, protected WindowHandler {
 public:
  explicit Form(std::string caption);
  // A dialog made from the DIALOGEX template `templateId` of the program's
  // resources; its caption comes from the template.
  Form(int templateId, std::string caption);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the (hidden) window, owned by `owner` if given, lists the form
  // and runs Form_Load. An error of Form_Load propagates to the caller.
  // Loading a loaded form does nothing.
  void Load(HWND owner = nullptr);
  bool Loaded() const override { return hwnd_ != nullptr; }
  bool IsDialog() const { return templateId_ != 0; }
  // Loads and shows the form modally: `owner` (if any) is disabled and the
  // program's one message pump runs until the form is unloaded; then the
  // owner is enabled again before the form's window goes. A WM_QUIT seen
  // meanwhile unloads the form and is posted again.
  void ShowModal(HWND owner);
  // The accelerator table whose keys work anywhere in the window (the
  // message pump translates them). Not owned.
  void SetAccelerators(HACCEL table);
  // Loads the form if needed and shows it.
  void Show();
  void Hide();
  bool Visible() const override;
  // Asks Form_QueryUnload (mode 1) and Form_Unload; unless one cancels,
  // destroys the window and unlists the form. The last form to go posts
  // WM_QUIT.
  void Unload() override;
  Timer* SwitchTimer() override { return nullptr; }

  HWND hWnd() const { return hwnd_; }
  // Position and size of the window, in twips.
  void Move(long left, long top, long width, long height);
  long Left() const;
  long Top() const;
  long Width() const;
  long Height() const;
  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return caption_; }
  // The form's twips per pixel (Dpi.h): the DPI of its monitor with
  // per-monitor scaling on, else the process-wide twips. Inside the form's
  // own code these stand for the process-wide functions of App.h.
  const TwipsScale& Scale() const { return scale_; }
  double TwipsX() const { return scale_.TwipsX(); }
  double TwipsY() const { return scale_.TwipsY(); }
  int TwipsToPixelsX(double twips) const { return scale_.ToPixelsX(twips); }
  int TwipsToPixelsY(double twips) const { return scale_.ToPixelsY(twips); }

  // Event handlers; X and Y in twips from the client area's top-left.
  virtual void Form_Load() {}
  virtual void Form_QueryUnload(int& Cancel, int UnloadMode) { (void)Cancel, (void)UnloadMode; }
  virtual void Form_Unload(int& Cancel) { (void)Cancel; }
  virtual void Form_KeyDown(int KeyCode, int Shift) { (void)KeyCode, (void)Shift; }
  virtual void Form_MouseDown(int Button, int Shift, float X, float Y) { (void)Button, (void)Shift, (void)X, (void)Y; }
  virtual void Form_MouseMove(int Button, int Shift, float X, float Y) { (void)Button, (void)Shift, (void)X, (void)Y; }

  // WM_DPICHANGED with per-monitor scaling on: the new DPI and the window
  // rectangle the system suggests for it. The default takes both.
  virtual void Form_DpiChanged(int dpi, const RECT& suggested);

  // Timers owned by this form (TimerControl registers itself).
  void AttachTimer(TimerControl* timer);
  void DetachTimer(TimerControl* timer);

 protected:
  // The window procedure of this form. The default turns keys, mouse and
  // WM_CLOSE into the handlers above and passes the rest to DefaultProc.
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // The default processing: DefWindowProc, or the dialog manager's.
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Styles used by Load (defaults: WS_POPUP | WS_CLIPCHILDREN, no extended style).
  virtual DWORD WindowStyle() const { return WS_POPUP | WS_CLIPCHILDREN; }
  virtual DWORD WindowExStyle() const { return 0; }

  void UnloadWithMode(int mode);
  void SetDpi(int dpi) { scale_.SetDpi(dpi); }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void WindowBound(HWND hwnd) override;
  void WindowGone(HWND hwnd) override;
  // Unbinds, unlists and destroys the window once its unload handlers have
  // run; the last loaded form's going ends the message loop.
  void Destroy();
  // Destroys the window without asking the handlers.
  void Discard();
  // Takes the form off the loaded windows; true when it was the last one.
  bool Unlist(HWND hwnd);
  // With per-monitor scaling on, takes the DPI of the window's monitor.
  void TakeMonitorDpi();

  int templateId_ = 0;
  std::string caption_;
  HWND hwnd_ = nullptr;
  HWND modalOwner_ = nullptr;
  HACCEL accelerators_ = nullptr;
  bool unloading_ = false;
  bool defaulted_ = false;  // the message being handled asked for DefaultProc
  std::vector<TimerControl*> timers_;
  TwipsScale scale_;
};

// The Shift argument for the handlers from a mouse message's wParam.
int ShiftFromMouseKeys(WPARAM keys);
// The Shift argument from the current keyboard state.
int ShiftFromKeyboard();
// The Button argument of a mouse move from its wParam.
int ButtonsFromMouseKeys(WPARAM keys);

}  // namespace tessaly::ui
