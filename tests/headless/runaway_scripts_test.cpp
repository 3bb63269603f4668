// Scripts that keep triggering themselves: the headless player always ends, with time
// moving where the script lets it, and with a status of its own where it does not.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "headless/headless_host.h"
#include "host/output_cap.h"
#include "support/scratch_folder.h"

namespace rirerazo::headless {
namespace {

const std::string kCharacters = std::string(RIRERAZO_SHARED_DIR) + "/characters";
// A character without a speaking animation: its bookmark-only speech has nothing to play.
const std::string kMute = kCharacters + "/Character2.acs";

struct PlayedRun {
  int status = -1;
  std::string trace;
  std::string errors;

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::size_t Count(const std::string& piece) const {
    std::size_t count = 0;
    for (std::size_t at = trace.find(piece); at != std::string::npos;
         at = trace.find(piece, at + 1)) {
      ++count;
    }
    return count;
  }
  // The virtual time of the last record.
  std::int64_t EndMs() const {
    const std::vector<std::string> lines = Lines();
    return lines.empty() ? -1 : std::stoll(lines.back().substr(5));
  }
};

PlayedRun Play(const std::string& path, std::int64_t min_request_ms = -1) {
  host::Options options;
  options.headless = true;
  options.trace_path = "-";
  options.command_line = path;
  if (min_request_ms >= 0) options.min_request_ms = min_request_ms;
  std::ostringstream out, err;
  PlayedRun run;
  run.status = RunHeadless(options, "rirerazo", out, err);
  run.trace = out.str();
  run.errors = err.str();
  return run;
}

class Runaway : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kMute)) GTEST_SKIP() << "no character files at " << kCharacters;
  }

  // A script file loading the mute character as `id`, with `sections` after [Characters].
  std::string Script(const std::string& id, const std::string& sections) {
    return folder_.Write("show.vrn", "[VORN Script]\r\nVersion=1\r\n[Characters]\r\n" + id + "=" +
                                         kMute + "\r\n" + sections);
  }

  testing::ScratchFolder folder_;
};

// Each bookmark runs two READTEXTFILE lines that fail and still queue the bookmark again.
const char* const kSelfFeeding =
    "[Script]\r\nREADTEXTFILE Host, 111111=\r\n"
    "[Bookmarks]\r\n777777777=\r\n"
    "[BookmarkScript:777777777]\r\nREADTEXTFILE Host, note.txt\r\nREADTEXTFILE Host, note.txt\r\n";

// One marker per 10 ms: the end-of-script request completes at 40 ms and the shutdown ends
// the run 5 s later, the loop going on meanwhile at one round per tick.
TEST_F(Runaway, SelfFeedingBookmarksLetTimePassAndTheScriptEnds) {
  const PlayedRun run = Play(Script("Hots", kSelfFeeding));
  EXPECT_EQ(run.status, host::kExitNormal);
  EXPECT_EQ(run.Count(R"("event":"Bookmark","id":111111111)"), 1u);
  EXPECT_GE(run.EndMs(), 5000);
  EXPECT_LT(run.EndMs(), 5100);
  EXPECT_LT(run.Count(R"("kind":"msgbox")"), 1100u);
}

// The same script on a runtime whose requests may end where they start: the work doubles at
// one instant until the loop's bound stops it.
TEST_F(Runaway, WorkThatNeverLetsTimeMoveIsStoppedWithItsOwnStatus) {
  const PlayedRun run = Play(Script("Hots", kSelfFeeding), 0);
  EXPECT_EQ(run.status, host::kExitRunaway);
  // The answered message boxes are printed there too.
  const std::string stopped =
      "rirerazo: the script kept triggering itself without letting time pass; the run was "
      "stopped.\n";
  EXPECT_NE(run.errors.find(stopped), std::string::npos);
  EXPECT_EQ(run.EndMs(), 0);
  const std::vector<std::string> lines = run.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), R"({"t":0,"kind":"exit","status":3})");
  EXPECT_LT(run.trace.size(), host::kOutputLimitBytes);
}

// A bookmark whose script speaks the bookmark again, with a minute's pause each time: time
// moves, and the one-day limit ends the run after 1440 rounds.
TEST_F(Runaway, ALoopThatLetsTimePassEndsAtTheOneDayLimit) {
  const PlayedRun run = Play(Script("Host",
                                    "[Bookmarks]\r\n5=\r\n[BookmarkScript:5]\r\n"
                                    "Host.Speak \\Pau=60000\\\\mrk=5\\\r\n"
                                    "[Commands]\r\nStay=Stay\r\n"
                                    "[Script]\r\nHost.Speak \\mrk=5\\\r\n"));
  EXPECT_EQ(run.status, host::kExitNormal);
  EXPECT_NE(run.errors.find("did not end within one virtual day"), std::string::npos);
  EXPECT_GT(run.EndMs(), 86'400'000 - 60'010);
  EXPECT_LE(run.EndMs(), 86'400'000);
  EXPECT_GE(run.Count(R"("event":"Bookmark")"), 1400u);
}

// Every script of the fuzz regressions ends, normally or stopped, with a bounded trace that
// closes with the exit record. Their characters come from the shared character folder.
TEST_F(Runaway, FuzzRegressionsEndWithABoundedTrace) {
  setenv("RIRERAZO_CHARACTERS", kCharacters.c_str(), 1);
  const std::filesystem::path folder =
      std::filesystem::path(RIRERAZO_SOURCE_DIR) / "fuzz/regressions/headless_player";
  int played = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().string());
    const PlayedRun run = Play(entry.path().string());
    EXPECT_TRUE(run.status == host::kExitNormal || run.status == host::kExitRunaway) << run.status;
    EXPECT_LE(run.trace.size(), host::kOutputLimitBytes);
    const std::vector<std::string> lines = run.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find(R"("kind":"exit")"), std::string::npos);
    ++played;
  }
  unsetenv("RIRERAZO_CHARACTERS");
  EXPECT_GE(played, 1);
}

}  // namespace
}  // namespace rirerazo::headless
