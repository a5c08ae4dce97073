// The picture header check that runs before the decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "PictureBytes.h"
#include "picture/PictureHeader.h"

using namespace tessaly::picture;
using picturebytes::ExifSegment;
using picturebytes::ExifTiff;
using picturebytes::GoodPng;
using picturebytes::JpegWith;
using picturebytes::StripTiff;
using picturebytes::TiffBuilder;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16le(Bytes& b, std::size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32le(Bytes& b, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

Bytes Bmp(int32_t width, int32_t height, uint32_t infoSize = 40) {
  Bytes b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32le(b, 14, infoSize);
  if (infoSize == 12) {
    Put16le(b, 18, static_cast<uint16_t>(width));
    Put16le(b, 20, static_cast<uint16_t>(height));
  } else {
    Put32le(b, 18, static_cast<uint32_t>(width));
    Put32le(b, 22, static_cast<uint32_t>(height));
  }
  return b;
}

Bytes Gif(uint16_t width, uint16_t height) {
  Bytes b = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0x80, 0, 0};
  Put16le(b, 6, width);
  Put16le(b, 8, height);
  return b;
}

void Append(Bytes& b, std::initializer_list<uint8_t> more) { b.insert(b.end(), more); }

// SOI, an APP0 segment, optional filler, a quantisation table, the frame.
Bytes Jpeg(uint16_t width, uint16_t height, uint8_t frameMarker = 0xC0, bool fill = false) {
  Bytes b = {0xFF, 0xD8};
  Append(b, {0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
  if (fill)
    Append(b, {0xFF, 0xFF, 0xFF});  // fill bytes run into the next marker
  else
    Append(b, {0xFF});
  Append(b, {0xDB, 0x00, 0x04, 0x00, 0x01});
  Append(b, {0xFF, frameMarker, 0x00, 0x11, 0x08, static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height),
             static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width), 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
  Append(b, {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0, 0, 0x3F, 0});
  return b;
}

Bytes PlaceableWmf(uint16_t inch = 1440) {
  // Placeable header, metafile header, then the end-of-file record.
  Bytes b(22 + 18 + 6, 0);
  Put32le(b, 0, 0x9AC6CDD7u);
  Put16le(b, 10, 2880);
  Put16le(b, 12, 1440);
  Put16le(b, 14, inch);
  Put16le(b, 22, 1);  // memory metafile
  Put16le(b, 24, 9);  // header words
  Put16le(b, 26, 0x300);
  Put32le(b, 28, 9 + 3);   // metafile size in words
  Put32le(b, 22 + 18, 3);  // end record: three words, function 0
  return b;
}

Bytes Emf() {
  Bytes b(108, 0);
  Put32le(b, 0, 1);
  Put32le(b, 4, 108);
  Put32le(b, 40, 0x464D4520u);
  return b;
}

PictureHeaderInfo Read(const Bytes& b) { return ReadPictureHeader(b.data(), b.size()); }

TEST(PictureHeaderTest, BmpSizesFromItsInfoHeader) {
  auto info = Read(Bmp(640, 480));
  EXPECT_EQ(info.format, PictureFormat::Bmp);
  EXPECT_TRUE(info.valid);
  EXPECT_EQ(info.width, 640u);
  EXPECT_EQ(info.height, 480u);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
  info = Read(Bmp(640, -480));  // rows stored top-down
  EXPECT_EQ(info.height, 480u);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
  info = Read(Bmp(32, 16, 12));  // OS/2 core header
  EXPECT_EQ(info.width, 32u);
  EXPECT_EQ(info.height, 16u);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
}

TEST(PictureHeaderTest, DamagedBmpIsRefused) {
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Bmp(0, 10))));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Bmp(-5, 10))));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Bmp(10, 0))));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Bmp(10, 10, 8))));
  Bytes cut = Bmp(10, 10);
  cut.resize(30);
  EXPECT_FALSE(PictureHeaderAcceptable(Read(cut)));
}

// A 24-bit BMP with its rows (zeros) after the headers.
Bytes BmpWithRows(int32_t width, int32_t height, uint32_t compression = 0) {
  Bytes b = Bmp(width, height);
  Put32le(b, 10, 54);
  Put16le(b, 28, 24);
  Put32le(b, 30, compression);
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  b.resize(54 + stride * static_cast<std::size_t>(height < 0 ? -height : height), 0);
  return b;
}

