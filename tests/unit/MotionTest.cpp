// Motion: the cross-fade's pace and the pan and zoom's framing, and how the
// slide advance runs them on a surface that draws motion.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "Fakes.h"
#include "ShowFakes.h"
#include "common/CRegSettings.h"
#include "common/MemoryRegistry.h"
#include "show/Motion.h"
#include "show/mSlideShow.h"

using namespace tessaly;

namespace {

bool Contains(const MotionRect& outer, const MotionRect& inner, double slack = 1e-6) {
  return inner.left >= outer.left - slack && inner.top >= outer.top - slack && inner.Right() <= outer.Right() + slack &&
         inner.Bottom() <= outer.Bottom() + slack;
}

// Paths from a spread of random numbers.
std::vector<PanPath> SomePaths() {
  std::vector<PanPath> paths;
  for (double a : {0.0, 0.3, 0.6, 0.99})
    for (double b : {0.05, 0.5, 0.95}) {
      CyclingRandom random({a, b, 1 - a, a * b, 0.99 - b * 0.5, b});
      paths.push_back(ChoosePanPath(random));
    }
  return paths;
}

}  // namespace

// ---------------------------------------------------------------------------
// The pace and the framing

TEST(MotionTest, CrossFadeLengthFollowsTheSpeedAndAlphaTheTime) {
  EXPECT_DOUBLE_EQ(CrossFadeSeconds(1), 4.0);
  EXPECT_DOUBLE_EQ(CrossFadeSeconds(20), 0.5);
  EXPECT_NEAR(CrossFadeSeconds(10), 4.0 - 9 * 3.5 / 19, 1e-9);
  for (int s = 2; s <= 20; ++s) EXPECT_LT(CrossFadeSeconds(s), CrossFadeSeconds(s - 1));
  EXPECT_DOUBLE_EQ(CrossFadeSeconds(0), 4.0);  // out of range: the nearer end
  EXPECT_DOUBLE_EQ(CrossFadeSeconds(99), 0.5);

  EXPECT_DOUBLE_EQ(FadeAlpha(0, 2), 0);
  EXPECT_DOUBLE_EQ(FadeAlpha(0.5, 2), 0.25);
  EXPECT_DOUBLE_EQ(FadeAlpha(2, 2), 1);
  EXPECT_DOUBLE_EQ(FadeAlpha(7, 2), 1);
  EXPECT_DOUBLE_EQ(FadeAlpha(-1, 2), 0);
  EXPECT_DOUBLE_EQ(FadeAlpha(0, 0), 1);
}

TEST(MotionTest, APathZoomsAtMostAQuarterWithOneEndAtTheOwnSize) {
  bool zoomsIn = false, zoomsOut = false;
  for (const PanPath& p : SomePaths()) {
    EXPECT_GE(std::min(p.zoomFrom, p.zoomTo), 1.0);
    EXPECT_LE(std::max(p.zoomFrom, p.zoomTo), kMaxZoom);
    EXPECT_GE(std::max(p.zoomFrom, p.zoomTo), 1.1);
    EXPECT_EQ(std::min(p.zoomFrom, p.zoomTo), 1.0);
    zoomsIn |= p.zoomTo > p.zoomFrom;
    zoomsOut |= p.zoomTo < p.zoomFrom;
    for (double u : {p.xFrom, p.xTo, p.yFrom, p.yTo}) {
      EXPECT_GE(u, -1.0);
      EXPECT_LE(u, 1.0);
    }
  }
  EXPECT_TRUE(zoomsIn);
  EXPECT_TRUE(zoomsOut);
}

