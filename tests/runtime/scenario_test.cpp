// Whole runs on the virtual time line: every event, in order, at its time.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/runtime_error.h"
#include "runtime/runtime_test_support.h"

namespace rirerazo::runtime::testing {
namespace {

using Lines = std::vector<std::string>;

// One file under two ids: Host speaks, Guest waits for the speech, then waves until stopped.
// Times: Showing 300 ms; Host's speech begins after its 50 ms Talk lead-in; at 160 words per
// minute "Hello" and "there" take 375 ms each and "friend" 421 ms.
TEST(Scenario, TwoCharactersFromOneFileWaitAndStopAll) {
  Harness h;
  auto& host = h.Load("Host");
  auto& guest = h.Load("Guest");
  host.Show();                                                             // 1
  guest.Show();                                                            // 2
  auto speech = host.Speak("Hello there \\mrk=7\\ friend", std::nullopt);  // 3
  auto wait = guest.Wait(speech);                                          // 4
  auto wave = guest.Play("Wave");                                          // 5
  auto never = guest.Speak("never", std::nullopt);                         // 6
  h.RunUntil(1621);
  EXPECT_EQ(h.runtime.Status(wave), platform::RequestStatus::kInProgress);
  EXPECT_EQ(h.runtime.Status(never), platform::RequestStatus::kPending);
  guest.StopAll();
  EXPECT_EQ(h.runtime.Status(wave), platform::RequestStatus::kInterrupted);
  h.RunAll();
  EXPECT_EQ(h.log.lines, (Lines{
                             "0 start 1",
                             "0 show Host program",
                             "0 start 2",
                             "0 show Guest program",
                             "300 complete 1 complete",
                             "300 start 3",
                             "300 complete 2 complete",
                             "300 start 4",
                             "350 balloon-show Host",
                             "1100 bookmark 7",
                             "1521 complete 3 complete",
                             "1521 complete 4 complete",
                             "1521 start 5",
                             "1621 complete 5 interrupted",
                             "1621 complete 6 interrupted",
                             "3021 balloon-hide Host",
                         }));
  EXPECT_EQ(h.runtime.Status(wait), platform::RequestStatus::kComplete);
  EXPECT_EQ(h.loads, 1);  // both ids share the file's data
  // The stopped wave wound back through its exit frames before Guest rested.
  EXPECT_EQ(h.Now(), 3021);
  EXPECT_EQ(h.runtime.Frame("guest").frame, 0);
}

TEST(Scenario, EventsWaitForTheYieldAndHandlersMayQueueMore) {
  struct Chain : EventLog {
    using EventLog::EventLog;
    platform::AgentCharacter* character = nullptr;
    void OnRequestComplete(platform::AgentRequest request) override {
      EventLog::OnRequestComplete(request);
      if (lines.size() < 6) character->Play("Explain");
    }
  };
  Harness h;
  Chain chain(h.clock, h.runtime);
  h.runtime.SetEventListener(&chain);
  chain.character = &h.Load("Host");
  chain.character->Show();
  h.clock.Set(500);
  h.runtime.Advance(500);
  EXPECT_TRUE(chain.lines.empty());  // nothing is delivered until the player yields
  EXPECT_TRUE(h.runtime.HasUndeliveredEvents());
  h.RunAll();
  EXPECT_EQ(chain.lines, (Lines{"500 start 1", "500 show Host program",
                                "500 complete 1 complete",  // delivered late: stamped on delivery
                                "500 start 2", "700 complete 2 complete", "700 start 3",
                                "1000 complete 3 complete"}));
}

TEST(Scenario, RequestIdsAreUniqueAcrossCharactersAndStatusesStay) {
  Harness h;
  auto& a = h.Load("A");
  auto& b = h.Load("B");
  std::vector<std::int32_t> ids;
  for (int i = 0; i < 3; ++i) {
    ids.push_back(a.Show().id);
    ids.push_back(b.Think("hm").id);
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  h.RunAll();
  for (std::int32_t id : ids) {
    EXPECT_EQ(h.runtime.Status({id}), platform::RequestStatus::kComplete);
  }
  EXPECT_THROW(h.runtime.Status({0}), RuntimeError);
  EXPECT_THROW(h.runtime.Status({ids.back() + 1}), RuntimeError);
}

TEST(Scenario, UnloadEndsRequestsAndReleasesWaitsOnThem) {
  Harness h;
  auto& a = h.Load("A");
  auto& b = h.Load("B");
  auto play = a.Play("Loop");
  b.Wait(play);
  auto after = b.Show();
  h.RunUntil(1000);
  EXPECT_EQ(h.runtime.Status(after), platform::RequestStatus::kPending);
  h.runtime.Unload("a");
  h.RunAll();
  EXPECT_EQ(h.runtime.Status(play), platform::RequestStatus::kInterrupted);
  EXPECT_EQ(h.runtime.Status(after), platform::RequestStatus::kComplete);
  EXPECT_THROW(h.runtime.Character("A"), RuntimeError);
}

TEST(Scenario, IdlingStartsAfterAQuietSpellAndIsNotWork) {
  RuntimeOptions options;
  options.idle_after_ms = 10000;
  Harness h(options);
  auto& host = h.Load("Host");
  host.Show();
  EXPECT_EQ(h.RunAll(), 300);
  EXPECT_FALSE(h.runtime.HasPendingWork());
  h.RunUntil(10600);
  EXPECT_EQ(h.log.With("idle"), Lines{"10300 idle Host"});
  const CharacterData* data = h.runtime.Frame("Host").data;
  EXPECT_EQ(h.runtime.Frame("Host").animation, data->FindAnimation("Idle1"));
  // Idle1 (two 200 ms frames) is cut at once: it has no exit to play.
  auto wave = host.Play("Wave");
  h.RunAll();
  std::string id = std::to_string(wave.id);
  EXPECT_EQ(h.log.With("start " + id), Lines{"10600 start " + id});
  EXPECT_EQ(h.log.lines.back(), "11000 complete " + id + " complete");
}

}  // namespace
}  // namespace rirerazo::runtime::testing
