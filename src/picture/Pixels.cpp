#include "picture/Pixels.h"

#include <algorithm>
#include <vector>

namespace tessaly::picture {

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
uint64_t End(uint64_t i, uint64_t src, uint64_t n) { return std::max(First(i, src, n) + 1, (i + 1) * src / n); }

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
    Samples(First(static_cast<uint64_t>(y), srcH, dstH), End(static_cast<uint64_t>(y), srcH, dstH), [&](uint64_t r) {
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

namespace {

// For each target position along one axis: the two source positions it lies
// between and the weight (0 to 256) of the second, from the centres of the
// target pixels mapped onto the centres of the source pixels.
struct Tap {
  int first, second;
  uint32_t weight;
};

std::vector<Tap> Taps(uint32_t src, uint32_t dst, int from, int to, int heldFrom, int heldTo) {
  std::vector<Tap> taps;
  taps.reserve(static_cast<std::size_t>(to - from));
  const int64_t last = static_cast<int64_t>(src - 1) << 8;
  for (int i = from; i < to; ++i) {
    // (i + 0.5) * src / dst - 0.5, in 1/256 of a source pixel.
    int64_t at = ((2 * static_cast<int64_t>(i) + 1) * src * 256) / (2 * static_cast<int64_t>(dst)) - 128;
    at = std::clamp<int64_t>(at, 0, last);
    const int first = static_cast<int>(at >> 8);
    const int second = std::min(first + 1, static_cast<int>(src) - 1);
    taps.push_back(Tap{std::clamp(first, heldFrom, heldTo - 1) - heldFrom,
                       std::clamp(second, heldFrom, heldTo - 1) - heldFrom, static_cast<uint32_t>(at & 0xFF)});
  }
  return taps;
}

uint32_t Channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

}  // namespace

bool EnlargePixels(const uint32_t* src, const PixelArea& held, uint32_t srcW, uint32_t srcH, uint32_t dstW,
                   uint32_t dstH, const PixelArea& rect, uint32_t* out) {
  if (srcW == 0 || srcH == 0 || dstW < srcW || dstH < srcH || held.Width() <= 0 || held.Height() <= 0 ||
      rect.left < 0 || rect.top < 0 || rect.right > static_cast<int64_t>(dstW) ||
      rect.bottom > static_cast<int64_t>(dstH) || rect.Width() <= 0 || rect.Height() <= 0)
    return false;
  const std::vector<Tap> columns = Taps(srcW, dstW, rect.left, rect.right, held.left, held.right);
  const std::vector<Tap> rows = Taps(srcH, dstH, rect.top, rect.bottom, held.top, held.bottom);
  const std::size_t stride = static_cast<std::size_t>(held.Width());
  for (const Tap& row : rows) {
    const uint32_t* upper = src + static_cast<std::size_t>(row.first) * stride;
    const uint32_t* lower = src + static_cast<std::size_t>(row.second) * stride;
    const uint32_t wy = row.weight;
    for (const Tap& column : columns) {
      const uint32_t wx = column.weight;
      // The four weights add up to 65536.
      const uint32_t w00 = (256 - wx) * (256 - wy), w10 = wx * (256 - wy), w01 = (256 - wx) * wy, w11 = wx * wy;
      const uint32_t a = upper[column.first], b = upper[column.second], c = lower[column.first],
                     d = lower[column.second];
      uint32_t pixel = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t v =
            Channel(a, shift) * w00 + Channel(b, shift) * w10 + Channel(c, shift) * w01 + Channel(d, shift) * w11;
        pixel |= ((v + 32768) >> 16) << shift;
      }
      *out++ = pixel;
    }
  }
  return true;
}

}  // namespace tessaly::picture
