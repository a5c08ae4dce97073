// The kernels of motion (Pixels.h): blending two frames and drawing a
// picture scaled to a position between pixels.
#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "picture/Pixels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#define TESSALY_X86 1
// Where the compiler does not assume SSE2 (the 32-bit build), the vector
// functions are compiled for it and called only when the processor says so.
#define SSE2_FUNCTION __attribute__((target("sse2")))
#endif

namespace tessaly::picture {
namespace {

bool HasSse2() {
#if defined(__SSE2__)
  return true;
#elif defined(TESSALY_X86)
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2") != 0;
#else
  return false;
#endif
}

bool g_vector = HasSse2();

// ---------------------------------------------------------------------------
// Blending

void BlendPlain(const uint32_t* from, const uint32_t* to, uint32_t* out, std::size_t count, uint32_t w) {
  const uint32_t v = 256 - w;
  for (std::size_t i = 0; i < count; ++i) {
    const uint32_t a = from[i], b = to[i];
    // Two channels a word, each in 16 bits: 255 x 256 never spills over.
    const uint32_t rb = ((a & 0x00FF00FFu) * v + (b & 0x00FF00FFu) * w) >> 8;
    const uint32_t ag = ((a >> 8) & 0x00FF00FFu) * v + ((b >> 8) & 0x00FF00FFu) * w;
    out[i] = (rb & 0x00FF00FFu) | (ag & 0xFF00FF00u);
  }
}

#ifdef TESSALY_X86
SSE2_FUNCTION void BlendVector(const uint32_t* from, const uint32_t* to, uint32_t* out, std::size_t count, uint32_t w) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i wt = _mm_set1_epi16(static_cast<short>(w));
  const __m128i wf = _mm_set1_epi16(static_cast<short>(256 - w));
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
    // a x (256 - w) + b x w stays below 65536 in each 16-bit lane.
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), wf), _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), wt)),
        8);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), wf), _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), wt)),
        8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
  }
  BlendPlain(from + i, to + i, out + i, count - i, w);
}
#endif

// ---------------------------------------------------------------------------
// Scaled drawing

// One target position along an axis: the source pixel at or before the
// sample and the weight (0 to 128) of the one after it, and how much of the
// target pixel the picture covers (0 to 256).
struct Tap {
  int first;
  int weight;
  int cover;
};

constexpr int kWeightOne = 128;

std::vector<Tap> AxisTaps(int src, double lo, double len, int from, int to) {
  std::vector<Tap> taps;
  taps.reserve(static_cast<std::size_t>(std::max(0, to - from)));
  const double scale = src / len;
  for (int d = from; d < to; ++d) {
    Tap tap{0, 0, 0};
    const double cover = std::min(d + 1.0, lo + len) - std::max(static_cast<double>(d), lo);
    tap.cover = static_cast<int>(std::lround(std::clamp(cover, 0.0, 1.0) * 256));
    if (src > 1) {
      const double s = std::clamp((d + 0.5 - lo) * scale - 0.5, 0.0, src - 1.0);
      tap.first = std::min(static_cast<int>(s), src - 2);
      tap.weight = static_cast<int>(std::lround((s - tap.first) * kWeightOne));
    }
    taps.push_back(tap);
  }
  return taps;
}

// The source row `row` resampled across: four 16-bit channels a target
// column, each the two source pixels weighted (at most 255 x 128).
void AcrossPlain(const uint32_t* row, int srcW, const std::vector<Tap>& columns, uint16_t* out) {
  for (const Tap& c : columns) {
    const uint32_t a = row[c.first], b = row[srcW > 1 ? c.first + 1 : c.first];
    const int wb = c.weight, wa = kWeightOne - wb;
    for (int k = 0; k < 4; ++k)
      *out++ = static_cast<uint16_t>(((a >> (8 * k)) & 0xFF) * wa + ((b >> (8 * k)) & 0xFF) * wb);
  }
}

// Two resampled rows weighted down into target pixels.
void DownPlain(const uint16_t* upper, const uint16_t* lower, int weight, std::size_t count, uint32_t* out) {
  const int wb = weight, wa = kWeightOne - wb;
  for (std::size_t i = 0; i < count; ++i) {
    uint32_t pixel = 0;
    for (int k = 0; k < 4; ++k) {
      const uint32_t v = (upper[4 * i + k] * wa + lower[4 * i + k] * wb + 8192) >> 14;
      pixel |= v << (8 * k);
    }
    out[i] = pixel;
  }
}

#ifdef TESSALY_X86
// The columns' weights as the vector code takes them: 128 - w four times,
// then w four times.
std::vector<int16_t> ColumnWeights(const std::vector<Tap>& columns) {
  std::vector<int16_t> weights;
  weights.reserve(columns.size() * 8);
  for (const Tap& c : columns) {
    for (int k = 0; k < 4; ++k) weights.push_back(static_cast<int16_t>(kWeightOne - c.weight));
    for (int k = 0; k < 4; ++k) weights.push_back(static_cast<int16_t>(c.weight));
  }
  return weights;
}

