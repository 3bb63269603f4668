// What each kind of request does and how long it takes; Stop, StopAll and Wait.
#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "runtime/runtime_test_support.h"

namespace rirerazo::runtime::testing {
namespace {

using Lines = std::vector<std::string>;
using platform::RequestStatus;

std::string Id(platform::AgentRequest request) {
  return std::to_string(request.id);
}

// Already in the state they would produce, they take the minimum tick (10 ms).
TEST(ShowHide, OneTickInTheStateTheyWouldProduce) {
  Harness h;
  auto& c = h.Load("C");
  auto hide_hidden = c.Hide();
  auto show = c.Show();
  auto show_again = c.Show();
  auto hide = c.Hide();
  h.RunAll();
  EXPECT_EQ(h.log.lines, (Lines{"0 start 1", "10 complete 1 complete",  // already hidden
                                "10 start 2", "10 show C program", "310 complete 2 complete",
                                "310 start 3", "320 complete 3 complete",  // already visible
                                "320 start 4", "520 hide C program", "520 complete 4 complete"}));
  EXPECT_FALSE(c.Visible());
  (void)hide_hidden, (void)show, (void)show_again, (void)hide;
}

TEST(Stop, PendingAndActiveRequestsEndInterruptedInQueueOrder) {
  Harness h;
  auto& c = h.Load("C");
  auto wave = c.Play("Wave");
  auto middle = c.Play("Explain");
  auto last = c.Think("later");
  h.RunUntil(150);
  c.Stop(middle);  // pending: ends at once, the rest carries on
  h.RunUntil(150);
  EXPECT_EQ(h.log.lines.back(), "150 complete " + Id(middle) + " interrupted");
  c.Stop(middle);  // already ended: nothing more
  c.StopAll();     // the wave in progress, then the thought
  h.RunUntil(150);
  EXPECT_EQ(h.log.With("interrupted"), (Lines{"150 complete " + Id(middle) + " interrupted",
                                              "150 complete " + Id(wave) + " interrupted",
                                              "150 complete " + Id(last) + " interrupted"}));
  EXPECT_EQ(h.runtime.Status(last), RequestStatus::kInterrupted);
}

TEST(Stop, RequestsOfOtherCharactersOrUnknownIdsAreErrors) {
  Harness h;
  auto& a = h.Load("A");
  auto& b = h.Load("B");
  auto request = a.Play("Wave");
  EXPECT_THROW(b.Stop(request), RuntimeError);
  EXPECT_THROW(b.Stop({12345}), RuntimeError);
  EXPECT_THROW(b.Wait({0}), RuntimeError);
  EXPECT_NE(h.runtime.Status(request), RequestStatus::kInterrupted);
}

// Loop loops 0 -> 1 -> 0 for ever; only something queued behind it (or a stop) ends it, at
// its loop point, through frame 1's exit to frame 2.
TEST(Play, LoopingAnimationHoldsUntilSomethingIsQueued) {
  Harness h;
  auto& c = h.Load("C");
  auto loop = c.Play("Loop");
  h.RunUntil(1050);
  EXPECT_EQ(h.runtime.Status(loop), RequestStatus::kInProgress);
  EXPECT_FALSE(h.runtime.HasPendingWork());  // only the user can end it now
  EXPECT_TRUE(h.runtime.AwaitsUserInput());
  auto next = c.Play("Wave");
  EXPECT_TRUE(h.runtime.HasPendingWork());
  h.RunAll();
  // 1050 lies in frame 0 (1000-1100); frame 1 ends at 1200, then the exit frame 2 (100 ms).
  EXPECT_EQ(h.log.With("complete " + Id(loop)), Lines{"1300 complete " + Id(loop) + " complete"});
  EXPECT_EQ(h.log.With("start " + Id(next)), Lines{"1300 start " + Id(next)});
}

TEST(Play, UnknownNamesAreErrorsAndNamesIgnoreCase) {
  Harness h;
  auto& c = h.Load("C");
  EXPECT_THROW(c.Play("NoSuchAnimation"), RuntimeError);
  EXPECT_NO_THROW(c.Play("wAvE"));
  std::vector<std::string> names = c.AnimationNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "ExplainReturn"), names.end());
}

