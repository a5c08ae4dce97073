// Images in the picture box: stretching, natural size, painting order and
// the repaints that changing them causes.
#include "UiTestSupport.h"

#include <psapi.h>

namespace uitest {
namespace {

class ImageTest : public HostedBoxTest {
 protected:
  static long T(int pixels) { return pixels * 15L; }
  PicturePtr Halves(int w, int h) {
    return LoadPictureFile(WriteFile("halves" + std::to_string(w) + "x" + std::to_string(h) + ".bmp", HalvesBmp(w, h)));
  }
  PicturePtr Solid(COLORREF c, const std::string& name) {
    return LoadPictureFile(WriteFile(name, MakeBmp(20, 20, [c](int, int) { return c; })));
  }
};

TEST_F(ImageTest, StretchedTargetFillsItsRectangle) {
  ImageControl& target = host->target;
  target.Move(T(50), T(40), T(200), T(150));
  target.SetPicture(Halves(40, 30));
  EXPECT_EQ(target.Width(), T(200));  // the target keeps its own size
  EXPECT_EQ(target.Height(), T(150));
  EXPECT_PIXEL(hwnd(), 52, 42, kRed);
  EXPECT_PIXEL(hwnd(), 52, 188, kRed);
  EXPECT_PIXEL(hwnd(), 140, 100, kRed);
  EXPECT_PIXEL(hwnd(), 160, 100, kBlue);
  EXPECT_PIXEL(hwnd(), 247, 42, kBlue);
  EXPECT_PIXEL(hwnd(), 247, 188, kBlue);
  EXPECT_PIXEL(hwnd(), 48, 100, kWhite);
  EXPECT_PIXEL(hwnd(), 252, 100, kWhite);
  EXPECT_PIXEL(hwnd(), 150, 38, kWhite);
  EXPECT_PIXEL(hwnd(), 150, 192, kWhite);
}

TEST_F(ImageTest, WorkImageTakesTheNaturalSizeOfEachFormat) {
  ImageControl& work = host->work;
  work.SetPicture(Halves(40, 30));
  EXPECT_EQ(work.Width(), 600);
  EXPECT_EQ(work.Height(), 450);
  EXPECT_PIXEL(hwnd(), 5, 5, kRed);
  EXPECT_PIXEL(hwnd(), 35, 25, kBlue);
  EXPECT_PIXEL(hwnd(), 45, 5, kWhite);

  work.SetPicture(LoadPictureFile(WriteFile("w.gif", kTestGif, kTestGifSize)));
  EXPECT_EQ(work.Width(), kTestPictureWidth * 15);
  EXPECT_EQ(work.Height(), kTestPictureHeight * 15);
  EXPECT_PIXEL(hwnd(), 5, 5, kRed);
  EXPECT_PIXEL(hwnd(), kTestPictureWidth - 5, 5, kBlue);
  EXPECT_PIXEL(hwnd(), kTestPictureWidth + 3, 5, kWhite);  // the BMP's larger area was repainted

  work.SetPicture(LoadPictureFile(WriteFile("w.jpg", kTestJpeg, kTestJpegSize)));
  EXPECT_EQ(work.Width(), kTestPictureWidth * 15);
  EXPECT_EQ(work.Height(), kTestPictureHeight * 15);
  EXPECT_PIXEL(hwnd(), 5, 5, kRed);
  EXPECT_PIXEL(hwnd(), kTestPictureWidth - 5, kTestPictureHeight - 5, kBlue);

  // An empty picture keeps the size and shows the background.
  work.SetPicture(nullptr);
  EXPECT_EQ(work.Width(), kTestPictureWidth * 15);
  EXPECT_PIXEL(hwnd(), 5, 5, kWhite);
}

TEST_F(ImageTest, MetafilesRenderAtTheirSize) {
  // A placeable WMF written by the picture test's helper would do; an EMF
  // is enough to see the metafile path paint.
  const std::string path = TempFolder() + "img.emf";
  RECT frame{0, 0, 5080, 2540};
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
  GdiObject<HBRUSH> brush(CreateSolidBrush(kGreen));
  RECT all{0, 0, 10000, 10000};
  FillRect(dc, &all, brush.get());
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));