SSE2_FUNCTION void AcrossVector(const uint32_t* row, const std::vector<int>& firsts, const int16_t* weights,
                                uint16_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const std::size_t n = firsts.size();
  const int* first = firsts.data();
  std::size_t i = 0;
  // Two target columns at a time: each the two neighbouring source pixels
  // at once, weighted, the halves added.
  for (; i + 2 <= n; i += 2) {
    const __m128i p0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + first[i]));
    const __m128i p1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + first[i + 1]));
    const __m128i m0 = _mm_mullo_epi16(_mm_unpacklo_epi8(p0, zero),
                                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * i)));
    const __m128i m1 = _mm_mullo_epi16(_mm_unpacklo_epi8(p1, zero),
                                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * i + 8)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i),
                     _mm_add_epi16(_mm_unpacklo_epi64(m0, m1), _mm_unpackhi_epi64(m0, m1)));
  }
  for (; i < n; ++i) {
    const __m128i pair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + first[i]));
    const __m128i m = _mm_mullo_epi16(_mm_unpacklo_epi8(pair, zero),
                                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * i)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * i), _mm_add_epi16(m, _mm_srli_si128(m, 8)));
  }
}

SSE2_FUNCTION void DownVector(const uint16_t* upper, const uint16_t* lower, int weight, std::size_t count,
                              uint32_t* out) {
  const __m128i w = _mm_set_epi16(static_cast<short>(weight), static_cast<short>(kWeightOne - weight),
                                  static_cast<short>(weight), static_cast<short>(kWeightOne - weight),
                                  static_cast<short>(weight), static_cast<short>(kWeightOne - weight),
                                  static_cast<short>(weight), static_cast<short>(kWeightOne - weight));
  const __m128i round = _mm_set1_epi32(8192);
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    __m128i result[2];
    for (int half = 0; half < 2; ++half) {
      // Two pixels of each row: upper and lower channel side by side, each
      // pair summed with its weights into 32 bits.
      const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + 4 * i + 8 * half));
      const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + 4 * i + 8 * half));
      const __m128i first = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(u, l), w), round), 14);
      const __m128i second = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(u, l), w), round), 14);
      result[half] = _mm_packs_epi32(first, second);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(result[0], result[1]));
  }
  DownPlain(upper + 4 * i, lower + 4 * i, weight, count - i, out + i);
}
#endif

// A pixel put where the picture covers `cover` / 256 of the target pixel.
uint32_t Covered(uint32_t under, uint32_t over, int cover) {
  uint32_t out;
  BlendPlain(&under, &over, &out, 1, static_cast<uint32_t>(cover));
  return out;
}

}  // namespace

bool VectorKernels() { return g_vector; }
void SetVectorKernels(bool on) { g_vector = on && HasSse2(); }

void BlendPixels(const uint32_t* from, const uint32_t* to, uint32_t* out, std::size_t count, uint32_t weight) {
  weight = std::min<uint32_t>(weight, 256);
#ifdef TESSALY_X86
  if (g_vector) {
    BlendVector(from, to, out, count, weight);
    return;
  }
#endif
  BlendPlain(from, to, out, count, weight);
}

void FillPixels(uint32_t* dst, std::size_t stride, const PixelArea& area, uint32_t pixel) {
  if (area.Width() <= 0 || area.Height() <= 0) return;
  for (int y = area.top; y < area.bottom; ++y) {
    uint32_t* row = dst + static_cast<std::size_t>(y) * stride;
    std::fill(row + area.left, row + area.right, pixel);
  }
}

namespace {

// A second thread for the lower half of a large scaled drawing (a frame of
// a full-screen pan), made once and kept; one job at a time, from the one
// thread that draws.
class Worker {
 public:
  Worker() {
    std::thread([this] { Loop(); }).detach();
  }
  void Start(std::function<void()> job) {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = std::move(job);
    done_ = false;
    wake_.notify_all();
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return done_; });
  }

 private:
  void Loop() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return static_cast<bool>(job_); });
        job = std::move(job_);
        job_ = nullptr;
      }
      job();
      {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
      }
      finished_.notify_all();
    }
  }
  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  std::function<void()> job_;
  bool done_ = true;
};

Worker* TheWorker() {
  // Never destroyed: the process may end while it waits.
  static Worker* worker = std::thread::hardware_concurrency() > 1 ? new Worker() : nullptr;
  return worker;
}

bool DrawRows(const uint32_t* src, int srcW, int srcH, std::size_t srcStride, uint32_t* dst, std::size_t dstStride,
              const PixelArea& clip, double left, double top, double width, double height);

}  // namespace