TEST(MotionTest, APictureThatCoversTheScreenNeverShowsItsEdges) {
  const MotionRect screen{0, 0, 15360, 11520};
  // Stretched over the screen, and a picture larger than the screen.
  for (const MotionRect placed : {screen, MotionRect{-2000, -500, 19360, 12520}}) {
    for (const PanPath& path : SomePaths()) {
      MotionRect last = PanFrame(placed, screen, path, 0);
      for (int i = 0; i <= 100; ++i) {
        const MotionRect d = PanFrame(placed, screen, path, i / 100.0);
        EXPECT_TRUE(Contains(d, screen)) << i;
        const double zoom = d.width / placed.width;
        EXPECT_GE(zoom, 1 - 1e-9);
        EXPECT_LE(zoom, kMaxZoom + 1e-9);
        EXPECT_NEAR(d.height / placed.height, zoom, 1e-9);  // keeps its proportions
        // Continuous: a hundredth of the way moves it a little only.
        EXPECT_LT(std::fabs(d.left - last.left), 0.01 * placed.width);
        EXPECT_LT(std::fabs(d.width - last.width), 0.01 * placed.width);
        last = d;
      }
    }
  }
}

TEST(MotionTest, APictureSmallerThanTheScreenStaysOnIt) {
  const MotionRect screen{0, 0, 15360, 11520};
  const MotionRect small{4680, 3510, 6000, 4500};  // 400 x 300 pixels, centred
  const MotionRect tall{5000, 0, 5360, 11520};     // as high as the screen, narrower
  const MotionRect nearly{80, 60, 15200, 11400};   // a few pixels smaller all round
  for (const MotionRect& placed : {small, tall, nearly}) {
    const double limit = ZoomLimit(placed, screen);
    EXPECT_LE(limit, kMaxZoom);
    bool moved = false;
    for (const PanPath& path : SomePaths()) {
      const MotionRect first = PanFrame(placed, screen, path, 0);
      for (int i = 0; i <= 50; ++i) {
        const MotionRect d = PanFrame(placed, screen, path, i / 50.0);
        EXPECT_LE(d.width / placed.width, limit + 1e-9);
        if (placed.height < screen.height) {
          EXPECT_TRUE(Contains(screen, d)) << i;
        } else {  // covers the height, lies inside the width
          EXPECT_LE(d.top, 1e-6);
          EXPECT_GE(d.Bottom(), screen.height - 1e-6);
          EXPECT_GE(d.left, -1e-6);
          EXPECT_LE(d.Right(), screen.width + 1e-6);
        }
        moved |= std::fabs(d.left - first.left) > 1 || std::fabs(d.width - first.width) > 1;
      }
    }
    EXPECT_TRUE(moved);
  }
  EXPECT_DOUBLE_EQ(ZoomLimit(small, screen), kMaxZoom);
  EXPECT_NEAR(ZoomLimit(nearly, screen), 15360.0 / 15200, 1e-9);
}

TEST(MotionTest, OnlyThePartThatEverShowsIsAskedFor) {
  const MotionRect screen{0, 0, 1000, 1000};
  // Four times the screen's size, centred: a still picture shows its middle
  // quarter.
  const MotionRect big{-1500, -1500, 4000, 4000};
  const MotionRect still = ShownPart(big, screen, nullptr);
  EXPECT_NEAR(still.left, 0.375, 1e-9);
  EXPECT_NEAR(still.width, 0.25, 1e-9);
  // Moving, it shows more, but all of what it shows lies in its part.
  for (const PanPath& path : SomePaths()) {
    const MotionRect part = ShownPart(big, screen, &path);
    EXPECT_LT(part.width, 0.6);
    for (int i = 0; i <= 20; ++i) {
      const MotionRect d = PanFrame(big, screen, path, i / 20.0);
      const MotionRect seen{(screen.left - d.left) / d.width, (screen.top - d.top) / d.height, screen.width / d.width,
                            screen.height / d.height};
      EXPECT_TRUE(Contains(part, seen, 1e-6)) << i;
    }
  }
  // A picture inside the screen shows whole.
  EXPECT_EQ(ShownPart(MotionRect{100, 100, 200, 200}, screen, nullptr), (MotionRect{0, 0, 1, 1}));
}

