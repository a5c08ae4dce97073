#include "startup/WinPlatform.h"

#include "ui/App.h"
#include "ui/Dpi.h"
#include "ui/FrameClock.h"
#include "ui/ImageControl.h"
#include "common/WideText_win.h"

namespace tessaly {

PicturePtr WinPlatform::LoadPicture(const std::string& path) { return ui::LoadPictureFile(path); }

namespace {

// The primary monitor in twips: at its real DPI with per-monitor scaling on
// (as the windows there convert), else at the process-wide twips.
long PrimaryTwips(int pixels, int processTwips) {
  if (!ui::MonitorDpiScaling()) return static_cast<long>(pixels) * processTwips;
  ui::TwipsScale scale;
  scale.SetDpi(ui::MonitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)));
  return scale.ToTwipsX(pixels);
}

}  // namespace

long WinPlatform::ScreenWidthTwips() { return PrimaryTwips(GetSystemMetrics(SM_CXSCREEN), ui::TwipsX()); }

long WinPlatform::ScreenHeightTwips() { return PrimaryTwips(GetSystemMetrics(SM_CYSCREEN), ui::TwipsY()); }

void WinPlatform::DoEvents() { ui::DoEvents(); }

void WinPlatform::DelayPasses(long passes) { ui::DelayPasses(passes); }

double WinPlatform::Now() { return ui::Now(); }

void WinPlatform::WaitFrame() { ui::WaitFrame(); }

bool WinPlatform::PlayWave(const std::string& fileName, uint32_t flags) {
  const std::wstring name = Wide(fileName);
  return ::PlaySoundW(fileName.empty() ? nullptr : name.c_str(), nullptr, flags) != FALSE;
}

int WinPlatform::ShowCursor(bool show) { return ::ShowCursor(show ? TRUE : FALSE); }

void WinPlatform::EnableWindow(uintptr_t hwnd, bool enable) {
  ::EnableWindow(reinterpret_cast<HWND>(hwnd), enable ? TRUE : FALSE);
}

std::vector<LoadedWindow*> WinPlatform::LoadedWindows() { return ui::Forms(); }

void WinPlatform::EndProgram() { ui::EndProgram(); }

RandomSource& WinPlatform::Random() { return SystemRandom(); }

}  // namespace tessaly
