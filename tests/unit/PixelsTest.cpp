// Pixels turned upright by a recorded orientation, and reduced to the size
// they are drawn.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "picture/Pixels.h"

using namespace tessaly::picture;

namespace {

// A 3 x 2 picture whose pixels are numbered 0..5 row by row.
std::vector<uint32_t> Numbered(int w, int h) {
  std::vector<uint32_t> v(static_cast<std::size_t>(w * h));
  std::iota(v.begin(), v.end(), 0u);
  return v;
}

TEST(PixelsTest, TurnUprightInAllEightOrientations) {
  // Stored 3 x 2:   0 1 2
  //                 3 4 5
  const std::vector<std::vector<uint32_t>> upright = {
      {0, 1, 2, 3, 4, 5},  // 1
      {2, 1, 0, 5, 4, 3},  // 2 mirrored left-right
      {5, 4, 3, 2, 1, 0},  // 3 turned half round
      {3, 4, 5, 0, 1, 2},  // 4 mirrored top-bottom
      {0, 3, 1, 4, 2, 5},  // 5 transposed
      {3, 0, 4, 1, 5, 2},  // 6 to be turned a quarter clockwise
      {5, 2, 4, 1, 3, 0},  // 7 transversed
      {2, 5, 1, 4, 0, 3},  // 8 to be turned a quarter anticlockwise
  };
  const auto stored = Numbered(3, 2);
  for (uint16_t o = 1; o <= 8; ++o) {
    std::vector<uint32_t> out(6, 99);
    OrientPixels(o, stored.data(), 3, 2, out.data());
    EXPECT_EQ(out, upright[o - 1]) << "orientation " << o;
    EXPECT_EQ(OrientationSwapsAxes(o), o >= 5);
  }
}

TEST(PixelsTest, StoredRectangleHoldsTheUprightOne) {
  // For every orientation and sub-rectangle of a 5 x 3 stored picture, the
  // stored rectangle turned upright equals the upright picture's part.
  const int w = 5, h = 3;
  const auto stored = Numbered(w, h);
  for (uint16_t o = 1; o <= 8; ++o) {
    const bool swap = OrientationSwapsAxes(o);
    const int uw = swap ? h : w, uh = swap ? w : h;
    std::vector<uint32_t> whole(stored.size());
    OrientPixels(o, stored.data(), w, h, whole.data());
    for (int top = 0; top < uh; ++top)
      for (int bottom = top + 1; bottom <= uh; ++bottom)
        for (int left = 0; left < uw; ++left)
          for (int right = left + 1; right <= uw; ++right) {
            const PixelArea u{left, top, right, bottom};
            const PixelArea s = StoredRect(o, w, h, u);
            ASSERT_GE(s.left, 0);
            ASSERT_GE(s.top, 0);
            ASSERT_LE(s.right, w);
            ASSERT_LE(s.bottom, h);
            ASSERT_EQ(s.Width() * s.Height(), u.Width() * u.Height());
            std::vector<uint32_t> part;
            for (int y = s.top; y < s.bottom; ++y)
              for (int x = s.left; x < s.right; ++x) part.push_back(stored[static_cast<std::size_t>(y * w + x)]);
            std::vector<uint32_t> turned(part.size());
            OrientPixels(o, part.data(), s.Width(), s.Height(), turned.data());
            std::vector<uint32_t> expected;
            for (int y = top; y < bottom; ++y)
              for (int x = left; x < right; ++x) expected.push_back(whole[static_cast<std::size_t>(y * uw + x)]);
            ASSERT_EQ(turned, expected) << "orientation " << o << " rect " << left << "," << top << "-" << right << ","
                                        << bottom;
          }
  }
}

uint32_t Bgra(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) { return a << 24 | r << 16 | g << 8 | b; }

// A picture in memory with a log of the rows read.
struct Source {
  uint32_t w, h;
  std::vector<uint32_t> pixels;
  std::vector<uint32_t> rowsRead;
  int failAtRow = -1;
  PixelRowReader Reader() {
    return [this](uint32_t y, uint32_t x, uint32_t count, uint32_t* out) {
      rowsRead.push_back(y);
      if (static_cast<int>(y) == failAtRow || y >= h || x + count > w) return false;
      std::copy(pixels.begin() + y * w + x, pixels.begin() + y * w + x + count, out);
      return true;
    };
  }
};

Source Grey(uint32_t w, uint32_t h, uint32_t (*value)(uint32_t x, uint32_t y)) {
  Source s{w, h, {}, {}};
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t v = value(x, y);
      s.pixels.push_back(Bgra(v, v, v));
    }
  return s;
}

std::vector<uint32_t> Reduce(Source& s, uint32_t w, uint32_t h, PixelArea rect = {}) {
  if (rect.right == 0) rect = PixelArea{0, 0, static_cast<int>(w), static_cast<int>(h)};
  std::vector<uint32_t> out(static_cast<std::size_t>(rect.Width()) * rect.Height(), 0xDEADBEEF);
  EXPECT_TRUE(ReducePixels(s.Reader(), s.w, s.h, w, h, rect, out.data()));
  return out;
}

