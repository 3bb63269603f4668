// Bookmarks, the end of a script and chosen commands, on fake services.
#include <gtest/gtest.h>

#include "core/agent/agent_commands.h"
#include "core/agent/agent_events.h"
#include "core/agent/command_rules.h"
#include "support/player_fixture.h"

namespace rirerazo {
namespace {

using testing::Log;

platform::UserInput Input(std::string name, std::int32_t confidence, std::string alt1 = "",
                          std::int32_t alt1_confidence = 0, std::string alt2 = "") {
  platform::UserInput input;
  input.name = std::move(name);
  input.confidence = confidence;
  input.alt1_name = std::move(alt1);
  input.alt1_confidence = alt1_confidence;
  input.alt2_name = std::move(alt2);
  return input;
}

TEST(CommandRules, ConfidenceFloorAndGap) {
  using enum CommandVerdict;
  struct Row {
    platform::UserInput input;
    CommandVerdict verdict;
  };
  const Row rows[] = {
      {Input("Greet", -40), kIgnore},
      {Input("Greet", -39), kRunScript},
      {Input("Greet", 60, "Wave", 52), kIgnore},      // gap 8
      {Input("Greet", 62, "Wave", 52), kRunScript},   // gap exactly 10
      {Input("Greet", 60, "Greet", 59), kRunScript},  // the same command twice
      {Input("Greet", 60, "", 59), kRunScript},       // no alternative
      {Input("Greet", -30, "Wave", 25), kIgnore},     // magnitudes: |30| - |25|
      {Input("Greet", 60, "Wave", -65), kIgnore},
      // Only the second alternative differs: the first alternative's score still decides.
      {Input("Greet", 60, "Greet", 55, "Wave"), kIgnore},
      {Input("Greet", 60, "Greet", 40, "Wave"), kRunScript},
      {Input("Greet", 60, "", 55, "Greet"), kRunScript},
      // The close command only when certain; otherwise it is looked up like any name.
      {Input("VORNClose", 100), kClose},
      {Input("VORNClose", 99), kRunScript},
      {Input("vornclose", 100), kRunScript},
      {Input("VORNClose", 100, "Greet", 95), kIgnore},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(JudgeCommand(rows[i].input), rows[i].verdict) << "row " << i;
  }
}

TEST(CloseOnlyTest, OneCommandOrTheAliasWithACaption) {
  EXPECT_TRUE(OffersOnlyClose(1, std::nullopt));
  EXPECT_TRUE(OffersOnlyClose(2, "Close it"));
  EXPECT_FALSE(OffersOnlyClose(2, ""));
  EXPECT_FALSE(OffersOnlyClose(2, std::nullopt));
  EXPECT_FALSE(OffersOnlyClose(0, std::nullopt));
  EXPECT_FALSE(OffersOnlyClose(3, "Close it"));
}

class Events : public testing::PlayerTest {
 protected:
  void SetUp() override {
    player_.tables().commands = {{"Greet", "&Greet", "greet", "Host.Speak Hello"},
                                 {"greet", "Lower", "", "Host.Speak lower"},
                                 {"Greet", "Again", "", "Host.Speak second entry"}};
    player_.tables().bookmarks = {{111111111, "Host.Speak never"},
                                  {5, ""},
                                  {7, "Host.Speak seven"},
                                  {7, "Host.Speak later seven"}};
    fakes_.log.clear();
  }

  // Registers the commands of the table with every character, as loading does.
  void Register() {
    UpdateAgentCommandsAll(player_);
    fakes_.log.clear();
  }

