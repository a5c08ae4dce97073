#include <gtest/gtest.h>

#include "startup/MonitorLayout.h"

using namespace tessaly;

namespace {

const MonitorRect kRight{800, 0, 1824, 768};
const MonitorRect kLeft{-1280, -200, 0, 824};
const MonitorRect kAbove{0, -1080, 1920, 0};

TEST(MonitorLayoutTest, AtStartEveryMonitorGetsANewWindow) {
  const MonitorAssignment a = AssignMonitors({}, {kRight, kLeft});
  EXPECT_TRUE(a.monitorOfWindow.empty());
  EXPECT_EQ(a.newWindows, (std::vector<std::size_t>{0, 1}));
  EXPECT_TRUE(AssignMonitors({}, {}).newWindows.empty());  // one monitor: no further window
}

TEST(MonitorLayoutTest, WindowsKeepTheirMonitorsWhateverTheOrder) {
  const MonitorAssignment a = AssignMonitors({kLeft, kRight}, {kRight, kLeft});
  EXPECT_EQ(a.monitorOfWindow, (std::vector<int>{1, 0}));
  EXPECT_TRUE(a.newWindows.empty());
}

TEST(MonitorLayoutTest, AddedRemovedAndChangedMonitors) {
  // A monitor added above: the others keep theirs, the new one gets a window.
  MonitorAssignment a = AssignMonitors({kRight}, {kAbove, kRight});
  EXPECT_EQ(a.monitorOfWindow, (std::vector<int>{1}));
  EXPECT_EQ(a.newWindows, (std::vector<std::size_t>{0}));
  // The left monitor unplugged: its window closes.
  a = AssignMonitors({kRight, kLeft}, {kRight});
  EXPECT_EQ(a.monitorOfWindow, (std::vector<int>{0, -1}));
  EXPECT_TRUE(a.newWindows.empty());
  // All monitors but the primary gone.
  a = AssignMonitors({kRight, kLeft}, {});
  EXPECT_EQ(a.monitorOfWindow, (std::vector<int>{-1, -1}));
  // A new resolution on one monitor: its window moves there rather than a
  // window closing and another opening.
  const MonitorRect wider{800, 0, 2720, 1080};
  a = AssignMonitors({kLeft, kRight}, {kLeft, wider});
  EXPECT_EQ(a.monitorOfWindow, (std::vector<int>{0, 1}));
  EXPECT_TRUE(a.newWindows.empty());
  // Two monitors that look alike each get their own window.
  a = AssignMonitors({kRight, kRight}, {kRight, kRight, kLeft});
  EXPECT_EQ(a.monitorOfWindow, (std::vector<int>{0, 1}));
  EXPECT_EQ(a.newWindows, (std::vector<std::size_t>{2}));
}

}  // namespace
