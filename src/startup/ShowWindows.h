// The two windows in which the screen saver runs its show: the full-screen
// window of the show mode and the hidden window that lends its picture box
// to the system's preview monitor.
#pragma once

#include <cstdint>
#include <string>

#include "Form.h"
#include "ImageControl.h"
#include "PictureBox.h"
#include "ShowHost.h"
#include "TimerControl.h"
#include "mSlideShow.h"

namespace tessaly {

// The process's one slide-show engine.
SlideShow& Engine();

// "ScreenSaveUsePassword" and the like: one registry value as text, "" when
// it cannot be read; a REG_DWORD as its decimal text, cut like a string of
// the stored length.
std::string ReadRegValue(uintptr_t rootKey, const std::string& keyPath, const std::string& valueName);

// A host window with the controls the engine works on.
class ShowForm : public ui::Form, public ShowHost {
 public:
  explicit ShowForm(std::string caption)
      : ui::Form(std::move(caption)), PicBase_(*this), PicPreview_(PicBase_, *this, true),
        imgFullSize_(PicBase_, *this, false), tmrSwitch_(*this) {
    imgFullSize_.SetVisible(false);
    tmrSwitch_.SetEnabled(false);
    tmrSwitch_.OnTimer = [this] { tmrSwitch_Timer(); };
  }
  Surface& PicBase() override { return PicBase_; }
  Image& PicPreview() override { return PicPreview_; }
  Image& imgFullSize() override { return imgFullSize_; }
  Timer& tmrSwitch() override { return tmrSwitch_; }
  Timer* SwitchTimer() override { return &tmrSwitch_; }

 protected:
  virtual void tmrSwitch_Timer() = 0;

  ui::PictureBox PicBase_;
  ui::ImageControl PicPreview_;
  ui::ImageControl imgFullSize_;
  ui::TimerControl tmrSwitch_;
};

class MainForm : public ShowForm {
 public:
  MainForm();

  void Form_Load() override;
  void Form_KeyDown(int KeyCode, int Shift) override;
  void Form_MouseDown(int Button, int Shift, float X, float Y) override;
  void Form_MouseMove(int Button, int Shift, float X, float Y) override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void Form_Unload(int& Cancel) override;
  void PicBase_KeyDown(int KeyCode, int Shift);
  void PicBase_MouseMove(int Button, int Shift, float X, float Y);
  void PicPreview_MouseMove(int Button, int Shift, float X, float Y);

  int16_t UsePassword = 0;
  uint32_t PlatformId = 0;
  int MouseMoves = 0;

 protected:
  void tmrSwitch_Timer() override;

 private:
  bool PasswordMode() const { return PlatformId != 2 && UsePassword != 0; }
  // A mouse-move event counts only where the cursor really moved: windows
  // appearing under it, or the cursor being hidden, send moves in place.
  void MouseMoved();
  void CountMouseMove();
  void GetPlatformId();
  void HideCursor();

  int32_t FirstMoveTime = 0;
  POINT lastCursor_{};
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
};

}  // namespace tessaly
