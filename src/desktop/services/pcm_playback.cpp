#include <algorithm>

#include "desktop/services/private/media_playback.h"

namespace rirerazo::desktop {
namespace {

class PcmPlayback final : public MediaPlayback {
 public:
  PcmPlayback(AudioOutput& audio, acs::PcmSound sound) : audio_(audio), sound_(std::move(sound)) {}

  void Play(std::int64_t position_ms) override {
    const std::size_t channels = std::max<std::size_t>(1, sound_.channels);
    const std::size_t first_frame = std::min<std::size_t>(
        sound_.FrameCount(), static_cast<std::size_t>(position_ms) * sound_.sample_rate_hz / 1000);
    std::vector<std::int16_t> samples(sound_.samples.begin() + first_frame * channels,
                                      sound_.samples.end());
    stream_ = audio_.Play(std::move(samples), PcmFormat{static_cast<int>(sound_.sample_rate_hz),
                                                        static_cast<int>(channels)});
  }

  void Pause() override {
    if (stream_) stream_->Stop();
    stream_.reset();
  }

  bool Ended() const override { return stream_ && stream_->Finished(); }

 private:
  AudioOutput& audio_;
  acs::PcmSound sound_;
  std::unique_ptr<AudioStream> stream_;
};

}  // namespace

std::unique_ptr<MediaPlayback> MakePcmPlayback(AudioOutput& audio, acs::PcmSound sound) {
  return std::make_unique<PcmPlayback>(audio, std::move(sound));
}

}  // namespace rirerazo::desktop