TEST(PictureHeaderTest, BmpRowsMustAllBeInTheFile) {
  // 10 pixels of 3 bytes: rows padded to 32 bytes.
  Bytes b = BmpWithRows(10, 4);
  EXPECT_EQ(b.size(), 54u + 32 * 4);
  EXPECT_TRUE(PictureHeaderAcceptable(Read(b)));
  EXPECT_TRUE(PictureHeaderAcceptable(Read(BmpWithRows(10, -4))));
  b.pop_back();  // the last row one byte short
  EXPECT_FALSE(PictureHeaderAcceptable(Read(b)));
  // Run-length rows have no fixed size: left to the decoder.
  Bytes rle = BmpWithRows(10, 4, 1);
  rle.resize(60);
  EXPECT_TRUE(PictureHeaderAcceptable(Read(rle)));
  // OS/2 header: 16-bit sizes and the bit count at offset 24.
  Bytes core = Bmp(8, 2, 12);
  Put32le(core, 10, 26);
  Put16le(core, 24, 24);
  core.resize(26 + 24 * 2);
  EXPECT_TRUE(PictureHeaderAcceptable(Read(core)));
  core.resize(26 + 24 * 2 - 1);
  EXPECT_FALSE(PictureHeaderAcceptable(Read(core)));
}

TEST(PictureHeaderTest, PngSizeAndChunksUpToTheEnd) {
  auto info = Read(GoodPng(640, 480));
  EXPECT_EQ(info.format, PictureFormat::Png);
  EXPECT_EQ(info.width, 640u);
  EXPECT_EQ(info.height, 480u);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
  // Cut anywhere: the end chunk is never reached.
  const Bytes good = GoodPng(16, 16);
  for (std::size_t n = 0; n + 12 <= good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(PictureHeaderAcceptable(Read(cut))) << n;
  }
  // No image data before the end; a header chunk of the wrong size; a chunk
  // length past the end of the file; no size.
  EXPECT_FALSE(PictureHeaderAcceptable(Read(picturebytes::Png(4, 4, {{"tEXt", 3}, {"IEND", 0}}))));
  Bytes b = GoodPng(4, 4);
  b[11] = 12;
  EXPECT_FALSE(PictureHeaderAcceptable(Read(b)));
  b = GoodPng(4, 4);
  b[33] = 0x7F;  // the data chunk's length
  EXPECT_FALSE(PictureHeaderAcceptable(Read(b)));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(GoodPng(0, 4))));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(GoodPng(4, 0x80000000u))));
  // Several data chunks and other chunks between them.
  EXPECT_TRUE(PictureHeaderAcceptable(
      Read(picturebytes::Png(4, 4, {{"gAMA", 4}, {"IDAT", 10}, {"IDAT", 7}, {"tEXt", 20}, {"IEND", 0}}))));
}

TEST(PictureHeaderTest, PngClaimingTooManyPixelsIsRefused) {
  EXPECT_TRUE(PictureHeaderAcceptable(Read(GoodPng(8000, 6000))));
  const auto huge = Read(GoodPng(65535, 65535));
  EXPECT_TRUE(huge.valid);
  EXPECT_FALSE(PictureHeaderAcceptable(huge));
}

TEST(PictureHeaderTest, TiffSizeOrientationAndStripsInEitherByteOrder) {
  for (bool big : {false, true}) {
    auto info = Read(StripTiff(40, 30, 3, big, 6));
    EXPECT_EQ(info.format, PictureFormat::Tiff);
    EXPECT_EQ(info.width, 40u);
    EXPECT_EQ(info.height, 30u);
    EXPECT_EQ(info.orientation, 6);
    EXPECT_TRUE(PictureHeaderAcceptable(info));
    info = Read(StripTiff(40, 30, 1, big));
    EXPECT_EQ(info.orientation, 1);
    EXPECT_TRUE(PictureHeaderAcceptable(info));
  }
}

