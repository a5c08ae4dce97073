// The picture header check that runs before the decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "PictureHeader.h"

using namespace tessaly::ui;

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
  if (fill) Append(b, {0xFF, 0xFF, 0xFF});  // fill bytes run into the next marker
  else Append(b, {0xFF});
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
  Put32le(b, 28, 9 + 3);       // metafile size in words
  Put32le(b, 22 + 18, 3);      // end record: three words, function 0
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
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  Bytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
  for (const Bytes& b : {plainWmf, png, text, Bytes{}, Bytes{'B'}, Bytes{'G', 'I', 'F', '8', '9', 'b', 1, 0, 1, 0}}) {
    const auto info = Read(b);
    EXPECT_FALSE(PictureHeaderAcceptable(info));
  }
  EXPECT_EQ(Read(png).format, PictureFormat::Unknown);
  EXPECT_STREQ(PictureFormatName(PictureFormat::Jpeg), "JPEG");
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
