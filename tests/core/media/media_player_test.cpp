#include "core/media/media_player.h"

#include <gtest/gtest.h>

#include "support/scratch_folder.h"
#include "support/fake_platform.h"
#include "support/system_fakes.h"

namespace rirerazo::media {
namespace {

using Log = std::vector<std::string>;

class MediaTest : public ::testing::Test {
 protected:
  MediaTest() : player(device, ui, loop, [this](std::string_view p) { return folder / p; }) {}
  testing::ScratchFolder folder;
  testing::FakeMediaDevice device;
  testing::RecordingUi ui;
  testing::FakeMessageLoop loop;
  MediaPlayer player;
};

TEST_F(MediaTest, EachKindOpensTheFileAsItsStatementSays) {
  const std::string file = folder.Write("my song.mid", "MThd");
  player.PlayWave("my song.mid");
  player.PlayMIDI("my song.mid");
  player.PlayAVI("my song.mid");
  EXPECT_EQ(device.commands,
            (Log{"close media", "open \"" + file + "\" type waveaudio alias media", "play media",
                 "close media", "open \"" + file + "\" type sequencer alias media", "play media",
                 "close media", "open \"" + file + "\" type avivideo alias media", "play media"}));
  EXPECT_EQ(loop.yields, 3);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(MediaTest, MissingFileSendsNothing) {
  player.PlayWave("gone.wav");
  player.PlayMedia(kWaveAudio, "gone.wav");
  EXPECT_TRUE(device.commands.empty());
}

TEST_F(MediaTest, RefusedOpenOrPlayShowsTheDeviceTextAndCloses) {
  const std::string file = folder.Write("text.wav", "not a wave");
  device.answers["open"] = 304;
  player.PlayWave("text.wav");
  EXPECT_EQ(device.commands, (Log{"close media", "open \"" + file + "\" type waveaudio alias media",
                                  "close media"}));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "device error 304");
  EXPECT_EQ(ui.boxes[0].style, platform::mb::kExclamation);
  device.commands.clear();
  device.answers = {{"play", 263}};
  player.PlayWave("text.wav");
  EXPECT_EQ(device.commands.size(), 4u);
  EXPECT_EQ(device.commands[2], "play media");
  EXPECT_EQ(device.commands[3], "close media");
  EXPECT_EQ(loop.yields, 0);
}

TEST_F(MediaTest, StopAsksTheStateBeforeStoppingAndClosing) {
  player.StopAVI();
  EXPECT_EQ(device.commands, (Log{"status media mode", "status media mode"}))
      << "nothing open: only the two questions";
  device.commands.clear();
  device.mode = "playing";
  player.StopWave();
  EXPECT_EQ(device.commands,
            (Log{"status media mode", "stop media", "status media mode", "close media"}));
  device.commands.clear();
  device.mode = "stopped";
  player.StopMIDI();
  EXPECT_EQ(device.commands, (Log{"status media mode", "status media mode", "close media"}));
  EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
}  // namespace rirerazo::media
