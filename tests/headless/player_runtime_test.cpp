// Small script files played by the Player through the real character runtime on the
// virtual clock, with a real character file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/app/player.h"
#include "headless/event_loop.h"
#include "headless/virtual_clock.h"
#include "host/runtime_source.h"
#include "runtime/character_runtime.h"
#include "runtime/rate_model.h"
#include "support/fake_platform.h"
#include "support/scratch_folder.h"

namespace rirerazo {
namespace {

const std::string kCharacterFile = std::string(RIRERAZO_SHARED_DIR) + "/characters/Merlin.acs";

// Records the runtime's events with their virtual time, then hands them to the player.
class Recorder : public platform::AgentEvents {
 public:
  Recorder(const platform::Clock& clock, platform::AgentEvents& player)
      : clock_(clock), player_(player) {}

  std::vector<std::string> lines;

  void OnBookmark(std::int32_t id) override {
    Note("bookmark " + std::to_string(id));
    player_.OnBookmark(id);
  }
  void OnRequestStart(platform::AgentRequest r) override { Note("start #" + std::to_string(r.id)); }
  void OnRequestComplete(platform::AgentRequest r) override {
    Note("complete #" + std::to_string(r.id));
    player_.OnRequestComplete(r);
  }
  void OnCommand(const platform::UserInput& input) override { player_.OnCommand(input); }
  void OnShow(const std::string& id, platform::VisibilityCause c) override {
    player_.OnShow(id, c);
  }
  void OnHide(const std::string& id, platform::VisibilityCause c) override {
    player_.OnHide(id, c);
  }

  // The virtual time of the first line that equals `line`; -1 when there is none.
  std::int64_t TimeOf(const std::string& line) const {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i] == line) return times_[i];
    }
    return -1;
  }

 private:
  void Note(std::string line) {
    lines.push_back(std::move(line));
    times_.push_back(clock_.NowMs());
  }
  const platform::Clock& clock_;
  platform::AgentEvents& player_;
  std::vector<std::int64_t> times_;
};

class PlayerOnRuntime : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kCharacterFile)) {
      GTEST_SKIP() << "no character files at " << kCharacterFile;
    }
    loop_.AddSource(source_);
  }

  // Plays a script file whose [Characters] load Merlin as Host and Guest, until nothing is
  // left to happen.
  headless::RunOutcome Play(const std::string& sections) {
    const std::string path = folder_.Write(
        "show.vrn", "[VORN Script]\r\nVersion=1\r\n[Characters]\r\nHost=" + kCharacterFile +
                        "\r\nGuest=" + kCharacterFile + "\r\n" + sections);
    runtime_.SetEventListener(&recorder_);
    player_.Form_Load(path, "rirerazo");
    return loop_.RunUntilDone();
  }

  testing::ScratchFolder folder_;
  testing::Log log_;
  headless::VirtualClock clock_;
  runtime::RateModelEngine engine_;
  runtime::CharacterRuntime runtime_{clock_, engine_,
                                     runtime::RuntimeOptions{.idle_enabled = false}};
  host::RuntimeSource source_{runtime_};
  headless::EventLoop loop_{clock_};
  testing::FakeUi ui_{log_};
  testing::FakeSystem system_;
  platform::Platform bundle_{&ui_, &clock_, &loop_, &system_, &runtime_};
  Player player_{bundle_};
  Recorder recorder_{clock_, player_};
};

TEST_F(PlayerOnRuntime, TheEndOfScriptRequestCompletesLast) {
  Play("[Script]\r\nHost.Show\r\nHost.Speak Hello there.\r\nHost.Play Wave\r\n");
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_TRUE(player_.run().script_complete);
  ASSERT_FALSE(player_.run().end_request.IsNull());
  const std::string end = "complete #" + std::to_string(player_.run().end_request.id);
  EXPECT_GT(recorder_.TimeOf(end), 0);
  // The script's requests (Show 1, Speak 2, Play 3) are done first; what completes later
  // belongs to the shutdown that the end starts.
  EXPECT_LE(recorder_.TimeOf("complete #3"), recorder_.TimeOf(end));
  EXPECT_EQ(player_.form().close_ticks, 2);
}

TEST_F(PlayerOnRuntime, WaitForReqHoldsTheOtherCharacter) {
  Play(
      "[Script]\r\nHost.Show\r\nGuest.Show\r\nSETREQ=Host.Speak(\"I speak first, and "
      "at some length.\")\r\nWAITFORREQ\r\nGuest.Speak And I answer.\r\n");
  ASSERT_TRUE(player_.run().script_complete);
  // Requests in order: Host.Show 1, Guest.Show 2, Host.Speak 3, Guest.Wait 4,
  // Guest.Speak 5, then the end marker on Guest.
  const std::int64_t host_done = recorder_.TimeOf("complete #3");
  const std::int64_t guest_starts = recorder_.TimeOf("start #5");
  ASSERT_GT(host_done, 0);
  EXPECT_GE(guest_starts, host_done);
}

TEST_F(PlayerOnRuntime, BookmarksRunTheirScriptsWhileTheScriptPlays) {
  Play(
      "[Commands]\r\nStay=Stay\r\n"  // keeps the player, and Guest, after the end
      "[Bookmarks]\r\n7=\r\n[BookmarkScript:7]\r\nGuest.Show\r\nGuest.Speak Reached.\r\n"
      "[Script]\r\nHost.Show\r\nHost.Speak Before \\mrk=7\\ after.\r\n");
  EXPECT_TRUE(player_.run().script_complete);
  const std::int64_t mark = recorder_.TimeOf("bookmark 7");
  ASSERT_GT(mark, 0);
  EXPECT_TRUE(runtime_.Character("Guest").Visible());
  EXPECT_EQ(player_.characters().current, &runtime_.Character("Guest"));  // the bookmark script's
}

}  // namespace
}  // namespace rirerazo
