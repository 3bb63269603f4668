#include "desktop/audio/null_audio_output.h"

#include <algorithm>

#include "desktop/audio/private/mixer.h"
#include "desktop/audio/private/pcm.h"

namespace rirerazo::desktop {

namespace {

class NullStream : public AudioStream {
 public:
  NullStream(NowMsFunction now_ms, std::int64_t duration_ms)
      : now_ms_(std::move(now_ms)), start_ms_(now_ms_()), duration_ms_(duration_ms) {}

  std::int64_t PlayedMs() const override {
    if (stopped_at_ms_) return *stopped_at_ms_;
    return std::clamp<std::int64_t>(now_ms_() - start_ms_, 0, duration_ms_);
  }
  std::int64_t DurationMs() const override { return duration_ms_; }
  bool Finished() const override { return stopped_at_ms_ || PlayedMs() >= duration_ms_; }
  void Stop() override {
    if (!stopped_at_ms_) stopped_at_ms_ = PlayedMs();
  }

 private:
  NowMsFunction now_ms_;
  std::int64_t start_ms_;
  std::int64_t duration_ms_;
  std::optional<std::int64_t> stopped_at_ms_;
};

class NullAudioOutput : public AudioOutput {
 public:
  explicit NullAudioOutput(NowMsFunction now_ms) : now_ms_(std::move(now_ms)) {}

  std::unique_ptr<AudioStream> Play(std::vector<std::int16_t> samples, PcmFormat format,
                                    float /*volume*/) override {
    std::int64_t duration_ms = 0;
    if (ValidPcmFormat(format)) {
      duration_ms =
          FramesToMs(std::int64_t(samples.size()) / format.channels, format.sample_rate_hz);
    }
    return std::make_unique<NullStream>(now_ms_, duration_ms);
  }
  bool Audible() const override { return false; }

 private:
  NowMsFunction now_ms_;
};

}  // namespace

std::unique_ptr<AudioOutput> MakeNullAudioOutput(std::function<std::int64_t()> now_ms) {
  if (!now_ms) now_ms = SteadyNowMs;
  return std::make_unique<NullAudioOutput>(std::move(now_ms));
}

}  // namespace rirerazo::desktop
