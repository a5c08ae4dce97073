#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "common/CRegSettings.h"
#include "Fakes.h"
#include "common/MemoryRegistry.h"
#include "ShowFakes.h"
#include "show/mSlideShow.h"

using namespace tessaly;

namespace {

class ShowTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  CRegSettings settings{registry, "Quillmark Inc.", "Tessaly Customizable Screen Saver"};
  FakePlatform platform;
  FakeFileSystem fs;
  std::unique_ptr<SlideShow> show;
  FakeHost host{300, 200};

  void SetUp() override { Make("/S"); }
  void Make(const std::string& mode) {
    show = std::make_unique<SlideShow>(settings, platform, fs, ModeOfCommand(mode), 0x1234);
  }
  void Set(const std::string& name, const std::string& value) { settings.SaveSetting("Options", name, value); }
  std::string Get(const std::string& name) { return settings.GetSetting("Options", name, "<none>"); }
  void Pictures(std::initializer_list<std::string> paths) {
    for (const auto& p : paths) {
      show->PicList.Add(p);
      platform.pictures[p] = {1500, 1200};
    }
  }
  void Tick() { show->NextSlide(host.target, host.work); }
  std::vector<DrawOp> Lines() { return host.surface.OfKind(DrawOp::Line); }
};

// ---------------------------------------------------------------------------
// Transitions on a 300 x 200 twip surface

struct LineCase {
  const char* effect;
  int steps;
  int linesPerStep;
  // expected line k (0-based)
  std::function<DrawOp(int)> line;
};

TEST_F(ShowTest, EveryLineEffectDrawsItsGeometryWithBothBounds) {
  const Color bg = 0x00FF00;
  const std::vector<LineCase> cases = {
      {"Sweep Right", 11, 1,
       [](int k) {
         return DrawOp{DrawOp::Line, 30.0 * k, 0, 30.0 * k, 200};
       }},
      {"Sweep Left", 11, 1,
       [](int k) {
         return DrawOp{DrawOp::Line, 300 - 30.0 * k, 0, 300 - 30.0 * k, 200};
       }},
      {"Sweep Down", 11, 1,
       [](int k) {
         return DrawOp{DrawOp::Line, 0, 20.0 * k, 300, 20.0 * k};
       }},
      {"Sweep Up", 11, 1,
       [](int k) {
         return DrawOp{DrawOp::Line, 0, 200 - 20.0 * k, 300, 200 - 20.0 * k};
       }},
      {"Vertical Sandwich", 16, 2,
       [](int k) {
         double x = 10.0 * (k / 2);
         return k % 2 == 0 ? DrawOp{DrawOp::Line, x, 0, x, 200} : DrawOp{DrawOp::Line, 300 - x, 0, 300 - x, 200};
       }},
      {"Horizontal Sandwich", 11, 2,
       [](int k) {
         double y = 10.0 * (k / 2);
         return k % 2 == 0 ? DrawOp{DrawOp::Line, 0, y, 300, y} : DrawOp{DrawOp::Line, 0, 200 - y, 300, 200 - y};
       }},
      {"Shrinking Square", 6, 4,
       [](int k) {
         double i = 20.0 * (k / 4);
         switch (k % 4) {
           case 0: return DrawOp{DrawOp::Line, 0, i, 300, i};
           case 1: return DrawOp{DrawOp::Line, 0, 200 - i, 300, 200 - i};
           case 2: return DrawOp{DrawOp::Line, i, 0, i, 200};
           default: return DrawOp{DrawOp::Line, 300 - i, 0, 300 - i, 200};
         }
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.effect);
    host.surface.ops.clear();
    platform.delays.clear();
    platform.doEvents = 0;
    Set("SwapAffect", c.effect);
    Set("Backcolor", std::to_string(bg));
    show->TransSpeed = 20;
    show->RunTransition(host.target);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(c.steps * c.linesPerStep));
    for (size_t k = 0; k < lines.size(); ++k) {
      const DrawOp want = c.line(static_cast<int>(k));
      EXPECT_EQ(lines[k].x1, want.x1) << k;
      EXPECT_EQ(lines[k].y1, want.y1) << k;
      EXPECT_EQ(lines[k].x2, want.x2) << k;
      EXPECT_EQ(lines[k].y2, want.y2) << k;
      EXPECT_EQ(lines[k].color, bg);
      EXPECT_EQ(lines[k].width, 30);
    }
    // One message pass and one delay of StepDelay passes per step.
    EXPECT_EQ(platform.doEvents, c.steps);
    EXPECT_EQ(platform.delays, std::vector<long>(c.steps, 1));
  }
}

