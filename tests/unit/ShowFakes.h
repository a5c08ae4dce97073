// Recording stand-ins for the windows and platform services a show runs on.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/AppError.h"
#include "common/ListBox.h"
#include "show/ShowHost.h"

namespace tessaly {

// Raised by the stand-in platform where the real one ends the process.
struct ProgramEnded {};

struct DrawOp {
  enum Kind { Cls, Line, Box, BoxFilled, Circle, PSet, Print } kind;
  double x1, y1, x2, y2;  // Circle: centre and radius in x2
  Color color;
  int width;
  std::string text;
  DrawOp(Kind k, double a = 0, double b = 0, double c = 0, double d = 0, Color col = 0, int w = 0)
      : kind(k), x1(a), y1(b), x2(c), y2(d), color(col), width(w) {}
};

class FakePicture : public Picture {
 public:
  FakePicture(long w, long h, std::string path) : w_(w), h_(h), path_(std::move(path)) {}
  long WidthTwips() const override { return w_; }
  long HeightTwips() const override { return h_; }
  const std::string& Path() const { return path_; }

 private:
  long w_, h_;
  std::string path_;
};

inline std::string PathOf(const PicturePtr& p) {
  return p ? static_cast<const FakePicture&>(*p).Path() : std::string();
}

// Records the frames of motion; its frame clock turns when the test says.
class FakeCanvas : public MotionCanvas {
 public:
  struct Frame {
    MotionRect area;
    Color back;
    std::optional<MotionLayer> from, to;
    double alpha;
  };
  std::vector<Frame> frames;
  std::function<bool()> frame;
  bool running = false;
  int stops = 0, releases = 0;

  void DrawFrame(const MotionRect& area, Color back, const MotionLayer* from, const MotionLayer* to,
                 double alpha) override {
    Frame f{area, back, std::nullopt, std::nullopt, alpha};
    if (from) f.from = *from;
    if (to) f.to = *to;
    frames.push_back(f);
  }
  void RunFrames(std::function<bool()> f) override {
    frame = std::move(f);
    running = true;
  }
  void StopFrames() override {
    running = false;
    frame = nullptr;
    ++stops;
  }
  bool RunsFrames() const override { return running; }
  void Release() override { ++releases; }
  // One display frame as the frame clock draws it; false once the frames
  // have stopped.
  bool Turn() {
    if (!running) return false;
    const bool more = frame();
    if (!more) {
      running = false;
      frame = nullptr;
    }
    return more;
  }
};

class FakeSurface : public Surface {
 public:
  FakeCanvas* canvas = nullptr;  // none: the surface draws no motion
  MotionCanvas* Motion() override { return canvas; }
  FakeSurface(long w, long h) : w_(w), h_(h) {}
  std::vector<DrawOp> ops;
  long charWidth = 100;  // TextWidth: 100 twips per character
  long textHeight = 240;
  long w_, h_;

  long Width() const override { return w_; }
  long Height() const override { return h_; }
  void Cls() override {
    ops.push_back({DrawOp::Cls});
    x_ = y_ = 0;
  }
  long TextWidth(const std::string& t) override { return charWidth * static_cast<long>(t.size()); }
  long TextHeight(const std::string&) override { return textHeight; }
  double CurrentX() const override { return x_; }
  double CurrentY() const override { return y_; }
  void SetCurrentX(double x) override { x_ = x; }
  void SetCurrentY(double y) override { y_ = y; }
  void Print(const std::string& t) override {
    DrawOp op{DrawOp::Print, x_, y_};
    op.color = fore_;
    op.text = t;
    ops.push_back(op);
    x_ = 0;
    y_ += textHeight;
  }
  int DrawWidth() const override { return width_; }
  void SetDrawWidth(int w) override {
    if (w < 1) throw errors::InvalidPropertyValue("PictureBox");
    width_ = w;
  }
  Color ForeColor() const override { return fore_; }
  void SetForeColor(Color c) override { fore_ = c; }
  Color BackColor() const override { return back_; }
  void SetBackColor(Color c) override {
    back_ = c;
    ops.push_back({DrawOp::Cls});
  }
  Color FillColor() const override { return fill_; }
  void SetFillColor(Color c) override { fill_ = c; }
  void Line(double x1, double y1, double x2, double y2, Color color, LineStyle style) override {
    DrawOp::Kind k = style == LineStyle::Line  ? DrawOp::Line
                     : style == LineStyle::Box ? DrawOp::Box
                                               : DrawOp::BoxFilled;
    ops.push_back({k, x1, y1, x2, y2, color, width_});
  }
  void Circle(double x, double y, double r) override { ops.push_back({DrawOp::Circle, x, y, r, 0, fore_, width_}); }
  void PSet(double x, double y, Color color) override { ops.push_back({DrawOp::PSet, x, y, 0, 0, color, width_}); }