TEST(PictureHeaderTest, TiffWithDataOutsideTheFileIsRefused) {
  Bytes b = StripTiff(40, 30, 3);
  b.pop_back();  // the last strip one byte short
  EXPECT_FALSE(PictureHeaderAcceptable(Read(b)));
  b = StripTiff(40, 30, 3);
  b.resize(b.size() / 2);
  EXPECT_FALSE(PictureHeaderAcceptable(Read(b)));
  b.resize(20);  // the directory itself cut
  EXPECT_FALSE(PictureHeaderAcceptable(Read(b)));
  // No strips; strip offsets without byte counts; counts of another number.
  EXPECT_FALSE(PictureHeaderAcceptable(Read(TiffBuilder().Add(256, 3, {4}).Add(257, 3, {4}).Build())));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(TiffBuilder().Add(256, 3, {4}).Add(257, 3, {4}).Add(273, 4, {8}).Build())));
  EXPECT_FALSE(PictureHeaderAcceptable(
      Read(TiffBuilder().Add(256, 3, {4}).Add(257, 3, {4}).Add(273, 4, {8, 9}).Add(279, 4, {1}).Build())));
  // A strip offset near 4 GB.
  EXPECT_FALSE(PictureHeaderAcceptable(
      Read(TiffBuilder().Add(256, 3, {4}).Add(257, 3, {4}).Add(273, 4, {0xFFFFFFF0u}).Add(279, 4, {0x20}).Build())));
  // No size.
  EXPECT_FALSE(PictureHeaderAcceptable(Read(TiffBuilder().Add(256, 3, {4}).Add(273, 4, {0}).Add(279, 4, {1}).Build())));
  // Tiles instead of strips.
  TiffBuilder tiled;
  tiled.Add(256, 3, {32}).Add(257, 3, {32}).Add(322, 3, {16}).Add(323, 3, {16}).Add(324, 4, {0, 0, 0, 0});
  tiled.Add(325, 4, {8, 8, 8, 8});
  EXPECT_TRUE(PictureHeaderAcceptable(Read(tiled.Build())));
  // A TIFF claiming 65535 x 65535.
  EXPECT_FALSE(PictureHeaderAcceptable(
      Read(TiffBuilder().Add(256, 4, {65535}).Add(257, 4, {65535}).Add(273, 4, {0}).Add(279, 4, {1}).Build())));
}

TEST(PictureHeaderTest, JpegOrientationFromItsExifBlock) {
  auto info = Read(JpegWith(ExifSegment(ExifTiff(8)), 64, 48));
  EXPECT_EQ(info.width, 64u);  // the size as stored: turning is the decoder's part
  EXPECT_EQ(info.height, 48u);
  EXPECT_EQ(info.orientation, 8);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
  // A damaged block leaves a good picture upright.
  Bytes cut = ExifTiff(8);
  cut.resize(20);
  info = Read(JpegWith(ExifSegment(cut)));
  EXPECT_EQ(info.orientation, 1);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
  EXPECT_EQ(Read(Jpeg(10, 10)).orientation, 1);
  EXPECT_EQ(Read(GoodPng(4, 4)).orientation, 1);
}

TEST(PictureHeaderTest, RasterLimitIsOnePointFiveGigabytes) {
  // 20000 × 19660 × 4 = 1.46 GiB fits; 20000 × 20200 × 4 does not.
  EXPECT_TRUE(PictureHeaderAcceptable(Read(Bmp(20000, 19660))));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Bmp(20000, 20200))));
  EXPECT_TRUE(PictureHeaderAcceptable(Read(Jpeg(8000, 6000))));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Jpeg(65535, 65535))));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Gif(65535, 65535))));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Bmp(60000, 60000))));
}

TEST(PictureHeaderTest, GifLogicalScreenSize) {
  auto info = Read(Gif(48, 32));
  EXPECT_EQ(info.format, PictureFormat::Gif);
  EXPECT_EQ(info.width, 48u);
  EXPECT_EQ(info.height, 32u);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
  Bytes old = Gif(5, 5);
  old[4] = '7';
  EXPECT_TRUE(PictureHeaderAcceptable(Read(old)));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Gif(0, 5))));
  Bytes cut = Gif(5, 5);
  cut.resize(9);
  EXPECT_FALSE(PictureHeaderAcceptable(Read(cut)));
}

TEST(PictureHeaderTest, JpegSizeFromTheFirstFrameHeader) {
  auto info = Read(Jpeg(1024, 768));
  EXPECT_EQ(info.format, PictureFormat::Jpeg);
  EXPECT_EQ(info.width, 1024u);
  EXPECT_EQ(info.height, 768u);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
  info = Read(Jpeg(300, 200, 0xC2, true));  // progressive, with fill bytes
  EXPECT_EQ(info.width, 300u);
  EXPECT_EQ(info.height, 200u);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
}