TEST_F(ShowTest, SpotlightDrawsGrowingCirclesInTheSurfaceBackColour) {
  host.surface.SetBackColor(0x123456);
  Set("SwapAffect", "Spotlight");
  Set("Backcolor", "255");  // not used by the circles
  show->RunTransition(host.target);
  const auto circles = host.surface.OfKind(DrawOp::Circle);
  ASSERT_EQ(circles.size(), 8u);  // r = 0, 30, ..., 210 = 300 * 0.7
  for (size_t k = 0; k < circles.size(); ++k) {
    EXPECT_EQ(circles[k].x1, 150);
    EXPECT_EQ(circles[k].y1, 100);
    EXPECT_EQ(circles[k].x2, 30.0 * k);
    EXPECT_EQ(circles[k].color, 0x123456);
    EXPECT_EQ(circles[k].width, 5);
  }
}

TEST_F(ShowTest, BubblesStayInsideThePictureGrowAndEmptyIt) {
  host.target.left = 1000;
  host.target.top = 500;
  host.target.width = 600;
  host.target.height = 400;
  host.target.picture = std::make_shared<FakePicture>(600, 400, "old");
  platform.random.values = {0.0, 0.999999, 0.5, 0.25};
  Set("SwapAffect", "Bubbles");
  Set("Backcolor", "77");
  show->RunTransition(host.target);
  const auto dots = host.surface.OfKind(DrawOp::PSet);
  ASSERT_EQ(dots.size(), 400u);
  for (size_t n = 0; n < dots.size(); ++n) {
    EXPECT_GE(dots[n].x1, 1000);
    EXPECT_LT(dots[n].x1, 1600);
    EXPECT_GE(dots[n].y1, 500);
    EXPECT_LT(dots[n].y1, 900);
    EXPECT_EQ(dots[n].width, static_cast<int>(n) + 1);  // dot n is n pixels wide
    EXPECT_EQ(dots[n].color, 77);
  }
  EXPECT_EQ(host.target.picture, nullptr);
  EXPECT_EQ(host.surface.DrawWidth(), 401);
}

TEST_F(ShowTest, StepDelayFollowsSpeedAndMode) {
  Set("SwapAffect", "Sweep Down");
  struct Case {
    const char* mode;
    int speed;
    long delay;
  } cases[] = {{"/S", 20, 1}, {"/S", 1, 381}, {"/P", 20, 200}, {"/P", 1, 4000}, {"/C", 10, 2200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.speed));
    Make(c.mode);
    show->TransSpeed = c.speed;
    platform.delays.clear();
    show->RunTransition(host.target);
    EXPECT_EQ(show->StepDelay, c.delay);
    EXPECT_EQ(platform.delays, std::vector<long>(11, c.delay));
  }
  // Speed 21 gives no extra passes at all; the steps still let messages run.
  show->TransSpeed = 21;
  platform.delays.clear();
  show->RunTransition(host.target);
  EXPECT_TRUE(platform.delays.empty());
}