TEST(PixelsTest, ReductionAtFullSizeCopies) {
  Source s = Grey(5, 3, [](uint32_t x, uint32_t y) { return x * 40 + y; });
  EXPECT_EQ(Reduce(s, 5, 3), s.pixels);
  EXPECT_EQ(s.rowsRead, (std::vector<uint32_t>{0, 1, 2}));
}

TEST(PixelsTest, ReductionUpToEightTimesAveragesEveryPixel) {
  // 16 x 8 of values 0..127 to 2 x 1: each half is the mean of its 64.
  Source s = Grey(16, 8, [](uint32_t x, uint32_t y) { return (y * 16 + x) % 128; });
  const auto out = Reduce(s, 2, 1);
  ASSERT_EQ(out.size(), 2u);
  // Left half: x 0..7 of every row, mean 7 * 8 + 3.5 = 59.5; right 67.5.
  EXPECT_EQ(out[0], Bgra(60, 60, 60));
  EXPECT_EQ(out[1], Bgra(68, 68, 68));
  EXPECT_EQ(s.rowsRead.size(), 8u);
  // 4 x 4 to 2 x 2: exact quarters.
  Source q = Grey(4, 4, [](uint32_t x, uint32_t y) { return x < 2 ? (y < 2 ? 0u : 100u) : (y < 2 ? 200u : 40u); });
  EXPECT_EQ(Reduce(q, 2, 2),
            (std::vector<uint32_t>{Bgra(0, 0, 0), Bgra(200, 200, 200), Bgra(100, 100, 100), Bgra(40, 40, 40)}));
}

TEST(PixelsTest, LargerReductionsSampleEightRowsPerTargetRowReadOnceInOrder) {
  Source s = Grey(1000, 600, [](uint32_t x, uint32_t) { return x < 500 ? 0u : 255u; });
  const auto out = Reduce(s, 10, 6);
  EXPECT_EQ(s.rowsRead.size(), 6u * 8);
  EXPECT_TRUE(std::is_sorted(s.rowsRead.begin(), s.rowsRead.end()));
  EXPECT_EQ(std::adjacent_find(s.rowsRead.begin(), s.rowsRead.end()), s.rowsRead.end());
  for (uint32_t r : s.rowsRead) EXPECT_LT(r, 600u);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(out[static_cast<std::size_t>(y * 10 + x)], x < 5 ? Bgra(0, 0, 0) : Bgra(255, 255, 255));
}

TEST(PixelsTest, UnevenSpansCoverTheWholeSource) {
  // 7 pixels into 3: spans 0-1, 2-3, 4-6; the last pixel is bright.
  Source s = Grey(7, 1, [](uint32_t x, uint32_t) { return x == 6 ? 210u : 0u; });
  EXPECT_EQ(Reduce(s, 3, 1), (std::vector<uint32_t>{Bgra(0, 0, 0), Bgra(0, 0, 0), Bgra(70, 70, 70)}));
}

TEST(PixelsTest, TransparencyWeightsTheAverage) {
  // Opaque blue beside fully transparent red: blue, at half cover. A pixel
  // transparent throughout stays transparent.
  Source s{4, 1, {Bgra(0, 0, 255), Bgra(255, 0, 0, 0), Bgra(255, 0, 0, 0), Bgra(0, 255, 0, 0)}, {}};
  EXPECT_EQ(Reduce(s, 2, 1), (std::vector<uint32_t>{Bgra(0, 0, 255, 128), 0u}));
}

TEST(PixelsTest, PartOfTheReductionEqualsTheSamePartOfTheWhole) {
  Source s = Grey(300, 200, [](uint32_t x, uint32_t y) { return (x * 7 + y * 3) % 256; });
  const auto whole = Reduce(s, 37, 23);
  const PixelArea part{5, 4, 30, 19};
  const auto some = Reduce(s, 37, 23, part);
  for (int y = part.top; y < part.bottom; ++y)
    for (int x = part.left; x < part.right; ++x)
      ASSERT_EQ(some[static_cast<std::size_t>((y - part.top) * part.Width() + (x - part.left))],
                whole[static_cast<std::size_t>(y * 37 + x)])
          << x << "," << y;
}

TEST(PixelsTest, ReductionRefusesBadSizesAndStopsAtAFailedRead) {
  Source s = Grey(8, 8, [](uint32_t, uint32_t) { return 9u; });
  uint32_t out[64];
  EXPECT_FALSE(ReducePixels(s.Reader(), 8, 8, 9, 8, {0, 0, 9, 8}, out));  // larger than the source
  EXPECT_FALSE(ReducePixels(s.Reader(), 8, 8, 4, 4, {0, 0, 5, 4}, out));  // rect outside the target
  EXPECT_FALSE(ReducePixels(s.Reader(), 8, 8, 0, 4, {0, 0, 0, 4}, out));
  EXPECT_FALSE(ReducePixels(s.Reader(), 8, 8, 4, 4, {2, 2, 2, 4}, out));  // empty rect
  s.failAtRow = 5;
  s.rowsRead.clear();
  EXPECT_FALSE(ReducePixels(s.Reader(), 8, 8, 4, 4, {0, 0, 4, 4}, out));
  EXPECT_EQ(s.rowsRead.back(), 5u);
}

