// The headless loop: what DoEvents and Sleep serve, the timer, and why a run stops.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "headless/event_loop.h"
#include "host/repeating_timer.h"

namespace rirerazo::headless {
namespace {

// A source with work at given times; each Serve records the time it served at.
class Script : public host::EventSource {
 public:
  explicit Script(std::vector<std::int64_t> due) : due_(std::move(due)) {}
  std::optional<std::int64_t> NextDueMs() const override {
    if (next_ >= due_.size()) return std::nullopt;
    return due_[next_];
  }
  bool Serve(std::int64_t now_ms) override {
    bool served = false;
    while (next_ < due_.size() && due_[next_] <= now_ms) {
      served_at.push_back(now_ms);
      ++next_;
      served = true;
      if (on_serve) on_serve();
    }
    return served;
  }
  bool HasPendingWork() const override { return next_ < due_.size(); }
  bool AwaitsUserInput() const override { return awaits_user; }

  std::vector<std::int64_t> served_at;
  std::function<void()> on_serve;
  bool awaits_user = false;

 private:
  std::vector<std::int64_t> due_;
  std::size_t next_ = 0;
};

TEST(EventLoop, DoEventsServesWhatIsDueNowAndSleepServesNothing) {
  VirtualClock clock;
  EventLoop loop(clock);
  Script script({0, 100, 250});
  loop.AddSource(script);
  loop.DoEvents();
  EXPECT_EQ(script.served_at, (std::vector<std::int64_t>{0}));
  loop.Sleep(300);
  EXPECT_EQ(clock.NowMs(), 300);
  EXPECT_EQ(script.served_at.size(), 1u);
  loop.DoEvents();  // both late items, at the time the player yields
  EXPECT_EQ(script.served_at, (std::vector<std::int64_t>{0, 300, 300}));
}

TEST(EventLoop, RunJumpsToEachDueTimeUntilNothingIsPending) {
  VirtualClock clock;
  EventLoop loop(clock);
  Script script({10, 10, 5000});
  loop.AddSource(script);
  EXPECT_EQ(loop.RunUntilDone(), RunOutcome::kNothingPending);
  EXPECT_EQ(script.served_at, (std::vector<std::int64_t>{10, 10, 5000}));
  EXPECT_EQ(clock.NowMs(), 5000);
  script.awaits_user = true;
  EXPECT_EQ(loop.RunUntilDone(), RunOutcome::kAwaitingUser);
}

// The shutdown's two ticks: the first tick stops, the second quits.
TEST(EventLoop, TimerRepeatsUntilStoppedAndQuitEndsTheRun) {
  VirtualClock clock;
  EventLoop loop(clock);
  std::vector<std::int64_t> ticks;
  loop.StartTimer(5000, [&] {
    ticks.push_back(clock.NowMs());
    if (ticks.size() == 2) loop.Quit();
  });
  EXPECT_TRUE(loop.TimerEnabled());
  EXPECT_EQ(loop.RunUntilDone(), RunOutcome::kQuit);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{5000, 10000}));
  EXPECT_TRUE(loop.QuitRequested());
  loop.DoEvents();  // after quitting nothing is served
  EXPECT_EQ(ticks.size(), 2u);
}

TEST(EventLoop, ATickThatYieldsDoesNotTickAgainInside) {
  VirtualClock clock;
  EventLoop loop(clock);
  int depth = 0, max_depth = 0, ticks = 0;
  loop.StartTimer(100, [&] {
    ++ticks;
    max_depth = std::max(max_depth, ++depth);
    loop.Sleep(1000);  // falls behind by many intervals: one late tick, not ten
    loop.DoEvents();
    --depth;
    if (ticks == 3) loop.StopTimer();
  });
  EXPECT_EQ(loop.RunUntilDone(), RunOutcome::kNothingPending);
  EXPECT_EQ(max_depth, 1);
  EXPECT_EQ(clock.NowMs(), 3100);  // ticks at 100, 1100 and 2100
}

TEST(EventLoop, WorkThatNeverLetsTimeMoveHitsTheLimit) {
  VirtualClock clock;
  EventLoop loop(clock);
  struct Endless : host::EventSource {
    std::optional<std::int64_t> NextDueMs() const override { return 0; }
    bool Serve(std::int64_t) override { return true; }
    bool HasPendingWork() const override { return true; }
  } endless;
  loop.AddSource(endless);
  RunLimits limits;
  limits.max_rounds_per_instant = 10;
  // The events served inside the first yield already pass the bound: the run is stopped.
  EXPECT_EQ(loop.RunUntilDone(limits), RunOutcome::kStopped);
  EXPECT_EQ(loop.Stopped(), StopReason::kTimeStandsStill);
  EXPECT_EQ(clock.NowMs(), 0);
  Script far({limits.max_virtual_ms + 1});
  EventLoop far_loop(clock);
  far_loop.AddSource(far);
  EXPECT_EQ(far_loop.RunUntilDone(limits), RunOutcome::kLimitReached);
}

TEST(Pacer, WaitsForTheWallClockToCatchUp) {
  struct FakeSleeper : Sleeper {
    std::int64_t now = 1000;
    std::vector<std::int64_t> sleeps;
    std::int64_t NowMs() override { return now; }
    void SleepMs(std::int64_t ms) override {
      sleeps.push_back(ms);
      now += ms;
    }
  } sleeper;
  Pacer pacer(sleeper);
  VirtualClock clock;
  EventLoop loop(clock, &pacer);
  loop.Sleep(250);
  sleeper.now += 100;  // the player worked 100 ms of wall time
  loop.Sleep(250);
  EXPECT_EQ(sleeper.sleeps, (std::vector<std::int64_t>{250, 150}));
  sleeper.now += 1000;  // far behind: no sleeping to catch up
  loop.Sleep(10);
  EXPECT_EQ(sleeper.sleeps.size(), 2u);
}

}  // namespace
}  // namespace rirerazo::headless

namespace rirerazo::headless {
namespace {

// A tick that throws (a handler's error escaping) must not leave the timer stuck for ever.
TEST(RepeatingTimer, TicksOnceWhenLateAndRecoversFromAThrowingTick) {
  host::RepeatingTimer timer;
  int ticks = 0;
  timer.Start(0, 100, [&] {
    ++ticks;
    if (ticks == 2) throw std::runtime_error("handler failed");
  });
  EXPECT_FALSE(timer.Serve(99));
  EXPECT_TRUE(timer.Serve(350));  // late: one tick, the next an interval later
  EXPECT_EQ(timer.DueMs(), 450);
  EXPECT_THROW(timer.Serve(450), std::runtime_error);
  EXPECT_EQ(timer.DueMs(), 550);
  EXPECT_TRUE(timer.Serve(550));
  EXPECT_EQ(ticks, 3);
  timer.Stop();
  EXPECT_FALSE(timer.DueMs());
  EXPECT_FALSE(timer.Serve(10'000));
}

}  // namespace
}  // namespace rirerazo::headless
