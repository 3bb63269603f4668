#include <gtest/gtest.h>

#include "headless/simulated_media.h"
#include "host/media_header.h"
#include "host/tracing/tracing_devices.h"
#include "support/media_bytes.h"
#include "support/scratch_folder.h"

namespace rirerazo::headless {
namespace {

using testing::AsText;

class StepClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  std::int64_t now_ms = 0;
};

TEST(MediaLength, ReadsEachKindFromItsHeader) {
  EXPECT_EQ(host::MediaLengthMs(host::MediaKind::kWave, AsText(testing::WaveFile(1500))), 1500);
  EXPECT_EQ(host::MediaLengthMs(host::MediaKind::kWave, AsText(testing::WaveFile(0))), 0);
  // 960 ticks at 0.5 s per 480 ticks, then 480 ticks at 0.25 s: 1000 + 250 ms.
  EXPECT_EQ(
      host::MediaLengthMs(host::MediaKind::kMidi, AsText(testing::MidiFile(500000, 960, 1440))),
      1250);
  EXPECT_EQ(
      host::MediaLengthMs(host::MediaKind::kMidi, AsText(testing::MidiFile(500000, 5000, 480))),
      5208)
      << "the longest track sets the length: 5000 ticks at the first tempo";
  EXPECT_EQ(host::MediaLengthMs(host::MediaKind::kAvi, AsText(testing::AviFile(250, 40000))),
            10000);
}

TEST(MediaLength, OtherKindsAndBrokenFilesHaveNoLength) {
  const std::string wave = AsText(testing::WaveFile(100));
  const std::string midi = AsText(testing::MidiFile(500000, 10, 10));
  EXPECT_FALSE(host::MediaLengthMs(host::MediaKind::kMidi, wave));
  EXPECT_FALSE(host::MediaLengthMs(host::MediaKind::kAvi, wave));
  EXPECT_FALSE(host::MediaLengthMs(host::MediaKind::kWave, midi));
  EXPECT_FALSE(host::MediaLengthMs(host::MediaKind::kWave, "just some text, not a sound"));
  EXPECT_FALSE(host::MediaLengthMs(host::MediaKind::kWave, ""));
  EXPECT_FALSE(host::MediaLengthMs(host::MediaKind::kWave, wave.substr(0, 30)))
      << "cut before the data";
  EXPECT_FALSE(host::MediaLengthMs(host::MediaKind::kMidi, midi.substr(0, midi.size() - 3)));
  std::string no_status = midi;
  no_status[23] = 0x40;  // first event of the first track: a data byte without a status
  EXPECT_FALSE(host::MediaLengthMs(host::MediaKind::kMidi, no_status));
}

TEST(MediaLength, CutWaveDataCountsWhatIsThere) {
  const std::string wave = AsText(testing::WaveFile(1000));
  EXPECT_EQ(host::MediaLengthMs(host::MediaKind::kWave, wave.substr(0, wave.size() - 4000)), 500);
}

class SimulatedMediaTest : public ::testing::Test {
 protected:
  std::uint32_t Send(const std::string& command) { return traced.SendString(command, reply); }
  std::string Mode() {
    Send("status media mode");
    return reply;
  }
  testing::ScratchFolder folder;
  StepClock clock;
  host::Tracer tracer{clock};
  host::MemorySink sink;
  SimulatedMediaDevice device{clock};
  host::TracingMediaDevice traced{device, tracer};
  std::string reply;
  void SetUp() override { tracer.AddSink(&sink); }
};

TEST_F(SimulatedMediaTest, PlaysForTheFileLengthOnTheClock) {
  const std::string file = folder.Write("my sound.wav", AsText(testing::WaveFile(2000)));
  EXPECT_EQ(Send("open \"" + file + "\" type waveaudio alias media"), 0u);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Send("play media"), 0u);
  clock.now_ms = 1999;
  EXPECT_EQ(Mode(), "playing");
  clock.now_ms = 2000;
  EXPECT_EQ(Mode(), "stopped") << "finished by itself, still open";
  Send("status media position");
  EXPECT_EQ(reply, "2000");
  EXPECT_EQ(Send("close media"), 0u);
  EXPECT_EQ(Send("status media mode"), platform::media_error::kInvalidDeviceName);
  EXPECT_EQ(sink.records.back().Text("command"), "status media mode");
  EXPECT_EQ(sink.records.back().Text("result"), "263");
}

TEST_F(SimulatedMediaTest, StopHoldsThePositionAndPlayResumes) {
  const std::string file = folder.Write("a.mid", AsText(testing::MidiFile(500000, 960, 960)));
  Send("open \"" + file + "\" type sequencer alias media");
  Send("play media");
  clock.now_ms = 400;
  Send("stop media");
  clock.now_ms = 5000;
  EXPECT_EQ(Mode(), "stopped");
  Send("play media");
  clock.now_ms = 5599;
  EXPECT_EQ(Mode(), "playing") << "600 of the 1000 ms were left";
  clock.now_ms = 5600;
  EXPECT_EQ(Mode(), "stopped");
}

TEST_F(SimulatedMediaTest, FilesItCannotPlayGetTheClassicCodes) {
  const std::string text = folder.Write("text.wav", "plain text");
  const std::string midi = folder.Write("song.mid", AsText(testing::MidiFile(500000, 1, 1)));
  EXPECT_EQ(Send("open \"" + text + "\" type waveaudio alias media"), 304u);
  EXPECT_EQ(Send("open \"" + midi + "\" type waveaudio alias media"), 304u)
      << "the device type follows the statement, not the extension";
  EXPECT_EQ(Send("open \"" + folder / "none.wav" + "\" type waveaudio alias media"), 275u);
  EXPECT_EQ(Send("open \"" + midi + "\" type cdaudio alias media"), 263u);
  EXPECT_EQ(Send("open \"" + midi + "\" type sequencer alias media"), 0u);
  EXPECT_EQ(Send("open \"" + midi + "\" type sequencer alias MEDIA"), 289u);
  EXPECT_EQ(Send("rewind media"), 261u);
  EXPECT_EQ(Send(""), 267u);
  EXPECT_NE(device.ErrorString(304).find("cannot be played"), std::string::npos);
  EXPECT_NE(device.ErrorString(275).find("Cannot find the specified file"), std::string::npos);
}

TEST_F(SimulatedMediaTest, CanBeToldToFailTheNextCommand) {
  const std::string file = folder.Write("a.avi", AsText(testing::AviFile(10, 100000)));
  device.FailNextCommand(266);
  EXPECT_EQ(Send("open \"" + file + "\" type avivideo alias media"), 266u);
  EXPECT_EQ(Send("open \"" + file + "\" type avivideo alias media"), 0u);
  ASSERT_NE(device.Find("media"), nullptr);
  EXPECT_EQ(device.Find("media")->length_ms, 1000);
}

}  // namespace
}  // namespace rirerazo::headless
