// The two-step shutdown: its decision as a whole state x trigger matrix, then what the
// player does around it with the characters, the timer and the tray icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "core/app/shutdown.h"
#include "core/app/tray_menu.h"
#include "support/player_fixture.h"

namespace rirerazo {
namespace {

using testing::Log;

constexpr std::int16_t kMaxTicks = std::numeric_limits<std::int16_t>::max();

struct ShutdownRow {
  std::int16_t ticks;
  bool timer_enabled;
  ShutdownTrigger trigger;
  std::int16_t next_ticks;
  bool stop_characters;
  bool unload;
  bool enable_timer;
};

TEST(ShutdownDecision, WholeMatrix) {
  using enum ShutdownTrigger;
  const ShutdownRow rows[] = {
      // Running: any call stops the characters; only a start enables the timer.
      {0, false, kStart, 1, true, false, true},
      {0, true, kStart, 1, true, false, false},  // never restarts a running timer
      {0, false, kTimerTick, 1, true, false, false},
      {0, true, kTimerTick, 1, true, false, false},
      // Closing: the tick, or a second Close, unloads.
      {1, true, kTimerTick, 2, false, true, false},
      {1, true, kStart, 2, false, true, false},
      {1, false, kStart, 2, false, true, false},
      {1, false, kTimerTick, 2, false, true, false},
      // Already unloading: unload again (harmless), the count never overflows.
      {2, true, kTimerTick, 3, false, true, false},
      {kMaxTicks, true, kTimerTick, kMaxTicks, false, true, false},
      {kMaxTicks, false, kStart, kMaxTicks, false, true, false},
  };
  for (const ShutdownRow& row : rows) {
    const ShutdownDecision d = DecideShutdown(row.ticks, row.timer_enabled, row.trigger);
    SCOPED_TRACE(::testing::Message() << "ticks " << row.ticks << " timer " << row.timer_enabled
                                      << " start " << (row.trigger == kStart));
    EXPECT_EQ(d.close_ticks, row.next_ticks);
    EXPECT_EQ(d.stop_characters, row.stop_characters);
    EXPECT_EQ(d.unload, row.unload);
    EXPECT_EQ(d.enable_timer, row.enable_timer);
  }
}

TEST(ShutdownDecision, CharactersOtherProgramsUseAreLeftAsTheyFoundThem) {
  EXPECT_EQ(DecideCharacterAtShutdown(true, false), CharacterAtShutdown::kHide);
  EXPECT_EQ(DecideCharacterAtShutdown(true, true), CharacterAtShutdown::kLeave);
  EXPECT_EQ(DecideCharacterAtShutdown(false, true), CharacterAtShutdown::kShowAgain);
  EXPECT_EQ(DecideCharacterAtShutdown(false, false), CharacterAtShutdown::kLeave);
}

class Shutdown : public testing::PlayerTest {
 protected:
  bool Logged(const std::string& entry) const {
    return std::find(fakes_.log.begin(), fakes_.log.end(), entry) != fakes_.log.end();
  }
};

TEST_F(Shutdown, FirstCallStopsAndHidesThenTheTickUnloads) {
  Host().visible = true;
  mnuCloseScript_Click(player_);
  EXPECT_EQ(fakes_.log,
            (Log{"Guest.StopAll()", "Host.StopAll()", "Host.Hide()"}));  // Guest was hidden
  EXPECT_TRUE(fakes_.loop.timer_enabled);
  EXPECT_EQ(fakes_.loop.timer_interval_ms, 5000);
  EXPECT_FALSE(player_.Unloaded());

  fakes_.log.clear();
  fakes_.loop.tick();
  EXPECT_TRUE(player_.Unloaded());
  EXPECT_TRUE(fakes_.loop.quit);
  EXPECT_EQ(fakes_.log.front(), "Tray.Remove");
}

TEST_F(Shutdown, SecondCloseEndsAtOnce) {
  mnuCloseScript_Click(player_);
  mnuCloseScript_Click(player_);
  EXPECT_TRUE(player_.Unloaded());
  EXPECT_EQ(fakes_.loop.timer_starts, 1);
  EXPECT_FALSE(fakes_.loop.timer_enabled);  // the form's timer goes with it
}

TEST_F(Shutdown, SharedCharactersStayOrComeBack) {
  Host().visible = true;
  Host().other_clients = true;
  fakes_.agent.Get("Guest").other_clients = true;  // hidden by the script
  StartShutdown(player_);
  EXPECT_FALSE(Logged("Host.Hide()"));
  EXPECT_TRUE(Logged("Guest.Show()"));
}

TEST_F(Shutdown, AFailedHideIsReportedAndTheOthersStillStop) {
  fakes_.agent.Get("Guest").visible = true;
  fakes_.agent.Get("Guest").failing = {"Hide"};
  Host().visible = true;
  StartShutdown(player_);
  ASSERT_EQ(fakes_.ui.boxes.size(), 1u);
  EXPECT_NE(fakes_.ui.boxes[0].text.find("tmrShutDown_Timer"), std::string::npos);
  EXPECT_TRUE(Logged("Host.Hide()"));
  EXPECT_TRUE(fakes_.loop.timer_enabled);
}

TEST_F(Shutdown, UnloadingRemovesTheTrayIconFirstAndOnlyOnce) {
  InstallTrayIcon(player_);
  ASSERT_TRUE(fakes_.tray.installed);
  fakes_.log.clear();
  player_.UnloadMainForm();
  player_.UnloadMainForm();
  EXPECT_EQ(fakes_.log, Log{"Tray.Remove"});
  EXPECT_FALSE(fakes_.tray.installed);
}

}  // namespace
}  // namespace rirerazo