  ImageControl& work = host->work;
  work.SetLeft(T(100));
  work.SetTop(T(100));
  work.SetPicture(LoadPictureFile(path));
  const int w = static_cast<int>(work.Width() / 15), h = static_cast<int>(work.Height() / 15);
  EXPECT_NEAR(w, 192, 1);
  EXPECT_NEAR(h, 96, 1);
  EXPECT_PIXEL(hwnd(), 100 + w / 2, 100 + h / 2, kGreen);
  EXPECT_PIXEL(hwnd(), 105, 105, kGreen);
  EXPECT_PIXEL(hwnd(), 95, 100 + h / 2, kWhite);
  EXPECT_PIXEL(hwnd(), 100 + w + 4, 100 + h / 2, kWhite);

  // A placeable WMF (2 x 1 inch) plays where the image is, at natural size
  // and stretched.
  work.SetLeft(T(10));
  work.SetTop(T(200));
  work.SetPicture(LoadPictureFile(WriteFile("img.wmf", MakePlaceableWmf())));
  EXPECT_PIXEL(hwnd(), 15, 205, kGreen);
  EXPECT_PIXEL(hwnd(), 10 + work.Width() / 15 - 5, 200 + work.Height() / 15 - 5, kGreen);
  ImageControl& target = host->target;
  target.Move(T(320), T(10), T(60), T(200));
  target.SetPicture(work.GetPicture());
  EXPECT_PIXEL(hwnd(), 325, 15, kGreen);
  EXPECT_PIXEL(hwnd(), 375, 205, kGreen);
  EXPECT_PIXEL(hwnd(), 315, 100, kWhite);
}

TEST_F(ImageTest, ShownImageCoversDrawingOnlyInsideItsRectangle) {
  ImageControl& target = host->target;
  target.SetVisible(false);
  target.Move(T(100), T(80), T(100), T(50));
  target.SetPicture(Solid(kBlue, "blue.bmp"));  // invisible: nothing repaints
  box().SetDrawWidth(3);
  box().Line(T(0), T(100), T(399), T(100), kRed);
  box().PSet(T(300), T(250), kGreen);
  EXPECT_PIXEL(hwnd(), 150, 100, kRed);

  target.SetVisible(true);
  EXPECT_PIXEL(hwnd(), 150, 100, kBlue);  // the image is above the drawing
  EXPECT_PIXEL(hwnd(), 50, 100, kRed);    // drawing outside it survives
  EXPECT_PIXEL(hwnd(), 300, 100, kRed);
  EXPECT_PIXEL(hwnd(), 300, 250, kGreen);  // far away: never the whole box

  target.SetVisible(false);
  DoEvents();                              // the hidden image goes at the next paint
  EXPECT_PIXEL(hwnd(), 150, 100, kWhite);  // and the drawing there is gone for good
  EXPECT_PIXEL(hwnd(), 50, 100, kRed);
}

