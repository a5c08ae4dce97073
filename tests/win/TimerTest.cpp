// Timers of a form.
#include "UiTestSupport.h"

namespace uitest {
namespace {

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitTwips(15, 15);
    host = std::make_unique<HostForm>();
    host->Load();  // loaded, not shown
  }
  void TearDown() override {
    host->Unload();
    host.reset();
    DrainQuit();
  }
  // Pumps until `done` holds or about five seconds have gone.
  template <typename F>
  bool PumpUntil(F done) {
    for (int i = 0; i < 500 && !done(); ++i) DelayPasses(400);  // 10 ms each
    return done();
  }
  std::unique_ptr<HostForm> host;
};

TEST_F(TimerTest, FiresOnAHiddenForm) {
  int ticks = 0;
  host->timer.OnTimer = [&] { ++ticks; };
  host->timer.SetInterval(15);
  ASSERT_FALSE(host->Visible());
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
}

TEST_F(TimerTest, IntervalIsLimitedTo65535) {
  TimerControl& t = host->timer;
  t.SetInterval(65535);
  EXPECT_EQ(t.Interval(), 65535);
  for (long bad : {65536L, -1L, 100000L}) {
    try {
      t.SetInterval(bad);
      ADD_FAILURE() << bad << " accepted";
    } catch (const AppError& e) {
      EXPECT_EQ(e.Number(), 380);
    }
    EXPECT_EQ(t.Interval(), 65535);
  }
  t.SetInterval(0);
  EXPECT_EQ(t.Interval(), 0);
}

TEST_F(TimerTest, DisabledOrZeroIntervalDoesNotFire) {
  int ticks = 0, other = 0;
  host->timer.OnTimer = [&] { ++ticks; };
  host->timer.SetEnabled(false);
  host->timer.SetInterval(10);
  // A second timer of the same form shows how much time went by.
  TimerControl witness(*host);
  witness.OnTimer = [&] { ++other; };
  witness.SetInterval(10);
  EXPECT_TRUE(PumpUntil([&] { return other >= 5; }));
  EXPECT_EQ(ticks, 0);
  host->timer.SetEnabled(true);
  host->timer.SetInterval(0);
  other = 0;
  EXPECT_TRUE(PumpUntil([&] { return other >= 5; }));
  EXPECT_EQ(ticks, 0);
  host->timer.SetInterval(10);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 1; }));
}

TEST_F(TimerTest, TicksDuringTheHandlerAreDroppedNotNested) {
  int depth = 0, deepest = 0, ticks = 0;
  host->timer.OnTimer = [&] {
    ++depth;
    deepest = std::max(deepest, depth);
    if (depth > 1) {  // nested: record it, but do not nest further
      --depth;
      return;
    }
    DelayPasses(4000);  // pumps messages for 0.1 s, longer than the interval
    --depth;
    ++ticks;
  };
  host->timer.SetInterval(10);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_EQ(deepest, 1);
}

TEST_F(TimerTest, TimerSetBeforeLoadStartsWithTheForm) {
  HostForm other;
  int ticks = 0;
  other.timer.OnTimer = [&] { ++ticks; };
  other.timer.SetInterval(10);
  other.Load();
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 1; }));
  other.Unload();
}

}  // namespace
}  // namespace uitest