  std::vector<DrawOp> OfKind(DrawOp::Kind k) const {
    std::vector<DrawOp> out;
    for (const auto& op : ops)
      if (op.kind == k) out.push_back(op);
    return out;
  }

 private:
  double x_ = 0, y_ = 0;
  int width_ = 1;
  Color fore_ = 0, back_ = 0xC0C0C0, fill_ = 0;
};

class FakeImage : public Image {
 public:
  FakeImage(FakeSurface& c, LoadedWindow& parent, bool stretch, std::vector<std::string>& log, std::string name)
      : c_(c), parent_(parent), stretch_(stretch), log_(log), name_(std::move(name)) {}
  long left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  PicturePtr picture;

  long Left() const override { return left; }
  long Top() const override { return top; }
  long Width() const override { return width; }
  long Height() const override { return height; }
  void SetLeft(long v) override { left = v; }
  void SetTop(long v) override { top = v; }
  void SetWidth(long v) override { width = v; }
  void SetHeight(long v) override { height = v; }
  bool Visible() const override { return visible; }
  void SetVisible(bool v) override {
    visible = v;
    log_.push_back(name_ + (v ? ".show" : ".hide"));
  }
  PicturePtr GetPicture() const override { return picture; }
  void SetPicture(PicturePtr p) override {
    picture = std::move(p);
    if (!stretch_ && picture) {
      width = picture->WidthTwips();
      height = picture->HeightTwips();
    }
    log_.push_back(name_ + ".picture=" + PathOf(picture));
  }
  Surface& Container() override { return c_; }
  LoadedWindow& Parent() override { return parent_; }

 private:
  FakeSurface& c_;
  LoadedWindow& parent_;
  bool stretch_;
  std::vector<std::string>& log_;
  std::string name_;
};

class FakeTimer : public Timer {
 public:
  long interval = 0;
  bool enabled = false;
  long Interval() const override { return interval; }
  void SetInterval(long ms) override {
    if (ms < 0 || ms > 65535) throw errors::InvalidPropertyValue("Timer");
    interval = ms;
  }
  bool Enabled() const override { return enabled; }
  void SetEnabled(bool on) override { enabled = on; }
};

class FakeListBox : public ListBox {
 public:
  std::vector<std::string> items;
  std::vector<bool> selected;
  int ListCount() const override { return static_cast<int>(items.size()); }
  std::string List(int i) const override {
    if (i < 0 || i >= ListCount()) throw AppError(kErrInvalidCall, "Invalid argument", "ListBox");
    return items[i];
  }
  void SetList(int i, const std::string& text) override {
    if (i < 0 || i >= ListCount()) throw AppError(kErrInvalidCall, "Invalid argument", "ListBox");
    items[i] = text;
  }
  bool Selected(int i) const override { return i < static_cast<int>(selected.size()) && selected[i]; }
  void SetSelected(int i, bool s) override {
    if (static_cast<int>(selected.size()) <= i) selected.resize(i + 1);
    selected[i] = s;
  }
  void AddItem(const std::string& item) override { items.push_back(item); }
  void RemoveItem(int i) override {
    if (i < 0 || i >= ListCount()) throw AppError(kErrInvalidCall, "Invalid argument", "ListBox");
    items.erase(items.begin() + i);
    if (i < static_cast<int>(selected.size())) selected.erase(selected.begin() + i);
  }
  void Clear() override {
    items.clear();
    selected.clear();
  }
};

class FakeHost : public ShowHost, public LoadedWindow {
 public:
  FakeHost(long w, long h, bool withLists = false)
      : surface(w, h),
        target(surface, *this, true, log, "PicPreview"),
        work(surface, *this, false, log, "imgFullSize"),
        withLists_(withLists) {
    work.visible = false;
  }
  std::vector<std::string> log;
  FakeSurface surface;
  FakeImage target;
  FakeImage work;
  FakeTimer timer;
  FakeListBox lists[2];
  bool visible = true;
  bool loaded = true;
  int unloads = 0;
  bool sounds = true;
  std::optional<ScreenSize> screen;

