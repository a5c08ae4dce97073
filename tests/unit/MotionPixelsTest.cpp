// The kernels of motion: frames blended into each other, pictures drawn
// scaled to positions between pixels; the SSE2 and the plain version alike.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "picture/Pixels.h"

using namespace tessaly::picture;

namespace {

uint32_t Channel(uint32_t p, int k) { return (p >> (8 * k)) & 0xFF; }

std::vector<uint32_t> Noise(std::size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint32_t> v(n);
  for (auto& p : v) p = static_cast<uint32_t>(random());
  return v;
}

// Runs `body` once with the plain kernels and, where the processor has
// SSE2, once with the vector ones.
template <typename F>
void BothWays(F body) {
  const bool was = VectorKernels();
  for (bool vector : {false, true}) {
    SetVectorKernels(vector);
    if (vector && !VectorKernels()) continue;
    SCOPED_TRACE(vector ? "SSE2" : "plain");
    body();
  }
  SetVectorKernels(was);
}

const uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

TEST(MotionPixelsTest, BlendGoesFromTheFirstFrameExactlyToTheSecondExactly) {
  BothWays([] {
    const std::vector<uint32_t> red(13, kRed), blue(13, kBlue);
    std::vector<uint32_t> out(13);
    BlendPixels(red.data(), blue.data(), out.data(), out.size(), 0);
    EXPECT_EQ(out, red);
    BlendPixels(red.data(), blue.data(), out.data(), out.size(), 256);
    EXPECT_EQ(out, blue);
    BlendPixels(red.data(), blue.data(), out.data(), out.size(), 128);
    for (uint32_t p : out) {
      EXPECT_EQ(Channel(p, 2), 127u);  // red half gone
      EXPECT_EQ(Channel(p, 0), 127u);  // blue half come
      EXPECT_EQ(Channel(p, 1), 0u);
      EXPECT_EQ(Channel(p, 3), 255u);
    }
  });
}

TEST(MotionPixelsTest, BlendOfTheTwoKernelsIsTheSameAndMayWriteOverAnInput) {
  const auto a = Noise(1001, 1), b = Noise(1001, 2);
  for (uint32_t w : {1u, 77u, 200u, 255u}) {
    std::vector<uint32_t> plain(a.size()), vector(a.size());
    SetVectorKernels(false);
    BlendPixels(a.data(), b.data(), plain.data(), a.size(), w);
    SetVectorKernels(true);
    BlendPixels(a.data(), b.data(), vector.data(), a.size(), w);
    EXPECT_EQ(plain, vector) << "weight " << w;
    for (std::size_t i = 0; i < a.size(); ++i)
      for (int k = 0; k < 4; ++k) {
        const int expect = static_cast<int>((Channel(a[i], k) * (256 - w) + Channel(b[i], k) * w) >> 8);
        ASSERT_EQ(static_cast<int>(Channel(plain[i], k)), expect);
      }
    std::vector<uint32_t> inPlace = a;
    BlendPixels(inPlace.data(), b.data(), inPlace.data(), a.size(), w);
    EXPECT_EQ(inPlace, plain);
  }
  SetVectorKernels(true);
}

TEST(MotionPixelsTest, DrawnAtItsOwnSizeOnWholePixelsIsACopyInItsPlace) {
  BothWays([] {
    const auto src = Noise(5 * 4, 3);
    std::vector<uint32_t> dst(9 * 7, kBlack);
    ASSERT_TRUE(DrawScaledPixels(src.data(), 5, 4, 5, dst.data(), 9, PixelArea{0, 0, 9, 7}, 2, 1, 5, 4));
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x) {
        const bool inside = x >= 2 && x < 7 && y >= 1 && y < 5;
        ASSERT_EQ(dst[y * 9 + x], inside ? src[(y - 1) * 5 + (x - 2)] : kBlack) << x << "," << y;
      }
  });
}

TEST(MotionPixelsTest, OnlyTheClipIsWritten) {
  BothWays([] {
    const std::vector<uint32_t> src(4 * 4, kWhite);
    std::vector<uint32_t> dst(10 * 10, kBlack);
    ASSERT_TRUE(DrawScaledPixels(src.data(), 4, 4, 4, dst.data(), 10, PixelArea{3, 2, 6, 8}, -5.3, -4.1, 20, 20));
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool inClip = x >= 3 && x < 6 && y >= 2 && y < 8;
        ASSERT_EQ(dst[y * 10 + x], inClip ? kWhite : kBlack) << x << "," << y;
      }
    EXPECT_FALSE(DrawScaledPixels(src.data(), 4, 4, 4, dst.data(), 10, PixelArea{0, 0, 10, 10}, 11, 0, 4, 4));
    EXPECT_FALSE(DrawScaledPixels(src.data(), 4, 4, 4, dst.data(), 10, PixelArea{0, 0, 10, 10}, 0, 0, 0, 4));
  });
}

// The centre of brightness of row 0 of a w-pixel-wide target.
double Centroid(const std::vector<uint32_t>& dst, int w) {
  double sum = 0, weighted = 0;
  for (int x = 0; x < w; ++x) {
    const double v = Channel(dst[x], 1);
    sum += v;
    weighted += v * (x + 0.5);
  }
  return weighted / sum;
}

