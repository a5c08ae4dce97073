#include "Pixels.h"

#include <algorithm>
#include <vector>

namespace tessaly::ui {

bool OrientationSwapsAxes(uint16_t orientation) { return orientation >= 5 && orientation <= 8; }

PixelArea StoredRect(uint16_t orientation, int storedW, int storedH, const PixelArea& u) {
  const int W = storedW, H = storedH;
  switch (orientation) {
    case 2: return {W - u.right, u.top, W - u.left, u.bottom};
    case 3: return {W - u.right, H - u.bottom, W - u.left, H - u.top};
    case 4: return {u.left, H - u.bottom, u.right, H - u.top};
    case 5: return {u.top, u.left, u.bottom, u.right};
    case 6: return {u.top, H - u.right, u.bottom, H - u.left};
    case 7: return {W - u.bottom, H - u.right, W - u.top, H - u.left};
    case 8: return {W - u.bottom, u.left, W - u.top, u.right};
    default: return u;
  }
}

void OrientPixels(uint16_t orientation, const uint32_t* stored, int w, int h, uint32_t* upright) {
  if (w <= 0 || h <= 0) return;
  const bool swap = OrientationSwapsAxes(orientation);
  const int uw = swap ? h : w, uh = swap ? w : h;
  for (int y = 0; y < uh; ++y) {
    uint32_t* out = upright + static_cast<std::size_t>(y) * uw;
    for (int x = 0; x < uw; ++x) {
      int sx = x, sy = y;  // the stored pixel shown at (x, y)
      switch (orientation) {
        case 2: sx = w - 1 - x; break;
        case 3:
          sx = w - 1 - x;
          sy = h - 1 - y;
          break;
        case 4: sy = h - 1 - y; break;
        case 5:
          sx = y;
          sy = x;
          break;
        case 6:
          sx = y;
          sy = h - 1 - x;
          break;
        case 7:
          sx = w - 1 - y;
          sy = h - 1 - x;
          break;
        case 8:
          sx = w - 1 - y;
          sy = x;
          break;
        default: break;
      }
      out[x] = stored[static_cast<std::size_t>(sy) * w + sx];
    }
  }
}

namespace {

constexpr uint64_t kMaxSamples = 8;

// Source pixels [First, End) that target pixel i of n covers in a source of
// `src` pixels; never empty.
uint64_t First(uint64_t i, uint64_t src, uint64_t n) { return i * src / n; }
uint64_t End(uint64_t i, uint64_t src, uint64_t n) {
  return std::max(First(i, src, n) + 1, (i + 1) * src / n);
}

// Up to kMaxSamples positions spread evenly over [a, b).
template <typename F>
void Samples(uint64_t a, uint64_t b, F each) {
  const uint64_t n = std::min(kMaxSamples, b - a);
  for (uint64_t j = 0; j < n; ++j) each(a + (2 * j + 1) * (b - a) / (2 * n));
}

}  // namespace

bool ReducePixels(const PixelRowReader& read, uint32_t srcW, uint32_t srcH, uint32_t dstW, uint32_t dstH,
                  const PixelArea& rect, uint32_t* out) {
  if (dstW == 0 || dstH == 0 || dstW > srcW || dstH > srcH || rect.left < 0 || rect.top < 0 ||
      rect.right <= rect.left || rect.bottom <= rect.top || static_cast<uint32_t>(rect.right) > dstW ||
      static_cast<uint32_t>(rect.bottom) > dstH)
    return false;
  // The sample columns of each target column, counted from the first
  // column read.
  const uint64_t colFirst = First(static_cast<uint64_t>(rect.left), srcW, dstW);
  const uint64_t colEnd = End(static_cast<uint64_t>(rect.right - 1), srcW, dstW);
  std::vector<uint32_t> columns, columnStart;
  for (int x = rect.left; x < rect.right; ++x) {
    columnStart.push_back(static_cast<uint32_t>(columns.size()));
    Samples(First(static_cast<uint64_t>(x), srcW, dstW), End(static_cast<uint64_t>(x), srcW, dstW),
            [&](uint64_t c) { columns.push_back(static_cast<uint32_t>(c - colFirst)); });
  }
  columnStart.push_back(static_cast<uint32_t>(columns.size()));

  const std::size_t width = static_cast<std::size_t>(rect.Width());
  std::vector<uint32_t> row(static_cast<std::size_t>(colEnd - colFirst));
  // Per target pixel: alpha-weighted blue, green, red; alpha; samples.
  std::vector<uint32_t> sums(width * 5);
  for (int y = rect.top; y < rect.bottom; ++y) {
    std::fill(sums.begin(), sums.end(), 0u);
    bool ok = true;
    Samples(First(static_cast<uint64_t>(y), srcH, dstH), End(static_cast<uint64_t>(y), srcH, dstH),
            [&](uint64_t r) {
              if (!ok || !(ok = read(static_cast<uint32_t>(r), static_cast<uint32_t>(colFirst),
                                     static_cast<uint32_t>(row.size()), row.data())))
                return;
              for (std::size_t x = 0; x < width; ++x) {
                uint32_t* sum = &sums[x * 5];
                for (uint32_t k = columnStart[x]; k < columnStart[x + 1]; ++k) {
                  const uint32_t p = row[columns[k]], alpha = p >> 24;
                  sum[0] += (p & 0xFF) * alpha;
                  sum[1] += ((p >> 8) & 0xFF) * alpha;
                  sum[2] += ((p >> 16) & 0xFF) * alpha;
                  sum[3] += alpha;
                  ++sum[4];
                }
              }
            });
    if (!ok) return false;
    uint32_t* target = out + static_cast<std::size_t>(y - rect.top) * width;
    for (std::size_t x = 0; x < width; ++x) {
      const uint32_t* sum = &sums[x * 5];
      if (sum[3] == 0) {
        target[x] = 0;  // transparent throughout
        continue;
      }
      const uint32_t alpha = sum[3], half = alpha / 2;
      target[x] = ((alpha + sum[4] / 2) / sum[4]) << 24 | ((sum[2] + half) / alpha) << 16 |
                  ((sum[1] + half) / alpha) << 8 | ((sum[0] + half) / alpha);
    }
  }
  return true;
}

}  // namespace tessaly::ui
