// The windows in which the screen saver runs its show: the full-screen
// window of the show mode with one more on each further monitor, and the
// hidden window that lends its picture box to the system's preview monitor.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Form.h"
#include "ui/ImageControl.h"
#include "startup/MonitorLayout.h"
#include "ui/PictureBox.h"
#include "show/ShowHost.h"
#include "ui/TimerControl.h"
#include "show/mSlideShow.h"

namespace tessaly {

// The process's one slide-show engine.
SlideShow& Engine();

// "ScreenSaveUsePassword" and the like: one registry value as text, "" when
// it cannot be read; a REG_DWORD as its decimal text, cut like a string of
// the stored length.
std::string ReadRegValue(uintptr_t rootKey, const std::string& keyPath, const std::string& valueName);

// The monitors as the system lists them, the primary first (at 0,0).
std::vector<MonitorRect> SystemMonitors();

// A host window with the controls the engine works on.
class ShowForm : public ui::Form, public ShowHost {
 public:
  explicit ShowForm(std::string caption)
      : ui::Form(std::move(caption)),
        PicBase_(*this),
        PicPreview_(PicBase_, *this, true),
        imgFullSize_(PicBase_, *this, false),
        tmrSwitch_(*this) {
    imgFullSize_.SetVisible(false);
    tmrSwitch_.SetEnabled(false);
    tmrSwitch_.OnTimer = [this] { tmrSwitch_Timer(); };
  }
  Surface& PicBase() override { return PicBase_; }
  Image& PicPreview() override { return PicPreview_; }
  Image& imgFullSize() override { return imgFullSize_; }
  Timer& tmrSwitch() override { return tmrSwitch_; }
  Timer* SwitchTimer() override { return &tmrSwitch_; }
  // The monitor the window shows on, in twips at its DPI.
  std::optional<ScreenSize> ShowScreen() const override;
  // That monitor, in pixels.
  const MonitorRect& Monitor() const { return monitor_; }

 protected:
  virtual void tmrSwitch_Timer() = 0;
  // Places the window and PicBase and sets PicBase's font, at the form's
  // current DPI.
  virtual void Layout() = 0;
  // A new DPI: the images keep their pixels (a picture stays sharp and in
  // its place until the next slide), the rest is laid out again.
  void Form_DpiChanged(int dpi, const RECT& suggested) override;
  // Covers `monitor` with the window and PicBase; a DPI that the move
  // brought without its message is taken as well.
  void Cover(const MonitorRect& monitor);

  ui::PictureBox PicBase_;
  ui::ImageControl PicPreview_;
  ui::ImageControl imgFullSize_;
  ui::TimerControl tmrSwitch_;
  MonitorRect monitor_;
};

class MonitorForm;

// The full-screen window's caption, by which a second start finds it.
inline constexpr char kMainFormCaption[] = "Screen Saver Main Form";

class MainForm : public ShowForm {
 public:
  MainForm();
  ~MainForm() override;

  void Form_Load() override;
  void Form_KeyDown(int KeyCode, int Shift) override;
  void Form_MouseDown(int Button, int Shift, float X, float Y) override;
  void Form_MouseMove(int Button, int Shift, float X, float Y) override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void Form_Unload(int& Cancel) override;
  void PicBase_KeyDown(int KeyCode, int Shift);
  void PicBase_MouseMove(int Button, int Shift, float X, float Y);
  void PicPreview_MouseMove(int Button, int Shift, float X, float Y);
  // A mouse-move event on this window or a monitor window. It counts only
  // where the cursor really moved: windows appearing under it, or the cursor
  // being hidden, send moves in place.
  void MouseMoved();

  // The show windows on the monitors besides the primary, and the monitors
  // as the window sees them (the system's; a test may give others).
  const std::vector<std::unique_ptr<MonitorForm>>& MonitorForms() const { return monitors_; }
  std::function<std::vector<MonitorRect>()> ListMonitors = SystemMonitors;

  int16_t UsePassword = 0;
  uint32_t PlatformId = 0;
  int MouseMoves = 0;

 protected:
  void tmrSwitch_Timer() override;
  void Layout() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  bool PasswordMode() const { return PlatformId != 2 && UsePassword != 0; }
  void CountMouseMove();
  void GetPlatformId();
  void HideCursor();
  // Covers the primary monitor, and every other one with a window of its
  // own (at the start and after WM_DISPLAYCHANGE).
  void CoverMonitors();

  int32_t FirstMoveTime = 0;
  POINT lastCursor_{};
  std::vector<std::unique_ptr<MonitorForm>> monitors_;
  std::vector<std::unique_ptr<MonitorForm>> retired_;  // closed after a monitor went
};

// The show on a monitor besides the primary: MainForm's controls and
// options, its own timer and transitions on the shared play list, no sound.
// Its keys, clicks and mouse moves go to the MainForm, which ends the whole
// show (with the one password question) and closes these windows with it.
class MonitorForm : public ShowForm {
 public:
  MonitorForm(MainForm& primary, const MonitorRect& monitor);

  void Form_Load() override;
  void Form_KeyDown(int KeyCode, int Shift) override;
  void Form_MouseDown(int Button, int Shift, float X, float Y) override;
  void Form_MouseMove(int Button, int Shift, float X, float Y) override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void Form_Unload(int& Cancel) override;
  bool PlaysSounds() const override { return false; }

  // Moves the window to another monitor.
  void MoveTo(const MonitorRect& monitor);
  // Lets the window close (the MainForm closes it; any other close request
  // asks the MainForm to end the show).
  void Release() { released_ = true; }

 protected:
  void tmrSwitch_Timer() override;
  void Layout() override;

 private:
  MainForm& primary_;
  bool released_ = false;
};

class ControlForm : public ShowForm {
 public:
  ControlForm();

  void Form_Load() override;
  // Reports the messages chosen for PicBase's window (WM_CLOSE).
  void Msghook1_Message(unsigned msg, uintptr_t wParam, intptr_t lParam, intptr_t result);

  bool PreviewAttached = false;
  RECT PreviewRect{};

 protected:
  void tmrSwitch_Timer() override;
  void Layout() override;
};

}  // namespace tessaly
