#include "WinPlatform.h"

#include "App.h"
#include "Picture.h"

namespace tessaly {

PicturePtr WinPlatform::LoadPicture(const std::string& path) { return ui::LoadPictureFile(path); }

long WinPlatform::ScreenWidthTwips() { return static_cast<long>(GetSystemMetrics(SM_CXSCREEN)) * ui::TwipsX(); }

long WinPlatform::ScreenHeightTwips() { return static_cast<long>(GetSystemMetrics(SM_CYSCREEN)) * ui::TwipsY(); }

void WinPlatform::DoEvents() { ui::DoEvents(); }

void WinPlatform::DelayPasses(long passes) { ui::DelayPasses(passes); }

bool WinPlatform::PlaySound(const std::string& fileName, uint32_t flags) {
  return ::PlaySoundA(fileName.empty() ? nullptr : fileName.c_str(), nullptr, flags) != FALSE;
}

int WinPlatform::ShowCursor(bool show) { return ::ShowCursor(show ? TRUE : FALSE); }

void WinPlatform::EnableWindow(uintptr_t hwnd, bool enable) {
  ::EnableWindow(reinterpret_cast<HWND>(hwnd), enable ? TRUE : FALSE);
}

std::vector<LoadedWindow*> WinPlatform::LoadedWindows() { return ui::Forms(); }

void WinPlatform::EndProgram() { ui::EndProgram(); }

RandomSource& WinPlatform::Random() { return SystemRandom(); }

}  // namespace tessaly
