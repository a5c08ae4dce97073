// What the show windows share (covering a monitor, a new DPI), and the show
// windows on the monitors besides the primary.
#include <windows.h>

#include <cmath>

#include "ui/App.h"
#include "startup/ShowWindows.h"

namespace tessaly {

namespace {

const char kMonitorFormCaption[] = "Screen Saver Monitor Form";

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  auto* list = reinterpret_cast<std::vector<MonitorRect>*>(param);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  const MonitorRect rect{r.left, r.top, r.right, r.bottom};
  if (info.dwFlags & MONITORINFOF_PRIMARY) {
    list->insert(list->begin(), rect);
  } else {
    list->push_back(rect);
  }
  return TRUE;
}

}  // namespace

std::vector<MonitorRect> SystemMonitors() {
  std::vector<MonitorRect> list;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
  if (list.empty()) list.push_back(MonitorRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  return list;
}

// ---------------------------------------------------------------------------
// ShowForm

std::optional<ScreenSize> ShowForm::ShowScreen() const {
  return ScreenSize{Scale().ToTwipsX(monitor_.Width()), Scale().ToTwipsY(monitor_.Height())};
}

void ShowForm::Cover(const MonitorRect& monitor) {
  monitor_ = monitor;
  if (!hWnd()) return;
  RECT was{};
  GetWindowRect(hWnd(), &was);
  const bool moved = !(MonitorRect{was.left, was.top, was.right, was.bottom} == monitor);
  SetWindowPos(hWnd(), nullptr, monitor.left, monitor.top, monitor.Width(), monitor.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (moved && ui::MonitorDpiScaling()) {
    const int dpi = ui::WindowDpi(hWnd());
    if (dpi != Scale().Dpi()) {
      RECT r{monitor.left, monitor.top, monitor.right, monitor.bottom};
      Form_DpiChanged(dpi, r);  // lays the window out again
      return;
    }
  }
  PicBase_.Move(0, 0, Scale().ToTwipsX(monitor.Width()), Scale().ToTwipsY(monitor.Height()));
}

void ShowForm::Form_DpiChanged(int dpi, const RECT&) {
  if (dpi <= 0) return;
  const double was = Scale().TwipsX();
  SetDpi(dpi);
  const double ratio = Scale().TwipsX() / was;
  for (ui::ImageControl* image : {&imgFullSize_, &PicPreview_}) {
    image->Move(std::lround(image->Left() * ratio), std::lround(image->Top() * ratio),
                std::lround(image->Width() * ratio), std::lround(image->Height() * ratio));
  }
  Layout();
}

// ---------------------------------------------------------------------------
// MonitorForm

MonitorForm::MonitorForm(MainForm& primary, const MonitorRect& monitor)
    : ShowForm(kMonitorFormCaption), primary_(primary) {
  monitor_ = monitor;
  PicBase_.KeyDown = [this](int k, int s) { Form_KeyDown(k, s); };
  PicBase_.MouseMove = [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };
  PicPreview_.MouseMove = [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };
}

void MonitorForm::Form_Load() {
  PicBase_.Create(hWnd());
  SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  Layout();
  Engine().JoinSlideShow(PicPreview_, *this);
}

void MonitorForm::Layout() {
  PicBase_.SetFont("MS Serif", 12, false);
  Cover(monitor_);
}

void MonitorForm::MoveTo(const MonitorRect& monitor) { Cover(monitor); }

void MonitorForm::Form_KeyDown(int, int) { primary_.Unload(); }
void MonitorForm::Form_MouseDown(int, int, float, float) { primary_.Unload(); }
void MonitorForm::Form_MouseMove(int, int, float, float) { primary_.MouseMoved(); }

void MonitorForm::Form_QueryUnload(int& Cancel, int) {
  if (released_) return;
  // Closing one of the windows ends the whole show, with its question; when
  // that close is refused, this window stays as well.
  primary_.Unload();
  if (primary_.Loaded()) Cancel = 1;
}

void MonitorForm::Form_Unload(int&) { tmrSwitch_.SetEnabled(false); }

void MonitorForm::tmrSwitch_Timer() {
  SlideShow& show = Engine();
  if (!show.StopShow) show.NextSlide(PicPreview_, imgFullSize_, 0);
}

}  // namespace tessaly
