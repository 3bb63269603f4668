// Plays the example scripts in the headless host and checks what their traces show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "headless/headless_host.h"

namespace rirerazo::headless {
namespace {

const std::string kExamples = std::string(RIRERAZO_SOURCE_DIR) + "/examples/";

struct PlayedRun {
  int status = -1;
  std::vector<std::string> lines;  // the trace, one JSON object per line
  std::string errors;

  // Index of the first line at or after `from` holding every piece; -1 when none does.
  int Find(const std::vector<std::string>& pieces, int from = 0) const {
    for (int i = from; i < static_cast<int>(lines.size()); ++i) {
      bool all = true;
      for (const auto& piece : pieces) all = all && lines[i].find(piece) != std::string::npos;
      if (all) return i;
    }
    return -1;
  }
};

class Examples : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string demo = std::string(RIRERAZO_BINARY_DIR) + "/src/Rira.acs";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "the demo character is not built: " << demo;
    setenv("RIRERAZO_CHARACTERS", (std::string(RIRERAZO_BINARY_DIR) + "/src").c_str(), 1);
  }

  static PlayedRun Play(const std::string& script, const std::string& input = "") {
    host::Options options;
    options.headless = true;
    options.trace_path = "-";
    options.start_time = "2026-12-07T15:05:00";
    options.command_line = kExamples + script;
    if (!input.empty()) options.input_path = kExamples + input;
    std::ostringstream out, err;
    PlayedRun run;
    run.status = RunHeadless(options, "rirerazo", out, err);
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
    run.errors = err.str();
    return run;
  }
};

TEST_F(Examples, WelcomeSpeaksTheDateAndEndsNormally) {
  const PlayedRun run = Play("welcome.vrn");
  EXPECT_EQ(run.status, host::kExitNormal);
  EXPECT_GE(run.Find({R"("op":"MoveTo")", R"("x":448,"y":320)", R"("speed":0)"}), 0);
  EXPECT_GE(run.Find({R"("op":"Speak")", "Good Afternoon! Today is Monday, December 7th, 2026."}),
            0);
  const int bye = run.Find({R"("op":"Speak")", "Goodbye!"});
  const int hide = run.Find({R"("op":"Hide")"}, bye);
  const int marker = run.Find({R"("op":"Speak")", R"(\\mrk=111111111\\)"}, hide);
  EXPECT_TRUE(bye >= 0 && hide > bye && marker > hide) << bye << " " << hide << " " << marker;
  EXPECT_GE(run.Find({R"("kind":"exit")", R"("status":0)"}), 0);
}

TEST_F(Examples, SecondCharacterWaitsForTheFirstOnesSpeech) {
  const PlayedRun run = Play("two-characters.vrn");
  EXPECT_EQ(run.status, host::kExitNormal);
  // The guest's path from another machine fails; the bare file name is found.
  EXPECT_GE(run.Find({R"("op":"Load")", R"("char":"Guest")"}), 0);
  const int speak = run.Find({R"("op":"Speak")", R"("char":"Host")", "Please wait"});
  ASSERT_GE(speak, 0);
  const std::string host_request =
      run.lines[speak].substr(run.lines[speak].find(R"("request":)") + 10);
  const std::string id = host_request.substr(0, host_request.find_first_of(",}"));
  const int wait = run.Find({R"("op":"Wait")", R"("char":"Guest")", R"("for":)" + id}, speak);
  const int done = run.Find({R"("event":"RequestComplete")", R"("request":)" + id + ","}, wait);
  const int guest_starts = run.Find({R"("event":"RequestStart")"}, done);
  EXPECT_TRUE(wait > speak && done > wait && guest_starts > done)
      << wait << " " << done << " " << guest_starts;
}

TEST_F(Examples, ScreenWordsAndCharacterReferencesBecomeCoordinates) {
  const PlayedRun run = Play("positions.vrn");
  EXPECT_GE(run.Find({R"("op":"MoveTo")", R"("x":0,"y":0)"}), 0);
  EXPECT_GE(run.Find({R"("op":"MoveTo")", R"("x":448,"y":320)"}), 0);
  // Host.Left + Host.Width at the moment the line runs: the first move was immediate.
  EXPECT_GE(run.Find({R"("op":"MoveTo")", R"("x":128,"y":-50,"speed":500)"}), 0);
  EXPECT_GE(run.Find({R"("op":"MoveTo")", R"("x":448,"y":620)"}), 0);
}

TEST_F(Examples, DateAndTimePhrasesMeltIntoTheText) {
  const PlayedRun run = Play("date-and-time.vrn");
  EXPECT_GE(run.Find({"Good Afternoon!"}), 0);
  EXPECT_GE(run.Find({"Today is Monday."}), 0);
  EXPECT_GE(run.Find({"The date is December 7th, 2026, and it is 3:05 PM."}), 0);
}

TEST_F(Examples, BookmarksRunTheirScriptsWhileTheHostSpeaks) {
  const PlayedRun run = Play("bookmarks.vrn");
  const int mark1 = run.Find({R"("event":"Bookmark")", R"("id":1})"});
  const int surprised = run.Find({R"("op":"Play")", R"("char":"Guest")", "Surprised"}, mark1);
  const int mark2 = run.Find({R"("event":"Bookmark")", R"("id":2})"}, surprised);
  const int congratulate = run.Find({R"("op":"Play")", "Congratulate"}, mark2);
  EXPECT_TRUE(mark1 >= 0 && surprised > mark1 && mark2 > surprised && congratulate > mark2)
      << mark1 << " " << surprised << " " << mark2 << " " << congratulate;
}

TEST_F(Examples, CommandsAreOfferedToEveryCharacter) {
  const PlayedRun run = Play("commands.vrn", "commands.input");
  EXPECT_GE(run.Find({R"("op":"Commands.Caption")", "Rira's tricks"}), 0);
  EXPECT_GE(run.Find({R"("op":"Commands.Add")", R"("name":"Wave")", R"("caption":"Wave at me")",
                      R"("voice":"wave")"}),
            0);
  EXPECT_GE(run.Find({R"("op":"Commands.Add")", R"("name":"VORNClose")", R"("caption":"Close")"}),
            0);
  EXPECT_GE(run.Find({R"("event":"Command")", R"("name":"Wave")"}), 0);
}

TEST_F(Examples, NoScriptMeansExitStatusOne) {
  const PlayedRun run = Play("no-such-script.vrn");
  EXPECT_EQ(run.status, host::kExitNoScript);
  EXPECT_EQ(run.Find({R"("kind":"msgbox")"}), -1);
}

}  // namespace
}  // namespace rirerazo::headless
