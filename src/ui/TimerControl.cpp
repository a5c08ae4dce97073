#include "ui/TimerControl.h"

#include "common/AppError.h"
#include "ui/Form.h"
#include "common/ScopeFlag.h"

namespace tessaly::ui {
namespace {

UINT_PTR g_lastTimerId = 0x7E00;

}  // namespace

TimerControl::TimerControl(Form& owner) : owner_(&owner), id_(++g_lastTimerId) { owner.AttachTimer(this); }

TimerControl::~TimerControl() {
  if (!owner_) return;
  if (owner_->hWnd()) KillTimer(owner_->hWnd(), id_);
  owner_->DetachTimer(this);
}

void TimerControl::SetInterval(long ms) {
  if (ms < 0 || ms > 65535) throw errors::InvalidPropertyValue("Timer");
  interval_ = ms;
  Arm();
}

void TimerControl::SetEnabled(bool on) {
  enabled_ = on;
  Arm();
}

void TimerControl::Arm() {
  if (!owner_ || !owner_->hWnd()) return;
  KillTimer(owner_->hWnd(), id_);
  if (enabled_ && interval_ > 0) SetTimer(owner_->hWnd(), id_, static_cast<UINT>(interval_), nullptr);
}

void TimerControl::Fire() {
  // A tick during our own handler (which may pump messages) is dropped.
  if (running_ || !enabled_ || interval_ <= 0) return;
  ScopeFlag running(running_);
  if (OnTimer) OnTimer();
}

}  // namespace tessaly::ui
