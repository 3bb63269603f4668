// The headless loop stops a run that never lets time move, or whose own waiting passes the
// time limit, wherever the loop is entered from.
#include <gtest/gtest.h>

#include <vector>

#include "headless/event_loop.h"

namespace rirerazo::headless {
namespace {

// Always due now; every Serve enters the loop twice more, as a bookmark script with two
// marker lines does when its markers complete in zero time.
class Storm : public host::EventSource {
 public:
  explicit Storm(EventLoop& loop) : loop_(loop) {}
  std::optional<std::int64_t> NextDueMs() const override { return 0; }
  bool Serve(std::int64_t) override {
    ++served;
    loop_.DoEvents();
    loop_.DoEvents();
    return true;
  }
  bool HasPendingWork() const override { return true; }
  int served = 0;

 private:
  EventLoop& loop_;
};

RunLimits SmallLimits() {
  RunLimits limits;
  limits.max_events_per_instant = 1000;
  limits.max_virtual_ms = 10'000;
  return limits;
}

TEST(RunawayGuard, NestedServingWithoutTimeMovingIsStoppedOnce) {
  VirtualClock clock;
  EventLoop loop(clock, nullptr, SmallLimits());
  Storm storm(loop);
  loop.AddSource(storm);
  std::vector<StopReason> stops;
  loop.OnStop([&](StopReason reason) { stops.push_back(reason); });
  loop.DoEvents();  // as start-up's first yield: the storm runs inside it
  EXPECT_EQ(stops, std::vector<StopReason>{StopReason::kTimeStandsStill});
  EXPECT_EQ(storm.served, 1000);
  EXPECT_TRUE(loop.QuitRequested());
  EXPECT_EQ(loop.RunUntilDone(), RunOutcome::kStopped);
  EXPECT_EQ(storm.served, 1000);  // nothing more is served
  EXPECT_EQ(clock.NowMs(), 0);
}

// Scripts that play one another yield after every line but queue nothing: no event is
// served, yet time never moves.
TEST(RunawayGuard, YieldsWithoutTimeMovingAreBoundedToo) {
  VirtualClock clock;
  RunLimits limits = SmallLimits();
  limits.max_yields_per_instant = 5000;
  EventLoop loop(clock, nullptr, limits);
  int yields = 0;
  while (!loop.QuitRequested() && yields < 1'000'000) {
    loop.DoEvents();
    ++yields;
  }
  EXPECT_EQ(yields, 5001);
  EXPECT_EQ(loop.Stopped(), StopReason::kTimeStandsStill);
  VirtualClock other_clock;
  EventLoop moving(other_clock, nullptr, limits);
  for (int i = 0; i < 20'000; ++i) {
    moving.DoEvents();
    if (i % 1000 == 999) moving.Sleep(1);
  }
  EXPECT_EQ(moving.Stopped(), StopReason::kNone);
}

TEST(RunawayGuard, WorkSpreadOverTimeIsNotStopped) {
  VirtualClock clock;
  EventLoop loop(clock, nullptr, SmallLimits());
  struct Ticks : host::EventSource {
    std::int64_t next = 0;
    std::optional<std::int64_t> NextDueMs() const override {
      return next < 5000 ? std::optional<std::int64_t>(next) : std::nullopt;
    }
    bool Serve(std::int64_t now) override {
      ++served;
      if (served % 3 == 0) next = now + 1;  // three events per instant
      return true;
    }
    bool HasPendingWork() const override { return next < 5000; }
    int served = 0;
  } ticks;
  loop.AddSource(ticks);
  EXPECT_EQ(loop.RunUntilDone(), RunOutcome::kNothingPending);
  EXPECT_EQ(ticks.served, 15000);
  EXPECT_EQ(loop.Stopped(), StopReason::kNone);
}

// A wait inside the player's own call (a slide pause that sleeps in steps until the pause
// is over or the program ends) passes the time limit: no top-level loop runs to end it.
TEST(RunawayGuard, SleepingPastTheTimeLimitInsideAHandlerStops) {
  VirtualClock clock;
  EventLoop loop(clock, nullptr, SmallLimits());
  int steps = 0;
  loop.StartTimer(1000, [&] {
    while (!loop.QuitRequested() && steps < 1'000'000) {
      loop.DoEvents();
      loop.Sleep(100);
      ++steps;
    }
  });
  EXPECT_EQ(loop.RunUntilDone(), RunOutcome::kStopped);
  EXPECT_EQ(loop.Stopped(), StopReason::kPastTimeLimit);
  EXPECT_EQ(steps, 91);  // from 1000 ms in steps of 100 ms to just past 10,000 ms
  EXPECT_EQ(clock.NowMs(), 10'100);
}

TEST(RunawayGuard, TheTopLevelTimeLimitStillEndsNormally) {
  VirtualClock clock;
  EventLoop loop(clock, nullptr, SmallLimits());
  loop.StartTimer(3000, [] {});
  EXPECT_EQ(loop.RunUntilDone(), RunOutcome::kLimitReached);
  EXPECT_EQ(loop.Stopped(), StopReason::kNone);
  EXPECT_EQ(clock.NowMs(), 9000);
}

}  // namespace
}  // namespace rirerazo::headless
