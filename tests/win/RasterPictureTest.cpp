// Raster pictures through the imaging component: the formats beyond the
// old list, transparency over the background colour, the eight recorded
// orientations, damaged Exif blocks, and decoding at the drawn size.
#include "UiTestSupport.h"
#include "picture/WicPicture_win.h"

namespace uitest {
namespace {

struct Blob {
  const unsigned char* data;
  unsigned long size;
};

const Blob kJpegOrientations[] = {
    {kTestJpegOrientation1, kTestJpegOrientation1Size}, {kTestJpegOrientation2, kTestJpegOrientation2Size},
    {kTestJpegOrientation3, kTestJpegOrientation3Size}, {kTestJpegOrientation4, kTestJpegOrientation4Size},
    {kTestJpegOrientation5, kTestJpegOrientation5Size}, {kTestJpegOrientation6, kTestJpegOrientation6Size},
    {kTestJpegOrientation7, kTestJpegOrientation7Size}, {kTestJpegOrientation8, kTestJpegOrientation8Size}};
const Blob kTiffOrientations[] = {
    {kTestTiffOrientation1, kTestTiffOrientation1Size}, {kTestTiffOrientation2, kTestTiffOrientation2Size},
    {kTestTiffOrientation3, kTestTiffOrientation3Size}, {kTestTiffOrientation4, kTestTiffOrientation4Size},
    {kTestTiffOrientation5, kTestTiffOrientation5Size}, {kTestTiffOrientation6, kTestTiffOrientation6Size},
    {kTestTiffOrientation7, kTestTiffOrientation7Size}, {kTestTiffOrientation8, kTestTiffOrientation8Size}};

std::vector<unsigned char> Bytes(const unsigned char* data, unsigned long size) {
  return std::vector<unsigned char>(data, data + size);
}

const WicPicture& Wic(const PicturePtr& p) { return dynamic_cast<const WicPicture&>(*p); }

class RasterPictureTest : public HostedBoxTest {
 protected:
  static long T(int pixels) { return pixels * 15L; }
  PicturePtr Load(const std::string& name, const unsigned char* data, unsigned long size) {
    return LoadPictureFile(WriteFile(name, data, size));
  }
  // The upright quadrants at natural size with the top-left at (x, y).
  void ExpectQuadrants(int x, int y, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_PIXEL(hwnd(), x + 6, y + 5, kRed);
    EXPECT_PIXEL(hwnd(), x + 41, y + 5, kGreen);
    EXPECT_PIXEL(hwnd(), x + 6, y + 26, kBlue);
    EXPECT_PIXEL(hwnd(), x + 41, y + 26, kWhite);
  }
  // The picture at natural size at the top left, and stretched to twice its
  // size from x = 100.
  void ShowNaturalAndDoubled(const PicturePtr& pic) {
    host->work.SetPicture(pic);
    host->target.Move(T(100), T(0), T(96), T(64));
    host->target.SetPicture(pic);
  }
};

TEST_F(RasterPictureTest, PngTiffAndOtherCodecsHaveTheirNaturalSize) {
  ImageControl& work = host->work;
  const struct {
    const char* name;
    Blob blob;
  } files[] = {{"p.png", {kTestPng, kTestPngSize}},
               {"p.tif", {kTestTiff, kTestTiffSize}},
               {"p.tiff", {kTestTiff, kTestTiffSize}},
               // No signature the header check knows: the system's codecs decide.
               {"p.ico", {kTestIco, kTestIcoSize}}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    work.SetPicture(Load(f.name, f.blob.data, f.blob.size));
    EXPECT_EQ(work.Width(), kTestPictureWidth * 15);
    EXPECT_EQ(work.Height(), kTestPictureHeight * 15);
    EXPECT_PIXEL(hwnd(), 5, 5, kRed);
    EXPECT_PIXEL(hwnd(), kTestPictureWidth - 5, kTestPictureHeight - 5, kBlue);
    EXPECT_PIXEL(hwnd(), kTestPictureWidth + 3, 5, kWhite);
  }
}

TEST_F(RasterPictureTest, GifShowsItsFirstFrame) {
  ImageControl& work = host->work;
  work.SetPicture(Load("two.gif", kTestGifTwoFrames, kTestGifTwoFramesSize));
  EXPECT_EQ(work.Width(), kTestPictureWidth * 15);
  EXPECT_PIXEL(hwnd(), 5, 5, kRed);
  EXPECT_PIXEL(hwnd(), kTestPictureWidth - 5, 5, kBlue);
}

TEST_F(RasterPictureTest, TransparentPngShowsTheBackgroundColour) {
  const COLORREF kOlive = RGB(128, 128, 0);
  box().SetBackColor(static_cast<Color>(kOlive));
  ImageControl& target = host->target;
  auto pic = Load("alpha.png", kTestPngAlpha, kTestPngAlphaSize);
  EXPECT_TRUE(Wic(pic).UsesBackColor());
  target.Move(T(10), T(10), T(96), T(64));  // stretched to twice its size
  target.SetPicture(pic);
  EXPECT_PIXEL(hwnd(), 20, 40, kOlive);           // transparent third
  EXPECT_PIXEL(hwnd(), 58, 40, RGB(192, 64, 0));  // half red over olive
  EXPECT_PIXEL(hwnd(), 96, 40, kBlue);            // opaque third
  // Another background colour composes again.
  box().SetBackColor(static_cast<Color>(kGreen));
  EXPECT_PIXEL(hwnd(), 20, 40, kGreen);
  EXPECT_PIXEL(hwnd(), 58, 40, RGB(128, 128, 0));
  EXPECT_PIXEL(hwnd(), 96, 40, kBlue);
  // At natural size as well.
  host->work.SetLeft(T(200));
  host->work.SetPicture(pic);
  EXPECT_PIXEL(hwnd(), 205, 5, kGreen);
  EXPECT_PIXEL(hwnd(), 244, 5, kBlue);
  // An opaque JPEG does not depend on it.
  EXPECT_FALSE(Wic(Load("opaque.jpg", kTestJpeg, kTestJpegSize)).UsesBackColor());
}

TEST_F(RasterPictureTest, GifTransparentColourShowsTheBackgroundColour) {
  const COLORREF kOlive = RGB(128, 128, 0);
  box().SetBackColor(static_cast<Color>(kOlive));
  auto clear = Load("clear.gif", kTestGifTransparent256, kTestGifTransparent256Size);
  EXPECT_TRUE(Wic(clear).UsesBackColor());
  ShowNaturalAndDoubled(clear);
  // At natural size: the transparent right half is the background.
  EXPECT_PIXEL(hwnd(), 5, 5, kRed);
  EXPECT_PIXEL(hwnd(), kTestPictureWidth - 5, 5, kOlive);
  // Stretched to twice its size.
  EXPECT_PIXEL(hwnd(), 110, 30, kRed);
  EXPECT_PIXEL(hwnd(), 186, 30, kOlive);
  // Another background colour shows through in both.
  box().SetBackColor(static_cast<Color>(kGreen));
  EXPECT_PIXEL(hwnd(), kTestPictureWidth - 5, 5, kGreen);
  EXPECT_PIXEL(hwnd(), 186, 30, kGreen);
  EXPECT_PIXEL(hwnd(), 110, 30, kRed);
}

TEST_F(RasterPictureTest, GifWithoutTransparentColourIsOpaque) {
  // A full table without a transparent index: every pixel opaque, so the
  // background colour plays no part.
  box().SetBackColor(static_cast<Color>(RGB(128, 128, 0)));
  auto opaque = Load("opaque.gif", kTestGifOpaque256, kTestGifOpaque256Size);
  EXPECT_FALSE(Wic(opaque).UsesBackColor());
  ShowNaturalAndDoubled(opaque);
  EXPECT_PIXEL(hwnd(), 5, 5, kRed);
  EXPECT_PIXEL(hwnd(), kTestPictureWidth - 5, 5, kBlue);
  box().SetBackColor(static_cast<Color>(kGreen));
  EXPECT_PIXEL(hwnd(), 110, 30, kRed);
  EXPECT_PIXEL(hwnd(), 186, 30, kBlue);
  EXPECT_PIXEL(hwnd(), kTestPictureWidth - 5, 5, kBlue);
}

TEST_F(RasterPictureTest, EightOrientationsAreShownUpright) {
  ImageControl& work = host->work;
  for (int o = 1; o <= 8; ++o) {
    for (bool tiff : {false, true}) {
      const Blob& b = tiff ? kTiffOrientations[o - 1] : kJpegOrientations[o - 1];
      const std::string name = "orientation" + std::to_string(o) + (tiff ? ".tif" : ".jpg");
      auto pic = Load(name, b.data, b.size);
      EXPECT_EQ(Wic(pic).Orientation(), o) << name;
      work.SetLeft(T(o * 50 - 50));
      work.SetTop(T(tiff ? 100 : 0));
      work.SetPicture(pic);
      // The upright size, whatever the stored one.
      EXPECT_EQ(work.Width(), T(48)) << name;
      EXPECT_EQ(work.Height(), T(32)) << name;
      ExpectQuadrants(o * 50 - 50, tiff ? 100 : 0, name);
    }
  }
}

TEST_F(RasterPictureTest, TurnedPictureStretchedAndShrunkStaysUpright) {
  // Orientation 6 stored 32 x 48: upright 48 x 32, drawn at 24 x 16 and at
  // 96 x 64.
  ImageControl& target = host->target;
  auto pic = Load("turned.jpg", kTestJpegOrientation6, kTestJpegOrientation6Size);
  target.Move(T(10), T(10), T(24), T(16));
  target.SetPicture(pic);
  EXPECT_EQ(Wic(pic).DecodedSize().cx, 24);
  EXPECT_EQ(Wic(pic).DecodedSize().cy, 16);
  EXPECT_PIXEL(hwnd(), 13, 12, kRed);
  EXPECT_PIXEL(hwnd(), 31, 12, kGreen);
  EXPECT_PIXEL(hwnd(), 13, 24, kBlue);
  EXPECT_PIXEL(hwnd(), 31, 24, kWhite);
  target.Move(T(100), T(10), T(96), T(64));
  EXPECT_PIXEL(hwnd(), 110, 20, kRed);
  EXPECT_PIXEL(hwnd(), 186, 20, kGreen);
  EXPECT_PIXEL(hwnd(), 110, 64, kBlue);
  EXPECT_PIXEL(hwnd(), 186, 64, kWhite);
}

TEST_F(RasterPictureTest, DamagedExifBlocksAreShownAsIfAbsent) {
  ImageControl& work = host->work;
  const struct {
    const char* name;
    Blob blob;
  } files[] = {{"exifcut.jpg", {kTestJpegExifCut, kTestJpegExifCutSize}},
               {"exifoutside.jpg", {kTestJpegExifOutside, kTestJpegExifOutsideSize}}};
  int x = 0;
  for (const auto& f : files) {
    auto pic = Load(f.name, f.blob.data, f.blob.size);
    EXPECT_EQ(Wic(pic).Orientation(), 1) << f.name;
    work.SetLeft(T(x));
    work.SetPicture(pic);
    EXPECT_EQ(work.Width(), T(48)) << f.name;
    EXPECT_EQ(work.Height(), T(32)) << f.name;
    ExpectQuadrants(x, 0, f.name);
    x += 60;
  }
}

TEST_F(RasterPictureTest, SmallerDrawingIsDecodedAtTheDrawnSize) {
  // 400 x 300 drawn as a preview shows it, 100 x 75: the decoded bitmap is
  // 100 x 75, the natural size stays that of 400 x 300.
  auto pic = LoadPictureFile(WriteFile("big.bmp", HalvesBmp(400, 300)));
  EXPECT_EQ(pic->WidthTwips(), T(400));
  EXPECT_EQ(pic->HeightTwips(), T(300));
  const WicPicture& wic = Wic(pic);
  EXPECT_TRUE(wic.HoldsDecoder());
  EXPECT_EQ(wic.DecodedSize().cx, 0);  // nothing decoded before it is drawn
  ImageControl& target = host->target;
  target.Move(T(20), T(20), T(100), T(75));
  target.SetPicture(pic);
  EXPECT_EQ(wic.DecodedSize().cx, 100);
  EXPECT_EQ(wic.DecodedSize().cy, 75);
  const RECT part = wic.DecodedPart();
  EXPECT_EQ(part.right - part.left, 100);
  EXPECT_EQ(part.bottom - part.top, 75);
  EXPECT_FALSE(wic.HoldsDecoder());  // let go once drawn
  EXPECT_PIXEL(hwnd(), 22, 22, kRed);
  EXPECT_PIXEL(hwnd(), 117, 92, kBlue);
  EXPECT_PIXEL(hwnd(), 122, 50, kWhite);
  // Drawn larger again, it is decoded again (from the file) at its own size.
  target.Move(T(20), T(20), T(400), T(300));
  EXPECT_EQ(wic.DecodedSize().cx, 400);
  EXPECT_PIXEL(hwnd(), 215, 100, kRed);
  EXPECT_PIXEL(hwnd(), 225, 100, kBlue);
}

TEST_F(RasterPictureTest, OnlyThePartInsideTheBoxIsDecoded) {
  // 1000 x 800 at its natural size in a 400 x 300 box, centred as the
  // show places a picture larger than the screen.
  auto pic = LoadPictureFile(WriteFile(
      "large.bmp", MakeBmp(1000, 800, [](int x, int y) { return x < 500 ? (y < 400 ? kRed : kGreen) : kBlue; })));
  ImageControl& target = host->target;
  target.Move(T(-300), T(-250), T(1000), T(800));
  target.SetPicture(pic);
  const WicPicture& wic = Wic(pic);
  EXPECT_EQ(wic.DecodedSize().cx, 1000);
  const RECT part = wic.DecodedPart();
  EXPECT_EQ(part.left, 300);
  EXPECT_EQ(part.top, 250);
  EXPECT_EQ(part.right - part.left, kFormW);
  EXPECT_EQ(part.bottom - part.top, kFormH);
  EXPECT_PIXEL(hwnd(), 190, 140, kRed);
  EXPECT_PIXEL(hwnd(), 190, 160, kGreen);
  EXPECT_PIXEL(hwnd(), 210, 140, kBlue);
  // Repaints copy what was decoded.
  const RECT before = wic.DecodedPart();
  box().Cls();
  const RECT after = wic.DecodedPart();
  EXPECT_TRUE(EqualRect(&before, &after) != FALSE);
  EXPECT_PIXEL(hwnd(), 190, 140, kRed);
}

TEST_F(RasterPictureTest, EveryRowOfATallPictureIsInItsPlace) {
  // As large as the box, each row another colour than its neighbours: the
  // pixels are copied a band of rows at a time, and a row out of place at
  // a band's edge shows.
  const COLORREF colours[] = {kRed, kGreen, kBlue, kWhite};
  auto pic = LoadPictureFile(
      WriteFile("rows.bmp", MakeBmp(kFormW, kFormH, [&colours](int, int y) { return colours[y % 4]; })));
  host->work.SetPicture(pic);
  for (int y = 0; y < kFormH; ++y) {
    EXPECT_PIXEL(hwnd(), 3, y, colours[y % 4]);
    EXPECT_PIXEL(hwnd(), kFormW - 3, y, colours[y % 4]);
  }
}

TEST_F(RasterPictureTest, NextPictureOfTheSameSizeShowsOnlyItsOwnPixels) {
  // One picture after another at the same size, as a show goes: the next
  // one's pixels replace every one of the last.
  ImageControl& work = host->work;
  work.SetPicture(LoadPictureFile(WriteFile("first.bmp", MakeBmp(kFormW, kFormH, [](int, int) { return kWhite; }))));
  EXPECT_PIXEL(hwnd(), 0, 0, kWhite);
  work.SetPicture(LoadPictureFile(WriteFile("second.bmp", HalvesBmp(kFormW, kFormH))));
  for (int y : {0, 1, kFormH / 2, kFormH - 1}) {
    EXPECT_PIXEL(hwnd(), 0, y, kRed);
    EXPECT_PIXEL(hwnd(), kFormW / 2 - 1, y, kRed);
    EXPECT_PIXEL(hwnd(), kFormW / 2, y, kBlue);
    EXPECT_PIXEL(hwnd(), kFormW - 1, y, kBlue);
  }
  // A transparent picture of the same size after an opaque one: composed
  // over the background, not over what the last one left.
  box().SetBackColor(static_cast<Color>(kGreen));
  auto alpha = Load("alpha.png", kTestPngAlpha, kTestPngAlphaSize);
  work.SetPicture(LoadPictureFile(
      WriteFile("white.bmp", MakeBmp(kTestPictureWidth, kTestPictureHeight, [](int, int) { return kWhite; }))));
  EXPECT_PIXEL(hwnd(), 5, 5, kWhite);
  work.SetPicture(alpha);
  EXPECT_PIXEL(hwnd(), 5, 5, kGreen);
  EXPECT_PIXEL(hwnd(), kTestPictureWidth - 5, 5, kBlue);
}

TEST_F(RasterPictureTest, DamagedAndOversizedNewFormatsAreInvalid) {
  auto png = Bytes(kTestPng, kTestPngSize);
  png.resize(png.size() / 2);
  EXPECT_EQ(ErrorOf(WriteFile("cut.png", png)), 481);
  auto tiff = Bytes(kTestTiff, kTestTiffSize);
  tiff.resize(tiff.size() / 2);
  EXPECT_EQ(ErrorOf(WriteFile("cut.tif", tiff)), 481);
  // A PNG claiming 65535 x 65535.
  png = Bytes(kTestPng, kTestPngSize);
  for (int k = 16; k < 24; ++k) png[k] = k % 4 < 2 ? 0 : 0xFF;
  EXPECT_EQ(ErrorOf(WriteFile("huge.png", png)), 481);
  // A PNG whose compressed data is garbage though every chunk is whole.
  png = Bytes(kTestPng, kTestPngSize);
  for (std::size_t i = 8 + 25 + 8 + 2; i < png.size() - 12 - 4; ++i) png[i] = static_cast<unsigned char>(i * 37);
  EXPECT_EQ(ErrorOf(WriteFile("garbage.png", png)), 481);
  // A GIF's header with nothing decodable in it, named as a picture of
  // another kind: still no picture.
  const std::string text = "GIF89a and then some words";
  EXPECT_EQ(ErrorOf(WriteFile("words.png", text.data(), text.size())), 481);
}

}  // namespace
}  // namespace uitest
