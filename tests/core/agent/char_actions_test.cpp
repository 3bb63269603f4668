#include "core/agent/char_actions.h"

#include <gtest/gtest.h>

#include "support/player_fixture.h"

namespace rirerazo {
namespace {

using testing::Log;
using CharActions = testing::PlayerTest;

TEST_F(CharActions, SizesRoundHalfToEvenFromTheLeadingNumber) {
  CharWidth(player_, "120.5");
  CharWidth(player_, "121.5");
  CharHeight(player_, "64px");
  CharHeight(player_, "tall");
  CharWidth(player_, "40000");  // beyond 16 bits: skipped
  EXPECT_EQ(fakes_.log,
            (Log{"Host.Width(120)", "Host.Width(122)", "Host.Height(64)", "Host.Height(0)"}));
}

TEST_F(CharActions, BalloonConversions) {
  CharBalloonFontSize(player_, "12");
  CharBalloonFontSize(player_, "12pt");  // the whole text must be a number: skipped
  CharBalloonFontSize(player_, "&H10");
  CharBalloonStyle(player_, "2.5 bold");
  CharBalloonFontName(player_, " \"Arial\" ");
  EXPECT_EQ(fakes_.log, (Log{"Host.FontSize(12)", "Host.FontSize(16)", "Host.Style(2)",
                             "Host.FontName(Arial)"}));
}

TEST_F(CharActions, MoveToOmitsOnlySpeedMinusOne) {
  CharMoveTo(player_, 100, 200, -1);
  CharMoveTo(player_, 100, 200, 0);
  CharMoveTo(player_, 40000, 0, -1);  // x does not fit 16 bits: skipped
  EXPECT_EQ(fakes_.log, (Log{"Host.MoveTo(100, 200)", "Host.MoveTo(100, 200, 0)"}));
}

TEST_F(CharActions, FailedActionKeepsTheLastRequest) {
  CharSpeak(player_, "Hi", "");
  const platform::AgentRequest spoken = player_.run().last_request;
  Host().failing = {"Play"};
  CharPlay(player_, "NoSuchAnimation");
  EXPECT_EQ(player_.run().last_request, spoken);
  CharThink(player_, "Hmm");
  EXPECT_NE(player_.run().last_request, spoken);
}

TEST_F(CharActions, SpeakWithSoundFileOrWithout) {
  CharSpeak(player_, "Hello\", \"chime.wav", "");
  CharSpeak(player_, ",\"chime.wav\"", "");
  CharSpeak(player_, "Say \"hi\" twice", "");
  EXPECT_EQ(fakes_.log, (Log{"Host.Speak(Hello, chime.wav)", "Host.Speak(-, chime.wav)",
                             "Host.Speak(Say \"hi\" twice)"}));
}

TEST_F(CharActions, WaitForLeavesTheCurrentCharacterOut) {
  WaitFor(player_, platform::AgentRequest{42});
  WaitFor(player_, platform::AgentRequest{});  // no request saved: nobody waits
  EXPECT_EQ(fakes_.log, (Log{"Guest.Wait(#42)"}));
}

TEST_F(CharActions, LoopsGoOnAfterOneFailure) {
  fakes_.agent.Get("Guest").failing = {"StopAll"};
  CharStopAll(player_);
  EXPECT_EQ(fakes_.log, (Log{"Host.StopAll()"}));
}

}  // namespace
}  // namespace rirerazo
