// Loading pictures of every supported format, and the files that must fail.
#include "UiTestSupport.h"

namespace uitest {
namespace {

// An EMF with a 50.8 × 25.4 mm frame, filled blue.
std::string MakeEmf(const std::string& name) {
  const std::string path = TempFolder() + name;
  RECT frame{0, 0, 5080, 2540};  // 0.01 mm
  HDC ref = GetDC(nullptr);
  HDC dc = CreateEnhMetaFileA(ref, path.c_str(), &frame, nullptr);
  ReleaseDC(nullptr, ref);
  GdiObject<HBRUSH> brush(CreateSolidBrush(kBlue));
  RECT all{0, 0, 4000, 4000};
  FillRect(dc, &all, brush.get());
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));
  return path;
}

std::vector<unsigned char> Bytes(const unsigned char* data, unsigned long size) {
  return std::vector<unsigned char>(data, data + size);
}

class PictureFileTest : public ::testing::Test {
 protected:
  void SetUp() override { InitTwips(15, 15); }
};

TEST_F(PictureFileTest, BmpHasItsPixelSizeInTwips) {
  auto pic = LoadPictureFile(WriteFile("p.bmp", HalvesBmp(40, 30)));
  EXPECT_EQ(pic->WidthTwips(), 600);
  EXPECT_EQ(pic->HeightTwips(), 450);
  const auto& win = dynamic_cast<const WinPicture&>(*pic);
  EXPECT_TRUE(win.IsBitmap());
  EXPECT_EQ(win.PixelWidth(), 40);
  EXPECT_EQ(win.PixelHeight(), 30);
}

TEST_F(PictureFileTest, NaturalSizeFollowsTheTwipsScale) {
  InitTwips(12, 20);
  auto pic = LoadPictureFile(WriteFile("scale.bmp", HalvesBmp(40, 30)));
  EXPECT_EQ(pic->WidthTwips(), 480);
  EXPECT_EQ(pic->HeightTwips(), 600);
  InitTwips(15, 15);
}

TEST_F(PictureFileTest, GifAndJpegDecode) {
  auto gif = LoadPictureFile(WriteFile("p.gif", Bytes(kTestGif, kTestGifSize)));
  EXPECT_EQ(gif->WidthTwips(), kTestPictureWidth * 15);
  EXPECT_EQ(gif->HeightTwips(), kTestPictureHeight * 15);
  auto jpeg = LoadPictureFile(WriteFile("p.jpg", Bytes(kTestJpeg, kTestJpegSize)));
  EXPECT_EQ(jpeg->WidthTwips(), kTestPictureWidth * 15);
  EXPECT_EQ(jpeg->HeightTwips(), kTestPictureHeight * 15);
}

TEST_F(PictureFileTest, MetafilesHaveTheirFrameSize) {
  auto wmf = LoadPictureFile(WriteFile("p.wmf", MakePlaceableWmf()));
  EXPECT_NEAR(wmf->WidthTwips(), 2880, 15);
  EXPECT_NEAR(wmf->HeightTwips(), 1440, 15);
  EXPECT_EQ(dynamic_cast<const MetafilePicture&>(*wmf).Type(), PICTYPE_METAFILE);
  auto emf = LoadPictureFile(MakeEmf("p.emf"));
  EXPECT_NEAR(emf->WidthTwips(), 2880, 15);
  EXPECT_NEAR(emf->HeightTwips(), 1440, 15);
  EXPECT_EQ(dynamic_cast<const MetafilePicture&>(*emf).Type(), PICTYPE_ENHMETAFILE);
}

TEST_F(PictureFileTest, RelativePathsAreResolved) {
  WriteFile("relative.bmp", HalvesBmp(8, 4));
  char old[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, old);
  SetCurrentDirectoryA(TempFolder().c_str());
  PicturePtr pic;
  EXPECT_NO_THROW(pic = LoadPictureFile("relative.bmp"));
  SetCurrentDirectoryA(old);
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->WidthTwips(), 8 * 15);
}

TEST_F(PictureFileTest, MissingFileIsFileNotFound) {
  EXPECT_EQ(ErrorOf(TempFolder() + "no such picture.jpg"), 53);
  EXPECT_EQ(ErrorOf(TempFolder() + "no such folder\\x.bmp"), 53);
}

TEST_F(PictureFileTest, BrokenFilesAreInvalidPictures) {
  EXPECT_EQ(ErrorOf(""), 481);
  EXPECT_EQ(ErrorOf(WriteFile("empty.jpg", nullptr, 0)), 481);
  const std::string text = "This is not a picture at all, just some words.\r\n";
  EXPECT_EQ(ErrorOf(WriteFile("words.jpg", text.data(), text.size())), 481);
  auto jpeg = Bytes(kTestJpeg, kTestJpegSize);
  jpeg.resize(100);  // ends before its frame header
  EXPECT_EQ(ErrorOf(WriteFile("cut.jpg", jpeg)), 481);
  auto bmp = HalvesBmp(40, 30);
  bmp.resize(30);
  EXPECT_EQ(ErrorOf(WriteFile("cut.bmp", bmp)), 481);
  const unsigned char png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  EXPECT_EQ(ErrorOf(WriteFile("p.png", png, sizeof png)), 481);
  EXPECT_EQ(ErrorOf(TempFolder()), 481);  // a folder
}

TEST_F(PictureFileTest, HugeClaimedJpegIsRefusedBeforeDecoding) {
  // A JPEG whose frame header claims 65535 × 65535 pixels.
  auto jpeg = Bytes(kTestJpeg, kTestJpegSize);
  bool patched = false;
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      for (int k = 5; k <= 8; ++k) jpeg[i + k] = 0xFF;
      patched = true;
      break;
    }
  }
  ASSERT_TRUE(patched);
  EXPECT_EQ(ErrorOf(WriteFile("huge.jpg", jpeg)), 481);
  // A BMP header claiming 60000 × 60000.
  auto bmp = HalvesBmp(4, 4);
  bmp[18] = 0x60, bmp[19] = 0xEA, bmp[22] = 0x60, bmp[23] = 0xEA;
  EXPECT_EQ(ErrorOf(WriteFile("huge.bmp", bmp)), 481);
  // A GIF claiming 65535 × 65535.
  auto gif = Bytes(kTestGif, kTestGifSize);
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;
  EXPECT_EQ(ErrorOf(WriteFile("huge.gif", gif)), 481);
}

TEST_F(PictureFileTest, DamagedPictureAfterAGoodHeaderIsInvalid) {
  auto gif = Bytes(kTestGif, kTestGifSize);
  gif.resize(13);  // header and screen descriptor only
  const long err = ErrorOf(WriteFile("stub.gif", gif));
  EXPECT_EQ(err, 481);
}

}  // namespace
}  // namespace uitest
