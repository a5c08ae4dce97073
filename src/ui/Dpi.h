// Twips per pixel that follow the DPI of each window's monitor.
//
// With per-monitor scaling off (the default) every window converts with the
// process-wide twips of InitTwips, as the tests and helper programs expect.
// The program turns it on at start-up, beside the per-monitor awareness its
// manifest declares: then each form takes the DPI of its monitor when it is
// created and whenever WM_DPICHANGED reports a new one, so twips are
// 1440 / DPI of a pixel there (7.5 at 192 DPI), and pen widths, fonts and
// everything sized in twips grow with the DPI while a picture's pixels stay
// device pixels.
#pragma once

#include "common/Win32.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace tessaly::ui {

void SetMonitorDpiScaling(bool on);
bool MonitorDpiScaling();

// The DPI of the monitor the window is on (GetDpiForWindow where the system
// has it, Windows 10 1607 and later), else the screen's.
int WindowDpi(HWND hwnd);
// The DPI of a monitor (GetDpiForMonitor of shcore where the system has it),
// else the screen's.
int MonitorDpi(HMONITOR monitor);
// Makes the process per-monitor DPI aware where the manifest's setting did
// not take (systems that read only the older setting).
void EnablePerMonitorAwareness();

// The twips scale of one form.
class TwipsScale {
 public:
  // 0: no DPI of its own, the process-wide twips apply.
  int Dpi() const { return dpi_; }
  void SetDpi(int dpi) { dpi_ = dpi > 0 ? dpi : 0; }
  double TwipsX() const;
  double TwipsY() const;
  int ToPixelsX(double twips) const;
  int ToPixelsY(double twips) const;
  long ToTwipsX(long pixels) const;
  long ToTwipsY(long pixels) const;
  // A pen width given in pixels of a 96-DPI screen, in device pixels.
  int PenPixels(int width) const;

 private:
  int dpi_ = 0;
};

}  // namespace tessaly::ui