TEST(MotionPixelsTest, APictureMovedByAFractionOfAPixelMovesByThatFraction) {
  BothWays([] {
    // A bright line in the middle of a dark strip.
    std::vector<uint32_t> src(9, kBlack);
    src[4] = kWhite;
    double last = 0;
    for (int step = 0; step <= 8; ++step) {
      const double left = 10 + step * 0.125;
      std::vector<uint32_t> dst(30, kBlack);
      ASSERT_TRUE(DrawScaledPixels(src.data(), 9, 1, 9, dst.data(), 30, PixelArea{0, 0, 30, 1}, left, 0, 9, 1));
      const double c = Centroid(dst, 30);
      EXPECT_NEAR(c, left + 4.5, 0.02) << "left " << left;
      if (step > 0) {
        EXPECT_GT(c, last);
      }
      last = c;
    }
  });
}

TEST(MotionPixelsTest, EnlargingInterpolatesBetweenPixelCentresAndEdgesBlendByCover) {
  BothWays([] {
    // Black and white pixel enlarged to eight: dark, a smooth ramp, light.
    const std::vector<uint32_t> src = {kBlack, kWhite};
    std::vector<uint32_t> dst(10, kBlue);
    ASSERT_TRUE(DrawScaledPixels(src.data(), 2, 1, 2, dst.data(), 10, PixelArea{0, 0, 10, 1}, 1, 0, 8, 1));
    EXPECT_EQ(dst[0], kBlue);
    EXPECT_EQ(dst[9], kBlue);
    EXPECT_EQ(dst[1], kBlack);
    EXPECT_EQ(dst[8], kWhite);
    for (int x = 2; x < 8; ++x) EXPECT_GE(Channel(dst[x], 1), Channel(dst[x - 1], 1));
    EXPECT_NEAR(static_cast<int>(Channel(dst[4], 1)) + static_cast<int>(Channel(dst[5], 1)), 255, 2);

    // Half a pixel off: the first and last pixels are half the picture,
    // half what was there.
    std::vector<uint32_t> edge(4, kBlue);
    const std::vector<uint32_t> white(2, kWhite);
    ASSERT_TRUE(DrawScaledPixels(white.data(), 2, 1, 2, edge.data(), 4, PixelArea{0, 0, 4, 1}, 0.5, 0, 2, 1));
    EXPECT_EQ(Channel(edge[0], 0), 255u);
    EXPECT_NEAR(static_cast<int>(Channel(edge[0], 1)), 128, 1);
    EXPECT_EQ(edge[1], kWhite);
    EXPECT_NEAR(static_cast<int>(Channel(edge[2], 1)), 128, 1);
    EXPECT_EQ(edge[3], kBlue);
  });
}

TEST(MotionPixelsTest, ScaledDrawingOfTheTwoKernelsIsTheSame) {
  const int sw = 37, sh = 23, dw = 64, dh = 48;
  const auto src = Noise(static_cast<std::size_t>(sw * sh), 5);
  std::mt19937 random(9);
  std::uniform_real_distribution<double> at(-8, 8), size(20, 80);
  for (int run = 0; run < 20; ++run) {
    const double left = at(random), top = at(random), w = size(random), h = size(random);
    std::vector<uint32_t> plain(static_cast<std::size_t>(dw * dh), kBlue), vector = plain;
    SetVectorKernels(false);
    const bool drewPlain =
        DrawScaledPixels(src.data(), sw, sh, sw, plain.data(), dw, PixelArea{0, 0, dw, dh}, left, top, w, h);
    SetVectorKernels(true);
    const bool drewVector =
        DrawScaledPixels(src.data(), sw, sh, sw, vector.data(), dw, PixelArea{0, 0, dw, dh}, left, top, w, h);
    EXPECT_EQ(drewPlain, drewVector);
    EXPECT_EQ(plain, vector) << left << " " << top << " " << w << " " << h;
  }
  // A source one pixel wide or high is drawn too.
  const std::vector<uint32_t> one = {kRed};
  std::vector<uint32_t> dst(16, kBlack);
  ASSERT_TRUE(DrawScaledPixels(one.data(), 1, 1, 1, dst.data(), 4, PixelArea{0, 0, 4, 4}, 0, 0, 4, 4));
  for (uint32_t p : dst) EXPECT_EQ(p, kRed);
  SetVectorKernels(true);
}

TEST(MotionPixelsTest, ALargeDrawingIsTheSameAsItsPartsDrawnOneByOne) {
  // Large enough to be drawn on two threads.
  const int sw = 700, sh = 500, dw = 800, dh = 600;
  const auto src = Noise(static_cast<std::size_t>(sw * sh), 11);
  std::vector<uint32_t> whole(static_cast<std::size_t>(dw * dh), kBlue), parts = whole;
  ASSERT_TRUE(DrawScaledPixels(src.data(), sw, sh, sw, whole.data(), dw, PixelArea{0, 0, dw, dh}, -20.4, -10.6,
                               dw * 1.07, dh * 1.05));
  for (int y = 0; y < dh; y += 50)
    ASSERT_TRUE(DrawScaledPixels(src.data(), sw, sh, sw, parts.data(), dw, PixelArea{0, y, dw, y + 50}, -20.4, -10.6,
                                 dw * 1.07, dh * 1.05));
  EXPECT_EQ(whole, parts);
}

TEST(MotionPixelsTest, FillCoversTheAreaOnly) {
  std::vector<uint32_t> dst(6 * 4, kBlack);
  FillPixels(dst.data(), 6, PixelArea{1, 1, 4, 3}, kRed);
  int red = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
      EXPECT_EQ(dst[y * 6 + x], inside ? kRed : kBlack);
      red += inside;
    }
  EXPECT_EQ(red, 6);
}

}  // namespace