  Surface& PicBase() override { return surface; }
  Image& PicPreview() override { return target; }
  Image& imgFullSize() override { return work; }
  Timer& tmrSwitch() override { return timer; }
  ListBox* lstList(int i) override { return withLists_ && (i == 0 || i == 1) ? &lists[i] : nullptr; }
  bool Loaded() const override { return loaded; }
  bool Visible() const override { return visible; }
  Timer* SwitchTimer() override { return &timer; }
  void Unload() override { ++unloads; }
  std::optional<ScreenSize> ShowScreen() const override { return screen; }
  bool PlaysSounds() const override { return sounds; }

 private:
  bool withLists_;
};

// Random numbers from a fixed list, repeated; counts the clock seedings.
class CyclingRandom : public RandomSource {
 public:
  explicit CyclingRandom(std::vector<double> v = {0.25, 0.5, 0.75}) : values(std::move(v)) {}
  void SeedFromClock() override { ++seeds; }
  double Next() override { return values[next++ % values.size()]; }
  std::vector<double> values;
  size_t next = 0;
  int seeds = 0;
};

class FakePlatform : public ShowPlatform {
 public:
  std::map<std::string, std::pair<long, long>> pictures;  // path -> natural size
  long screenW = 15360, screenH = 11520;                  // 1024 x 768 at 15 twips
  int doEvents = 0;
  std::vector<long> delays;
  std::vector<std::pair<std::string, uint32_t>> sounds;
  int cursor = -6;
  std::vector<std::pair<uintptr_t, bool>> enabled;
  std::vector<LoadedWindow*> windows;
  CyclingRandom random;
  std::function<void()> onDoEvents;
  // The clock: WaitFrame moves it on by one frame.
  double now = 100;
  double frameSeconds = 1.0 / 60;
  int frameWaits = 0;
  std::function<void()> onWaitFrame;

  PicturePtr LoadPicture(const std::string& path) override {
    auto it = pictures.find(path);
    if (it == pictures.end()) throw AppError(kErrFileNotFound, "File not found", "LoadPicture");
    return std::make_shared<FakePicture>(it->second.first, it->second.second, path);
  }
  long ScreenWidthTwips() override { return screenW; }
  long ScreenHeightTwips() override { return screenH; }
  void DoEvents() override {
    ++doEvents;
    if (onDoEvents) onDoEvents();
  }
  void DelayPasses(long passes) override { delays.push_back(passes); }
  double Now() override { return now; }
  void WaitFrame() override {
    ++frameWaits;
    now += frameSeconds;
    if (onWaitFrame) onWaitFrame();
  }
  bool PlayWave(const std::string& f, uint32_t flags) override {
    sounds.emplace_back(f, flags);
    return true;
  }
  int ShowCursor(bool show) override { return cursor += show ? 1 : -1; }
  void EnableWindow(uintptr_t h, bool e) override { enabled.emplace_back(h, e); }
  std::vector<LoadedWindow*> LoadedWindows() override { return windows; }
  [[noreturn]] void EndProgram() override { throw ProgramEnded{}; }
  RandomSource& Random() override { return random; }
};

}  // namespace tessaly
