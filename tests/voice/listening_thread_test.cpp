// The listening thread against a fake device: no data, short reads, a device that goes away,
// and a phrase cut short by the end of the session.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "voice/listening_thread.h"

namespace rirerazo::voice::testing {
namespace {

using namespace std::chrono_literals;

// Hands out scripted reads: a block of this many samples of this value, 0 for "nothing this
// time", -1 for "gone". After the script it has nothing.
class FakeDevice : public AudioSource {
 public:
  struct Block {
    long count;
    std::int16_t value;
  };
  explicit FakeDevice(std::vector<Block> reads) : reads_(reads.begin(), reads.end()) {}
  long Read(std::int16_t* samples, std::size_t capacity) override {
    std::lock_guard lock(mutex_);
    calls.fetch_add(1);
    if (reads_.empty()) return 0;
    Block next = reads_.front();
    reads_.pop_front();
    long count = std::min<long>(next.count, long(capacity));
    for (long i = 0; i < count; ++i) samples[i] = next.value;
    return next.count < 0 ? -1 : count;
  }
  bool Drained() {
    std::lock_guard lock(mutex_);
    return reads_.empty();
  }
  std::atomic<int> calls{0};

 private:
  std::mutex mutex_;
  std::deque<Block> reads_;
};

// Speech is any non-zero sample; it ends after 3200 silent samples. Each utterance is
// "heard" as the number of loud samples it got.
class FakeRecognizer : public runtime::SpeechRecognizer {
 public:
  bool SetGrammars(const std::vector<std::string>&) override { return true; }
  void StartUtterance() override {
    loud_ = 0;
    quiet_ = 0;
    ++starts;
  }
  void Feed(const std::int16_t* samples, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) {
      if (samples[i] != 0) {
        ++loud_;
        quiet_ = 0;
      } else {
        ++quiet_;
      }
    }
  }
  bool InSpeech() const override { return loud_ > 0 && quiet_ < 3200; }
  runtime::Recognition EndUtterance() override {
    runtime::Recognition heard;
    if (loud_ > 0) heard.phrases.push_back({std::to_string(loud_), 50, {0}});
    return heard;
  }
  int starts = 0;

 private:
  long loud_ = 0;
  long quiet_ = 0;
};

template <typename Done>
void WaitFor(Done done) {
  for (int i = 0; i < 500 && !done(); ++i) std::this_thread::sleep_for(2ms);
}

TEST(ListeningThread, ShortReadsMakeOnePhraseEndedBySilence) {
  FakeRecognizer recognizer;
  auto device = std::make_unique<FakeDevice>(std::vector<FakeDevice::Block>{
      {0, 0}, {700, 9}, {1, 9}, {0, 0}, {1600, 9}, {1600, 0}, {1600, 0}, {1600, 0}});
  FakeDevice* fake = device.get();
  ListeningThread session(std::move(device), recognizer);
  std::optional<ListenReport> report;
  WaitFor([&] { return (report = session.Poll()).has_value(); });
  ASSERT_TRUE(report);
  EXPECT_EQ(report->kind, ListenReport::Kind::kHeard);
  ASSERT_EQ(report->heard.phrases.size(), 1u);
  EXPECT_EQ(report->heard.phrases[0].text, "2301");
  EXPECT_TRUE(fake->Drained());
  session.Finish(true);
  EXPECT_FALSE(session.Poll()) << "silence at the end is no phrase";
  EXPECT_EQ(recognizer.starts, 2) << "a new utterance after each phrase";
}

TEST(ListeningThread, ADeviceThatGoesAwayEndsTheSessionWithAReport) {
  FakeRecognizer recognizer;
  ListeningThread session(
      std::make_unique<FakeDevice>(std::vector<FakeDevice::Block>{{1600, 0}, {-1, 0}, {1600, 9}}),
      recognizer);
  std::optional<ListenReport> report;
  WaitFor([&] { return (report = session.Poll()).has_value(); });
  ASSERT_TRUE(report);
  EXPECT_EQ(report->kind, ListenReport::Kind::kSourceGone);
  session.Finish(true);
  EXPECT_FALSE(session.Poll());
}

// With no data the thread rests between reads instead of spinning, and Finish returns.
TEST(ListeningThread, ADeviceWithNoDataIsPolledGentlyAndFinishReturns) {
  FakeRecognizer recognizer;
  auto device = std::make_unique<FakeDevice>(std::vector<FakeDevice::Block>{});
  FakeDevice* fake = device.get();
  ListeningThread session(std::move(device), recognizer);
  std::this_thread::sleep_for(100ms);
  EXPECT_LT(fake->calls.load(), 30);
  session.Finish(true);
  EXPECT_FALSE(session.Poll());
}

TEST(ListeningThread, FinishingMidPhraseReportsItOnlyWhenAskedTo) {
  for (bool keep : {true, false}) {
    FakeRecognizer recognizer;
    auto device = std::make_unique<FakeDevice>(std::vector<FakeDevice::Block>{{1600, 9}});
    FakeDevice* fake = device.get();
    ListeningThread session(std::move(device), recognizer);
    WaitFor([&] { return fake->Drained(); });
    std::this_thread::sleep_for(20ms);
    session.Finish(keep);
    std::optional<ListenReport> report = session.Poll();
    EXPECT_EQ(report.has_value(), keep);
    if (report) {
      EXPECT_EQ(report->heard.phrases.at(0).text, "1600");
    }
  }
}

}  // namespace
}  // namespace rirerazo::voice::testing