bool DrawScaledPixels(const uint32_t* src, int srcW, int srcH, std::size_t srcStride, uint32_t* dst,
                      std::size_t dstStride, const PixelArea& clip, double left, double top, double width,
                      double height) {
  if (!src || !dst || srcW <= 0 || srcH <= 0 || !(width > 0) || !(height > 0) || !std::isfinite(left) ||
      !std::isfinite(top) || width > 1e7 || height > 1e7 || std::fabs(left) > 1e7 || std::fabs(top) > 1e7)
    return false;
  // A large drawing goes in two halves of rows on two threads; each row is
  // drawn as it would be in one piece.
  constexpr int kSplitPixels = 256 * 1024;
  Worker* worker = TheWorker();
  if (worker && static_cast<long long>(clip.Width()) * clip.Height() >= kSplitPixels && clip.Height() >= 64) {
    const int middle = clip.top + clip.Height() / 2;
    const PixelArea upper{clip.left, clip.top, clip.right, middle};
    const PixelArea lower{clip.left, middle, clip.right, clip.bottom};
    bool drewLower = false;
    worker->Start(
        [&] { drewLower = DrawRows(src, srcW, srcH, srcStride, dst, dstStride, lower, left, top, width, height); });
    const bool drewUpper = DrawRows(src, srcW, srcH, srcStride, dst, dstStride, upper, left, top, width, height);
    worker->Wait();
    return drewUpper || drewLower;
  }
  return DrawRows(src, srcW, srcH, srcStride, dst, dstStride, clip, left, top, width, height);
}

namespace {

bool DrawRows(const uint32_t* src, int srcW, int srcH, std::size_t srcStride, uint32_t* dst, std::size_t dstStride,
              const PixelArea& clip, double left, double top, double width, double height) {
  const int x0 = std::max(clip.left, static_cast<int>(std::floor(left)));
  const int x1 = std::min(clip.right, static_cast<int>(std::ceil(left + width)));
  const int y0 = std::max(clip.top, static_cast<int>(std::floor(top)));
  const int y1 = std::min(clip.bottom, static_cast<int>(std::ceil(top + height)));
  if (x0 >= x1 || y0 >= y1) return false;
  const std::vector<Tap> columns = AxisTaps(srcW, left, width, x0, x1);
  const std::vector<Tap> rows = AxisTaps(srcH, top, height, y0, y1);
  const std::size_t n = columns.size();
  // Source pixel pairs are read two at a time: a source one pixel wide is
  // widened to two.
  std::vector<uint32_t> narrow;
  if (srcW == 1) {
    narrow.resize(static_cast<std::size_t>(srcH) * 2);
    for (int y = 0; y < srcH; ++y) narrow[2 * y] = narrow[2 * y + 1] = src[static_cast<std::size_t>(y) * srcStride];
    src = narrow.data();
    srcStride = 2;
    srcW = 2;
  }
#ifdef TESSALY_X86
  const bool vector = g_vector;
  const std::vector<int16_t> weights = vector ? ColumnWeights(columns) : std::vector<int16_t>();
  std::vector<int> firsts;
  if (vector)
    for (const Tap& c : columns) firsts.push_back(c.first);
#endif
  // The two source rows last resampled, and which they were.
  std::vector<uint16_t> across[2] = {std::vector<uint16_t>(n * 4), std::vector<uint16_t>(n * 4)};
  int held[2] = {-1, -1};
  // Source row r resampled, keeping row `keep` where it is held.
  auto resampled = [&](int r, int keep) -> const uint16_t* {
    for (int k = 0; k < 2; ++k)
      if (held[k] == r) return across[k].data();
    const int k = held[0] == keep ? 1 : 0;
    const uint32_t* row = src + static_cast<std::size_t>(r) * srcStride;
#ifdef TESSALY_X86
    if (vector) {
      AcrossVector(row, firsts, weights.data(), across[k].data());
    } else {
      AcrossPlain(row, srcW, columns, across[k].data());
    }
#else
    AcrossPlain(row, srcW, columns, across[k].data());
#endif
    held[k] = r;
    return across[k].data();
  };
  std::vector<uint32_t> line(n);
  const bool edgeLeft = columns.front().cover < 256, edgeRight = columns.back().cover < 256;
  for (std::size_t j = 0; j < rows.size(); ++j) {
    const Tap& r = rows[j];
    if (r.cover == 0) continue;
    const int next = srcH > 1 ? r.first + 1 : r.first;
    const uint16_t* upper = resampled(r.first, next);
    const uint16_t* lower = resampled(next, r.first);
#ifdef TESSALY_X86
    if (vector) {
      DownVector(upper, lower, r.weight, n, line.data());
    } else {
      DownPlain(upper, lower, r.weight, n, line.data());
    }
#else
    DownPlain(upper, lower, r.weight, n, line.data());
#endif
    uint32_t* out = dst + static_cast<std::size_t>(y0 + static_cast<int>(j)) * dstStride + x0;
    if (r.cover == 256 && !edgeLeft && !edgeRight) {
      std::memcpy(out, line.data(), n * sizeof(uint32_t));
      continue;
    }
    for (std::size_t i = 0; i < n; ++i) {
      const int cover = columns[i].cover * r.cover / 256;
      out[i] = cover >= 256 ? line[i] : Covered(out[i], line[i], cover);
    }
  }
  return true;
}

}  // namespace

}  // namespace tessaly::picture