// ---------------------------------------------------------------------------
// The slide advance with motion

namespace {

class MotionShowTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  CRegSettings settings{registry, "Quillmark Inc.", "Tessaly Customizable Screen Saver"};
  FakePlatform platform;
  FakeFileSystem fs;
  FakeCanvas canvas;
  std::unique_ptr<SlideShow> show;
  FakeHost host{15360, 11520};  // 1024 x 768 at 15 twips

  void SetUp() override {
    host.surface.canvas = &canvas;
    show = std::make_unique<SlideShow>(settings, platform, fs, ModeOfCommand("/S"), 0);
    Set("Interval", "5");
    Set("BackColor", "0");
    Picture("C:\\Red.bmp", 15360, 11520);
    Picture("C:\\Blue.bmp", 15360, 11520);
  }
  void Set(const std::string& name, const std::string& value) { settings.SaveSetting("Options", name, value); }
  std::string Get(const std::string& name) { return settings.GetSetting("Options", name, "<none>"); }
  void Picture(const std::string& path, long w, long h) {
    show->PicList.Add(path);
    platform.pictures[path] = {w, h};
  }
  void Tick() { show->NextSlide(host.target, host.work); }
  // The frames of the last cross-fade (those with both pictures).
  std::vector<FakeCanvas::Frame> FadeFrames() {
    std::vector<FakeCanvas::Frame> out;
    for (const auto& f : canvas.frames)
      if (f.from && f.to) out.push_back(f);
    return out;
  }
};

}  // namespace

TEST_F(MotionShowTest, ACrossFadeGoesFromTheOldPictureStraightIntoTheNext) {
  Set("SwapAffect", "Cross Fade");
  show->TransSpeed = 20;
  Tick();  // Red, without a transition
  EXPECT_TRUE(canvas.frames.empty());
  Tick();  // into Blue
  const auto frames = FadeFrames();
  ASSERT_EQ(frames.size(), canvas.frames.size());
  // 0.5 s at 60 frames a second, both ends drawn (one more where the
  // thirtieth frame's time falls a rounding short of the end).
  ASSERT_NEAR(static_cast<double>(frames.size()), 31, 1);
  EXPECT_DOUBLE_EQ(frames.front().alpha, 0);
  EXPECT_DOUBLE_EQ(frames.back().alpha, 1);
  for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_GT(frames[i].alpha, frames[i - 1].alpha);
  for (const auto& f : frames) {
    EXPECT_EQ(PathOf(f.from->picture), "C:\\Red.bmp");
    EXPECT_EQ(PathOf(f.to->picture), "C:\\Blue.bmp");
    EXPECT_EQ(f.to->drawn, (MotionRect{0, 0, 15360, 11520}));
    EXPECT_EQ(f.area, (MotionRect{0, 0, 15360, 11520}));
  }
  EXPECT_TRUE(host.surface.OfKind(DrawOp::Line).empty());  // no wipe through the background
  EXPECT_EQ(PathOf(host.target.picture), "C:\\Blue.bmp");
  EXPECT_EQ(Get("LastPicture"), "2");
  EXPECT_NEAR(show->LastFade.measured, 0.5, 1.0 / 60 + 1e-9);
  EXPECT_FALSE(canvas.running);   // no pan: nothing moves after the fade
  EXPECT_GT(canvas.releases, 0);  // and nothing is held for it
}

TEST_F(MotionShowTest, TheFadeTakesItsNominalLengthHoweverFewFramesTheMachineDraws) {
  Set("SwapAffect", "Cross Fade");
  Tick();  // the first picture comes without a transition
  for (int speed : {1, 10, 20}) {
    for (double frame : {1.0 / 60, 0.1, 0.35}) {
      show->TransSpeed = speed;
      platform.frameSeconds = frame;
      Tick();
      const double nominal = CrossFadeSeconds(speed);
      ASSERT_DOUBLE_EQ(show->LastFade.nominal, nominal);
      EXPECT_GE(show->LastFade.measured, nominal - 1e-9) << speed << " " << frame;
      EXPECT_LE(show->LastFade.measured, nominal + frame + 1e-9) << speed << " " << frame;
      EXPECT_NEAR(show->LastFade.frames, std::ceil(nominal / frame - 1e-9) + 1, 1) << speed << " " << frame;
    }
  }
}

