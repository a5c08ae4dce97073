#include "startup/MonitorLayout.h"

namespace tessaly {

MonitorAssignment AssignMonitors(const std::vector<MonitorRect>& windows, const std::vector<MonitorRect>& monitors) {
  MonitorAssignment result;
  result.monitorOfWindow.assign(windows.size(), -1);
  std::vector<bool> taken(monitors.size(), false);
  for (std::size_t w = 0; w < windows.size(); ++w) {
    for (std::size_t m = 0; m < monitors.size(); ++m) {
      if (taken[m] || !(windows[w] == monitors[m])) continue;
      result.monitorOfWindow[w] = static_cast<int>(m);
      taken[m] = true;
      break;
    }
  }
  std::size_t next = 0;
  for (std::size_t w = 0; w < windows.size(); ++w) {
    if (result.monitorOfWindow[w] >= 0) continue;
    while (next < monitors.size() && taken[next]) ++next;
    if (next == monitors.size()) break;
    result.monitorOfWindow[w] = static_cast<int>(next);
    taken[next] = true;
  }
  for (std::size_t m = 0; m < monitors.size(); ++m)
    if (!taken[m]) result.newWindows.push_back(m);
  return result;
}

}  // namespace tessaly
