// The controls of the program's windows as the platform-neutral code sees
// them: a drawing surface, image controls, timers and the loaded windows.
// The window layer implements them; the unit tests implement them with
// recording stand-ins.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tessaly {

class Timer;

// An RGB colour, red in the low byte.
using Color = int32_t;

// A decoded picture with its natural size in twips.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual long WidthTwips() const = 0;
  virtual long HeightTwips() const = 0;
};
using PicturePtr = std::shared_ptr<const Picture>;

// A rectangle in twips with fractions, for motion drawn between pixels.
struct MotionRect {
  double left = 0, top = 0, width = 0, height = 0;
  double Right() const { return left + width; }
  double Bottom() const { return top + height; }
  bool operator==(const MotionRect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

// A picture as one frame of motion draws it: `drawn` is where (it may lie
// partly off the surface), `largestWidth` x `largestHeight` the largest it
// is drawn while it moves (so it is decoded once, at the size that needs),
// `part` the part of the picture that ever shows (in shares of its width
// and height: a picture larger than the screen is decoded only there), and
// a frame of `frameWidth` twips in `frameColor` beneath it when `framed`.
struct MotionLayer {
  PicturePtr picture;
  MotionRect drawn;
  double largestWidth = 0, largestHeight = 0;
  MotionRect part{0, 0, 1, 1};
  bool framed = false;
  double frameWidth = 0;
  Color frameColor = 0;
};

// Composes and presents frames of motion on a surface: a cross-fade and a
// picture that pans and zooms.
class MotionCanvas {
 public:
  virtual ~MotionCanvas() = default;
  // Composes `area` of the surface and presents it at once: the background
  // colour `back` with `from` on it, blended by `alpha` into the background
  // with `to` on it (0 shows the first alone, 1 the second alone). Either
  // layer may be null (the background alone). Nothing outside `area` is
  // touched.
  virtual void DrawFrame(const MotionRect& area, Color back, const MotionLayer* from, const MotionLayer* to,
                         double alpha) = 0;
  // Calls `frame` once per display frame, from the message loop, until it
  // returns false or StopFrames is called; a frame is also asked for
  // whenever the surface is repainted meanwhile.
  virtual void RunFrames(std::function<bool()> frame) = 0;
  virtual void StopFrames() = 0;
  virtual bool RunsFrames() const = 0;
  // Lets go of the pictures and buffers held for motion.
  virtual void Release() = 0;
};

// The options of the line primitive.
enum class LineStyle { Line, Box, BoxFilled };

// A picture box used as drawing surface. Positions in twips, relative to its
// top-left corner; pen widths in pixels. Drawing goes straight to the
// screen, over whatever is shown, and stays until that area is repainted.
class Surface {
 public:
  virtual ~Surface() = default;
  virtual long Width() const = 0;
  virtual long Height() const = 0;
  // Clears all drawing (repaints background and images); CurrentX/Y = 0.
  virtual void Cls() = 0;
  virtual long TextWidth(const std::string& text) = 0;
  virtual long TextHeight(const std::string& text) = 0;
  virtual double CurrentX() const = 0;
  virtual double CurrentY() const = 0;
  virtual void SetCurrentX(double x) = 0;
  virtual void SetCurrentY(double y) = 0;
  // Prints at (CurrentX, CurrentY) in ForeColor and the surface's font.
  virtual void Print(const std::string& text) = 0;
  virtual int DrawWidth() const = 0;
  // A width below 1 raises an invalid-property error.
  virtual void SetDrawWidth(int pixels) = 0;
  virtual Color ForeColor() const = 0;
  virtual void SetForeColor(Color c) = 0;
  virtual Color BackColor() const = 0;
  // Setting the background colour clears the surface as Cls does.
  virtual void SetBackColor(Color c) = 0;
  virtual Color FillColor() const = 0;
  virtual void SetFillColor(Color c) = 0;
  // A line with the current pen width and round ends, or a rectangle with
  // the given corners (outline, or filled with `color`).
  virtual void Line(double x1, double y1, double x2, double y2, Color color, LineStyle style = LineStyle::Line) = 0;
  // A circle outline in ForeColor with the current pen width.
  virtual void Circle(double x, double y, double radius) = 0;
  // A round dot as wide as the pen, centred on the point.
  virtual void PSet(double x, double y, Color color) = 0;
  // Where the surface draws motion; nullptr where it cannot.
  virtual MotionCanvas* Motion() { return nullptr; }
};

// The size of a screen in twips.
struct ScreenSize {
  long width = 0;
  long height = 0;
};

// A loaded window of the program.
class LoadedWindow {
 public:
  virtual ~LoadedWindow() = default;
  // False once the window has been unloaded.
  virtual bool Loaded() const = 0;
  virtual bool Visible() const = 0;
  // The window's show timer; nullptr when it has none.
  virtual Timer* SwitchTimer() = 0;
  virtual void Unload() = 0;
  // The screen a show in this window is placed for, in twips: a full-screen
  // show window names the monitor it covers. Empty: the platform's screen
  // (the primary monitor).
  virtual std::optional<ScreenSize> ShowScreen() const { return std::nullopt; }
  // Whether the slides of this window play the sound list. A show runs one
  // window per monitor; the sounds belong to the one on the primary monitor,
  // so the others' slides would not cut them off.
  virtual bool PlaysSounds() const { return true; }
};

// An image control inside a surface. The target stretches its picture to
// its own size; the work image takes its picture's natural size. Showing,
// hiding, moving, resizing or re-picturing a visible image repaints its area
// at once (background, then images), so drawing there disappears.
class Image {
 public:
  virtual ~Image() = default;
  virtual long Left() const = 0;
  virtual long Top() const = 0;
  virtual long Width() const = 0;
  virtual long Height() const = 0;
  virtual void SetLeft(long v) = 0;
  virtual void SetTop(long v) = 0;
  virtual void SetWidth(long v) = 0;
  virtual void SetHeight(long v) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool v) = 0;
  virtual PicturePtr GetPicture() const = 0;
  // nullptr empties the image.
  virtual void SetPicture(PicturePtr picture) = 0;
  virtual Surface& Container() = 0;
  // The window the image belongs to.
  virtual LoadedWindow& Parent() = 0;
};

class Timer {
 public:
  virtual ~Timer() = default;
  virtual long Interval() const = 0;
  // 0 to 65535 ms; anything else raises an invalid-property error and keeps
  // the previous interval.
  virtual void SetInterval(long ms) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool on) = 0;
};

}  // namespace tessaly
