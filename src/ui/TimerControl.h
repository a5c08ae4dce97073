// A timer of a form: fires OnTimer every Interval ms while Enabled and
// Interval > 0. A tick that comes while OnTimer still runs (it may pump
// messages) is dropped.
#pragma once

#include "common/Win32.h"

#include <functional>

#include "common/Controls.h"

namespace tessaly::ui {

class Form;

class TimerControl : public Timer {
 public:
  explicit TimerControl(Form& owner);
  ~TimerControl() override;
  TimerControl(const TimerControl&) = delete;
  TimerControl& operator=(const TimerControl&) = delete;

  std::function<void()> OnTimer;

  long Interval() const override { return interval_; }
  // 0..65535; anything else raises AppError 380 and keeps the interval.
  // Setting it restarts the count.
  void SetInterval(long ms) override;
  // Enabled by default (with Interval 0 it does not fire). Setting it
  // restarts the count.
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool on) override;

  // Used by the owner form.
  UINT_PTR Id() const { return id_; }
  void Arm();
  void Fire();
  void DetachOwner() { owner_ = nullptr; }

 private:
  Form* owner_;
  UINT_PTR id_;
  long interval_ = 0;
  bool enabled_ = true;
  bool running_ = false;
};

}  // namespace tessaly::ui
