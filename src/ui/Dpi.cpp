#include "ui/Dpi.h"

#include <cmath>

#include "common/ScopedWin.h"
#include "ui/App.h"

namespace tessaly::ui {
namespace {

bool g_monitorScaling = false;

int ScreenDpi() { return ScreenDC().Dpi(LOGPIXELSX); }

// The DLLs whose newer functions are looked up; loaded once, for the life
// of the process.
const Library& User32() {
  static const Library user32("user32.dll");
  return user32;
}
const Library& Shcore() {
  static const Library shcore("shcore.dll");
  return shcore;
}

}  // namespace

void SetMonitorDpiScaling(bool on) { g_monitorScaling = on; }
bool MonitorDpiScaling() { return g_monitorScaling; }

int WindowDpi(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn getDpiForWindow = User32().Function<Fn>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

int MonitorDpi(HMONITOR monitor) {
  using Fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const Fn getDpiForMonitor = Shcore().Function<Fn>("GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (getDpiForMonitor && monitor && SUCCEEDED(getDpiForMonitor(monitor, 0 /* effective */, &x, &y)) && x > 0)
    return static_cast<int>(x);
  return ScreenDpi();
}

void EnablePerMonitorAwareness() {
  using ContextFn = BOOL(WINAPI*)(HANDLE);
  using AwareFn = BOOL(WINAPI*)();
  static const ContextFn setContext = User32().Function<ContextFn>("SetProcessDpiAwarenessContext");
  if (setContext) {
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; refused (access denied)
    // when the manifest has set the awareness already, which is as good.
    setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)));
    return;
  }
  static const AwareFn setAware = User32().Function<AwareFn>("SetProcessDPIAware");
  if (setAware) setAware();
}

double TwipsScale::TwipsX() const { return dpi_ ? 1440.0 / dpi_ : ui::TwipsX(); }
double TwipsScale::TwipsY() const { return dpi_ ? 1440.0 / dpi_ : ui::TwipsY(); }
int TwipsScale::ToPixelsX(double twips) const { return static_cast<int>(std::lround(twips / TwipsX())); }
int TwipsScale::ToPixelsY(double twips) const { return static_cast<int>(std::lround(twips / TwipsY())); }
long TwipsScale::ToTwipsX(long pixels) const { return std::lround(pixels * TwipsX()); }
long TwipsScale::ToTwipsY(long pixels) const { return std::lround(pixels * TwipsY()); }
int TwipsScale::PenPixels(int width) const { return dpi_ ? MulDiv(width, dpi_, 96) : width; }

}  // namespace tessaly::ui
