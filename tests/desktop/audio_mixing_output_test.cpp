// The mixing output's thread against a fake device: what reaches the device, sounds ending on
// time, and a device that fails leaving sounds to end by the clock instead of hanging.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "desktop/audio/private/mixing_output.h"

namespace rirerazo::desktop {
namespace {

class FakeSink : public PcmSink {
 public:
  explicit FakeSink(bool works, std::int64_t latency_ms = 0)
      : works_(works), latency_ms_(latency_ms) {}
  bool Write(std::span<const std::int16_t> samples) override {
    std::lock_guard lock(mutex);
    written.insert(written.end(), samples.begin(), samples.end());
    return works_;
  }
  std::optional<std::int64_t> LatencyMs() override { return latency_ms_; }
  void Drain() override { ++drains; }

  std::mutex mutex;
  std::vector<std::int16_t> written;
  std::atomic<int> drains{0};

 private:
  bool works_;
  std::int64_t latency_ms_;
};

// Waits (yielding, never sleeping a fixed time) until `done` holds or two seconds pass.
template <typename Condition>
bool Eventually(Condition done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

TEST(MixingOutput, WritesTheMixAndEndsSoundsOnTime) {
  auto sink = std::make_unique<FakeSink>(true);
  FakeSink* device = sink.get();
  MixingOutput output(std::move(sink), {1000, 1}, SteadyNowMs);
  auto a = output.Play(std::vector<std::int16_t>(50, 100), {1000, 1}, 1.0f);
  auto b = output.Play(std::vector<std::int16_t>(30, 20), {1000, 1}, 1.0f);
  ASSERT_TRUE(Eventually([&] { return a->Finished() && b->Finished(); }));
  EXPECT_EQ(a->PlayedMs(), 50);
  ASSERT_TRUE(Eventually([&] { return device->drains > 0; }));
  std::lock_guard lock(device->mutex);
  ASSERT_GE(device->written.size(), 50u);
  EXPECT_EQ(device->written[0], 120) << "both sounds at once";
  EXPECT_EQ(device->written[49], 100);
}

TEST(MixingOutput, FailingDeviceLeavesSoundsToEndByTheClock) {
  MixingOutput output(std::make_unique<FakeSink>(false), {1000, 1}, SteadyNowMs);
  auto sound = output.Play(std::vector<std::int16_t>(80, 1), {1000, 1}, 1.0f);
  EXPECT_TRUE(Eventually([&] { return sound->Finished(); }));
  auto next = output.Play(std::vector<std::int16_t>(40, 1), {1000, 1}, 1.0f);
  EXPECT_TRUE(Eventually([&] { return next->Finished(); }));
}

TEST(MixingOutput, ClosingWhileASoundPlaysReturnsAtOnce) {
  // The device holds everything written unheard, so the sound cannot have finished playing;
  // whether closing ended it depends on whether the mixer had taken it yet.
  auto output = std::make_unique<MixingOutput>(std::make_unique<FakeSink>(true, 10'000'000),
                                               PcmFormat{1000, 1}, SteadyNowMs);
  auto sound = output->Play(std::vector<std::int16_t>(600000, 1), {1000, 1}, 1.0f);
  const auto start = std::chrono::steady_clock::now();
  output.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  sound->Stop();  // the stream outlives its output safely
  EXPECT_TRUE(sound->Finished());
}

}  // namespace
}  // namespace rirerazo::desktop
