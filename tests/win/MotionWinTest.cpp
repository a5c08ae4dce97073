// Motion on a real picture box, read back from the screen: the cross-fade
// frame by frame, and a picture that pans and zooms.
#include "picture/Picture_win.h"
#include "UiTestSupport.h"

#include "common/CRegSettings.h"
#include "common/MemoryRegistry.h"
#include "common/mFiles.h"
#include "show/mSlideShow.h"
#include "startup/WinPlatform.h"
#include "ui/FrameClock.h"

namespace uitest {
namespace {

// The real platform, with a look at the screen at chosen frame waits of a
// transition.
class WatchedPlatform : public WinPlatform {
 public:
  std::function<void(int)> onFrame;
  int waits = 0;
  void WaitFrame() override {
    WinPlatform::WaitFrame();
    ++waits;
    if (onFrame) onFrame(waits);
  }
};

// The box's pixels as the screen shows them.
struct Shot {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool operator==(const Shot& o) const { return pixels == o.pixels; }
};

Shot Take(HWND hwnd, int w, int h) {
  Shot shot;
  shot.width = w;
  shot.height = h;
  WindowDC dc(hwnd);
  MemoryDC mem(dc.get());
  void* bits = nullptr;
  GdiObject<HBITMAP> dib(picture::TopDownDib(w, h, &bits));
  {
    Selection into(mem.get(), dib.get());
    BitBlt(mem.get(), 0, 0, w, h, dc.get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) shot.pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
  return shot;
}

class MotionWinTest : public HostedBoxTest {
 protected:
  MemoryRegistry registry;
  CRegSettings settings{registry, "Quillmark Inc.", "Tessaly Motion Test"};
  WatchedPlatform platform;
  std::unique_ptr<SlideShow> show;

  void SetUp() override {
    HostedBoxTest::SetUp();
    show = std::make_unique<SlideShow>(settings, platform, SystemFileSystem(), Mode::Show, 0);
    Set("Interval", "5");
    Set("SwapAffect", "Cross Fade");
    Set("Stretch", "1");
    box().SetBackColor(kGreen);
  }
  void TearDown() override {
    box().Canvas().StopFrames();
    HostedBoxTest::TearDown();
  }
  void Set(const std::string& name, const std::string& value) { settings.SaveSetting("Options", name, value); }
  void Add(const std::string& name, const std::vector<unsigned char>& bmp) {
    show->PicList.Add(WriteFile(name, bmp.data(), bmp.size()));
  }
  void Tick() { show->NextSlide(host->target, host->work); }
  Shot Screen() { return Take(hwnd(), kFormW, kFormH); }
  // Lets the frame clock draw frames for `seconds`.
  void RunFrames(double seconds) {
    const double until = Now() + seconds;
    while (Now() < until) WaitFrame();
  }
};

bool Blend(COLORREF c) {
  return GetRValue(c) > 40 && GetRValue(c) < 215 && GetBValue(c) > 40 && GetBValue(c) < 215 && GetGValue(c) < 8;
}

TEST_F(MotionWinTest, ACrossFadeBlendsRedIntoBlueWithoutTheBackgroundAndEndsOnBlue) {
  Add("fade_red.bmp", MakeBmp(80, 60, [](int, int) { return kRed; }));
  Add("fade_blue.bmp", MakeBmp(80, 60, [](int, int) { return kBlue; }));
  show->TransSpeed = 20;  // half a second
  Tick();
  EXPECT_PIXEL(hwnd(), 200, 150, kRed);
  // The frame drawn when half the fade's time has gone.
  const double start = Now();
  Shot middle;
  double middleAt = -1;
  platform.onFrame = [&](int) {
    if (middleAt < 0 && Now() - start >= 0.25) {
      middleAt = Now() - start;
      middle = Screen();
    }
  };
  Tick();
  platform.onFrame = nullptr;
  ASSERT_GE(middleAt, 0);
  int blended = 0, samples = 0;
  for (int y = 2; y < kFormH; y += 17)
    for (int x = 3; x < kFormW; x += 19) {
      ++samples;
      blended += Blend(middle.At(x, y)) ? 1 : 0;
    }
  EXPECT_EQ(blended, samples) << "at " << middleAt << " s: " << Hex(middle.At(200, 150));
  // The last frame is the blue picture, every pixel of it.
  const Shot end = Screen();
  for (COLORREF c : end.pixels) ASSERT_EQ(c, kBlue) << Hex(c);
  EXPECT_STREQ(box().Canvas().Path(), "cpu");  // no hardware device here
  EXPECT_NEAR(show->LastFade.measured, 0.5, 0.1);
}

TEST_F(MotionWinTest, AroundPicturesAtTheirNaturalSizeTheBackgroundShowsDuringTheFade) {
  Set("Stretch", "0");
  Add("small_red.bmp", MakeBmp(200, 150, [](int, int) { return kRed; }));
  Add("small_blue.bmp", MakeBmp(200, 150, [](int, int) { return kBlue; }));
  show->TransSpeed = 20;
  Tick();
  const RECT picture = host->target.PixelRect();
  ASSERT_GT(picture.left, 10);
  Shot middle;
  const double start = Now();
  platform.onFrame = [&](int) {
    if (middle.pixels.empty() && Now() - start >= 0.25) middle = Screen();
  };
  Tick();
  ASSERT_FALSE(middle.pixels.empty());
  EXPECT_EQ(middle.At(3, 3), kGreen);
  EXPECT_EQ(middle.At(kFormW - 2, kFormH - 2), kGreen);
  EXPECT_TRUE(Blend(middle.At((picture.left + picture.right) / 2, (picture.top + picture.bottom) / 2)));
}

// A pattern without green, so the background shows where it is seen.
std::vector<unsigned char> Pattern(int w, int h) {
  return MakeBmp(w, h, [](int x, int y) {
    const bool light = ((x / 8) + (y / 8)) % 2 == 0;
    return light ? RGB(250, 200, 40 + x % 200) : RGB(90, 20, 160 + y % 90);
  });
}

TEST_F(MotionWinTest, AStretchedPictureMovesAndNeverShowsTheBackgroundAtAnEdge) {
  Set("SwapAffect", "None");
  Set("PanZoom", "1");
  Add("pattern.bmp", Pattern(320, 240));
  Tick();
  ASSERT_TRUE(box().Canvas().RunsFrames());
  RunFrames(0.2);
  const Shot first = Screen();
  RunFrames(1.0);
  const Shot second = Screen();
  EXPECT_FALSE(first == second);
  for (const Shot* shot : {&first, &second}) {
    for (int x = 0; x < kFormW; ++x) {
      ASSERT_NE(shot->At(x, 0), kGreen) << x;
      ASSERT_NE(shot->At(x, kFormH - 1), kGreen) << x;
    }
    for (int y = 0; y < kFormH; ++y) {
      ASSERT_NE(shot->At(0, y), kGreen) << y;
      ASSERT_NE(shot->At(kFormW - 1, y), kGreen) << y;
    }
  }
  // A key ends the show within a frame: the frames leave the messages room.
  bool key = false;
  box().KeyDown = [&](int, int) { key = true; };
  PostMessageA(hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  const double sent = Now();
  while (!key && Now() - sent < 1) WaitFrame();
  EXPECT_TRUE(key);
}

TEST_F(MotionWinTest, ASmallPictureAtItsNaturalSizeStaysWhollyOnTheScreen) {
  Set("SwapAffect", "None");
  Set("PanZoom", "1");
  Set("Stretch", "0");
  Add("small_pattern.bmp", Pattern(300, 220));
  Tick();
  const RECT placed = host->target.PixelRect();
  const long placedPixels = (placed.right - placed.left) * (placed.bottom - placed.top);
  ASSERT_GT(placedPixels, 1000);
  std::vector<Shot> shots;
  for (int i = 0; i < 5; ++i) {
    RunFrames(0.3);
    shots.push_back(Screen());
  }
  for (const Shot& shot : shots) {
    long seen = 0;
    for (int y = 0; y < kFormH; ++y)
      for (int x = 0; x < kFormW; ++x)
        if (!Near(shot.At(x, y), kGreen, 8)) ++seen;
    // Never cut off: at least as large as placed, at most a quarter larger
    // each way.
    EXPECT_GE(seen, placedPixels * 97 / 100);
    EXPECT_LE(seen, placedPixels * 160 / 100);
    for (int x = 0; x < kFormW; ++x) ASSERT_EQ(shot.At(x, 0), kGreen);
  }
  EXPECT_FALSE(shots.front() == shots.back());
}

TEST_F(MotionWinTest, APictureIsDecodedOnceAtTheSizeItsLargestZoomNeeds) {
  Set("PanZoom", "1");
  show->TransSpeed = 20;
  Add("large1.bmp", Pattern(1600, 1200));
  Add("large2.bmp", Pattern(1600, 1200));
  const long before = FrameCanvas::SourceRenders();
  Tick();
  RunFrames(0.2);
  EXPECT_EQ(FrameCanvas::SourceRenders(), before + 1);
  // Stretched over 400 x 300 pixels and zoomed up to a quarter: 500 x 375,
  // not the picture's 1600 x 1200.
  EXPECT_EQ(FrameCanvas::LastSourceSize().cx, kFormW * 5 / 4);
  EXPECT_EQ(FrameCanvas::LastSourceSize().cy, kFormH * 5 / 4);
  // The cross-fade into the next picture decodes it, and its pan goes on
  // with the same pixels.
  Tick();
  RunFrames(0.2);
  EXPECT_EQ(FrameCanvas::SourceRenders(), before + 2);
}

TEST_F(MotionWinTest, APictureLargerThanTheScreenIsDecodedOnlyWhereItShows) {
  Set("PanZoom", "1");
  Set("Stretch", "0");
  Set("SwapAffect", "None");
  // At its natural size, as the full screen shows it: the box is the screen.
  host->screen = ScreenSize{kFormW * 15L, kFormH * 15L};
  Add("huge.bmp", Pattern(2000, 1500));
  Tick();
  RunFrames(0.1);
  const RECT part = FrameCanvas::LastSourcePart();
  EXPECT_EQ(FrameCanvas::LastSourceSize().cx, 2000);  // its own pixels: never enlarged beyond them
  EXPECT_LT(part.right - part.left, 2000 / 2);
  EXPECT_LT(part.bottom - part.top, 1500 / 2);
}

TEST_F(MotionWinTest, WithoutPanAndZoomNoFramesRunAfterTheSlide) {
  Set("SwapAffect", "None");
  Add("still.bmp", Pattern(64, 48));
  Tick();
  EXPECT_FALSE(box().Canvas().RunsFrames());
  EXPECT_FALSE(FramesWanted());
  EXPECT_EQ(box().Canvas().FramesDrawn(), 0);
}

}  // namespace
}  // namespace uitest