TEST_F(ShowTest, RandomPicksOnlyDrawingEffectsAndReseeds) {
  Set("SwapAffect", "Random");
  const std::pair<double, const char*> cases[] = {
      {0.0, "Sweep Right"},          {0.0624, "Sweep Right"},      {0.0626, "Sweep Left"},        {0.5, "Spotlight"},
      {0.9374, "Vertical Sandwich"}, {0.9376, "Shrinking Square"}, {0.999999, "Shrinking Square"}};
  for (const auto& [r, name] : cases) {
    SCOPED_TRACE(name);
    platform.random.values = {r};
    platform.random.next = 0;
    host.surface.ops.clear();
    show->RunTransition(host.target);
    // Compare with the drawing of the named effect run directly.
    FakeHost direct(300, 200);
    Set("SwapAffect", name);
    platform.random.next = 0;
    show->RunTransition(direct.target);
    Set("SwapAffect", "Random");
    ASSERT_FALSE(direct.surface.ops.empty());
    ASSERT_EQ(host.surface.ops.size(), direct.surface.ops.size());
    for (size_t k = 0; k < host.surface.ops.size(); ++k) {
      EXPECT_EQ(host.surface.ops[k].kind, direct.surface.ops[k].kind);
      EXPECT_EQ(host.surface.ops[k].x1, direct.surface.ops[k].x1);
      EXPECT_EQ(host.surface.ops[k].y2, direct.surface.ops[k].y2);
    }
  }
  EXPECT_EQ(platform.random.seeds, 7);
}