// A waits for B, which waits for C: when C's wave ends, both waits pass at that instant.
TEST(Wait, ChainsReleaseTogether) {
  Harness h;
  auto& a = h.Load("A");
  auto& b = h.Load("B");
  auto& c = h.Load("C");
  auto wave = c.Play("Wave");
  auto b_wait = b.Wait(wave);
  auto b_think = b.Think("ok");
  auto a_wait = a.Wait(b_wait);
  h.RunUntil(5000);
  EXPECT_EQ(h.log.With("complete"), (Lines{"400 complete " + Id(wave) + " complete",
                                           "400 complete " + Id(b_wait) + " complete",
                                           "400 complete " + Id(a_wait) + " complete",
                                           "634 complete " + Id(b_think) + " complete"}));
}

TEST(Wait, OnAFinishedRequestPassesAfterOneTick) {
  Harness h;
  auto& a = h.Load("A");
  auto& b = h.Load("B");
  auto show = a.Show();
  h.RunAll();
  auto wait = b.Wait(show);
  h.RunAll();
  EXPECT_EQ(h.log.lines.back(), "310 complete " + Id(wait) + " complete");
}

// From (0,0) to (300,100): the target lies to the character's left (the screen's right).
TEST(MoveTo, LeadInThenSlideOverTheGivenTime) {
  Harness h;
  auto& c = h.Load("C");
  c.Show();
  h.RunAll();                                    // 300
  auto move = c.MoveTo(300, 100, std::nullopt);  // default 1000 ms
  h.RunUntil(300);
  EXPECT_EQ(h.runtime.Frame("C").animation, h.runtime.Frame("C").data->FindAnimation("MoveLeft"));
  h.RunUntil(500 + 500);  // 200 ms lead-in, then halfway
  EXPECT_EQ(c.Left(), 150);
  EXPECT_EQ(c.Top(), 50);
  h.RunAll();
  EXPECT_EQ(h.log.lines.back(), "1500 complete " + Id(move) + " complete");
  EXPECT_EQ(c.Left(), 300);
  c.MoveTo(-10, -20, 0);  // jumps, and ends one tick later
  h.RunAll();
  EXPECT_EQ(h.Now(), 1510);
  EXPECT_EQ(c.Left(), -10);
}

TEST(MoveTo, HiddenMovesWithoutAnimationAndAStopLeavesItWhereItGot) {
  Harness h;
  auto& c = h.Load("C");
  auto move = c.MoveTo(1000, 0, 2000);
  h.RunUntil(500);
  EXPECT_EQ(c.Left(), 250);
  EXPECT_EQ(h.runtime.Frame("C").animation, -1);
  c.Stop(move);
  h.RunAll();
  EXPECT_EQ(c.Left(), 250);
  EXPECT_THROW(c.MoveTo(0, 0, -1), RuntimeError);
}

// The gesture is chosen from the character's centre (50, 60), in the character's own
// directions: a point on the screen's left is on its right.
TEST(GestureAt, DirectionSeenFromTheCentre) {
  struct Case {
    std::int16_t x, y;
    const char* animation;
  };
  for (Case test : {Case{0, 60, "GestureRight"}, Case{200, 70, "GestureLeft"},
                    Case{50, 0, "GestureUp"}, Case{40, 500, "GestureDown"}}) {
    Harness h;
    auto& c = h.Load("C");
    c.GestureAt(test.x, test.y);
    h.RunUntil(0);
    const FrameState frame = h.runtime.Frame("C");
    EXPECT_EQ(frame.animation, frame.data->FindAnimation(test.animation)) << test.animation;
  }
}

TEST(Properties, SizesNamesAndLanguages) {
  Harness h;
  auto& c = h.Load("C");
  EXPECT_EQ(c.Name(), "Demo");
  EXPECT_EQ(c.Width(), 100);
  c.SetWidth(200);
  c.SetHeight(0);
  EXPECT_EQ(c.Width(), 200);
  EXPECT_EQ(c.Height(), 0);
  EXPECT_THROW(c.SetWidth(-1), RuntimeError);
  EXPECT_THROW(c.SetHeight(-32768), RuntimeError);
  EXPECT_EQ(c.Width(), 200);
  EXPECT_EQ(c.LanguageID(), 0x409);
  c.SetLanguageID(0x40C);
  EXPECT_EQ(c.LanguageID(), 0x40C);
  EXPECT_THROW(c.SetLanguageID(0x419), RuntimeError);  // no Russian voice
  EXPECT_EQ(c.LanguageID(), 0x40C);
  EXPECT_FALSE(c.HasOtherClients());
  h.runtime.ShowPropertySheet();
  EXPECT_EQ(h.runtime.PropertySheetShows(), 1);
}

}  // namespace
}  // namespace rirerazo::runtime::testing
