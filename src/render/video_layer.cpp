#include "render/video_layer.h"

#include <algorithm>

#include "render/video_clip.h"

namespace rirerazo::render {

// One open video: its position on the virtual clock, its sound in the track while it plays.
class VideoLayer::Playback final : public desktop::MediaPlayback {
 public:
  Playback(VideoLayer& layer, std::unique_ptr<VideoClip> clip, std::int64_t length_ms)
      : layer_(layer), clip_(std::move(clip)), length_ms_(length_ms) {}
  ~Playback() override { layer_.Gone(this); }

  void Play(std::int64_t position_ms) override {
    position_ms_ = std::clamp<std::int64_t>(position_ms, 0, length_ms_);
    started_ms_ = layer_.clock_.NowMs();
    playing_ = true;
    StartSound();
    layer_.Showing(this);
  }

  void Pause() override {
    if (!playing_) return;
    position_ms_ = Position();
    playing_ = false;
    sound_.reset();  // a stream stops when it goes
  }

  bool Ended() const override { return Position() >= length_ms_; }

  // Decodes up to the current position; true when the picture changed.
  bool Sync() { return clip_->SeekTo(Position()); }
  void Paint(QPainter& painter) {
    painter.drawImage(layer_.PlaceOf(clip_->Size()).topLeft(), clip_->Picture());
  }

 private:
  std::int64_t Position() const {
    if (!playing_) return position_ms_;
    return std::min(length_ms_, position_ms_ + layer_.clock_.NowMs() - started_ms_);
  }

  // The sound from the position on; none past its end.
  void StartSound() {
    const desktop::PcmFormat format = layer_.sound_.Format();
    const std::vector<std::int16_t>& all = clip_->Sound();
    const std::size_t from =
        std::size_t(position_ms_ * format.sample_rate_hz / 1000) * std::size_t(format.channels);
    sound_.reset();
    if (from >= all.size()) return;
    sound_ = layer_.sound_.Play(
        std::vector<std::int16_t>(all.begin() + std::ptrdiff_t(from), all.end()), format, 1.0f);
  }

  VideoLayer& layer_;
  std::unique_ptr<VideoClip> clip_;
  std::int64_t length_ms_;
  std::int64_t position_ms_ = 0;
  std::int64_t started_ms_ = 0;
  bool playing_ = false;
  std::unique_ptr<desktop::AudioStream> sound_;
};

VideoLayer::VideoLayer(const platform::Clock& clock, SoundTrack& sound, QSize screen)
    : clock_(clock), sound_(sound), screen_(screen) {}

VideoLayer::~VideoLayer() = default;

std::unique_ptr<desktop::MediaPlayback> VideoLayer::Open(const std::string& file,
                                                         std::int64_t length_ms) {
  std::unique_ptr<VideoClip> clip = VideoClip::Open(file, sound_.Format());
  if (!clip) return nullptr;
  return std::make_unique<Playback>(*this, std::move(clip), length_ms);
}

VideoLayer::Change VideoLayer::Sync() {
  Change change{changed_, raised_};
  changed_ = raised_ = false;
  for (Playback* playback : shown_) change.changed |= playback->Sync();
  return change;
}

void VideoLayer::Paint(QPainter& painter) {
  for (Playback* playback : shown_) playback->Paint(painter);
}

QRect VideoLayer::PlaceOf(QSize video) const {
  return QRect(
      QPoint((screen_.width() - video.width()) / 2, (screen_.height() - video.height()) / 2),
      video);
}

void VideoLayer::Showing(Playback* playback) {
  if (std::find(shown_.begin(), shown_.end(), playback) != shown_.end()) return;
  shown_.push_back(playback);
  changed_ = raised_ = true;
}

void VideoLayer::Gone(Playback* playback) {
  changed_ |= std::erase(shown_, playback) > 0;
}

}  // namespace rirerazo::render
