#include "ui/FrameClock.h"

#include "common/Win32.h"

#include <dwmapi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/App.h"

namespace tessaly::ui {
namespace {

using IsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using FlushFn = HRESULT(WINAPI*)();
using TimingInfoFn = HRESULT(WINAPI*)(HWND, DWM_TIMING_INFO*);

template <typename F>
F Proc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The compositor, where there is one and it composes.
struct Compositor {
  FlushFn flush = nullptr;
  double period = 0;  // seconds, from its timing
};

Compositor FindCompositor() {
  Compositor c;
  const char* forced = std::getenv("TESSALY_FRAME_CLOCK");
  if (forced && std::strcmp(forced, "timer") == 0) return c;
  HMODULE dwm = LoadLibraryA("dwmapi.dll");
  auto enabled = Proc<IsCompositionEnabledFn>(dwm, "DwmIsCompositionEnabled");
  auto flush = Proc<FlushFn>(dwm, "DwmFlush");
  auto timing = Proc<TimingInfoFn>(dwm, "DwmGetCompositionTimingInfo");
  BOOL on = FALSE;
  if (!enabled || !flush || !timing || FAILED(enabled(&on)) || !on) return c;
  DWM_TIMING_INFO info{};
  info.cbSize = sizeof info;
  if (FAILED(timing(nullptr, &info)) || info.rateRefresh.uiNumerator == 0 || info.rateRefresh.uiDenominator == 0)
    return c;
  const double period = static_cast<double>(info.rateRefresh.uiDenominator) / info.rateRefresh.uiNumerator;
  if (!(period > 0.002 && period < 0.1)) return c;
  c.flush = flush;
  c.period = period;
  return c;
}

Compositor& TheCompositor() {
  static Compositor c = FindCompositor();
  return c;
}

constexpr double kTimerPeriod = 1.0 / 60;

std::vector<FrameClient*> g_clients;
double g_due = 0;        // when the next frame is due (timer pacing)
bool g_drawing = false;  // the clients' frames are being drawn

HANDLE Timer() {
  static HANDLE timer = CreateWaitableTimerA(nullptr, TRUE, nullptr);
  return timer;
}

// The next frame boundary after `now` on the timer's even beat.
double NextBeat(double now) { return (std::floor(now / kTimerPeriod) + 1) * kTimerPeriod; }

void DrawFrames() {
  if (g_drawing) return;
  g_drawing = true;
  // A client may go (or come) while another draws: work on a copy, asking
  // each whether it is still listed.
  const std::vector<FrameClient*> clients = g_clients;
  for (FrameClient* client : clients) {
    if (std::find(g_clients.begin(), g_clients.end(), client) == g_clients.end()) continue;
    if (!client->Frame()) RemoveFrameClient(client);
  }
  g_drawing = false;
  g_due = NextBeat(Now());
}

// Waits until `due` or until input arrives; true when `due` has come.
bool WaitUntil(double due) {
  static const bool fine = timeBeginPeriod(1) == TIMERR_NOERROR;
  (void)fine;
  const double left = due - Now();
  if (left <= 0) return true;
  HANDLE timer = Timer();
  if (timer) {
    LARGE_INTEGER when;
    when.QuadPart = -static_cast<LONGLONG>(left * 1e7);  // relative, in 100 ns
    if (SetWaitableTimer(timer, &when, 0, nullptr, nullptr, FALSE)) {
      const DWORD got = MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      return got == WAIT_OBJECT_0 || Now() >= due;
    }
  }
  MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::ceil(left * 1000)), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  return Now() >= due;
}

// Waits for the compositor's next frame; false where it cannot.
bool CompositorFrame() {
  Compositor& c = TheCompositor();
  if (!c.flush) return false;
  if (FAILED(c.flush())) {
    c.flush = nullptr;  // composition went off: the timer from now on
    return false;
  }
  return true;
}

}  // namespace

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart > 0 ? static_cast<double>(f.QuadPart) : 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

void AddFrameClient(FrameClient* client) {
  if (std::find(g_clients.begin(), g_clients.end(), client) == g_clients.end()) g_clients.push_back(client);
}

void RemoveFrameClient(FrameClient* client) {
  g_clients.erase(std::remove(g_clients.begin(), g_clients.end(), client), g_clients.end());
}

bool FramesWanted() { return !g_clients.empty(); }

const char* FramePacing() { return TheCompositor().flush ? "compositor" : "timer"; }

double FramePeriod() {
  const Compositor& c = TheCompositor();
  return c.flush ? c.period : kTimerPeriod;
}

void WaitFrame() {
  DoEvents();
  if (!CompositorFrame()) {
    const double due = NextBeat(Now());
    while (!WaitUntil(due)) DoEvents();
  }
  DoEvents();
  DrawFrames();
}

void WaitInputOrFrame() {
  if (CompositorFrame()) {
    DrawFrames();
    return;
  }
  if (g_due <= 0) g_due = Now();
  if (WaitUntil(g_due)) DrawFrames();
}

void RunDueFrames() {
  if (g_clients.empty() || g_drawing) return;
  if (Now() >= g_due) DrawFrames();
}

}  // namespace tessaly::ui
