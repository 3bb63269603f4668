#include "core/interp/play_script.h"

#include <gtest/gtest.h>

#include "core/agent/agent_events.h"
#include "support/player_fixture.h"

namespace rirerazo {
namespace {

using platform::MsgAnswer;
using testing::Log;
using Interpreter = testing::PlayerTest;

const std::string kHostEnd = "Host.Speak(\\mrk=111111111\\)";
const std::string kGuestEnd = "Guest.Speak(\\mrk=111111111\\)";

TEST_F(Interpreter, NothingWithoutACurrentCharacterOrText) {
  testing::FakePlatform empty;
  Player fresh(empty.bundle);
  PlayScript(fresh, "Host.Speak Hi\r\n", ScriptLevel::kTopLevel);
  EXPECT_TRUE(empty.log.empty());
  for (const char* blank : {"", "\r\n\r\n", "   ", "  \r\n\r\n  "}) {
    EXPECT_TRUE(Play(blank, true).empty()) << '"' << blank << '"';
  }
  EXPECT_EQ(fakes_.loop.yields, 0);
}

TEST_F(Interpreter, BlankLinesStillQueueTheEndMarker) {
  EXPECT_EQ(Play("\r\n  \r\n", true), (Log{kHostEnd}));
  // One yield per line, empty ones included; the CR LF appended to the text ends one more.
  EXPECT_EQ(fakes_.loop.yields, 3);
  EXPECT_EQ(player_.run().end_request.id, fakes_.agent.next_request_id - 1);
}

TEST_F(Interpreter, LinesAndCharacterPrefixes) {
  EXPECT_EQ(Play("Guest.Speak \"Hello\"\r\nhost.SPEAK Hello\nthere\r\n"
                 "Host .Speak ignored\r\nNobody.Speak hi\r\nHost.Think Hmm\r\nGuest.Blink",
                 true),
            (Log{"Guest.Speak(Hello)", "Host.Speak(Hello\nthere)", "Host.Think(Hmm)",
                 kGuestEnd}));  // Guest.Blink did nothing but selected Guest
}

TEST_F(Interpreter, NestedScriptsQueueNoEndMarker) {
  player_.slide_show().auto_advance = 1;
  EXPECT_EQ(Play("Host.Show"), (Log{"Host.Show()", "Host.Speak(\\mrk=333333333\\)"}));
  EXPECT_EQ(Play("Host.Show", true),
            (Log{"Host.Show()", "Host.Speak(\\mrk=333333333\\)", kHostEnd}));
}

TEST_F(Interpreter, SpeechArgumentsAreCutAfterTheKeyword) {
  EXPECT_EQ(Play("Host.Speak Hello\r\nHost.Speak\r\nHost.Speak \"\"\"Quoted\"\" word\"\r\n"
                 "Host.Speak Please say Host.Hide now\r\nHost.Speak VORN is here"),
            (Log{"Host.Speak(Hello)", "Host.Speak()", "Host.Speak(Quoted\" word)", "Host.Hide()",
                 "Host.Speak(\\Map=\"Vorn\"=\"VORN\"\\ is here)"}));
  // The cut is at the id's length plus the keyword's, wherever the keyword was found.
  EXPECT_EQ(Play("Host.Play \"Wave\"\r\nHost.Show Host.Play x"),
            (Log{"Host.Play(Wave)", "Host.Show()"}));
}

TEST_F(Interpreter, Coordinates) {
  Host().left = 30;
  EXPECT_EQ(Play("Host.MoveTo 100\r\nHost.MoveTo 100, 200\r\nHost.MoveTo 100, 200, 0, 9\r\n"
                 "Host.MoveTo 10.5, 11.5\r\nHost.MoveTo Host.Left + 50, (2+3)*2\r\n"
                 "Host.MoveTo HostCenterX, HostBottomY - 20\r\n"
                 "Host.GestureAt 10, 20, 30\r\nHost.GestureAt 5"),
            (Log{"Host.MoveTo(100, 200)", "Host.MoveTo(100, 200, 0)", "Host.MoveTo(10, 12)",
                 "Host.MoveTo(80, 10)", "Host.MoveTo(448, 620)", "Host.GestureAt(10, 0)"}));
}

TEST_F(Interpreter, SettingsTakeTheTextAfterTheEqualsSign) {
  EXPECT_EQ(Play("Host.Balloon.FontName = \"Comic Sans\"\r\nHost.Balloon.FontSize = \"12\"\r\n"
                 "Host.Balloon.Style=3\r\nHost.TTSModeID = {CA141FD0}\r\nHost.Width 200\r\n"
                 "Host.Height = 100.5\r\nHost.Listen True\r\nHost.Listen"),
            (Log{"Host.FontName(Comic Sans)", "Host.FontSize(12)", "Host.Style(3)",
                 "Host.TTSModeID({CA141FD0})", "Host.Width(0)", "Host.Height(100)",
                 "Host.Listen(true)"}));
}

TEST_F(Interpreter, SetReqMakesTheOthersWait) {
  EXPECT_EQ(Play("WAITFORREQ\r\nSETREQ = Host.Speak(\"Welcome\")\r\nwait for req\r\n"
                 "Guest.Speak Thank you"),
            (Log{"Host.Speak(Welcome)", "Guest.Wait(#1)", "Guest.Speak(Thank you)"}));
}

TEST_F(Interpreter, SetReqOfAStatementWithoutRequestSavesTheLastOne) {
  Play("Host.Show");
  const platform::AgentRequest shown = player_.run().last_request;
  EXPECT_EQ(Play("SETREQ=Host.Balloon.Style=1\r\nWAITFORREQ"),
            (Log{"Host.Style(1)", "Guest.Wait(#" + std::to_string(shown.id) + ")"}));
}

TEST_F(Interpreter, ErrorBoxAbortRetryIgnore) {
  const std::string overflow = "Host.MoveTo 3000000000, 1\r\nHost.Show";
  fakes_.ui.answers = {MsgAnswer::kIgnore};
  EXPECT_EQ(Play(overflow, true), (Log{"MessageBox(Play Script Error\r\n\r\nError Number:6 : "
                                       "Overflow)",
                                       "Host.Show()", kHostEnd}));
  EXPECT_EQ(fakes_.ui.boxes.back().style,
            platform::mb::kAbortRetryIgnore | platform::mb::kExclamation);
  fakes_.ui.answers = {MsgAnswer::kRetry, MsgAnswer::kAbort};
  const Log aborted = Play(overflow, true);
  EXPECT_EQ(aborted.size(), 2u);     // two boxes, nothing else: no end marker
  EXPECT_EQ(fakes_.loop.yields, 2);  // only the lines of the first run
}

TEST_F(Interpreter, EventsDuringTheYieldRunNestedScripts) {
  // Requests are numbered from 1 in the order they are queued.
  player_.tables().bookmarks = {{7, "Guest.Speak Nested\r\nSETREQ=Guest.Show\r\nWAITFORREQ"}};
  fakes_.loop.on_yield = {[this] { AgentControl_Bookmark(player_, 7); }};
  EXPECT_EQ(Play("SETREQ=Host.Speak Outer\r\nWAITFORREQ\r\nHost.Think Done", true),
            (Log{"Host.Speak(Outer)",                    // #1, saved by the outer run
                 "Guest.Speak(Nested)", "Guest.Show()",  // #3, saved by the nested run
                 "Host.Wait(#3)",
                 // The outer run keeps its own saved request; Guest stayed current.
                 "Host.Wait(#1)", "Host.Think(Done)", kHostEnd}));
}

TEST_F(Interpreter, EndlessChainsOfEventScriptsStopAtADepthLimit) {
  player_.tables().bookmarks = {{7, "Host.Show"}};
  fakes_.loop.every_yield = [this] { AgentControl_Bookmark(player_, 7); };
  fakes_.ui.answers = {MsgAnswer::kAbort};
  Play("Host.Show");
  ASSERT_EQ(fakes_.ui.boxes.size(), 1u);
  EXPECT_EQ(fakes_.ui.boxes[0].text,
            "Play Script Error\r\n\r\nError Number:28 : Out of stack space");
  EXPECT_EQ(player_.run().play_script_depth, 0);
  fakes_.loop.every_yield = nullptr;
  EXPECT_EQ(Play("Host.Hide"), (Log{"Host.Hide()"}));
}

TEST_F(Interpreter, HostileTextPlaysWithoutHarm) {
  const std::string nul(1, '\0');
  const std::string long_text(1024 * 1024, 'a');
  // A NUL is an ordinary byte of a line; the evaluator skips it like a blank.
  EXPECT_EQ(Play("Host.Speak a" + nul + "b\r\nHost.MoveTo 1" + nul + ", 2"),
            (Log{"Host.Speak(a" + nul + "b)", "Host.MoveTo(1, 2)"}));
  // A megabyte of speech is passed on whole; a megabyte expression counts as 0.
  EXPECT_EQ(Play("Host.Speak " + long_text).size(), 1u);
  EXPECT_EQ(Play("Host.MoveTo " + long_text + ", 1"), (Log{"Host.MoveTo(0, 1)"}));
  EXPECT_TRUE(fakes_.ui.boxes.empty());
}

TEST_F(Interpreter, UnloadingTheMainFormStopsTheScript) {
  player_.startup().program_name = "rirerazo";
  EXPECT_EQ(Play("Host.Show\r\nvorn.close\r\nHost.Hide", true),
            (Log{"Host.Show()", "Tray.Remove"}));
  EXPECT_TRUE(player_.Unloaded());
  EXPECT_TRUE(fakes_.loop.quit);
  EXPECT_TRUE(Play("Host.Show", true).empty());
}

}  // namespace
}  // namespace rirerazo
