// The runtime on real character files from the shared folder (skipped when it is absent).
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/runtime_error.h"
#include "runtime/runtime_test_support.h"

namespace rirerazo::runtime::testing {
namespace {

using Lines = std::vector<std::string>;

const std::string kFolder = std::string(RIRERAZO_SHARED_DIR) + "/characters";

class RealCharacter : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kFolder + "/Merlin.acs")) {
      GTEST_SKIP() << "no real characters in " << kFolder;
    }
    h.runtime.SetFileLoader([](const std::string& path) {
      return std::make_shared<const acs::Character>(acs::ReadCharacterFile(path));
    });
    h.runtime.SetCharacterFolders({h.folder.string(), kFolder});
  }
  // The time an animation takes when it runs straight through (no branches taken).
  std::int64_t StraightMs(const std::string& name) {
    const CharacterData& data = *h.runtime.Frame("Host").data;
    std::int64_t total = 0;
    for (const FrameTiming& frame : data.animations[std::size_t(data.FindAnimation(name))].frames) {
      total += frame.duration_ms;
    }
    return total;
  }
  Harness h;
};

// Merlin twice: Host speaks, Guest waits for it, then plays until StopAll ends its queue.
TEST_F(RealCharacter, SameFileUnderTwoIdsSpeakWaitAndStopAll) {
  auto& host = h.Load("Host", "merlin.ACS");  // letter case of the file name does not matter
  auto& guest = h.Load("Guest", "Merlin.acs");
  EXPECT_EQ(host.Name(), "Merlin");
  auto host_show = host.Show();
  auto guest_show = guest.Show();
  auto speech = host.Speak("Hello, I am Merlin. \\mrk=42\\ Watch my friend.", std::nullopt);
  auto wait = guest.Wait(speech);
  auto play = guest.Play("Processing");  // loops until stopped
  auto after = guest.Speak("I never get to say this.", std::nullopt);
  std::int64_t shown_at = StraightMs("Show");
  h.RunAll();
  // Host's show, then its speech; Guest's wait ends with the speech, at the same time.
  auto lines = h.log.lines;
  auto at = [&](const std::string& suffix) -> std::int64_t {
    for (const std::string& line : lines) {
      if (line.size() > suffix.size() && line.ends_with(" " + suffix)) return std::stoll(line);
    }
    ADD_FAILURE() << "no event " << suffix;
    return -1;
  };
  auto id = [](platform::AgentRequest r) { return std::to_string(r.id); };
  EXPECT_EQ(at("complete " + id(host_show) + " complete"), shown_at);
  EXPECT_EQ(at("complete " + id(guest_show) + " complete"), shown_at);
  std::int64_t spoken = at("complete " + id(speech) + " complete");
  EXPECT_GT(at("bookmark 42"), shown_at);
  EXPECT_LT(at("bookmark 42"), spoken);
  EXPECT_EQ(at("complete " + id(wait) + " complete"), spoken);
  EXPECT_EQ(at("start " + id(play)), spoken);
  // Processing loops, but a speech is queued behind it: it leaves at its loop point.
  EXPECT_GT(at("complete " + id(play) + " complete"), spoken);
  EXPECT_EQ(h.runtime.Status(after), platform::RequestStatus::kComplete);

  // Now loop with nothing behind it, and stop everything.
  auto loop = guest.Play("Processing");
  auto queued = guest.Think("later");
  guest.Stop(queued);
  h.RunUntil(h.Now() + 5000);
  EXPECT_EQ(h.runtime.Status(loop), platform::RequestStatus::kInProgress);
  auto more = guest.Play("Wave");
  guest.StopAll();
  h.RunAll();
  EXPECT_EQ(h.runtime.Status(loop), platform::RequestStatus::kInterrupted);
  EXPECT_EQ(h.runtime.Status(more), platform::RequestStatus::kInterrupted);
  Lines tail(h.log.lines.end() - 2, h.log.lines.end());
  EXPECT_EQ(tail[0].substr(tail[0].find(' ')), " complete " + id(loop) + " interrupted");
  EXPECT_EQ(tail[1].substr(tail[1].find(' ')), " complete " + id(more) + " interrupted");
  // Times never go backwards in the log.
  std::int64_t last = 0;
  for (const std::string& line : h.log.lines) {
    EXPECT_GE(std::stoll(line), last) << line;
    last = std::stoll(line);
  }
}

TEST_F(RealCharacter, RunsAreReproducibleWithTheSameSeed) {
  auto run = [](std::uint64_t seed) {
    RuntimeOptions options;
    options.seed = seed;
    options.idle_after_ms = 1000;
    Harness h(options);
    h.runtime.SetFileLoader([](const std::string& path) {
      return std::make_shared<const acs::Character>(acs::ReadCharacterFile(path));
    });
    h.runtime.SetCharacterFolders({kFolder});
    auto& c = h.Load("G", "Genie.acs");
    c.Show();
    for (int i = 0; i < 5; ++i) c.Play("Idle3_2");  // branches at random
    c.GestureAt(0, 0);
    h.RunUntil(120000);
    return h.log.lines;
  };
  EXPECT_EQ(run(7), run(7));
}

// A character speaks with the voice its file names until the script chooses another.
TEST_F(RealCharacter, TheFilesSpeechModeIsTheStartingModeId) {
  auto& merlin = h.Load("M", "Merlin.acs");
  const std::string from_file = merlin.TTSModeID();
  ASSERT_EQ(from_file.size(), 38u) << from_file;
  EXPECT_EQ(from_file.front(), '{');
  merlin.SetTTSModeID("en-gb");
  EXPECT_EQ(merlin.TTSModeID(), "en-gb");
  EXPECT_EQ(h.Load("M2", "Merlin.acs").TTSModeID(), from_file);
}

TEST_F(RealCharacter, AnOlderFormatFileLoadsAndABadPathChangesNothing) {
  h.runtime.Load("Alien", "ALIEN.ACS");  // a compound container of the older generation
  EXPECT_EQ(h.runtime.CharacterIds(), std::vector<std::string>{"Alien"});
  EXPECT_THROW(h.runtime.Load("X", "C:\\WINDOWS\\MSAGENT\\CHARS\\MERLIN.ACS"), RuntimeError);
  EXPECT_EQ(h.runtime.CharacterIds().size(), 1u);
  h.runtime.Load("X", "MERLIN.ACS");  // the bare name is found in the folders
  EXPECT_EQ(h.runtime.CharacterIds().size(), 2u);
}

}  // namespace
}  // namespace rirerazo::runtime::testing