// A grey level as an opaque pixel.
uint32_t Grey(uint32_t v) { return 0xFF000000u | v << 16 | v << 8 | v; }

TEST(PixelsTest, EnlargementInterpolatesBetweenPixelCentres) {
  // Black and white, doubled: the outer halves keep their colours, the two
  // pixels between take a quarter and three quarters of the step.
  const std::vector<uint32_t> src = {Grey(0), Grey(255)};
  std::vector<uint32_t> out(4);
  ASSERT_TRUE(EnlargePixels(src.data(), PixelArea{0, 0, 2, 1}, 2, 1, 4, 1, PixelArea{0, 0, 4, 1}, out.data()));
  EXPECT_EQ(out, (std::vector<uint32_t>{Grey(0), Grey(64), Grey(191), Grey(255)}));
  // At the same size every pixel is copied.
  const auto numbered = Numbered(3, 2);
  std::vector<uint32_t> same(6);
  ASSERT_TRUE(EnlargePixels(numbered.data(), PixelArea{0, 0, 3, 2}, 3, 2, 3, 2, PixelArea{0, 0, 3, 2}, same.data()));
  EXPECT_EQ(same, numbered);
}

TEST(PixelsTest, EnlargedSolidPictureStaysSolidInEveryChannel) {
  const uint32_t colour = 0x80C04020u;  // translucent too
  const std::vector<uint32_t> src(5 * 3, colour);
  std::vector<uint32_t> out(17 * 11);
  ASSERT_TRUE(EnlargePixels(src.data(), PixelArea{0, 0, 5, 3}, 5, 3, 17, 11, PixelArea{0, 0, 17, 11}, out.data()));
  for (uint32_t p : out) ASSERT_EQ(p, colour);
}

TEST(PixelsTest, PartOfTheEnlargementFromPartOfTheSourceEqualsThatPartOfTheWhole) {
  // 8 x 6 grey ramp pixels enlarged to 29 x 23; the part [7,20) x [5,17)
  // worked out from only the source pixels it needs (and one around).
  const int sw = 8, sh = 6, dw = 29, dh = 23;
  std::vector<uint32_t> src(static_cast<std::size_t>(sw * sh));
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < sw; ++x)
      src[static_cast<std::size_t>(y * sw + x)] = Grey(static_cast<uint32_t>(x * 30 + y * 7));
  std::vector<uint32_t> whole(static_cast<std::size_t>(dw * dh));
  ASSERT_TRUE(
      EnlargePixels(src.data(), PixelArea{0, 0, sw, sh}, sw, sh, dw, dh, PixelArea{0, 0, dw, dh}, whole.data()));
  const PixelArea rect{7, 5, 20, 17};
  // The source pixels under the part: x 1..5, y 0..4 (one more on each side).
  const PixelArea held{1, 0, 7, 5};
  std::vector<uint32_t> heldPixels;
  for (int y = held.top; y < held.bottom; ++y)
    for (int x = held.left; x < held.right; ++x) heldPixels.push_back(src[static_cast<std::size_t>(y * sw + x)]);
  std::vector<uint32_t> part(static_cast<std::size_t>(rect.Width() * rect.Height()));
  ASSERT_TRUE(EnlargePixels(heldPixels.data(), held, sw, sh, dw, dh, rect, part.data()));
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      ASSERT_EQ(part[static_cast<std::size_t>((y - rect.top) * rect.Width() + x - rect.left)],
                whole[static_cast<std::size_t>(y * dw + x)])
          << x << "," << y;
}

TEST(PixelsTest, EnlargementRefusesBadSizes) {
  const std::vector<uint32_t> src(4, Grey(9));
  std::vector<uint32_t> out(64);
  const PixelArea held{0, 0, 2, 2};
  EXPECT_FALSE(EnlargePixels(src.data(), held, 2, 2, 1, 4, PixelArea{0, 0, 1, 4}, out.data()));  // smaller
  EXPECT_FALSE(EnlargePixels(src.data(), held, 0, 2, 4, 4, PixelArea{0, 0, 4, 4}, out.data()));
  EXPECT_FALSE(EnlargePixels(src.data(), held, 2, 2, 4, 4, PixelArea{0, 0, 5, 4}, out.data()));  // beyond
  EXPECT_FALSE(EnlargePixels(src.data(), held, 2, 2, 4, 4, PixelArea{2, 2, 2, 4}, out.data()));  // empty
  EXPECT_FALSE(EnlargePixels(src.data(), PixelArea{0, 0, 0, 2}, 2, 2, 4, 4, PixelArea{0, 0, 4, 4}, out.data()));
}

}  // namespace