TEST_F(ShowTest, NoneUnknownNamesAndBadColoursDrawNothing) {
  for (const char* name : {"None", "sweep right", "Fade"}) {
    SCOPED_TRACE(name);
    Set("SwapAffect", name);
    host.surface.SetDrawWidth(3);
    host.surface.ops.clear();
    show->RunTransition(host.target);
    EXPECT_TRUE(host.surface.ops.empty());
    EXPECT_EQ(platform.doEvents, 0);
  }
  EXPECT_EQ(host.surface.DrawWidth(), 30);  // an unknown name still sets the pen up
  Set("SwapAffect", "Sweep Right");
  Set("Backcolor", "blue");
  host.surface.ops.clear();
  EXPECT_THROW(show->RunTransition(host.target), AppError);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(ShowTest, StopDuringATransitionEndsTheProgramAtTheStepEnd) {
  Set("SwapAffect", "Sweep Down");
  platform.cursor = -8;
  platform.onDoEvents = [&] {
    if (platform.doEvents == 3) show->StopShow = true;
  };
  EXPECT_THROW(show->RunTransition(host.target), ProgramEnded);
  EXPECT_EQ(Lines().size(), 3u);
  EXPECT_EQ(platform.cursor, 6);  // shown until the count reaches 6
  ASSERT_EQ(platform.enabled.size(), 1u);
  EXPECT_EQ(platform.enabled[0], std::make_pair(uintptr_t{0x1234}, true));
  EXPECT_EQ(platform.delays.size(), 2u);  // the stopping step waits no more
}

TEST_F(ShowTest, EveryEffectStopsAtTheStepEndOnceItsWindowIsUnloaded) {
  for (const char* effect : kEffects) {
    SCOPED_TRACE(effect);
    Set("SwapAffect", effect);
    host.loaded = true;
    platform.doEvents = 0;
    platform.delays.clear();
    platform.onDoEvents = [&] {
      if (platform.doEvents == 3) host.loaded = false;  // OK or Cancel ran in this pump
    };
    show->RunTransition(host.target);
    EXPECT_EQ(platform.doEvents, 3);
    EXPECT_EQ(platform.delays.size(), 3u);  // the step ends as usual, then the effect stops
  }
}

TEST_F(ShowTest, ATickWhoseWindowIsUnloadedDuringTheTransitionShowsNothingMore) {
  Pictures({"C:\\P\\a.jpg", "C:\\P\\b.jpg"});
  Set("SwapAffect", "Sweep Down");
  Tick();
  platform.onDoEvents = [&] {
    if (platform.doEvents == 2) host.loaded = false;
  };
  Tick();
  EXPECT_EQ(Lines().size(), 2u);
  EXPECT_EQ(PathOf(host.target.picture), "C:\\P\\a.jpg");  // the next picture is not loaded
  EXPECT_EQ(Get("LastPicture"), "1");
}

TEST_F(ShowTest, InterruptStopsOnlyTheRightwardSweep) {
  show->InterruptShow = true;
  Set("SwapAffect", "Sweep Right");
  show->RunTransition(host.target);
  EXPECT_EQ(Lines().size(), 1u);
  host.surface.ops.clear();
  Set("SwapAffect", "Sweep Left");
  show->RunTransition(host.target);
  EXPECT_EQ(Lines().size(), 11u);
}

// ---------------------------------------------------------------------------
// Slide advance

TEST_F(ShowTest, FirstTickShowsWithoutTransitionLaterTicksRunOne) {
  Pictures({"C:\\P\\a.jpg", "C:\\P\\b.jpg"});
  Set("SwapAffect", "Sweep Down");
  Tick();
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(PathOf(host.target.picture), "C:\\P\\a.jpg");
  EXPECT_TRUE(host.target.visible);
  EXPECT_EQ(Get("LastPicture"), "1");
  EXPECT_EQ(host.timer.interval, 5000);
  Tick();
  EXPECT_EQ(Lines().size(), 11u);
  EXPECT_EQ(PathOf(host.target.picture), "C:\\P\\b.jpg");
  EXPECT_EQ(Get("LastPicture"), "2");
  // The flags outlive a new start: a new show's first tick has a transition.
  show->StartSlideShow(host.target, 1, host);
  EXPECT_TRUE(show->FirstSlideShown);
}

TEST_F(ShowTest, PositionsWrapResetAndSurviveBadStoredValues) {
  Pictures({"a", "b", "c"});
  Set("SwapAffect", "None");
  Set("LastPicture", "3");
  Tick();
  EXPECT_EQ(PathOf(host.target.picture), "a");
  EXPECT_EQ(Get("LastPicture"), "1");

  // Reset applies to the first tick of the process only.
  Make("/S");
  Pictures({"a", "b", "c"});
  Set("ResetPicList", "2");
  Set("LastPicture", "2");
  Tick();
  EXPECT_EQ(Get("LastPicture"), "1");
  Tick();
  EXPECT_EQ(Get("LastPicture"), "2");

  // A text that is not a number: nothing new is shown, 0 is stored, the next
  // tick starts at 1. Beyond 32 bits: the same.
  for (const char* bad : {"x", "99999999999"}) {
    SCOPED_TRACE(bad);
    const std::string held = PathOf(host.work.picture);
    host.target.picture = nullptr;
    Set("LastPicture", bad);
    Tick();
    EXPECT_EQ(Get("LastPicture"), "0");
    EXPECT_EQ(PathOf(host.target.picture), held);  // what the work image still held
    Tick();
    EXPECT_EQ(Get("LastPicture"), "1");
  }
  // A negative position starts again from the first picture.
  Set("LastPicture", "-5");
  Tick();
  EXPECT_EQ(Get("LastPicture"), "1");
}

TEST_F(ShowTest, NaturalSizeIsCentredAsOnTheScreenAndScaledInAPreview) {
  Pictures({"C:\\p.bmp"});
  platform.pictures["C:\\p.bmp"] = {6000, 4500};
  FakeHost full(15360, 11520);
  show->NextSlide(full.target, full.work);
  EXPECT_EQ(full.target.top, 3510);
  EXPECT_EQ(full.target.left, 4680);
  EXPECT_EQ(full.target.width, 6000);
  EXPECT_EQ(full.target.height, 4500);
  // A larger-than-screen picture overlaps both edges equally.
  platform.pictures["C:\\p.bmp"] = {20000, 12000};
  show->NextSlide(full.target, full.work);
  EXPECT_EQ(full.target.left, -2320);
  EXPECT_EQ(full.target.top, -240);

  Make("/P");
  show->PicList.Add("C:\\p.bmp");
  platform.pictures["C:\\p.bmp"] = {6000, 4500};
  FakeHost preview(2280, 1680);  // 152 x 112 pixels
  show->NextSlide(preview.target, preview.work);
  const double kx = 2280.0 / 15360, ky = 1680.0 / 11520;
  EXPECT_EQ(preview.target.top, std::lround(3510 * ky));
  EXPECT_EQ(preview.target.left, std::lround(4680 * kx));
  EXPECT_EQ(preview.target.width, std::lround(6000 * kx));
  EXPECT_EQ(preview.target.height, std::lround(4500 * ky));
  EXPECT_TRUE(platform.sounds.empty());
}

TEST_F(ShowTest, CaptionIsCentredAtTheBottomAndCutsOnlyTallPictures) {
  FakeHost full(15360, 11520);
  show->PicList.Add("C:\\Pics\\Harbour.jpg");
  Set("ShowFileName", "1");
  Set("SwapAffect", "None");
  // Short picture: keeps its height even though it reaches below the caption.
  platform.pictures["C:\\Pics\\Harbour.jpg"] = {3000, 11000};
  show->NextSlide(full.target, full.work);
  auto prints = full.surface.OfKind(DrawOp::Print);
  ASSERT_EQ(prints.size(), 1u);
  EXPECT_EQ(prints[0].text, "Harbour");
  EXPECT_EQ(prints[0].x1, (15360 - 700) / 2.0);
  EXPECT_EQ(prints[0].y1, 11520 - 240);
  EXPECT_EQ(prints[0].color, 0xFFFFFF);
  EXPECT_EQ(full.target.height, 11000);
  // Cleared first, before the print.
  ASSERT_GE(full.surface.ops.size(), 2u);
  EXPECT_EQ(full.surface.ops[full.surface.ops.size() - 2].kind, DrawOp::Cls);

  // Taller than the caption's top: cut to end at it.
  platform.pictures["C:\\Pics\\Harbour.jpg"] = {3000, 12000};
  show->NextSlide(full.target, full.work);
  EXPECT_EQ(full.target.top, -240);
  EXPECT_EQ(full.target.top + full.target.height, 11520 - 240);

  // Stretched: the picture fills the width and ends where the caption begins.
  Set("Stretch", "1");
  show->NextSlide(full.target, full.work);
  EXPECT_EQ(full.target.left, 0);
  EXPECT_EQ(full.target.top, 0);
  EXPECT_EQ(full.target.width, 15360);
  EXPECT_EQ(full.target.height, 11520 - 240);
}

TEST_F(ShowTest, FrameLiesOutsideThePictureOnlyOnTheNaturalPath) {
  FakeHost full(15360, 11520);
  show->PicList.Add("p");
  platform.pictures["p"] = {6000, 4500};
  Set("ShowFrame", "1");
  Set("SwapAffect", "None");
  show->NextSlide(full.target, full.work);
  auto boxes = full.surface.OfKind(DrawOp::BoxFilled);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].x1, 4680 - 60);
  EXPECT_EQ(boxes[0].y1, 3510 - 60);
  EXPECT_EQ(boxes[0].x2, 4680 + 6000 + 60);
  EXPECT_EQ(boxes[0].y2, 3510 + 4500 + 60);
  EXPECT_EQ(boxes[0].color, 0);  // no colour stored: black
  EXPECT_EQ(boxes[0].width, 1);
  // Drawn while the target is hidden, so the picture covers its middle.
  EXPECT_EQ(full.log.back(), "PicPreview.show");

  Make("/C");
  show->PicList.Add("p");
  Set("FrameThickness", "5");
  Set("FrameColor", "65280");
  full.surface.ops.clear();
  show->NextSlide(full.target, full.work);
  boxes = full.surface.OfKind(DrawOp::BoxFilled);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].x1, 4680 - 20);
  EXPECT_EQ(boxes[0].color, 65280);

  Set("Stretch", "1");
  full.surface.ops.clear();
  show->NextSlide(full.target, full.work);
  EXPECT_TRUE(full.surface.OfKind(DrawOp::BoxFilled).empty());
}