TEST(PictureHeaderTest, HuffmanTableIsNotAFrame) {
  Bytes b = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x07, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
  Bytes frame = Jpeg(20, 10);
  b.insert(b.end(), frame.begin() + 2, frame.end());
  const auto info = Read(b);
  EXPECT_EQ(info.width, 20u);
  EXPECT_EQ(info.height, 10u);
  EXPECT_TRUE(PictureHeaderAcceptable(info));
}

TEST(PictureHeaderTest, JpegWithoutAFrameIsRefused) {
  Bytes b = Jpeg(100, 100);
  b.resize(30);  // ends inside the segments before the frame
  EXPECT_FALSE(PictureHeaderAcceptable(Read(b)));
  Bytes scanFirst = {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x08, 1, 1, 0, 0, 0x3F, 0};
  EXPECT_FALSE(PictureHeaderAcceptable(Read(scanFirst)));
  Bytes garbage = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0, 0, 0x12, 0x34};
  EXPECT_FALSE(PictureHeaderAcceptable(Read(garbage)));
  Bytes zeroLength = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x00, 0, 0};
  EXPECT_FALSE(PictureHeaderAcceptable(Read(zeroLength)));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(Jpeg(0, 100))));
}

TEST(PictureHeaderTest, Metafiles) {
  auto wmf = Read(PlaceableWmf());
  EXPECT_EQ(wmf.format, PictureFormat::PlaceableWmf);
  EXPECT_TRUE(PictureHeaderAcceptable(wmf));
  EXPECT_FALSE(PictureHeaderAcceptable(Read(PlaceableWmf(0))));
  Bytes cut = PlaceableWmf();
  cut.resize(22);
  EXPECT_FALSE(PictureHeaderAcceptable(Read(cut)));
  cut = PlaceableWmf();
  cut.resize(22 + 18);  // header complete, records cut away
  EXPECT_FALSE(PictureHeaderAcceptable(Read(cut)));
  Bytes tiny = PlaceableWmf();
  Put32le(tiny, 28, 4);  // a size smaller than its own header
  EXPECT_FALSE(PictureHeaderAcceptable(Read(tiny)));
  auto emf = Read(Emf());
  EXPECT_EQ(emf.format, PictureFormat::Emf);
  EXPECT_TRUE(PictureHeaderAcceptable(emf));
  Bytes notEmf = Emf();
  notEmf[41] = 'X';
  EXPECT_FALSE(PictureHeaderAcceptable(Read(notEmf)));
}

TEST(PictureHeaderTest, OtherFilesAreUnknown) {
  Bytes plainWmf = {0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Bytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
  Bytes notPng = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x00, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  Bytes bigTiff = {'I', 'I', 43, 0, 8, 0, 0, 0};
  for (const Bytes& b :
       {plainWmf, text, notPng, bigTiff, Bytes{}, Bytes{'B'}, Bytes{'G', 'I', 'F', '8', '9', 'b', 1, 0, 1, 0}}) {
    const auto info = Read(b);
    EXPECT_EQ(info.format, PictureFormat::Unknown);
    EXPECT_FALSE(PictureHeaderAcceptable(info));
  }
  EXPECT_STREQ(PictureFormatName(PictureFormat::Jpeg), "JPEG");
  EXPECT_STREQ(PictureFormatName(PictureFormat::Tiff), "TIFF");
}

TEST(PictureHeaderTest, ReaderOnlyAsksForWhatItNeeds) {
  // A JPEG with a long metadata segment: the walk jumps over it.
  Bytes b = {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xF0};
  b.resize(b.size() + 0xFFF0 - 2, 0xAB);
  Bytes frame = Jpeg(640, 480);
  b.insert(b.end(), frame.begin() + 2, frame.end());
  uint64_t bytesRead = 0;
  const auto info = ReadPictureHeader([&](uint64_t offset, void* buffer, std::size_t size) -> std::size_t {
    if (offset >= b.size()) return 0;
    const std::size_t n = std::min<std::size_t>(size, b.size() - static_cast<std::size_t>(offset));
    std::copy(b.begin() + static_cast<std::ptrdiff_t>(offset), b.begin() + static_cast<std::ptrdiff_t>(offset + n),
              static_cast<uint8_t*>(buffer));
    bytesRead += n;
    return n;
  });
  EXPECT_EQ(info.width, 640u);
  EXPECT_EQ(info.height, 480u);
  EXPECT_LT(bytesRead, 200u);
}

}  // namespace
