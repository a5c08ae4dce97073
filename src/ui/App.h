// Process-wide services of the window layer: the twips scale, the list of
// loaded forms, message pumping, the transition pacer and the platform
// object the show engine runs on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Win32.h"
#include "ShowHost.h"

namespace tessaly::ui {

class Form;

// Twips per pixel horizontally and vertically (15/15 until set).
void InitTwips(int twipsX, int twipsY);
int TwipsX();
int TwipsY();

// Pixel <-> twip conversions with the current scale (pixels rounded).
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

// Registers a window class of the layer once (double clicks on, arrow
// cursor); a class that already exists counts as registered.
void RegisterWindowClass(const char* name, WNDPROC proc, HBRUSH background);

// The loaded forms, in load order.
std::vector<LoadedWindow*> Forms();

// Runs every pending message once. A WM_QUIT seen here is posted again so
// the main loop still ends.
void DoEvents();

// Waits `passes` × 25 µs of wall time while pumping messages, without
// spinning a core. The time owed is kept between calls, so many short
// delays add up to the sum of their passes.
void DelayPasses(long passes);

// GetMessage loop until WM_QUIT; returns its exit code. Returns 0 at once
// when no form is loaded.
int RunMessageLoop();

// Ends the process at once (ExitProcess(0)); no handler runs.
[[noreturn]] void EndProgram();

// The platform services of the show on Win32.
class WinPlatform : public ShowPlatform {
 public:
  PicturePtr LoadPicture(const std::string& path) override;
  long ScreenWidthTwips() override;
  long ScreenHeightTwips() override;
  void DoEvents() override;
  void DelayPasses(long passes) override;
  // PlaySoundA; an empty name passes a null name, which stops the sound.
  // <mmsystem.h> spells PlaySound as PlaySoundA in files that include it
  // before ShowHost.h; declaring both spellings keeps the override in
  // either case (both do the same).
  bool PlaySound(const std::string& fileName, uint32_t flags);
  bool PlaySoundA(const std::string& fileName, uint32_t flags);
  int ShowCursor(bool show) override;
  void EnableWindow(uintptr_t hwnd, bool enable) override;
  std::vector<LoadedWindow*> LoadedWindows() override;
  [[noreturn]] void EndProgram() override;
  RandomSource& Random() override;
};

namespace detail {
// Bookkeeping used by Form.
void AddForm(Form* form);
// Removes the form; true when it was listed.
bool RemoveForm(Form* form);
std::size_t FormCount();
}  // namespace detail

}  // namespace tessaly::ui
