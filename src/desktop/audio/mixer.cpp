#include "desktop/audio/private/mixer.h"

#include <algorithm>
#include <chrono>

#include "desktop/audio/private/pcm.h"

namespace rirerazo::desktop {

// One sound's frames in the device format and its progress. Guarded by the mixer's mutex,
// which the stream shares so it stays valid if the stream outlives the output.
struct Mixer::Sound {
  std::vector<std::int16_t> samples;  // as given; converted chunk by chunk while mixing
  PcmFormat format;
  float volume = 1.0f;
  std::int64_t total_frames = 0;
  std::int64_t written_frames = 0;
  std::int64_t duration_ms = 0;
  bool stopped = false;
  std::optional<std::int64_t> first_write_ms;
  bool latency_known = false;
  std::int64_t anchor_ms = 0;      // when the position below was measured
  std::int64_t anchor_pos_ms = 0;  // position in the sound then
  mutable std::int64_t last_played_ms = 0;
};

namespace {

class MixerStream : public AudioStream {
 public:
  MixerStream(std::shared_ptr<Mixer::Sound> sound, std::shared_ptr<std::mutex> mutex,
              NowMsFunction now_ms, int rate_hz)
      : sound_(std::move(sound)),
        mutex_(std::move(mutex)),
        now_ms_(std::move(now_ms)),
        rate_hz_(rate_hz) {}
  ~MixerStream() override { Stop(); }

  std::int64_t PlayedMs() const override {
    std::lock_guard lock(*mutex_);
    return PlayedLocked();
  }
  std::int64_t DurationMs() const override { return sound_->duration_ms; }
  bool Finished() const override {
    std::lock_guard lock(*mutex_);
    return sound_->stopped || PlayedLocked() >= sound_->duration_ms;
  }
  void Stop() override {
    std::lock_guard lock(*mutex_);
    if (sound_->stopped) return;
    sound_->last_played_ms = PlayedLocked();
    sound_->stopped = true;
  }

 private:
  std::int64_t PlayedLocked() const {
    const Mixer::Sound& s = *sound_;
    if (s.stopped || !s.first_write_ms) return s.last_played_ms;
    const std::int64_t now = now_ms_();
    std::int64_t position = now - *s.first_write_ms;
    if (s.latency_known) position = s.anchor_pos_ms + (now - s.anchor_ms);
    if (s.written_frames < s.total_frames) {
      position = std::min(position, FramesToMs(s.written_frames, rate_hz_));
    }
    position = std::clamp<std::int64_t>(position, s.last_played_ms, s.duration_ms);
    s.last_played_ms = position;
    return position;
  }

  std::shared_ptr<Mixer::Sound> sound_;
  std::shared_ptr<std::mutex> mutex_;
  NowMsFunction now_ms_;
  int rate_hz_;
};

}  // namespace

std::int64_t SteadyNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Mixer::Mixer(PcmFormat device_format, NowMsFunction now_ms)
    : device_format_(device_format),
      now_ms_(std::move(now_ms)),
      mutex_(std::make_shared<std::mutex>()) {}

Mixer::~Mixer() {
  Close();
}

std::unique_ptr<AudioStream> Mixer::Add(std::vector<std::int16_t> samples, const PcmFormat& format,
                                        float volume) {
  auto sound = std::make_shared<Sound>();
  if (ValidPcmFormat(format)) {
    sound->total_frames = ConvertedFrames(samples.size(), format, device_format_);
    sound->samples = std::move(samples);
    sound->format = format;
    sound->volume = volume;
  }
  sound->duration_ms = FramesToMs(sound->total_frames, device_format_.sample_rate_hz);
  {
    std::lock_guard lock(*mutex_);
    if (closed_) sound->stopped = true;  // the output is going away: the sound never starts
    if (sound->total_frames > 0 && !closed_) pending_.push_back(sound);
    if (sound->total_frames == 0) sound->first_write_ms = now_ms_();
  }
  work_.notify_all();
  return std::make_unique<MixerStream>(sound, mutex_, now_ms_, device_format_.sample_rate_hz);
}

bool Mixer::MixNext(std::size_t frames, std::vector<std::int16_t>& out) {
  std::lock_guard lock(*mutex_);
  std::erase_if(pending_, [](const auto& sound) { return sound->stopped; });
  out.clear();
  if (pending_.empty()) return false;
  const std::size_t channels = std::size_t(device_format_.channels);
  sum_.assign(frames * channels, 0);
  const std::int64_t now = now_ms_();
  for (const std::shared_ptr<Sound>& sound : pending_) {
    const std::int64_t take =
        std::min<std::int64_t>(std::int64_t(frames), sound->total_frames - sound->written_frames);
    AddConverted(sound->samples, sound->format, device_format_, sound->volume,
                 sound->written_frames, take, sum_);
    if (!sound->first_write_ms) {
      sound->first_write_ms = now;
      heard_.push_back(sound);
    }
    sound->written_frames += take;
  }
  std::erase_if(pending_,
                [](const auto& sound) { return sound->written_frames >= sound->total_frames; });
  out.resize(sum_.size());
  ClipInto(sum_, out);
  return true;
}

void Mixer::NoteLatency(std::int64_t latency_ms) {
  std::lock_guard lock(*mutex_);
  const std::int64_t now = now_ms_();
  const int rate_hz = device_format_.sample_rate_hz;
  for (const std::shared_ptr<Sound>& sound : heard_) {
    sound->latency_known = true;
    sound->anchor_ms = now;
    sound->anchor_pos_ms = std::max<std::int64_t>(
        0, FramesToMs(sound->written_frames, rate_hz) - std::max<std::int64_t>(latency_ms, 0));
  }
  std::erase_if(heard_, [](const auto& sound) {
    return sound->stopped || sound->anchor_pos_ms >= sound->duration_ms;
  });
}

bool Mixer::WaitForWork() {
  std::unique_lock lock(*mutex_);
  work_.wait(lock, [this] { return closed_ || !pending_.empty(); });
  return !closed_;
}

void Mixer::Close() {
  {
    std::lock_guard lock(*mutex_);
    closed_ = true;
  }
  work_.notify_all();
}

}  // namespace rirerazo::desktop
