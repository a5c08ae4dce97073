#include "ui/FrameCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdio>

#include "picture/Picture_win.h"
#include "picture/Pixels.h"
#include "ui/App.h"
#include "ui/Direct2D.h"
#include "ui/PictureBox.h"

namespace tessaly::ui {
namespace {

long g_sourceRenders = 0;
SIZE g_lastSourceSize{};
RECT g_lastSourcePart{};

// The largest picture motion decodes, in pixels (a 48-megapixel photo shown
// at its natural size is decoded only where it shows).
constexpr double kMaxSourcePixels = 64e6;

uint32_t PixelOf(COLORREF c) {
  return 0xFF000000u | static_cast<uint32_t>(GetRValue(c)) << 16 | static_cast<uint32_t>(GetGValue(c)) << 8 |
         GetBValue(c);
}

picture::PixelArea Area(const RECT& r) { return picture::PixelArea{r.left, r.top, r.right, r.bottom}; }

// Which way draws motion: -1 not yet known, 0 the processor, 1 Direct2D.
int g_choice = -1;
bool g_forced = false;

void ReadForcedChoice() {
  static bool read = false;
  if (read) return;
  read = true;
  const char* forced = std::getenv("TESSALY_MOTION");
  if (!forced) return;
  if (std::strcmp(forced, "cpu") == 0) g_choice = 0;
  if (std::strcmp(forced, "d2d") == 0) g_choice = 1;
  g_forced = g_choice >= 0;
}

// Frames of each way measured before the choice (the first of each sets
// its pictures up and does not count).
constexpr std::size_t kMeasuredFrames = 4;

const char kDirect2DWindowClass[] = "TessalyMotionLayer";

// The child window Direct2D draws in lets the mouse through to the box.
LRESULT CALLBACK Direct2DWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

bool FrameBuffer::Make(int w, int h) {
  if (bitmap && width == w && height == h) return true;
  Reset();
  if (w <= 0 || h <= 0) return false;
  void* data = nullptr;
  bitmap = picture::TopDownDib(w, h, &data);
  dc = CreateCompatibleDC(nullptr);
  if (!bitmap || !data || !dc) {
    Reset();
    return false;
  }
  previous = SelectObject(dc, bitmap);
  static uint64_t made = 0;
  serial = ++made;
  bits = static_cast<uint32_t*>(data);
  width = w;
  height = h;
  return true;
}

void FrameBuffer::Reset() {
  if (dc) {
    if (previous) SelectObject(dc, previous);
    DeleteDC(dc);
  }
  if (bitmap) DeleteObject(bitmap);
  bitmap = nullptr;
  previous = nullptr;
  dc = nullptr;
  bits = nullptr;
  width = height = 0;
}

long FrameCanvas::SourceRenders() { return g_sourceRenders; }
SIZE FrameCanvas::LastSourceSize() { return g_lastSourceSize; }
RECT FrameCanvas::LastSourcePart() { return g_lastSourcePart; }

FrameCanvas::FrameCanvas(PictureBox& box) : box_(box) {}

FrameCanvas::~FrameCanvas() {
  RemoveFrameClient(this);
  DropDirect2D();
}

const char* FrameCanvas::Path() const { return frames_ == 0 ? "" : lastD2D_ ? "d2d" : "cpu"; }

void FrameCanvas::RunFrames(std::function<bool()> frame) {
  frame_ = std::move(frame);
  running_ = static_cast<bool>(frame_);
  if (running_) AddFrameClient(this);
}

void FrameCanvas::StopFrames() {
  running_ = false;
  frame_ = nullptr;
  RemoveFrameClient(this);
  ShowDirect2DWindow(false);
}

void FrameCanvas::ShowDirect2DWindow(bool show) {
  if (!d2dWindow_) return;
  if (!show) {
    if (IsWindowVisible(d2dWindow_)) ShowWindow(d2dWindow_, SW_HIDE);
    return;
  }
  const SIZE client = box_.ClientPixels();
  SetWindowPos(d2dWindow_, HWND_TOP, 0, 0, client.cx, client.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void FrameCanvas::DropDirect2D() {
  d2d_.reset();
  if (d2dWindow_) DestroyWindow(d2dWindow_);
  d2dWindow_ = nullptr;
}

bool FrameCanvas::Frame() {
  const std::function<bool()> frame = frame_;  // the frame may stop the frames
  const bool more = running_ && frame && frame();
  if (!more) {
    running_ = false;
    frame_ = nullptr;
  }
  return more;
}

bool FrameCanvas::Repaint() {
  if (!running_) return false;
  if (!Frame()) RemoveFrameClient(this);
  return true;
}

void FrameCanvas::Release() {
  GdiFlush();
  back_.Reset();
  from_.Reset();
  to_.Reset();
  fromKept_ = Composed{};
  toKept_ = Composed{};
  sources_.clear();
  if (d2d_) d2d_->Release();
}

void FrameCanvas::Detach() {
  StopFrames();
  Release();
  DropDirect2D();
}

const FrameCanvas::Source* FrameCanvas::SourceFor(const MotionLayer& layer, COLORREF back) {
  const auto* picture = dynamic_cast<const picture::WinPicture*>(layer.picture.get());
  if (!picture) return nullptr;
  const double tx = box_.TwipsX(), ty = box_.TwipsY();
  const double largestW = std::max(layer.largestWidth, layer.drawn.width);
  const double largestH = std::max(layer.largestHeight, layer.drawn.height);
  // The whole picture at the size its largest zoom needs: a raster never
  // beyond its own pixels.
  double w = std::ceil(largestW / tx - 1e-6), h = std::ceil(largestH / ty - 1e-6);
  if (picture->IsBitmap()) {
    w = std::min<double>(w, picture->PixelWidth());
    h = std::min<double>(h, picture->PixelHeight());
  }
  if (w < 1 || h < 1) return nullptr;
  // Only the part that ever shows, a pixel more on each side.
  const MotionRect& p = layer.part;
  RECT part{static_cast<LONG>(std::max(0.0, std::floor(p.left * w) - 1)),
            static_cast<LONG>(std::max(0.0, std::floor(p.top * h) - 1)),
            static_cast<LONG>(std::min(w, std::ceil((p.left + p.width) * w) + 1)),
            static_cast<LONG>(std::min(h, std::ceil((p.top + p.height) * h) + 1))};
  if (part.right <= part.left || part.bottom <= part.top) return nullptr;
  if (static_cast<double>(part.right - part.left) * (part.bottom - part.top) > kMaxSourcePixels) return nullptr;
  const SIZE size{static_cast<LONG>(w), static_cast<LONG>(h)};
  const COLORREF backFor = picture->UsesBackColor() ? back : 0;
  for (Source& s : sources_) {
    if (s.picture == layer.picture && s.size.cx == size.cx && s.size.cy == size.cy && EqualRect(&s.part, &part) &&
        s.back == backFor) {
      s.lastUsed = drawing_;
      return &s;
    }
  }
  Source source;
  source.picture = layer.picture;
  source.size = size;
  source.part = part;
  source.back = backFor;
  source.lastUsed = drawing_;
  source.pixels = std::make_unique<FrameBuffer>();
  if (!source.pixels->Make(part.right - part.left, part.bottom - part.top)) return nullptr;
  const RECT image{-part.left, -part.top, size.cx - part.left, size.cy - part.top};
  const RECT all{0, 0, part.right - part.left, part.bottom - part.top};
  picture::FillPixels(source.pixels->bits, static_cast<std::size_t>(source.pixels->width),
                      picture::PixelArea{0, 0, all.right, all.bottom}, PixelOf(back));
  if (!picture->Draw(source.pixels->dc, image, all, all, back)) return nullptr;
  GdiFlush();
  ++g_sourceRenders;
  g_lastSourceSize = size;
  g_lastSourcePart = part;
  // The picture drawn least lately makes room (a fade holds two), unless
  // this frame draws it too.
  if (sources_.size() >= 2) {
    auto oldest = std::min_element(sources_.begin(), sources_.end(),
                                   [](const Source& a, const Source& b) { return a.lastUsed < b.lastUsed; });
    if (oldest->lastUsed != drawing_) sources_.erase(oldest);
  }
  sources_.push_back(std::move(source));
  return &sources_.back();
}

void FrameCanvas::Compose(FrameBuffer& buffer, const RECT& clip, COLORREF back, const MotionLayer* layer) {
  const std::size_t stride = static_cast<std::size_t>(buffer.width);
  const double tx = box_.TwipsX(), ty = box_.TwipsY();
  const Source* source = layer ? SourceFor(*layer, back) : nullptr;
  if (!source) {
    picture::FillPixels(buffer.bits, stride, Area(clip), PixelOf(back));
    return;
  }
  const MotionRect& d = layer->drawn;
  const double left = d.left / tx, top = d.top / ty, width = d.width / tx, height = d.height / ty;
  // A picture that covers the whole clip needs no background beneath.
  const bool covers = left <= clip.left && top <= clip.top && left + width >= clip.right &&
                      top + height >= clip.bottom && !layer->framed;
  if (!covers) picture::FillPixels(buffer.bits, stride, Area(clip), PixelOf(back));
  if (layer->framed) {
    const double fw = layer->frameWidth;
    RECT frame{static_cast<LONG>(std::lround((d.left - fw) / tx)), static_cast<LONG>(std::lround((d.top - fw) / ty)),
               static_cast<LONG>(std::lround((d.Right() + fw) / tx)) + 1,
               static_cast<LONG>(std::lround((d.Bottom() + fw) / ty)) + 1};
    RECT inside;
    if (IntersectRect(&inside, &frame, &clip))
      picture::FillPixels(buffer.bits, stride, Area(inside), PixelOf(ToColorRef(layer->frameColor)));
  }
  // The part held, where it lies in the drawn picture.
  const double kx = width / source->size.cx, ky = height / source->size.cy;
  const FrameBuffer& pixels = *source->pixels;
  picture::DrawScaledPixels(pixels.bits, pixels.width, pixels.height, static_cast<std::size_t>(pixels.width),
                            buffer.bits, stride, Area(clip), left + source->part.left * kx, top + source->part.top * ky,
                            pixels.width * kx, pixels.height * ky);
}

void FrameCanvas::ComposeKept(FrameBuffer& buffer, Composed& kept, const RECT& clip, COLORREF back,
                              const MotionLayer* layer) {
  Composed now;
  now.valid = true;
  now.picture = layer ? layer->picture.get() : nullptr;
  if (layer) now.drawn = layer->drawn;
  now.clip = clip;
  now.back = back;
  if (kept.valid && kept.picture == now.picture && kept.drawn == now.drawn && EqualRect(&kept.clip, &clip) &&
      kept.back == back)
    return;
  Compose(buffer, clip, back, layer);
  kept = now;
}

bool FrameCanvas::DrawByProcessor(const RECT& clip, COLORREF back, const MotionLayer* from, const MotionLayer* to,
                                  double alpha) {
  const SIZE client = box_.ClientPixels();
  if (!back_.Make(client.cx, client.cy)) return false;
  GdiFlush();  // nothing of GDI's still reads the buffers
  const int weight = static_cast<int>(std::lround(std::clamp(alpha, 0.0, 1.0) * 256));
  if (weight >= 256) {
    Compose(back_, clip, back, to);
  } else if (weight <= 0) {
    Compose(back_, clip, back, from);
  } else {
    if (!from_.Make(client.cx, client.cy) || !to_.Make(client.cx, client.cy)) return false;
    ComposeKept(from_, fromKept_, clip, back, from);
    ComposeKept(to_, toKept_, clip, back, to);
    const std::size_t w = static_cast<std::size_t>(clip.right - clip.left);
    for (int y = clip.top; y < clip.bottom; ++y)
      picture::BlendPixels(from_.Row(y) + clip.left, to_.Row(y) + clip.left, back_.Row(y) + clip.left, w,
                           static_cast<uint32_t>(weight));
  }
  Present(clip);
  return true;
}

void FrameCanvas::Present(const RECT& clip) {
  HDC dc = GetDC(box_.hWnd());
  if (!dc) return;
  BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, back_.dc, clip.left, clip.top,
         SRCCOPY);
  ReleaseDC(box_.hWnd(), dc);
  GdiFlush();
}

bool FrameCanvas::DrawByDirect2D(const RECT& /*clip: the whole window*/, COLORREF back, const MotionLayer* from,
                                 const MotionLayer* to, double alpha) {
  if (!d2d_) return false;
  const double tx = box_.TwipsX(), ty = box_.TwipsY();
  auto drawn = [&](const MotionLayer* layer, Direct2DLayer& out) -> const Direct2DLayer* {
    if (!layer) return nullptr;
    const Source* source = SourceFor(*layer, back);
    if (!source) return nullptr;
    const MotionRect& d = layer->drawn;
    const double kx = d.width / tx / source->size.cx, ky = d.height / ty / source->size.cy;
    out.pixels = source->pixels.get();
    out.left = d.left / tx + source->part.left * kx;
    out.top = d.top / ty + source->part.top * ky;
    out.width = source->pixels->width * kx;
    out.height = source->pixels->height * ky;
    out.framed = layer->framed;
    if (layer->framed) {
      const double fw = layer->frameWidth;
      out.frame =
          RECT{static_cast<LONG>(std::lround((d.left - fw) / tx)), static_cast<LONG>(std::lround((d.top - fw) / ty)),
               static_cast<LONG>(std::lround((d.Right() + fw) / tx)) + 1,
               static_cast<LONG>(std::lround((d.Bottom() + fw) / ty)) + 1};
      out.frameColor = ToColorRef(layer->frameColor);
    }
    return &out;
  };
  ShowDirect2DWindow(true);
  Direct2DLayer a, b;
  const Direct2DLayer* first = drawn(from, a);
  const Direct2DLayer* second = drawn(to, b);
  // Nothing older is kept once it has gone.
  std::vector<const FrameBuffer*> inUse;
  for (const Source& s : sources_) inUse.push_back(s.pixels.get());
  d2d_->Forget(inUse);
  return d2d_->Draw(box_.ClientPixels(), back, first, second, alpha);
}

bool FrameCanvas::UseDirect2D(const RECT& clip) {
  ReadForcedChoice();
  const bool whole =
      clip.left == 0 && clip.top == 0 && clip.right == box_.ClientPixels().cx && clip.bottom == box_.ClientPixels().cy;
  if (g_choice == 0) return false;
  // Direct2D presents the whole window: not where a caption lies beside
  // the motion.
  if (!whole) return false;
  if (!d2d_) {
    if (!d2dWindow_) {
      RegisterWindowClass(kDirect2DWindowClass, Direct2DWindowProc, nullptr);
      const SIZE client = box_.ClientPixels();
      d2dWindow_ = CreateWindowExA(0, kDirect2DWindowClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, client.cx, client.cy,
                                   box_.hWnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    if (d2dWindow_) d2d_ = Direct2DRenderer::Create(d2dWindow_, !g_forced);
    if (!d2d_) {
      DropDirect2D();
      if (!g_forced) g_choice = 0;
      return false;
    }
  }
  if (g_choice == 1) return true;
  // Measuring: the two ways in turn until each has drawn enough frames.
  return d2dTimes_.size() <= cpuTimes_.size();
}

void FrameCanvas::DrawFrame(const MotionRect& area, Color back, const MotionLayer* from, const MotionLayer* to,
                            double alpha) {
  if (!box_.hWnd()) return;
  const SIZE client = box_.ClientPixels();
  const double tx = box_.TwipsX(), ty = box_.TwipsY();
  RECT clip{static_cast<LONG>(std::lround(area.left / tx)), static_cast<LONG>(std::lround(area.top / ty)),
            static_cast<LONG>(std::lround(area.Right() / tx)), static_cast<LONG>(std::lround(area.Bottom() / ty))};
  const RECT box{0, 0, client.cx, client.cy};
  if (!IntersectRect(&clip, &clip, &box)) return;
  const COLORREF backColor = ToColorRef(back);
  ++drawing_;
  const bool d2d = UseDirect2D(clip);
  const double start = Now();
  bool drawn = d2d && DrawByDirect2D(clip, backColor, from, to, alpha);
  if (d2d && !drawn) {
    if (!g_forced) g_choice = 0;  // a device that fails draws no more
    DropDirect2D();
  }
  if (!drawn) {
    ShowDirect2DWindow(false);
    drawn = DrawByProcessor(clip, backColor, from, to, alpha);
  }
  if (!drawn) return;
  if (std::getenv("TESSALY_MOTION_TRACE"))
    std::fprintf(stderr, "frame %.4f alpha %.3f took %.4f\n", start, alpha, Now() - start);
  ++frames_;
  lastD2D_ = d2d && d2d_ != nullptr;
  if (g_choice != -1) return;
  (lastD2D_ ? d2dTimes_ : cpuTimes_).push_back(Now() - start);
  if (cpuTimes_.size() >= kMeasuredFrames && d2dTimes_.size() >= kMeasuredFrames) {
    // The first frame of each way sets its pictures up: it does not count.
    cpuTimes_.erase(cpuTimes_.begin());
    d2dTimes_.erase(d2dTimes_.begin());
    g_choice = Median(d2dTimes_) < Median(cpuTimes_) ? 1 : 0;
    if (g_choice == 0) DropDirect2D();
  }
}

}  // namespace tessaly::ui
