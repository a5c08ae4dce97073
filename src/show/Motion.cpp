#include "show/Motion.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr double kSlowestFade = 4.0;  // seconds at speed 1
constexpr double kFastestFade = 0.5;  // seconds at speed 20
constexpr double kTolerance = 0.5;    // twips: an edge this near another counts as on it

double Lerp(double a, double b, double t) { return a + (b - a) * t; }

// One axis of a placed picture in its area.
struct Axis {
  double placedLo, placedLen, areaLo, areaLen;
  bool Covers() const {
    return placedLo <= areaLo + kTolerance && placedLo + placedLen >= areaLo + areaLen - kTolerance;
  }
  // The largest zoom along this axis.
  double Limit() const {
    if (Covers() || placedLen <= 0) return kMaxZoom;
    return std::clamp(areaLen / placedLen, 1.0, kMaxZoom);
  }
  // The low edge of the picture drawn `zoom` times its placed size with its
  // centre at `u` (-1 to 1) of the way it may move.
  double Low(double zoom, double u) const {
    const double len = placedLen * zoom;
    const double centre = placedLo + placedLen / 2;
    // Where the centre may lie: covering the area, or inside it.
    double lo = Covers() ? areaLo + areaLen - len / 2 : areaLo + len / 2;
    double hi = Covers() ? areaLo + len / 2 : areaLo + areaLen - len / 2;
    if (lo > hi) lo = hi = centre;  // a picture neither inside nor covering stays where it was placed
    // No farther than the drift allows from where it was placed.
    const double driftLo = std::max(lo, centre - kMaxDrift * placedLen);
    const double driftHi = std::min(hi, centre + kMaxDrift * placedLen);
    if (driftLo <= driftHi) {
      lo = driftLo;
      hi = driftHi;
    }
    const double mid = (lo + hi) / 2;
    return mid + std::clamp(u, -1.0, 1.0) * (hi - lo) / 2 - len / 2;
  }
};

}  // namespace

double CrossFadeSeconds(int32_t speed) {
  const double s = std::clamp<double>(speed, 1, 20);
  return kSlowestFade - (s - 1) * (kSlowestFade - kFastestFade) / 19;
}

double FadeAlpha(double elapsed, double length) {
  if (length <= 0) return 1;
  return std::clamp(elapsed / length, 0.0, 1.0);
}

PanPath ChoosePanPath(RandomSource& random) {
  PanPath path;
  const bool zoomIn = random.Next() < 0.5;
  const double zoomed = 1.1 + (kMaxZoom - 1.1) * random.Next();
  path.zoomFrom = zoomIn ? 1 : zoomed;
  path.zoomTo = zoomIn ? zoomed : 1;
  path.xFrom = random.Next() * 2 - 1;
  path.xTo = random.Next() * 2 - 1;
  path.yFrom = random.Next() * 2 - 1;
  path.yTo = random.Next() * 2 - 1;
  return path;
}

double ZoomLimit(const MotionRect& placed, const MotionRect& area) {
  const Axis x{placed.left, placed.width, area.left, area.width};
  const Axis y{placed.top, placed.height, area.top, area.height};
  return std::min(x.Limit(), y.Limit());
}

MotionRect ShownPart(const MotionRect& placed, const MotionRect& area, const PanPath* path) {
  double left = 1, top = 1, right = 0, bottom = 0;
  // A straight way between two framings, kept in bounds: its ends and
  // enough steps between them.
  const int steps = path ? 32 : 0;
  for (int i = 0; i <= steps; ++i) {
    const MotionRect d = path ? PanFrame(placed, area, *path, static_cast<double>(i) / steps) : placed;
    if (d.width <= 0 || d.height <= 0) continue;
    const double l = std::max(d.left, area.left), r = std::min(d.Right(), area.Right());
    const double t = std::max(d.top, area.top), b = std::min(d.Bottom(), area.Bottom());
    if (l >= r || t >= b) continue;
    left = std::min(left, (l - d.left) / d.width);
    right = std::max(right, (r - d.left) / d.width);
    top = std::min(top, (t - d.top) / d.height);
    bottom = std::max(bottom, (b - d.top) / d.height);
  }
  if (left >= right || top >= bottom) return MotionRect{0, 0, 1, 1};
  // A little more, for what lies between the steps.
  const double margin = path ? 0.01 : 0;
  left = std::max(0.0, left - margin);
  top = std::max(0.0, top - margin);
  right = std::min(1.0, right + margin);
  bottom = std::min(1.0, bottom + margin);
  return MotionRect{left, top, right - left, bottom - top};
}

MotionRect PanFrame(const MotionRect& placed, const MotionRect& area, const PanPath& path, double t) {
  t = std::clamp(t, 0.0, 1.0);
  const Axis x{placed.left, placed.width, area.left, area.width};
  const Axis y{placed.top, placed.height, area.top, area.height};
  // The path's zoom scaled into what the picture allows, the same on both
  // axes so the picture keeps its proportions.
  const double limit = std::min(x.Limit(), y.Limit());
  const double asked = std::clamp(Lerp(path.zoomFrom, path.zoomTo, t), 1.0, kMaxZoom);
  const double zoom = 1 + (asked - 1) * (limit - 1) / (kMaxZoom - 1);
  MotionRect r;
  r.width = placed.width * zoom;
  r.height = placed.height * zoom;
  r.left = x.Low(zoom, Lerp(path.xFrom, path.xTo, t));
  r.top = y.Low(zoom, Lerp(path.yFrom, path.yTo, t));
  return r;
}

}  // namespace tessaly
