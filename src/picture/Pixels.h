// Work on 32-bit pixels (BGRA, alpha in the high byte) for pictures drawn
// from their decoded pixels: turning a stored picture upright by its
// recorded orientation, and reducing it to the size it is drawn. Free of the
// window system, so it is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tessaly::picture {

// Whether an orientation turns the picture by a quarter (5 to 8), so the
// upright picture's width is the stored height.
bool OrientationSwapsAxes(uint16_t orientation);

// A pixel rectangle [left, right) x [top, bottom).
struct PixelArea {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PixelArea& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// The rectangle of the stored picture (storedW x storedH pixels) that holds
// the rectangle `upright` of the upright picture.
PixelArea StoredRect(uint16_t orientation, int storedW, int storedH, const PixelArea& upright);

// Turns 32-bit pixels from stored into upright order. `stored` holds w x h
// pixels row by row; `upright` receives h x w pixels when the orientation
// swaps the axes, w x h otherwise. The two must not overlap.
void OrientPixels(uint16_t orientation, const uint32_t* stored, int w, int h, uint32_t* upright);

// Reads `count` pixels of row `y` of a picture, from column `x`, into
// `pixels`; false when it cannot.
using PixelRowReader = std::function<bool(uint32_t y, uint32_t x, uint32_t count, uint32_t* pixels)>;

// Reduces a srcW x srcH picture to dstW x dstH (each no larger than its
// source) and writes the part `rect` of the result to `out`, row by row
// (rect's width per row). Each target pixel averages up to 8 x 8 samples
// spread evenly over the source pixels it covers (all of them where it
// covers at most 8 x 8: a box filter), weighted by their alpha. Only the
// sampled rows are read, each once, top to bottom. False when a read fails
// or the sizes do not fit.
bool ReducePixels(const PixelRowReader& read, uint32_t srcW, uint32_t srcH, uint32_t dstW, uint32_t dstH,
                  const PixelArea& rect, uint32_t* out);

// Enlarges a srcW x srcH picture to dstW x dstH (each no smaller than its
// source) by bilinear interpolation between the centres of the source
// pixels, and writes the part `rect` of the result to `out`, row by row
// (rect's width per row). `src` holds only the part `held` of the source,
// row by row (held's width per row); a sample outside it takes the nearest
// pixel it holds. False when the sizes do not fit.
bool EnlargePixels(const uint32_t* src, const PixelArea& held, uint32_t srcW, uint32_t srcH, uint32_t dstW,
                   uint32_t dstH, const PixelArea& rect, uint32_t* out);

// The kernels of motion: a frame is composed of pictures drawn scaled to
// positions between pixels and of two frames blended into each other, at
// the display's rate, so they run on SSE2 where the processor has it (the
// plain version gives the same pixels).

// Blends `count` pixels: out = from + (to - from) x weight / 256 in each
// channel, weight 0 (from exactly) to 256 (to exactly). `out` may be either
// input.
void BlendPixels(const uint32_t* from, const uint32_t* to, uint32_t* out, std::size_t count, uint32_t weight);

// Fills `area` of a target (`stride` pixels a row) with one pixel value.
void FillPixels(uint32_t* dst, std::size_t stride, const PixelArea& area, uint32_t pixel);

// Draws a srcW x srcH picture (`src`, `srcStride` pixels a row) scaled into
// the rectangle (left, top, width, height) of a target (`dst`, `dstStride`
// pixels a row), in target pixels with fractions; only the target pixels
// inside `clip` are written. Every sample is bilinear between the centres
// of the source pixels, placed to 1/128 of a pixel, so a picture that moves
// by less than a pixel moves smoothly; a target pixel that the rectangle
// covers in part (its edges lie between pixels) is blended with what the
// target holds there by the share covered. False when nothing fits.
bool DrawScaledPixels(const uint32_t* src, int srcW, int srcH, std::size_t srcStride, uint32_t* dst,
                      std::size_t dstStride, const PixelArea& clip, double left, double top, double width,
                      double height);

// Whether the kernels above use SSE2; the tests compare both ways. Asking
// for SSE2 where the processor lacks it leaves them plain.
bool VectorKernels();
void SetVectorKernels(bool on);

}  // namespace tessaly::picture
