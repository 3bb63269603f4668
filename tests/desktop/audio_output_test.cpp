// The audio outputs: sample conversion and mixing, the timing every stream reports (by the
// mixer's write position and the device latency, or by the clock in the silent output), and
// the factory's quick fall-back when no sound server runs.
#include <gtest/gtest.h>

#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "desktop/audio/null_audio_output.h"
#include "desktop/audio/private/mixer.h"
#include "desktop/audio/private/pcm.h"

namespace rirerazo::desktop {
namespace {

TEST(PcmConversion, UpsamplesMonoToStereoByInterpolation) {
  const std::vector<std::int16_t> in = {0, 400, 800};
  std::vector<std::int16_t> out = ConvertPcm(in, {11025, 1}, {44100, 2}, 1.0f);
  ASSERT_EQ(out.size(), 3u * 4u * 2u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[2], 100);  // a quarter of the way to the second sample
  EXPECT_EQ(out[4], 200);
  for (std::size_t i = 0; i < out.size(); i += 2) EXPECT_EQ(out[i], out[i + 1]) << i;
  EXPECT_EQ(out.back(), 800);  // the last frame holds, never reads past the end
}

TEST(PcmConversion, AveragesStereoToMonoScalesAndDropsAPartialFrame) {
  const std::vector<std::int16_t> in = {1000, 3000, -2000, -4000, 7};
  std::vector<std::int16_t> out = ConvertPcm(in, {8000, 2}, {8000, 1}, 0.5f);
  EXPECT_EQ(out, (std::vector<std::int16_t>{1000, -1500}));
  EXPECT_TRUE(ConvertPcm(in, {8000, 2}, {8000, 1}, 7.0f)[0] == 2000);  // volume caps at 1
  EXPECT_TRUE(ConvertPcm({}, {8000, 2}, {44100, 2}, 1.0f).empty());
}

struct MixerClock {
  std::int64_t now_ms = 1000;
  NowMsFunction Function() {
    return [this] { return now_ms; };
  }
};

TEST(Mixer, OverlappingSoundsAddAndClip) {
  MixerClock clock;
  Mixer mixer({1000, 1}, clock.Function());
  auto a = mixer.Add({100, 30000, 5}, {1000, 1}, 1.0f);
  auto b = mixer.Add({20, 30000}, {1000, 1}, 1.0f);
  std::vector<std::int16_t> chunk;
  ASSERT_TRUE(mixer.MixNext(4, chunk));
  EXPECT_EQ(chunk, (std::vector<std::int16_t>{120, 32767, 5, 0}));
  EXPECT_FALSE(mixer.MixNext(4, chunk)) << "both sounds were written whole";
  EXPECT_TRUE(chunk.empty());
}

// Converting chunk by chunk gives exactly the sound converted whole.
TEST(Mixer, ConvertsSoundsChunkByChunkSeamlessly) {
  std::vector<std::int16_t> sound(301);
  for (std::size_t i = 0; i < sound.size(); ++i) sound[i] = std::int16_t(i * 97 % 20000 - 10000);
  const std::vector<std::int16_t> whole = ConvertPcm(sound, {11025, 1}, {44100, 2}, 0.8f);
  MixerClock clock;
  Mixer mixer({44100, 2}, clock.Function());
  auto stream = mixer.Add(sound, {11025, 1}, 0.8f);
  std::vector<std::int16_t> mixed;
  std::vector<std::int16_t> chunk;
  while (mixer.MixNext(7, chunk)) mixed.insert(mixed.end(), chunk.begin(), chunk.end());
  mixed.resize(whole.size());  // the last chunk is padded with silence
  EXPECT_EQ(mixed, whole);
}

TEST(Mixer, StoppedSoundIsNoLongerMixed) {
  MixerClock clock;
  Mixer mixer({1000, 1}, clock.Function());
  auto a = mixer.Add(std::vector<std::int16_t>(10, 50), {1000, 1}, 1.0f);
  auto b = mixer.Add(std::vector<std::int16_t>(10, 7), {1000, 1}, 1.0f);
  std::vector<std::int16_t> chunk;
  ASSERT_TRUE(mixer.MixNext(2, chunk));
  a->Stop();
  ASSERT_TRUE(mixer.MixNext(2, chunk));
  EXPECT_EQ(chunk, (std::vector<std::int16_t>{7, 7}));
  b.reset();  // dropping the handle stops the sound too
  EXPECT_FALSE(mixer.MixNext(2, chunk));
}

// Before the first write a sound stands at 0; then it follows the clock, but never runs ahead
// of what was written; the device's latency holds it back; it ends at its duration.
TEST(Mixer, PlayedPositionFollowsWritesClockAndLatency) {
  MixerClock clock;
  Mixer mixer({1000, 1}, clock.Function());
  auto stream = mixer.Add(std::vector<std::int16_t>(500, 1), {1000, 1}, 1.0f);
  EXPECT_EQ(stream->DurationMs(), 500);
  clock.now_ms += 50;
  EXPECT_EQ(stream->PlayedMs(), 0);
  std::vector<std::int16_t> chunk;
  mixer.MixNext(100, chunk);
  clock.now_ms += 300;
  EXPECT_EQ(stream->PlayedMs(), 100) << "not past the frames written";
  mixer.MixNext(300, chunk);  // 400 written
  mixer.NoteLatency(80);
  EXPECT_EQ(stream->PlayedMs(), 320);
  clock.now_ms += 40;
  EXPECT_EQ(stream->PlayedMs(), 360);
  mixer.NoteLatency(200);  // a larger latency never moves the position back
  EXPECT_EQ(stream->PlayedMs(), 360);
  EXPECT_FALSE(stream->Finished());
  mixer.MixNext(100, chunk);
  clock.now_ms += 1000;
  EXPECT_EQ(stream->PlayedMs(), 500);
  EXPECT_TRUE(stream->Finished());
}

TEST(Mixer, CloseReleasesTheWaitingThread) {
  Mixer mixer({1000, 1}, SteadyNowMs);
  auto stream = mixer.Add({1, 2}, {1000, 1}, 1.0f);
  EXPECT_TRUE(mixer.WaitForWork());
  mixer.Close();
  EXPECT_FALSE(mixer.WaitForWork());
  EXPECT_TRUE(mixer.Add({1, 2}, {1000, 1}, 1.0f)->Finished()) << "nothing waits on a closed output";
}

TEST(NullAudioOutput, KeepsTimeInSilenceAndStops) {
  std::int64_t now_ms = 0;
  auto output = MakeNullAudioOutput([&] { return now_ms; });
  EXPECT_FALSE(output->Audible());
  auto stream = output->Play(std::vector<std::int16_t>(22050 * 2, 0), {22050, 2});
  EXPECT_EQ(stream->DurationMs(), 1000);
  now_ms = 400;
  EXPECT_EQ(stream->PlayedMs(), 400);
  EXPECT_FALSE(stream->Finished());
  now_ms = 5000;
  EXPECT_EQ(stream->PlayedMs(), 1000);
  EXPECT_TRUE(stream->Finished());

  auto stopped = output->Play(std::vector<std::int16_t>(22050, 0), {22050, 1});
  now_ms = 5250;
  stopped->Stop();
  now_ms = 5900;
  EXPECT_EQ(stopped->PlayedMs(), 250);
  EXPECT_TRUE(stopped->Finished());
}

TEST(NullAudioOutput, UnplayableFormatGivesAnEndedSound) {
  auto output = MakeNullAudioOutput([] { return std::int64_t{0}; });
  auto stream = output->Play({1, 2, 3}, {0, 0});
  EXPECT_EQ(stream->DurationMs(), 0);
  EXPECT_TRUE(stream->Finished());
}

// With no server to answer, the factory must fall back at once (no connection timeouts).
TEST(MakeAudioOutput, FallsBackToSilenceQuicklyWithoutAServer) {
  const std::filesystem::path empty =
      std::filesystem::temp_directory_path() / ("rirerazo-no-pulse-" + std::to_string(getpid()));
  std::filesystem::create_directories(empty);
  setenv("XDG_RUNTIME_DIR", empty.c_str(), 1);
  unsetenv("PULSE_SERVER");
  const auto start = std::chrono::steady_clock::now();
  auto output = MakeAudioOutput("desktop_tests");
  const auto took = std::chrono::steady_clock::now() - start;
  std::filesystem::remove_all(empty);
  if (output->Audible()) GTEST_SKIP() << "a system-wide sound server answered";
  EXPECT_LT(took, std::chrono::milliseconds(500));
  auto stream = output->Play(std::vector<std::int16_t>(100, 0), {1000, 1});
  EXPECT_EQ(stream->DurationMs(), 100);
}

}  // namespace
}  // namespace rirerazo::desktop
