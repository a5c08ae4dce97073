// Which show window covers which monitor, decided without the platform.
#pragma once

#include <cstddef>
#include <vector>

namespace tessaly {

// A monitor's rectangle on the virtual screen, in pixels (right and bottom
// exclusive; left of or above the primary monitor is negative).
struct MonitorRect {
  long left = 0, top = 0, right = 0, bottom = 0;
  long Width() const { return right - left; }
  long Height() const { return bottom - top; }
  bool operator==(const MonitorRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// The windows of a show after the monitors changed. `windows` are the
// monitors that the show windows beside the primary one cover now;
// `monitors` those the system lists now, the primary left out. A window
// keeps its monitor while that is still there; the other windows take the
// monitors left over, in order; a window left without one closes, and every
// monitor still without a window gets a new one.
struct MonitorAssignment {
  std::vector<int> monitorOfWindow;     // per window: index into monitors, -1 = close it
  std::vector<std::size_t> newWindows;  // monitors that need a new window
};
MonitorAssignment AssignMonitors(const std::vector<MonitorRect>& windows, const std::vector<MonitorRect>& monitors);

}  // namespace tessaly