TEST_F(MotionShowTest, AStopDuringTheFadeEndsTheShowBeforeTheNextPictureIsStored) {
  Set("SwapAffect", "Cross Fade");
  show->TransSpeed = 1;
  Tick();
  int waits = 0;
  platform.onWaitFrame = [&] {
    if (++waits == 30) show->StopShow = true;
  };
  EXPECT_THROW(Tick(), ProgramEnded);
  EXPECT_EQ(FadeFrames().size(), 30u);
  EXPECT_LT(FadeFrames().back().alpha, 0.5);
  EXPECT_EQ(Get("LastPicture"), "1");
  EXPECT_EQ(PathOf(host.target.picture), "C:\\Red.bmp");
}

TEST_F(MotionShowTest, AWindowClosedDuringTheFadeShowsNothingMore) {
  Set("SwapAffect", "Cross Fade");
  Tick();
  platform.onWaitFrame = [&] { host.loaded = false; };
  Tick();
  EXPECT_EQ(FadeFrames().size(), 1u);
  EXPECT_EQ(PathOf(host.target.picture), "C:\\Red.bmp");
  EXPECT_EQ(Get("LastPicture"), "1");
}

TEST_F(MotionShowTest, TheNameInAnotherCaseOrASurfaceWithoutMotionDrawsNothing) {
  Set("SwapAffect", "cross fade");
  Tick();
  Tick();
  EXPECT_TRUE(canvas.frames.empty());
  EXPECT_EQ(PathOf(host.target.picture), "C:\\Blue.bmp");  // the slide goes on

  Set("SwapAffect", "Cross Fade");
  host.surface.canvas = nullptr;
  Tick();
  EXPECT_TRUE(canvas.frames.empty());
  EXPECT_EQ(PathOf(host.target.picture), "C:\\Red.bmp");
}

TEST_F(MotionShowTest, RandomNeverPicksTheCrossFade) {
  Set("SwapAffect", "Random");
  for (double r : {0.0, 0.5, 0.9375, 0.9999}) {
    platform.random.values = {r};
    Tick();
  }
  EXPECT_TRUE(canvas.frames.empty());
  EXPECT_EQ(EffectNamed("Cross Fade"), Effect::CrossFade);
}

TEST_F(MotionShowTest, NaturalSizePicturesFadeOverTheBackground) {
  show->PicList = PlayList();
  Picture("C:\\Small.bmp", 6000, 4500);
  Picture("C:\\Other.bmp", 3000, 3000);
  Set("SwapAffect", "Cross Fade");
  host.surface.SetBackColor(255);  // as the show's start sets it
  Tick();
  Tick();
  const auto frames = FadeFrames();
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.front().back, 255);
  EXPECT_EQ(frames.front().from->drawn, (MotionRect{4680, 3510, 6000, 4500}));
  EXPECT_EQ(frames.front().to->drawn, (MotionRect{6180, 4260, 3000, 3000}));
}

TEST_F(MotionShowTest, WithPanAndZoomOffNothingRunsBetweenSlides) {
  Set("SwapAffect", "None");
  Tick();
  Tick();
  EXPECT_TRUE(canvas.frames.empty());
  EXPECT_FALSE(canvas.running);
}

