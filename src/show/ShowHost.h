// What the slide-show engine needs from the windows that host a show and from
// the platform, beyond the controls themselves (Controls.h). The host windows
// and the start-up implement these; the unit tests implement them with
// recording stand-ins.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Controls.h"
#include "common/ListBox.h"
#include "common/mCollection.h"

namespace tessaly {

// A window that runs a show: its surface, target and work images, timer and,
// in the configuration window, its two list boxes.
class ShowHost {
 public:
  virtual ~ShowHost() = default;
  virtual Surface& PicBase() = 0;
  virtual Image& PicPreview() = 0;
  virtual Image& imgFullSize() = 0;
  virtual Timer& tmrSwitch() = 0;
  // lstList(0) pictures, lstList(1) sounds; nullptr where the host has none.
  virtual ListBox* lstList(int /*index*/) { return nullptr; }
};

// The configuration window as the list transfers see it.
class ConfigLists {
 public:
  virtual ~ConfigLists() = default;
  // lstList(0) pictures, lstList(1) sounds (the same lists the window
  // shows as a ShowHost).
  virtual ListBox* lstList(int index) = 0;
  virtual std::string CurPlayList() const = 0;
  virtual void SetCurPlayList(const std::string& path) = 0;
};

// Process-wide services of the platform.
class ShowPlatform {
 public:
  virtual ~ShowPlatform() = default;
  // Decodes a picture file; a missing, unreadable or non-picture file raises
  // an AppError.
  virtual PicturePtr LoadPicture(const std::string& path) = 0;
  virtual long ScreenWidthTwips() = 0;
  virtual long ScreenHeightTwips() = 0;
  // Lets pending window messages run once.
  virtual void DoEvents() = 0;
  // Seconds on a steady clock (its origin is of no account): motion is
  // paced by it.
  virtual double Now() = 0;
  // Lets window messages run until the display's next frame is due (the
  // compositor's frame clock where there is one, 60 per second otherwise);
  // other windows' motion frames are drawn meanwhile.
  virtual void WaitFrame() = 0;
  // Lets pending window messages run `passes` more times, each pass lasting
  // a fixed short time (waiting, not spinning). The pace of transitions.
  virtual void DelayPasses(long passes) = 0;
  // Plays a WAV file (PlaySoundA with these flags); true when the platform
  // accepted the sound.
  virtual bool PlayWave(const std::string& fileName, uint32_t flags) = 0;
  // ShowCursor; returns the new display count.
  virtual int ShowCursor(bool show) = 0;
  virtual void EnableWindow(uintptr_t hwnd, bool enable) = 0;
  // The loaded windows of the program, in load order.
  virtual std::vector<LoadedWindow*> LoadedWindows() = 0;
  // Ends the program at once: no closing handler runs.
  [[noreturn]] virtual void EndProgram() = 0;
  virtual RandomSource& Random() = 0;
  // Whether folder entries are walked on a thread of their own while the
  // show runs (otherwise at once, when the show starts).
  virtual bool WalkFoldersInBackground() { return false; }
};

}  // namespace tessaly
