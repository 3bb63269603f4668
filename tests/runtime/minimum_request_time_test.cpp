// Every request takes at least one tick of the frame clock, so work that queues more work
// moves time on instead of multiplying at one instant.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/runtime_test_support.h"

namespace rirerazo::runtime::testing {
namespace {

using Lines = std::vector<std::string>;

// Queues two bookmark-only speeches on the character for every bookmark it hears, as a
// bookmark script with two marker lines does; the first `limit` bookmarks only.
class SelfFeeding : public EventLog {
 public:
  SelfFeeding(Harness& h, platform::AgentCharacter& character, int limit)
      : EventLog(h.clock, h.runtime), character_(character), limit_(limit) {}
  void OnBookmark(std::int32_t id) override {
    EventLog::OnBookmark(id);
    if (++heard > limit_) return;
    character_.Speak(std::string("\\mrk=7\\"), std::nullopt);
    character_.Speak(std::string("\\mrk=7\\"), std::nullopt);
  }
  int heard = 0;

 private:
  platform::AgentCharacter& character_;
  int limit_;
};

TEST(MinimumRequestTime, RequestsWithNothingToPlayOrSayTakeOneTick) {
  Harness h;
  auto& c = h.Load("C");
  auto mark = c.Speak(std::string("\\mrk=7\\"), std::nullopt);  // hidden: speech only
  auto wait = c.Wait(mark);                                     // already over when it starts
  auto hide = c.Hide();                                         // already hidden
  auto missing = c.Speak(std::nullopt, (h.folder / "nope.wav").string());
  h.RunAll();
  EXPECT_EQ(h.log.lines, (Lines{"0 start 1", "0 bookmark 7", "10 complete 1 complete", "10 start 2",
                                "20 complete 2 complete", "20 start 3", "30 complete 3 complete",
                                "30 start 4", "40 complete 4 failed"}));
  EXPECT_EQ(kMinRequestMs, 10);
  (void)wait, (void)hide, (void)missing;
}

TEST(MinimumRequestTime, ACharacterWithoutTheStateAnimationStillTakesATick) {
  Harness h;
  auto file = MakeDemoCharacter();
  std::erase_if(file->info.states, [](const acs::State& s) { return s.name == "SPEAKING"; });
  h.AddFile("Mute.acs", file);
  auto& c = h.Load("C", "Mute.acs");
  c.Show();
  c.Speak(std::string("\\mrk=7\\"), std::nullopt);
  h.RunAll();
  EXPECT_EQ(h.log.With("complete 2"), Lines{"310 complete 2 complete"});
  EXPECT_EQ(h.log.With("bookmark"), Lines{"300 bookmark 7"});
}

TEST(MinimumRequestTime, LongerRequestsAndStopsAreNotChanged) {
  Harness h;
  auto& c = h.Load("C");
  auto show = c.Show();
  auto wave = c.Play("Wave");
  h.RunUntil(350);
  c.Stop(wave);
  h.RunUntil(350);
  EXPECT_EQ(h.log.With("complete"),
            (Lines{"300 complete 1 complete", "350 complete 2 interrupted"}));
  (void)show;
}

// Each bookmark queues two more: with the tick the queue grows but the character hears one
// bookmark per tick; without it every bookmark of the growing tree comes at time 0.
TEST(MinimumRequestTime, SelfFeedingBookmarksMoveTimeOn) {
  for (std::int64_t min_ms : {kMinRequestMs, std::int64_t{0}}) {
    RuntimeOptions options = Harness::QuietOptions();
    options.min_request_ms = min_ms;
    Harness h(options);
    auto& c = h.Load("C");
    SelfFeeding feeder(h, c, 200);
    h.runtime.SetEventListener(&feeder);
    c.Speak(std::string("\\mrk=7\\"), std::nullopt);
    h.RunUntil(500);
    if (min_ms > 0) {
      EXPECT_EQ(feeder.heard, 51);  // one per tick, at 0, 10, ..., 500
      EXPECT_EQ(feeder.With("bookmark").back(), "500 bookmark 7");
    } else {
      EXPECT_GT(feeder.heard, 200);
      EXPECT_EQ(feeder.With("bookmark").back(), "0 bookmark 7");
    }
  }
}

}  // namespace
}  // namespace rirerazo::runtime::testing
