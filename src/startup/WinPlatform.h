// The platform services of the show on Win32, over the window layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "show/ShowHost.h"

namespace tessaly {

class WinPlatform : public ShowPlatform {
 public:
  PicturePtr LoadPicture(const std::string& path) override;
  long ScreenWidthTwips() override;
  long ScreenHeightTwips() override;
  void DoEvents() override;
  void DelayPasses(long passes) override;
  double Now() override;
  void WaitFrame() override;
  // PlaySoundW; an empty name passes a null name, which stops the sound.
  bool PlayWave(const std::string& fileName, uint32_t flags) override;
  int ShowCursor(bool show) override;
  void EnableWindow(uintptr_t hwnd, bool enable) override;
  std::vector<LoadedWindow*> LoadedWindows() override;
  [[noreturn]] void EndProgram() override;
  RandomSource& Random() override;
  // Folder entries are walked on a thread of their own.
  bool WalkFoldersInBackground() override { return true; }
};

}  // namespace tessaly
