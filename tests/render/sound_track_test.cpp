// The render's sound track: sounds start at the virtual time they are played, follow the
// virtual clock, stop where they are stopped, and mix the same whatever stretches the track
// is taken in.
#include <gtest/gtest.h>

#include "render/sound_track.h"

namespace rirerazo::render {
namespace {

class SettableClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  std::int64_t now_ms = 0;
};

const desktop::PcmFormat kTrack{1000, 1};  // one sample a millisecond keeps the sums readable

TEST(SoundTrack, SoundsStartAtTheirVirtualTimeAndAdd) {
  SettableClock clock;
  SoundTrack track(clock, kTrack);
  clock.now_ms = 10;
  auto first = track.Play(std::vector<std::int16_t>(20, 100), kTrack, 1.0f);
  clock.now_ms = 20;
  auto second = track.Play(std::vector<std::int16_t>(5, 1000), kTrack, 1.0f);
  std::vector<std::int16_t> mixed;
  track.MixUntil(40, mixed);
  ASSERT_EQ(mixed.size(), 40u);
  EXPECT_EQ(mixed[9], 0);
  EXPECT_EQ(mixed[10], 100);
  EXPECT_EQ(mixed[20], 1100);
  EXPECT_EQ(mixed[25], 100);
  EXPECT_EQ(mixed[30], 0);
}

TEST(SoundTrack, PositionFollowsTheClockAndStopCutsTheSound) {
  SettableClock clock;
  SoundTrack track(clock, kTrack);
  auto stream = track.Play(std::vector<std::int16_t>(100, 7), kTrack, 1.0f);
  EXPECT_EQ(stream->DurationMs(), 100);
  clock.now_ms = 30;
  EXPECT_EQ(stream->PlayedMs(), 30);
  EXPECT_FALSE(stream->Finished());
  stream->Stop();
  clock.now_ms = 60;
  EXPECT_EQ(stream->PlayedMs(), 30);
  EXPECT_TRUE(stream->Finished());
  std::vector<std::int16_t> mixed;
  track.MixUntil(100, mixed);
  EXPECT_EQ(mixed[29], 7);
  EXPECT_EQ(mixed[30], 0);
  // Dropping a handle stops its sound too, as on the desktop.
  auto dropped = track.Play(std::vector<std::int16_t>(100, 7), kTrack, 1.0f);
  clock.now_ms = 110;
  dropped.reset();
  track.MixUntil(200, mixed);
  EXPECT_EQ(mixed[9], 7);  // frame 109: the sound started at 60 and was dropped at 110
  EXPECT_EQ(mixed[10], 0);
}

TEST(SoundTrack, TakenInStretchesItMixesAsWholeAndClips) {
  auto mix = [](std::vector<std::int64_t> stretches) {
    SettableClock clock;
    SoundTrack track(clock, kTrack);
    auto a = track.Play(std::vector<std::int16_t>(50, 30000), kTrack, 1.0f);
    clock.now_ms = 5;
    auto b = track.Play(std::vector<std::int16_t>(50, 30000), kTrack, 1.0f);
    std::vector<std::int16_t> all, part;
    for (std::int64_t end : stretches) {
      track.MixUntil(end, part);
      all.insert(all.end(), part.begin(), part.end());
    }
    return all;
  };
  const auto whole = mix({60});
  EXPECT_EQ(whole, mix({1, 7, 7, 33, 60}));
  EXPECT_EQ(whole[10], 32767);
}

TEST(SoundTrack, OtherFormatsAreConvertedToTheTracks) {
  SettableClock clock;
  SoundTrack track(clock, desktop::PcmFormat{48000, 2});
  auto stream = track.Play(std::vector<std::int16_t>(22050, 1000), {22050, 1}, 0.5f);
  EXPECT_EQ(stream->DurationMs(), 1000);
  std::vector<std::int16_t> mixed;
  track.MixUntil(48000, mixed);
  ASSERT_EQ(mixed.size(), 96000u);
  EXPECT_EQ(mixed[2000], 500);
  EXPECT_EQ(mixed[2001], 500);
}

}  // namespace
}  // namespace rirerazo::render
