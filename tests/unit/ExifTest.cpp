// The orientation a camera records, read from TIFF structures and JPEG Exif
// blocks.
#include <gtest/gtest.h>

#include "picture/Exif.h"
#include "PictureBytes.h"

using namespace tessaly::picture;
using namespace picturebytes;

namespace {

TEST(ExifTest, OrientationInEitherByteOrder) {
  for (uint16_t o = 1; o <= 8; ++o) {
    const Bytes little = ExifTiff(o), big = ExifTiff(o, true);
    EXPECT_EQ(ExifOrientation(little.data(), little.size()), o);
    EXPECT_EQ(ExifOrientation(big.data(), big.size()), o);
  }
}

TEST(ExifTest, MissingOrImpossibleValuesReadAsUpright) {
  const Bytes none = TiffBuilder().Add(271, 2, {}).Add(272, 2, {}).Build();
  EXPECT_EQ(ExifOrientation(none.data(), none.size()), 1);
  for (uint32_t bad : {0u, 9u, 0xFFFFu}) {
    const Bytes b = TiffBuilder().Add(274, 3, {bad}).Build();
    EXPECT_EQ(ExifOrientation(b.data(), b.size()), 1) << bad;
  }
  // The tag with a type that holds no number, or no value at all.
  const Bytes text = TiffBuilder().Add(274, 2, {0x36}).Build();
  EXPECT_EQ(ExifOrientation(text.data(), text.size()), 1);
  const Bytes empty = TiffBuilder().Add(274, 3, {}).Build();
  EXPECT_EQ(ExifOrientation(empty.data(), empty.size()), 1);
  // A LONG holding the value is read as well.
  const Bytes asLong = TiffBuilder().Add(274, 4, {6}).Build();
  EXPECT_EQ(ExifOrientation(asLong.data(), asLong.size()), 6);
}

TEST(ExifTest, CutAndOutOfBoundsBlocksReadAsUpright) {
  const Bytes good = ExifTiff(6);
  // Cut at every length: never read past the end, and upright unless the
  // directory is there whole.
  const std::size_t entryEnd = 8 + 2 + 2 * 12;
  for (std::size_t n = 0; n < good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_EQ(ExifOrientation(cut.data(), cut.size()), n >= entryEnd ? 6 : 1) << n;
  }
  EXPECT_EQ(ExifOrientation(nullptr, 0), 1);
  // The directory offset points outside, or into the header.
  Bytes b = good;
  b[4] = 0xF0;
  b[5] = 0xFF;
  EXPECT_EQ(ExifOrientation(b.data(), b.size()), 1);
  b = good;
  b[4] = 4;
  EXPECT_EQ(ExifOrientation(b.data(), b.size()), 1);
  // A directory claiming more entries than the block holds is cut short,
  // even where the orientation entry itself is whole.
  b = good;
  b[8] = 3;
  EXPECT_EQ(ExifOrientation(b.data(), b.size()), 1);
  b[8] = b[9] = 0xFF;
  EXPECT_EQ(ExifOrientation(b.data(), b.size()), 1);
  // Not a TIFF header.
  b = good;
  b[2] = 43;
  EXPECT_EQ(ExifOrientation(b.data(), b.size()), 1);
  b = good;
  b[0] = 'I';
  b[1] = 'M';
  EXPECT_EQ(ExifOrientation(b.data(), b.size()), 1);
}

TEST(ExifTest, ValueAfterTheDirectoryIsBoundsChecked) {
  // Three SHORT values do not fit in the entry: they lie where it points.
  TiffDirectory dir;
  Bytes b = TiffBuilder().Add(274, 3, {8, 1, 1}).Build();
  ByteReader read = [&b](uint64_t offset, void* buffer, std::size_t n) -> std::size_t {
    if (offset >= b.size()) return 0;
    const std::size_t count = std::min<std::size_t>(n, b.size() - static_cast<std::size_t>(offset));
    std::copy(b.begin() + static_cast<std::ptrdiff_t>(offset), b.begin() + static_cast<std::ptrdiff_t>(offset + count),
              static_cast<uint8_t*>(buffer));
    return count;
  };
  ASSERT_TRUE(dir.ReadFirst(read));
  uint32_t v = 0;
  EXPECT_TRUE(dir.Number(274, v, 2));
  EXPECT_EQ(v, 1u);
  EXPECT_FALSE(dir.Number(274, v, 3));
  std::vector<uint32_t> all;
  EXPECT_TRUE(dir.Numbers(274, all, 3));
  EXPECT_EQ(all, (std::vector<uint32_t>{8, 1, 1}));
  EXPECT_FALSE(dir.Numbers(274, all, 2));  // more than asked for
  EXPECT_EQ(TiffOrientation(read), 8);
  // The values cut off, and the pointer aimed past the end.
  b.resize(b.size() - 2);
  ASSERT_TRUE(dir.ReadFirst(read));
  EXPECT_FALSE(dir.Number(274, v, 2));
  EXPECT_FALSE(dir.Numbers(274, all, 3));
  b = TiffBuilder().Add(274, 3, {8, 1, 1}).Build();
  b[8 + 2 + 8] = 0xF0;
  ASSERT_TRUE(dir.ReadFirst(read));
  EXPECT_FALSE(dir.Number(274, v));
  EXPECT_EQ(TiffOrientation(read), 1);
}

TEST(ExifTest, JpegExifBlockIsFoundAmongTheSegments) {
  const Bytes app0 = {0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
  const Bytes xmp = {0xFF, 0xE1, 0x00, 0x0A, 'h', 't', 't', 'p', ':', '/', '/', 0};
  Bytes segments = app0;
  Append(segments, xmp);  // an APP1 that is not Exif comes first
  Append(segments, ExifSegment(ExifTiff(8, true)));
  Append(segments, ExifSegment(ExifTiff(3)));  // only the first Exif block counts
  const Bytes jpeg = JpegWith(segments);
  EXPECT_EQ(JpegExifOrientation(jpeg.data(), jpeg.size()), 8);
  const Bytes plain = JpegWith(app0);
  EXPECT_EQ(JpegExifOrientation(plain.data(), plain.size()), 1);
  const Bytes notJpeg = ExifTiff(6);
  EXPECT_EQ(JpegExifOrientation(notJpeg.data(), notJpeg.size()), 1);
}

TEST(ExifTest, DamagedJpegExifBlocksReadAsUpright) {
  // The block's TIFF structure cut short inside a segment of the right
  // length: the file is fine, the block is not.
  Bytes tiff = ExifTiff(6);
  tiff.resize(14);
  Bytes jpeg = JpegWith(ExifSegment(tiff));
  EXPECT_EQ(JpegExifOrientation(jpeg.data(), jpeg.size()), 1);
  // The directory offset points past the block (into the rest of the file).
  tiff = ExifTiff(6);
  tiff[4] = 200;
  jpeg = JpegWith(ExifSegment(tiff));
  EXPECT_EQ(JpegExifOrientation(jpeg.data(), jpeg.size()), 1);
  // A segment length running past the end of the file.
  jpeg = JpegWith(ExifSegment(ExifTiff(6)));
  jpeg.resize(2 + 4 + 6 + 20);
  EXPECT_EQ(JpegExifOrientation(jpeg.data(), jpeg.size()), 1);
  // Every cut of a whole file: bounded, and 6 only once the entry is there.
  jpeg = JpegWith(ExifSegment(ExifTiff(6)));
  for (std::size_t n = 0; n <= jpeg.size(); ++n) {
    const uint16_t o = JpegExifOrientation(jpeg.data(), n);
    EXPECT_TRUE(o == 1 || o == 6) << n;
    if (n < 2 + 4 + 6 + 8 + 2 + 24) {
      EXPECT_EQ(o, 1) << n;
    }
  }
  // A block too short to hold its own name.
  const Bytes tiny = JpegWith({0xFF, 0xE1, 0x00, 0x04, 'E', 'x'});
  EXPECT_EQ(JpegExifOrientation(tiny.data(), tiny.size()), 1);
}

}  // namespace