TEST_F(ShowTest, UnloadablePicturesAreSkippedAndThePositionMovesOn) {
  Set("SwapAffect", "None");
  Pictures({"good", "gone", "next"});
  platform.pictures.erase("gone");
  Tick();
  const long height = host.target.height;
  Tick();  // natural path: the previous picture again, at its old size
  EXPECT_EQ(PathOf(host.target.picture), "good");
  EXPECT_EQ(host.target.height, height);
  EXPECT_TRUE(host.target.visible);
  EXPECT_EQ(Get("LastPicture"), "2");
  Tick();
  EXPECT_EQ(PathOf(host.target.picture), "next");

  // Stretched path after "Bubbles" emptied the target: nothing is shown.
  Set("Stretch", "1");
  Set("SwapAffect", "Bubbles");
  Set("LastPicture", "1");
  Tick();
  EXPECT_EQ(host.target.picture, nullptr);
  EXPECT_EQ(Get("LastPicture"), "2");
}

TEST_F(ShowTest, SoundsAdvanceAndPlayExceptInTheSystemPreview) {
  show->SoundList.Add("C:\\S\\one.wav");
  show->SoundList.Add("C:\\S\\two.wav");
  Set("LastSound", "1");
  Tick();  // no pictures: the surface is cleared and the target hidden
  EXPECT_FALSE(host.target.visible);
  EXPECT_EQ(host.surface.ops.back().kind, DrawOp::Cls);
  ASSERT_EQ(platform.sounds.size(), 1u);
  EXPECT_EQ(platform.sounds[0].first, "C:\\S\\two.wav");
  EXPECT_EQ(platform.sounds[0].second, 0x20003u);  // file name, async, no default
  EXPECT_EQ(Get("LastSound"), "2");
  EXPECT_EQ(Get("LastPicture"), "<none>");
  Tick();
  EXPECT_EQ(platform.sounds.back().first, "C:\\S\\one.wav");

  Make("/P");
  show->SoundList.Add("C:\\S\\one.wav");
  platform.sounds.clear();
  Tick();
  EXPECT_TRUE(platform.sounds.empty());
  EXPECT_EQ(Get("LastSound"), "1");
}

