// Motion on a picture box: the frames of a cross-fade and of a picture
// that pans and zooms, composed and presented in the box's window.
//
// Two ways of drawing, chosen at run time:
// - the processor's: our own SSE2 kernels (picture/Pixels.h) compose each
//   frame in a DIB section, which is copied to the window. The pictures are
//   decoded once per slide at the size the largest zoom needs, only the part
//   that ever shows;
// - Direct2D on the graphics processor (Direct2D.h), where a hardware
//   device exists and it measures faster than the processor's way.
// The environment variable TESSALY_MOTION=cpu or =d2d forces one of them (a
// diagnostic switch; d2d is taken only where Direct2D can be loaded).
#pragma once

#include "common/Win32.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Controls.h"
#include "ui/FrameClock.h"

namespace tessaly::ui {

class PictureBox;
class Direct2DRenderer;

// A 32-bit top-down DIB section with a memory DC it stays selected into.
struct FrameBuffer {
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  HDC dc = nullptr;
  uint32_t* bits = nullptr;
  int width = 0, height = 0;
  uint64_t serial = 0;  // a number of its own for every buffer made
  FrameBuffer() = default;
  FrameBuffer(const FrameBuffer&) = delete;
  FrameBuffer& operator=(const FrameBuffer&) = delete;
  ~FrameBuffer() { Reset(); }
  bool Make(int w, int h);
  void Reset();
  uint32_t* Row(int y) const { return bits + static_cast<std::size_t>(y) * width; }
};

class FrameCanvas : public MotionCanvas, private FrameClient {
 public:
  explicit FrameCanvas(PictureBox& box);
  ~FrameCanvas() override;
  FrameCanvas(const FrameCanvas&) = delete;
  FrameCanvas& operator=(const FrameCanvas&) = delete;

  void DrawFrame(const MotionRect& area, Color back, const MotionLayer* from, const MotionLayer* to,
                 double alpha) override;
  void RunFrames(std::function<bool()> frame) override;
  void StopFrames() override;
  bool RunsFrames() const override { return running_; }
  void Release() override;
  // The box's window goes: frames stop, and everything held for it goes.
  void Detach();

  // The box is being repainted while frames run: draws one now; false when
  // no frames run.
  bool Repaint();

  // What drew the last frame: "cpu" or "d2d" ("" before the first), and how
  // many frames this canvas has drawn.
  const char* Path() const;
  long FramesDrawn() const { return frames_; }
  // How many times a picture was decoded for motion, and the size (of the
  // whole picture) and part the last one was decoded at.
  static long SourceRenders();
  static SIZE LastSourceSize();
  static RECT LastSourcePart();

 private:
  bool Frame() override;

  // A picture's pixels as motion draws them: `part` of the picture at
  // `size`, in a DIB section.
  struct Source {
    PicturePtr picture;
    SIZE size{};
    RECT part{};
    COLORREF back = 0;
    std::unique_ptr<FrameBuffer> pixels;
    long lastUsed = 0;  // the frame that last drew it
  };
  const Source* SourceFor(const MotionLayer& layer, COLORREF back);
  // Composes the background and `layer` into `buffer` within `clip`.
  void Compose(FrameBuffer& buffer, const RECT& clip, COLORREF back, const MotionLayer* layer);
  // The same, kept while the layer does not move (a still cross-fade
  // composes each picture once).
  struct Composed {
    bool valid = false;
    const Picture* picture = nullptr;
    MotionRect drawn;
    RECT clip{};
    COLORREF back = 0;
  };
  void ComposeKept(FrameBuffer& buffer, Composed& kept, const RECT& clip, COLORREF back, const MotionLayer* layer);
  bool DrawByProcessor(const RECT& clip, COLORREF back, const MotionLayer* from, const MotionLayer* to, double alpha);
  bool DrawByDirect2D(const RECT& clip, COLORREF back, const MotionLayer* from, const MotionLayer* to, double alpha);
  void Present(const RECT& clip);
  // Which way draws, chosen by measurement over the first frames.
  bool UseDirect2D(const RECT& clip);

  PictureBox& box_;
  std::function<bool()> frame_;
  bool running_ = false;
  long frames_ = 0;
  long drawing_ = 0;  // the frame being drawn, counted from 1
  bool lastD2D_ = false;
  FrameBuffer back_, from_, to_;
  Composed fromKept_, toKept_;
  std::vector<Source> sources_;  // at most two: the old and the new picture
  std::unique_ptr<Direct2DRenderer> d2d_;
  // Direct2D draws into a child window of its own over the box, shown
  // while it draws: the box's own drawing stays visible beneath it where
  // a system's Direct2D keeps its window's surface to itself.
  HWND d2dWindow_ = nullptr;
  void ShowDirect2DWindow(bool show);
  void DropDirect2D();
  // The measurement: frame times of each way.
  std::vector<double> cpuTimes_, d2dTimes_;
};

}  // namespace tessaly::ui
