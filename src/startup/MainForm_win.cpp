// The full-screen show window.
#include <windows.h>

#include <cmath>

#include "common/AppError.h"
#include "common/Convert.h"
#include "common/ScopedWin.h"
#include "ui/App.h"
#include "startup/ShowWindows.h"
#include "startup/Startup.h"

namespace tessaly {

namespace {

const UINT kScreenSaverRunning = 97;  // SPI_SCREENSAVERRUNNING

// Seconds since midnight, local time, with the fraction.
double TimeOfDay() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}

// The screen-saver password check of the systems that have one; without the
// component there is nothing to check against and the close goes ahead.
bool VerifyScreenSavePwd(HWND owner) {
  const Library cpl("password.cpl");
  if (!cpl) return true;
  using Verify = BOOL(WINAPI*)(HWND);
  const auto verify = cpl.Function<Verify>("VerifyScreenSavePwd");
  return verify == nullptr || verify(owner) != 0;
}

}  // namespace

std::string ReadRegValue(uintptr_t rootKey, const std::string& keyPath, const std::string& valueName) {
  const uintptr_t first = reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT);
  const uintptr_t last = reinterpret_cast<uintptr_t>(HKEY_DYN_DATA);
  if (rootKey < first || rootKey > last) return std::string();
  RegistryKey key;
  if (key.Open(reinterpret_cast<HKEY>(rootKey), keyPath.c_str(), KEY_READ) != ERROR_SUCCESS) return std::string();
  char buffer[256] = {};
  DWORD type = 0;
  DWORD length = 255;
  std::string result;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &length) ==
      ERROR_SUCCESS) {
    std::string text(buffer, strnlen(buffer, 255));
    if (type == REG_DWORD && length >= 4) {
      DWORD value = 0;
      memcpy(&value, buffer, 4);
      text = std::to_string(value);
      if (text.size() < 3) text.insert(0, 3 - text.size(), '0');
    }
    if (length >= 1) result = text.substr(0, length - 1);
  }
  return result;
}

MainForm::MainForm() : ShowForm(kMainFormCaption) {
  PicBase_.KeyDown = [this](int k, int s) { PicBase_KeyDown(k, s); };
  PicBase_.MouseMove = [this](int b, int s, float x, float y) { PicBase_MouseMove(b, s, x, y); };
  PicPreview_.MouseMove = [this](int b, int s, float x, float y) { PicPreview_MouseMove(b, s, x, y); };
}

MainForm::~MainForm() = default;

void MainForm::HideCursor() {
  while (ShowCursor(FALSE) >= -5) {}
}

void MainForm::GetPlatformId() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&info);
#pragma GCC diagnostic pop
  PlatformId = info.dwPlatformId;
}

void MainForm::Form_Load() {
  PicBase_.Create(hWnd());
  SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  const std::vector<MonitorRect> monitors = ListMonitors();
  monitor_ = monitors.empty() ? SystemMonitors().front() : monitors.front();
  Layout();
  try {
    UsePassword = ToInt16(NumberOfText(ReadRegValue(reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER),
                                                    "Control Panel\\Desktop", "ScreenSaveUsePassword")));
  } catch (const AppError&) {
    UsePassword = 0;  // a value beyond 16 bits is no password setting we know
  }
  GetPlatformId();
  if (PasswordMode()) {
    UINT scratch = 0;
    SystemParametersInfoA(kScreenSaverRunning, 1, &scratch, 0);
  }
  Engine().StartSlideShow(PicPreview_, 1, *this);
  CoverMonitors();
  GetCursorPos(&lastCursor_);
  HideCursor();
}

void MainForm::Layout() {
  PicBase_.SetFont("MS Serif", 12, false);
  Cover(monitor_);
}

void MainForm::CoverMonitors() {
  std::vector<MonitorRect> all = ListMonitors();
  if (all.empty()) return;
  if (!(all.front() == monitor_)) Cover(all.front());
  const std::vector<MonitorRect> others(all.begin() + 1, all.end());
  std::vector<MonitorRect> covered;
  for (const auto& m : monitors_) covered.push_back(m->Monitor());
  const MonitorAssignment assignment = AssignMonitors(covered, others);
  std::vector<std::unique_ptr<MonitorForm>> kept;
  for (std::size_t i = 0; i < monitors_.size(); ++i) {
    const int to = assignment.monitorOfWindow[i];
    if (to < 0) {
      monitors_[i]->Release();
      monitors_[i]->Unload();
      // Its tick may be running below this message (a transition lets
      // messages through): the object stays until the show ends.
      retired_.push_back(std::move(monitors_[i]));
      continue;
    }
    if (!(monitors_[i]->Monitor() == others[static_cast<std::size_t>(to)]))
      monitors_[i]->MoveTo(others[static_cast<std::size_t>(to)]);
    kept.push_back(std::move(monitors_[i]));
  }
  monitors_ = std::move(kept);
  for (std::size_t m : assignment.newWindows) {
    auto form = std::make_unique<MonitorForm>(*this, others[m]);
    form->Show();
    monitors_.push_back(std::move(form));
  }
}

LRESULT MainForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DISPLAYCHANGE) {
    // A monitor added, removed or changed: no monitor left uncovered, no
    // window left off the screen.
    CoverMonitors();
  }
  return ShowForm::WndProc(msg, wParam, lParam);
}

void MainForm::Form_KeyDown(int, int) { Unload(); }
void MainForm::PicBase_KeyDown(int, int) { Unload(); }
void MainForm::Form_MouseDown(int, int, float, float) { Unload(); }
void MainForm::Form_MouseMove(int, int, float, float) { MouseMoved(); }
void MainForm::PicBase_MouseMove(int, int, float, float) { MouseMoved(); }
void MainForm::PicPreview_MouseMove(int, int, float, float) { MouseMoved(); }

void MainForm::MouseMoved() {
  POINT now{};
  GetCursorPos(&now);
  if (now.x == lastCursor_.x && now.y == lastCursor_.y) return;
  lastCursor_ = now;
  CountMouseMove();
}

void MainForm::CountMouseMove() {
  ++MouseMoves;
  if (MouseMoves == 10) Unload();
  const double now = TimeOfDay();
  if (FirstMoveTime == 0) {
    FirstMoveTime = ToInt32(now);
  } else if (now - FirstMoveTime > 10.0) {
    FirstMoveTime = 0;
    MouseMoves = 0;
  }
}

void MainForm::Form_QueryUnload(int& Cancel, int) {
  SlideShow& show = Engine();
  show.StopShow = true;
  if (!PasswordMode()) return;
  while (ShowCursor(TRUE) <= 5) {}
  if (!VerifyScreenSavePwd(hWnd())) {
    HideCursor();
    Cancel = 1;
    show.StopShow = false;
  }
}

void MainForm::Form_Unload(int&) {
  for (const auto& monitor : monitors_) {
    monitor->Release();
    monitor->Unload();
  }
  while (ShowCursor(TRUE) < 6) {}
  if (PasswordMode()) {
    UINT scratch = 0;
    SystemParametersInfoA(kScreenSaverRunning, 0, &scratch, 0);
  }
  tmrSwitch_.SetEnabled(false);
}

void MainForm::tmrSwitch_Timer() {
  SlideShow& show = Engine();
  if (!show.StopShow) show.NextSlide(PicPreview_, imgFullSize_, 0);
}

}  // namespace tessaly