TEST_F(ShowTest, IntervalOutsideTheTimerRangeKeepsThePreviousOne) {
  Pictures({"a"});
  Set("Interval", "0.05");
  Tick();
  EXPECT_EQ(host.timer.interval, 50);
  for (const char* bad : {"66", "-1", "0", "x", "0.0001"}) {
    SCOPED_TRACE(bad);
    Set("Interval", bad);
    Tick();
    EXPECT_EQ(host.timer.interval, 50);
  }
  Set("Interval", "65.535");
  Tick();
  EXPECT_EQ(host.timer.interval, 65535);
}

TEST_F(ShowTest, InterruptedTickDoesNothingAndALoneHiddenWindowIsClosed) {
  Pictures({"a"});
  show->InterruptShow = true;
  Tick();
  EXPECT_TRUE(host.log.empty());
  EXPECT_FALSE(show->ResetApplied);
  show->InterruptShow = false;

  host.visible = false;
  host.timer.enabled = true;
  platform.windows = {&host};
  Tick();
  EXPECT_EQ(host.unloads, 1);
  EXPECT_FALSE(host.timer.enabled);
  EXPECT_TRUE(show->StopShow);

  Make("/P");
  show->PicList.Add("a");
  Tick();
  EXPECT_EQ(host.unloads, 1);
}

// ---------------------------------------------------------------------------
// Show start

