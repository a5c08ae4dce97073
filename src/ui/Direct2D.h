// Motion drawn by Direct2D on the graphics processor. d2d1.dll (and dxgi.dll,
// which tells whether a hardware device exists) are loaded at run time: the
// program imports neither, and where they are missing the processor draws.
#pragma once

#include "common/Win32.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tessaly::ui {

struct FrameBuffer;

// A layer of a frame as Direct2D draws it: the picture's pixels held, where
// they lie on the surface (pixels, with fractions), and the frame beneath.
struct Direct2DLayer {
  const FrameBuffer* pixels = nullptr;
  double left = 0, top = 0, width = 0, height = 0;
  bool framed = false;
  RECT frame{};
  COLORREF frameColor = 0;
};

class Direct2DRenderer {
 public:
  // A renderer for the window, or null where Direct2D cannot be loaded
  // or, with `requireHardware`, where the system has no graphics device
  // of its own (DXGI lists only software adapters) or Direct2D cannot make a
  // hardware render target.
  static std::unique_ptr<Direct2DRenderer> Create(HWND hwnd, bool requireHardware);
  // Whether DXGI lists an adapter that is not a software one.
  static bool HardwareAdapter();
  ~Direct2DRenderer();
  Direct2DRenderer(const Direct2DRenderer&) = delete;
  Direct2DRenderer& operator=(const Direct2DRenderer&) = delete;

  // Draws the whole window: the background with `from`, blended by `alpha`
  // into the background with `to`, and presents it. False when the device
  // failed (the caller draws by the processor from then on).
  bool Draw(SIZE client, COLORREF back, const Direct2DLayer* from, const Direct2DLayer* to, double alpha);
  // Lets go of the bitmaps of pixels no longer in `inUse`.
  void Forget(const std::vector<const FrameBuffer*>& inUse);
  void Release();

 private:
  struct Impl;
  explicit Direct2DRenderer(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace tessaly::ui
