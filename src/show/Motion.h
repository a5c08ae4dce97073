// Motion on a show's surface: the cross-fade from one picture into the next
// and the slow pan and zoom across a picture while it is shown. The timing
// and the framing are decided here, from the time elapsed, free of the
// window system; the surface's MotionCanvas (Controls.h) composes and
// presents the frames.
#pragma once

#include <cstdint>

#include "common/Controls.h"
#include "common/mCollection.h"

namespace tessaly {

// The nominal length of a cross-fade at a transition speed, in seconds:
// 4 s at speed 1, 0.5 s at speed 20, even steps between (a speed outside
// 1 to 20 counts as the nearer end).
double CrossFadeSeconds(int32_t speed);

// How far a cross-fade of `length` seconds has come after `elapsed`
// seconds: 0 (the old picture alone) to 1 (the new one alone).
double FadeAlpha(double elapsed, double length);

// The largest zoom of a pan and zoom.
inline constexpr double kMaxZoom = 1.25;
// How far a picture drifts at most, each way, as a share of its size: as
// far as the largest zoom lets a picture that covers the screen move.
inline constexpr double kMaxDrift = (kMaxZoom - 1) / 2;

// A picture's way from one framing to another: the zoom at the start and
// at the end (1 to kMaxZoom), and where the picture's centre lies at each
// end, from -1 (as far left / up as it may go) to 1 (right / down).
struct PanPath {
  double zoomFrom = 1, zoomTo = 1;
  double xFrom = 0, xTo = 0;
  double yFrom = 0, yTo = 0;
};

// A path at random: one end at or near the picture's own size, the other
// zoomed in by 1.1 to kMaxZoom (which end is which, at random), each end's
// drift at random.
PanPath ChoosePanPath(RandomSource& random);

// Where the picture placed at `placed` is drawn at `t` (0 to 1) of its
// `path`, within `area` (the part of the surface the picture may use). Along
// each axis: a picture that covers the area there goes on covering it (its
// edges never show); one that lies inside it stays inside (the zoom is
// limited to what fits). The result never jumps: it moves continuously
// with t.
MotionRect PanFrame(const MotionRect& placed, const MotionRect& area, const PanPath& path, double t);

// The part of a picture placed at `placed` that ever shows in `area` along
// its path (still: where it lies now), in shares of its width and height.
MotionRect ShownPart(const MotionRect& placed, const MotionRect& area, const PanPath* path);

// The largest zoom a picture placed at `placed` can take in `area`.
double ZoomLimit(const MotionRect& placed, const MotionRect& area);

}  // namespace tessaly