TEST_F(ShowTest, StartBuildsListsReadsColoursAndArmsTheTimer) {
  fs.entries["C:\\Pics\\"] = {true, false};
  fs.entries["C:\\Pics\\z.bmp"] = {false, false};
  fs.entries["C:\\Pics\\a.gif"] = {false, false};
  fs.entries["C:\\Pics\\m.bmp"] = {false, false};
  fs.entries["C:\\Pics\\notes.txt"] = {false, false};
  auto entry = [](const std::string& name, const std::string& folder) {
    std::string e(512, ' ');
    e.replace(255, folder.size(), folder);
    e.replace(0, name.size(), name);
    return e;
  };
  settings.SaveSetting("PictureFiles", "File0", entry("C:\\Pics\\", "C:\\Pics\\"));
  settings.SaveSetting("PictureFiles", "File1", entry("missing.jpg", "D:\\Else\\"));
  settings.SaveSetting("SoundFiles", "File0", entry("ding.wav", "C:\\Snd\\"));
  Set("BackColor", "&H0000FF&");
  Set("TransSpeed", "7.5");
  host.timer.interval = 9999;
  show->StartSlideShow(host.target, 1, host);
  std::vector<std::string> pics;
  for (long i = 1; i <= show->PicList.Count(); ++i) pics.push_back(show->PicList.Item(i));
  EXPECT_EQ(pics, (std::vector<std::string>{"C:\\Pics\\m.bmp", "C:\\Pics\\z.bmp", "C:\\Pics\\a.gif",
                                            "D:\\Else\\missing.jpg"}));
  ASSERT_EQ(show->SoundList.Count(), 1);
  EXPECT_EQ(show->SoundList.Item(1), "C:\\Snd\\ding.wav");
  EXPECT_EQ(host.surface.BackColor(), 255);
  EXPECT_EQ(host.surface.FillColor(), 255);
  EXPECT_EQ(host.timer.interval, 500);
  EXPECT_TRUE(host.timer.enabled);
  EXPECT_EQ(show->TransSpeed, 8);  // halves to even

  // The dialog's own lists; random order draws when a picture is due.
  FakeHost dialog(300, 200, true);
  dialog.lists[0].AddItem(entry("x.jpg", "C:\\A\\"));
  dialog.lists[0].AddItem(entry("y.jpg", "C:\\A\\"));
  Set("PicRandom", "1");
  Set("SwapAffect", "None");
  platform.random.values = {0.99};
  platform.pictures["C:\\A\\x.jpg"] = platform.pictures["C:\\A\\y.jpg"] = {1500, 1200};
  show->StartSlideShow(dialog.target, 0, dialog);
  ASSERT_EQ(show->PicList.Count(), 2);
  EXPECT_EQ(show->PicList.Item(1), "C:\\A\\x.jpg");
  show->NextSlide(dialog.target, dialog.work);
  EXPECT_EQ(PathOf(dialog.target.picture), "C:\\A\\y.jpg");
  EXPECT_TRUE(show->SoundList.Empty());
  // A host without list boxes cannot take list source 0.
  EXPECT_THROW(show->StartSlideShow(host.target, 0, host), AppError);
}

TEST_F(ShowTest, UnreadableSpeedAtTheFirstStartIsTheDefault) {
  Set("TransSpeed", "99999999999");
  EXPECT_NO_THROW(show->StartSlideShow(host.target, 1, host));
  EXPECT_EQ(show->TransSpeed, 20);  // not 0, slower than the slowest speed
}

TEST_F(ShowTest, StoredNumbersBeyondThirtyTwoBitsDoNotStopTheStart) {
  host.surface.SetBackColor(0x112233);
  show->TransSpeed = 5;
  Set("BackColor", std::string(10000, '9'));
  Set("TransSpeed", "99999999999");
  Set("PicRandom", std::string(10000, '9'));
  Set("SoundRandom", "1e999");
  EXPECT_NO_THROW(show->StartSlideShow(host.target, 1, host));
  EXPECT_EQ(host.surface.BackColor(), 0x112233);
  EXPECT_EQ(host.surface.FillColor(), 0x112233);
  EXPECT_EQ(show->TransSpeed, 5);
  EXPECT_EQ(host.timer.interval, 500);
  EXPECT_TRUE(host.timer.enabled);
  // A text that is no number at all reads as 0, as every option does.
  Set("BackColor", "blue");
  Set("TransSpeed", "fast");
  show->StartSlideShow(host.target, 1, host);
  EXPECT_EQ(host.surface.BackColor(), 0);
  EXPECT_EQ(show->TransSpeed, 0);
}

// ---------------------------------------------------------------------------
// One show on several windows (one per monitor)

TEST_F(ShowTest, WindowsOfOneShowTakeConsecutivePicturesAndOnlyTheFirstPlaysSounds) {
  Pictures({"a", "b", "c"});
  show->SoundList.Add("one.wav");
  show->SoundList.Add("two.wav");
  Set("SwapAffect", "None");
  FakeHost second(300, 200);
  second.sounds = false;
  Tick();
  show->NextSlide(second.target, second.work);
  Tick();
  show->NextSlide(second.target, second.work);
  EXPECT_EQ(PathOf(host.target.picture), "c");
  EXPECT_EQ(PathOf(second.target.picture), "a");  // a, b, c, a: the list wraps
  EXPECT_EQ(Get("LastPicture"), "1");
  // Only the primary window's two slides played, and moved the sound position.
  ASSERT_EQ(platform.sounds.size(), 2u);
  EXPECT_EQ(platform.sounds[0].first, "one.wav");
  EXPECT_EQ(platform.sounds[1].first, "two.wav");
  EXPECT_EQ(Get("LastSound"), "2");
  EXPECT_EQ(second.timer.interval, 5000);
}