TEST_F(MotionShowTest, AStretchedPictureMovesOverTheWholeIntervalAndNeverShowsItsEdges) {
  Set("SwapAffect", "None");
  Set("PanZoom", "1");
  Set("Stretch", "1");
  platform.random.values = {0.2, 0.9, 0.1, 0.8, 0.3, 0.7};
  Tick();
  ASSERT_TRUE(canvas.running);
  const MotionRect screen{0, 0, 15360, 11520};
  std::vector<MotionRect> drawn;
  int turns = 0;
  while (canvas.Turn()) {
    platform.now += 1.0 / 60;
    ++turns;
    ASSERT_LT(turns, 1000);
  }
  for (const auto& f : canvas.frames) {
    ASSERT_TRUE(f.to);
    EXPECT_FALSE(f.from);
    EXPECT_DOUBLE_EQ(f.alpha, 1);
    EXPECT_TRUE(Contains(f.to->drawn, screen));
    EXPECT_GT(f.to->largestWidth, screen.width);  // decoded for the largest zoom
    drawn.push_back(f.to->drawn);
  }
  // The whole interval of 5 s, then the frames stop by themselves.
  EXPECT_NEAR(turns, 300, 2);
  EXPECT_FALSE(canvas.running);
  // A second apart, the frames differ.
  EXPECT_FALSE(drawn[0] == drawn[60]);
  EXPECT_FALSE(drawn[60] == drawn[120]);

  // The next slide stops the pan before its transition.
  canvas.RunFrames([] { return true; });
  const int stops = canvas.stops;
  Tick();
  EXPECT_GT(canvas.stops, stops);
  EXPECT_TRUE(canvas.running);  // and the new picture pans
}

TEST_F(MotionShowTest, ASmallPictureAtItsNaturalSizePansWithinTheScreen) {
  show->PicList = PlayList();
  Picture("C:\\Small.bmp", 6000, 4500);
  Set("SwapAffect", "None");
  Set("PanZoom", "1");
  Tick();
  ASSERT_TRUE(canvas.running);
  for (int i = 0; i < 300 && canvas.Turn(); ++i) platform.now += 1.0 / 60;
  ASSERT_GT(canvas.frames.size(), 200u);
  const MotionRect screen{0, 0, 15360, 11520};
  bool moved = false;
  for (const auto& f : canvas.frames) {
    EXPECT_TRUE(Contains(screen, f.to->drawn));
    moved |= !(f.to->drawn == canvas.frames.front().to->drawn);
  }
  EXPECT_TRUE(moved);
}

TEST_F(MotionShowTest, APanningPictureCrossFadesWhileBothMove) {
  Set("SwapAffect", "Cross Fade");
  show->TransSpeed = 10;
  Set("PanZoom", "1");
  Set("Stretch", "1");
  Tick();
  for (int i = 0; i < 60; ++i) {
    canvas.Turn();
    platform.now += 1.0 / 60;
  }
  canvas.frames.clear();
  Tick();
  const auto frames = FadeFrames();
  ASSERT_GT(frames.size(), 10u);
  EXPECT_FALSE(frames.front().from->drawn == frames.back().from->drawn);
  EXPECT_FALSE(frames.front().to->drawn == frames.back().to->drawn);
  // The new picture's pan goes on from where the fade left it.
  ASSERT_TRUE(canvas.running);
  canvas.frames.clear();
  canvas.Turn();
  ASSERT_EQ(canvas.frames.size(), 1u);
  const MotionRect last = frames.back().to->drawn, next = canvas.frames[0].to->drawn;
  EXPECT_LT(std::fabs(next.left - last.left), 20);
  EXPECT_LT(std::fabs(next.width - last.width), 20);
}

TEST_F(MotionShowTest, TheCaptionLineStaysOutOfTheMotion) {
  Set("SwapAffect", "None");
  Set("PanZoom", "1");
  Set("Stretch", "1");
  Set("ShowFileName", "1");
  Tick();
  ASSERT_TRUE(canvas.Turn());
  const MotionRect area = canvas.frames.back().area;
  EXPECT_DOUBLE_EQ(area.height, 11520 - host.surface.textHeight);
  EXPECT_GE(canvas.frames.back().to->drawn.Bottom(), area.Bottom());
}