TEST_F(ImageTest, HiddenImageStaysOnScreenUntilTheNextPaint) {
  // The show hides its image, loads the next picture and shows it again:
  // the old picture must stay up meanwhile, not the background.
  ImageControl& target = host->target;
  target.Move(T(100), T(80), T(100), T(50));
  target.SetPicture(Solid(kBlue, "blue5.bmp"));
  target.SetVisible(false);
  EXPECT_PIXEL(hwnd(), 150, 100, kBlue);
  target.SetPicture(Solid(kGreen, "green5.bmp"));  // hidden: nothing drawn yet
  EXPECT_PIXEL(hwnd(), 150, 100, kBlue);
  target.SetVisible(true);
  EXPECT_PIXEL(hwnd(), 150, 100, kGreen);

  // Drawing on the box first paints what the hidden image left, so the
  // drawing is not wiped out by that paint afterwards.
  target.SetVisible(false);
  box().SetDrawWidth(1);
  box().Line(T(120), T(90), T(180), T(90), kRed);
  EXPECT_PIXEL(hwnd(), 150, 90, kRed);
  EXPECT_PIXEL(hwnd(), 150, 110, kWhite);
  DoEvents();
  EXPECT_PIXEL(hwnd(), 150, 90, kRed);

  // So does a caption printed while the image is hidden.
  target.SetVisible(true);
  target.SetVisible(false);
  box().SetForeColor(kRed);
  box().SetCurrentX(T(102));
  box().SetCurrentY(T(82));
  box().Print("WWWW");
  EXPECT_PIXEL(hwnd(), 150, 125, kWhite);
  DoEvents();
  int red = 0;
  for (int x = 102; x < 140; ++x)
    for (int y = 82; y < 100; ++y) red += Near(PixelAt(hwnd(), x, y), kRed, 60);
  EXPECT_GT(red, 10);  // the text is still there after the paint
}

TEST_F(ImageTest, DrawingIsAboveTheImageUntilItRepaints) {
  ImageControl& target = host->target;
  target.Move(T(100), T(80), T(100), T(50));
  target.SetPicture(Solid(kBlue, "blue2.bmp"));
  box().Line(T(120), T(90), T(180), T(90), kRed);
  EXPECT_PIXEL(hwnd(), 150, 90, kRed);
  box().Cls();
  EXPECT_PIXEL(hwnd(), 150, 90, kBlue);
}

TEST_F(ImageTest, MovingRepaintsOldAndNewPlaces) {
  ImageControl& target = host->target;
  target.Move(T(20), T(20), T(60), T(60));
  target.SetPicture(Solid(kBlue, "blue3.bmp"));
  box().PSet(T(350), T(250), kRed);
  target.SetLeft(T(200));
  EXPECT_PIXEL(hwnd(), 50, 50, kWhite);  // old place shows the background
  EXPECT_PIXEL(hwnd(), 230, 50, kBlue);  // new place shows the image
  EXPECT_PIXEL(hwnd(), 350, 250, kRed);  // elsewhere untouched
  target.SetTop(T(150));
  EXPECT_PIXEL(hwnd(), 230, 50, kWhite);
  EXPECT_PIXEL(hwnd(), 230, 180, kBlue);
  target.SetWidth(T(120));
  EXPECT_PIXEL(hwnd(), 310, 180, kBlue);
  target.SetHeight(T(10));
  EXPECT_PIXEL(hwnd(), 230, 180, kWhite);
  EXPECT_PIXEL(hwnd(), 230, 155, kBlue);
  EXPECT_PIXEL(hwnd(), 350, 250, kRed);
}

TEST_F(ImageTest, LaterImagesPaintAboveEarlierOnes) {
  ImageControl& target = host->target;  // created first
  ImageControl& work = host->work;
  target.Move(T(0), T(0), T(100), T(100));
  target.SetPicture(Solid(kBlue, "blue4.bmp"));
  work.SetLeft(T(50));
  work.SetTop(T(50));
  work.SetPicture(Solid(kGreen, "green.bmp"));  // 20 × 20 at (50, 50)
  EXPECT_PIXEL(hwnd(), 60, 60, kGreen);
  EXPECT_PIXEL(hwnd(), 40, 40, kBlue);
  box().Cls();
  EXPECT_PIXEL(hwnd(), 60, 60, kGreen);
  work.SetVisible(false);
  DoEvents();
  EXPECT_PIXEL(hwnd(), 60, 60, kBlue);
}