TEST_F(ShowTest, AWindowThatNamesItsScreenIsPlacedForIt) {
  Pictures({"p"});
  platform.pictures["p"] = {6000, 4500};
  // A second monitor of 800 x 600 pixels at 15 twips, whatever the primary is.
  FakeHost monitor(12000, 9000);
  monitor.screen = ScreenSize{12000, 9000};
  show->NextSlide(monitor.target, monitor.work);
  EXPECT_EQ(monitor.target.left, 3000);
  EXPECT_EQ(monitor.target.top, 2250);
  EXPECT_EQ(monitor.target.width, 6000);
  EXPECT_EQ(monitor.target.height, 4500);
  // At 192 DPI the same monitor is 7.5 twips a pixel: a picture of 400 x 300
  // pixels is 3000 x 2250 twips and keeps its pixels, centred.
  platform.pictures["p"] = {3000, 2250};
  FakeHost sharp(6000, 4500);
  sharp.screen = ScreenSize{6000, 4500};
  show->NextSlide(sharp.target, sharp.work);
  EXPECT_EQ(sharp.target.left, 1500);
  EXPECT_EQ(sharp.target.top, 1125);
  EXPECT_EQ(sharp.target.width, 3000);
}

TEST_F(ShowTest, ATickDuringAnotherWindowsTransitionIsPutOff) {
  Pictures({"a", "b", "c"});
  Set("SwapAffect", "Sweep Down");
  Tick();  // the first slide: no transition
  FakeHost second(300, 200);
  second.timer.interval = 500;
  bool nested = false;
  platform.onDoEvents = [&] {
    if (nested) return;
    nested = true;  // the second window's timer fires inside the transition
    show->NextSlide(second.target, second.work);
  };
  Tick();
  EXPECT_TRUE(nested);
  EXPECT_EQ(PathOf(second.target.picture), "");
  EXPECT_TRUE(second.log.empty());
  EXPECT_EQ(second.timer.interval, SlideShow::kPutOffMs);
  EXPECT_EQ(PathOf(host.target.picture), "b");
  EXPECT_EQ(Get("LastPicture"), "2");
  // When it comes again, it takes the next position.
  platform.onDoEvents = nullptr;
  show->NextSlide(second.target, second.work);
  EXPECT_EQ(PathOf(second.target.picture), "c");
  EXPECT_EQ(second.timer.interval, 5000);
  // A stop that ends the program inside a tick leaves the engine free.
  show->StopShow = true;
  EXPECT_THROW(Tick(), ProgramEnded);
  show->StopShow = false;
  Tick();
  EXPECT_EQ(Get("LastPicture"), "1");
}

TEST_F(ShowTest, JoiningAShowKeepsItsListsAndArmsTheWindow) {
  Set("BackColor", "255");
  Set("TransSpeed", "12");
  settings.SaveSetting("PictureFiles", "File0", std::string("x.jpg") + std::string(250, ' ') + "C:\\A\\");
  show->StartSlideShow(host.target, 1, host);
  const int before = show->PicList.Count();
  show->PicList.Add("added after the start");
  Set("TransSpeed", "3");
  Set("BackColor", "65280");
  Set("PicRandom", "1");
  FakeHost second(300, 200);
  second.timer.interval = 9999;
  show->JoinSlideShow(second.target, second);
  EXPECT_EQ(show->PicList.Count(), before + 1);  // not built again, not shuffled
  EXPECT_EQ(show->PicList.Item(before + 1), "added after the start");
  EXPECT_EQ(platform.random.seeds, 0);
  EXPECT_EQ(show->TransSpeed, 12);
  EXPECT_EQ(second.surface.BackColor(), 65280);
  EXPECT_EQ(second.surface.FillColor(), 65280);
  EXPECT_EQ(second.timer.interval, 500);
  EXPECT_TRUE(second.timer.enabled);
}

}  // namespace