  // Completes the end-of-script request of a top-level run.
  void EndTheScript() {
    player_.run().end_request = platform::AgentRequest{41};
    player_.OnRequestComplete(platform::AgentRequest{41});
  }
};

TEST_F(Events, CommandsRunTheFirstEntryOfThatExactName) {
  player_.OnCommand(Input("Greet", 80));
  player_.OnCommand(Input("greet", 80));
  player_.OnCommand(Input("Unknown", 100));
  EXPECT_EQ(fakes_.log, (Log{"Host.Speak(Hello)", "Host.Speak(lower)"}));
  EXPECT_GE(fakes_.loop.yields, 3);  // pending events run first
}

TEST_F(Events, OnlyACertainCloseStartsTheShutdown) {
  player_.OnCommand(Input("VORNClose", 99));
  EXPECT_FALSE(fakes_.loop.timer_enabled);
  player_.OnCommand(Input("VORNClose", 100));
  EXPECT_TRUE(fakes_.loop.timer_enabled);
  player_.OnCommand(Input("VORNClose", 100));
  EXPECT_TRUE(player_.Unloaded());
}

TEST_F(Events, EveryCharacterGetsTheCommandsThenClose) {
  player_.tables().commands.resize(1);
  player_.tables().menu_name = "";
  UpdateAgentCommands(player_.agent(), player_.tables(), "Host");
  EXPECT_EQ(fakes_.log, (Log{"Host.CommandsRemoveAll()", "Host.CommandsCaption(RIRERazo - Host)",
                             "Host.CommandsVoice(Host)", "Host.CommandsAdd(Greet, &Greet, greet)",
                             "Host.CommandsAdd(VORNClose, Close, )"}));
}

TEST_F(Events, BookmarksRunTheFirstEntryAndNeverTheEndMark) {
  player_.OnBookmark(111111111);
  player_.OnBookmark(5);  // empty script
  player_.OnBookmark(6);  // not in the table
  EXPECT_TRUE(fakes_.log.empty());
  player_.OnBookmark(7);
  EXPECT_EQ(fakes_.log, Log{"Host.Speak(seven)"});
}

TEST_F(Events, SlideAdvanceWithoutASlideShowYieldsOnceAndRunsItsEntry) {
  player_.slide_show().pause_s = 0;
  player_.tables().bookmarks.push_back({333333333, "Host.Speak advanced"});
  const int yields_before = fakes_.loop.yields;
  player_.OnBookmark(333333333);
  EXPECT_EQ(fakes_.log, Log{"Host.Speak(advanced)"});
  EXPECT_GE(fakes_.loop.yields, yields_before + 1);
  EXPECT_TRUE(fakes_.ui.boxes.empty());
}

TEST_F(Events, AScriptOfferingOnlyCloseEndsItself) {
  player_.tables().commands.clear();
  Register();
  EndTheScript();
  EXPECT_TRUE(player_.run().script_complete);
  EXPECT_TRUE(fakes_.loop.timer_enabled);
  EXPECT_EQ(player_.form().close_ticks, 1);
}

TEST_F(Events, AScriptWithCommandsStays) {
  Register();
  EndTheScript();
  EXPECT_TRUE(player_.run().script_complete);
  EXPECT_FALSE(fakes_.loop.timer_enabled);
  EXPECT_FALSE(player_.Unloaded());
}

TEST_F(Events, TheAliasCommandWithACaptionCountsAsCloseOnly) {
  player_.tables().commands = {{"ACO", "Also close", "", ""}};
  Register();
  EndTheScript();
  EXPECT_TRUE(fakes_.loop.timer_enabled);
}

TEST_F(Events, TheAliasCommandWithoutACaptionKeepsThePlayer) {
  player_.tables().commands = {{"ACO", "", "", ""}};
  Register();
  EndTheScript();
  EXPECT_FALSE(fakes_.loop.timer_enabled);
}

TEST_F(Events, OnlyTheLatestEndRequestCounts) {
  player_.tables().commands.clear();
  Register();
  player_.run().end_request = platform::AgentRequest{41};
  player_.OnRequestComplete(platform::AgentRequest{40});
  player_.OnRequestComplete(platform::AgentRequest{0});
  EXPECT_FALSE(player_.run().script_complete);
  EXPECT_FALSE(fakes_.loop.timer_enabled);
}

TEST_F(Events, ExitWhenDoneUnloadsAtOnce) {
  player_.startup().exit_when_done = true;
  Register();
  EndTheScript();
  EXPECT_TRUE(player_.Unloaded());
  EXPECT_EQ(player_.form().close_ticks, 0);  // no two-step shutdown
}

TEST_F(Events, ARunningSlideShowGoesOn) {
  player_.tables().commands.clear();
  Register();
  player_.slide_show().busy = true;
  EndTheScript();
  EXPECT_TRUE(player_.run().script_complete);
  EXPECT_FALSE(fakes_.loop.timer_enabled);
}

TEST_F(Events, AnEmptyCharacterTableKeepsThePlayerQuietly) {
  player_.characters().loaded.clear();
  EndTheScript();
  EXPECT_TRUE(player_.run().script_complete);
  EXPECT_FALSE(fakes_.loop.timer_enabled);
  EXPECT_TRUE(fakes_.ui.boxes.empty());
}

}  // namespace
}  // namespace rirerazo