TEST_F(ImageTest, StretchedPictureIsRenderedOnceAndThenCopied) {
  ImageControl& target = host->target;
  target.Move(T(10), T(10), T(300), T(200));
  const long before = ImageControl::CacheRenders();
  target.SetPicture(Halves(64, 48));
  EXPECT_EQ(ImageControl::CacheRenders(), before + 1);
  box().Cls();
  box().Cls();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(ImageControl::CacheRenders(), before + 1);
  EXPECT_PIXEL(hwnd(), 20, 20, kRed);
  target.SetWidth(T(280));
  EXPECT_EQ(ImageControl::CacheRenders(), before + 2);
  // Shown at its own size it needs no cache.
  host->work.SetPicture(Halves(16, 16));
  host->work.SetLeft(T(350));
  EXPECT_EQ(ImageControl::CacheRenders(), before + 2);
  EXPECT_PIXEL(hwnd(), 352, 2, kRed);
}

TEST_F(ImageTest, LargePictureStretchedNeedsOnlyItsVisiblePart) {
  // 3000 × 2000 pixels: 24 MB at 32 bits. The target shows 400 × 300 of
  // the box, so rendering it must not take another copy of that size.
  auto bmp = MakeBmp(3000, 2000, [](int x, int) { return x < 1500 ? kRed : kBlue; });
  auto pic = LoadPictureFile(WriteFile("large.bmp", bmp));
  bmp.clear();
  bmp.shrink_to_fit();
  PROCESS_MEMORY_COUNTERS_EX before{}, after{};
  before.cb = after.cb = sizeof before;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&before), sizeof before);
  ImageControl& target = host->target;
  target.Move(T(-200), T(-100), T(800), T(600));  // partly outside the box
  target.SetPicture(pic);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&after), sizeof after);
  const double grownMb =
      (static_cast<double>(after.PrivateUsage) - static_cast<double>(before.PrivateUsage)) / 1048576.0;
  EXPECT_LT(grownMb, 12.0);
  EXPECT_PIXEL(hwnd(), 10, 10, kRed);
  EXPECT_PIXEL(hwnd(), 190, 150, kRed);
  EXPECT_PIXEL(hwnd(), 210, 150, kBlue);
  EXPECT_PIXEL(hwnd(), 390, 290, kBlue);
}

TEST_F(ImageTest, MouseOverAnImageGoesToTheImage) {
  ImageControl& target = host->target;
  target.Move(T(100), T(100), T(50), T(50));
  std::vector<std::string> log;
  box().MouseMove = [&log](int b, int s, float x, float y) {
    log.push_back("box " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(static_cast<int>(x)) +
                  " " + std::to_string(static_cast<int>(y)));
  };
  box().MouseDown = [&log](int b, int, float x, float y) {
    log.push_back("boxdown " + std::to_string(b) + " " + std::to_string(static_cast<int>(x)) + " " +
                  std::to_string(static_cast<int>(y)));
  };
  target.MouseMove = [&log](int, int, float x, float y) {
    log.push_back("image " + std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
  };
  SendMessageA(hwnd(), WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20));
  SendMessageA(hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(110, 120));
  target.SetVisible(false);
  SendMessageA(hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(110, 120));
  SendMessageA(hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(110, 120));
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], "box 1 1 150 300");
  EXPECT_EQ(log[1], "image 150 300");
  EXPECT_EQ(log[2], "box 0 0 1650 1800");
  EXPECT_EQ(log[3], "boxdown 2 1650 1800");
}

TEST_F(ImageTest, KeysReachTheBox) {
  int key = 0, shift = -1;
  box().KeyDown = [&](int k, int s) {
    key = k;
    shift = s;
  };
  SendMessageA(hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(key, VK_SPACE);
  EXPECT_EQ(shift, 0);
}

TEST_F(ImageTest, HandlerErrorsStayInsideTheWindowProcedure) {
  box().MouseMove = [](int, int, float, float) { throw AppError(5, "boom", "test"); };
  EXPECT_NO_THROW(SendMessageA(hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)));
  box().KeyDown = [](int, int) { throw std::runtime_error("boom"); };
  EXPECT_NO_THROW(SendMessageA(hwnd(), WM_KEYDOWN, 'A', 0));
}

}  // namespace
}  // namespace uitest
