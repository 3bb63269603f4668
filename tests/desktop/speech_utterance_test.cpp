// Utterances timed by their sound: reports wait for the sound's position, the next poll is
// asked for when the sound should have got there, and a stalled device cannot hold speech
// up for more than a moment.
#include <gtest/gtest.h>

#include "desktop/speech/private/timed_utterance.h"

namespace rirerazo::desktop {
namespace {

using K = runtime::SpeechProgress::Kind;

// A stream whose position the test sets.
class ManualStream : public AudioStream {
 public:
  explicit ManualStream(std::int64_t& played_ms) : played_ms_(played_ms) {}
  std::int64_t PlayedMs() const override { return played_ms_; }
  std::int64_t DurationMs() const override { return 1000; }
  bool Finished() const override { return stopped || played_ms_ >= 1000; }
  void Stop() override { stopped = true; }
  bool stopped = false;

 private:
  std::int64_t& played_ms_;
};

std::vector<runtime::SpeechProgress> Plan() {
  return {{K::kWord, 0, 0, 0, 0}, {K::kMark, 400, 1, 7, 0}, {K::kEnd, 1000, 0, 0, 0}};
}

TEST(TimedUtterance, WaitsForTheSoundAndAsksToBePolledWhenItShouldArrive) {
  std::int64_t played_ms = 0;
  TimedUtterance utterance(Plan(), std::make_unique<ManualStream>(played_ms));
  runtime::SpeechProgress report;
  EXPECT_TRUE(utterance.Poll(0, report));
  // The runtime's clock is at 450 but the device has played only 300: the mark waits, and
  // the next poll is due when the device should reach it, 150 ms from now.
  played_ms = 300;
  EXPECT_FALSE(utterance.Poll(450, report));
  EXPECT_EQ(utterance.NextDueMs(), 550);
  played_ms = 400;
  EXPECT_TRUE(utterance.Poll(550, report));
  EXPECT_EQ(report.mark, 7);
}

TEST(TimedUtterance, StalledSoundTrailsTheClockByAtMostASecond) {
  std::int64_t played_ms = 100;
  TimedUtterance utterance(Plan(), std::make_unique<ManualStream>(played_ms));
  runtime::SpeechProgress report;
  ASSERT_TRUE(utterance.Poll(0, report));
  EXPECT_FALSE(utterance.Poll(1399, report));
  EXPECT_TRUE(utterance.Poll(1400, report)) << "the mark at 400 after 1400 ms of runtime clock";
  EXPECT_FALSE(utterance.Poll(1999, report));
  EXPECT_TRUE(utterance.Poll(2000, report));
  EXPECT_EQ(report.kind, K::kEnd);
  EXPECT_FALSE(utterance.NextDueMs());
}

TEST(TimedUtterance, FinishedSoundReleasesEveryReportAndCancelStopsIt) {
  std::int64_t played_ms = 0;
  auto stream = std::make_unique<ManualStream>(played_ms);
  ManualStream* raw = stream.get();
  TimedUtterance utterance(Plan(), std::move(stream));
  played_ms = 1000;
  runtime::SpeechProgress report;
  int reports = 0;
  while (utterance.Poll(0, report)) ++reports;
  EXPECT_EQ(reports, 3);

  std::int64_t other_ms = 0;
  auto second = std::make_unique<ManualStream>(other_ms);
  raw = second.get();
  TimedUtterance cancelled(Plan(), std::move(second));
  cancelled.Cancel();
  EXPECT_TRUE(raw->stopped);
  EXPECT_FALSE(cancelled.Poll(5000, report));
}

}  // namespace
}  // namespace rirerazo::desktop
