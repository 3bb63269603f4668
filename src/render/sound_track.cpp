#include "render/sound_track.h"

#include <algorithm>

#include "desktop/audio/private/pcm.h"

namespace rirerazo::render {

struct SoundTrack::Sound {
  std::vector<std::int16_t> samples;  // in the track's format
  std::int64_t start_frame = 0;
  std::int64_t end_frame = 0;  // cut earlier when stopped
  std::int64_t start_ms = 0;
  std::int64_t duration_ms = 0;
};

namespace {

class TrackStream : public desktop::AudioStream {
 public:
  TrackStream(const platform::Clock& clock, std::shared_ptr<SoundTrack::Sound> sound, int rate_hz)
      : clock_(clock), sound_(std::move(sound)), rate_hz_(rate_hz) {}
  ~TrackStream() override { Stop(); }

  std::int64_t PlayedMs() const override {
    const std::int64_t until = stopped_at_ms_ >= 0 ? stopped_at_ms_ : clock_.NowMs();
    return std::clamp<std::int64_t>(until - sound_->start_ms, 0, sound_->duration_ms);
  }
  std::int64_t DurationMs() const override { return sound_->duration_ms; }
  bool Finished() const override {
    return stopped_at_ms_ >= 0 || clock_.NowMs() >= sound_->start_ms + sound_->duration_ms;
  }
  // The sound is cut at the virtual time of the call.
  void Stop() override {
    if (stopped_at_ms_ >= 0) return;
    stopped_at_ms_ = clock_.NowMs();
    const std::int64_t cut = stopped_at_ms_ * rate_hz_ / 1000;
    sound_->end_frame = std::clamp(cut, sound_->start_frame, sound_->end_frame);
  }

 private:
  const platform::Clock& clock_;
  std::shared_ptr<SoundTrack::Sound> sound_;
  int rate_hz_;
  std::int64_t stopped_at_ms_ = -1;
};

}  // namespace

SoundTrack::SoundTrack(const platform::Clock& clock, desktop::PcmFormat format)
    : clock_(clock), format_(format) {}

SoundTrack::~SoundTrack() = default;

std::unique_ptr<desktop::AudioStream> SoundTrack::Play(std::vector<std::int16_t> samples,
                                                       desktop::PcmFormat format, float volume) {
  auto sound = std::make_shared<Sound>();
  if (desktop::ValidPcmFormat(format)) {
    sound->samples = desktop::ConvertPcm(samples, format, format_, volume);
  }
  const std::int64_t frames = std::int64_t(sound->samples.size()) / format_.channels;
  sound->start_ms = clock_.NowMs();
  sound->start_frame = FrameAt(sound->start_ms);
  sound->end_frame = sound->start_frame + frames;
  sound->duration_ms = desktop::FramesToMs(frames, format_.sample_rate_hz);
  if (frames > 0) sounds_.push_back(sound);
  return std::make_unique<TrackStream>(clock_, std::move(sound), format_.sample_rate_hz);
}

void SoundTrack::MixUntil(std::int64_t end_frame, std::vector<std::int16_t>& out) {
  out.clear();
  if (end_frame <= mixed_frames_) return;
  const std::size_t channels = std::size_t(format_.channels);
  const std::size_t count = std::size_t(end_frame - mixed_frames_);
  sum_.assign(count * channels, 0);
  for (const auto& sound : sounds_) {
    const std::int64_t from = std::max(sound->start_frame, mixed_frames_);
    const std::int64_t to = std::min(sound->end_frame, end_frame);
    for (std::int64_t frame = from; frame < to; ++frame) {
      const std::size_t in = std::size_t(frame - sound->start_frame) * channels;
      const std::size_t at = std::size_t(frame - mixed_frames_) * channels;
      for (std::size_t c = 0; c < channels; ++c) sum_[at + c] += sound->samples[in + c];
    }
  }
  out.resize(sum_.size());
  desktop::ClipInto(sum_, out);
  mixed_frames_ = end_frame;
  std::erase_if(sounds_, [&](const auto& sound) { return sound->end_frame <= mixed_frames_; });
}

}  // namespace rirerazo::render
