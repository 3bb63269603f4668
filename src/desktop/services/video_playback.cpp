#include <QAudioOutput>
#include <QGuiApplication>
#include <QMediaPlayer>
#include <QScreen>
#include <QUrl>
#include <QVideoSink>
#include <QVideoWidget>
#include <iostream>

#include "desktop/services/private/media_playback.h"

namespace rirerazo::desktop {
namespace {

class VideoPlayback final : public MediaPlayback {
 public:
  explicit VideoPlayback(const std::string& file) : file_(file) {
    window_.setWindowTitle(QStringLiteral("RIRERazo"));
    window_.resize(320, 240);
    player_.setVideoOutput(&window_);
    player_.setAudioOutput(&sound_);
    QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged,
                     [this](QMediaPlayer::MediaStatus status) {
                       if (status == QMediaPlayer::EndOfMedia) ended_ = true;
                       if (status == QMediaPlayer::InvalidMedia) Fail("not a video Qt can play");
                     });
    QObject::connect(
        &player_, &QMediaPlayer::errorOccurred,
        [this](QMediaPlayer::Error, const QString& text) { Fail(text.toStdString()); });
    // The window takes the video's own size once it is known, in the middle of the screen
    // (where a render draws the video too). Queued: the sink announces the size with its
    // lock held, so asking it for the size at once would wait on that lock for ever.
    QObject::connect(
        window_.videoSink(), &QVideoSink::videoSizeChanged, &window_,
        [this] {
          const QSize size = window_.videoSink()->videoSize();
          if (size.isEmpty()) return;
          window_.resize(size);
          Centre();
        },
        Qt::QueuedConnection);
    player_.setSource(QUrl::fromLocalFile(QString::fromStdString(file)));
  }

  ~VideoPlayback() override { player_.stop(); }

  void Play(std::int64_t position_ms) override {
    ended_ = false;
    if (!window_.isVisible()) Centre();
    window_.show();
    if (position_ms > 0) player_.setPosition(position_ms);
    player_.play();
  }

  void Pause() override { player_.pause(); }

  bool Ended() const override { return ended_ || failed_; }

 private:
  void Centre() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    window_.move(area.x() + (area.width() - window_.width()) / 2,
                 area.y() + (area.height() - window_.height()) / 2);
  }

  void Fail(const std::string& why) {
    if (failed_) return;
    failed_ = true;
    window_.hide();
    std::cerr << "RIRERazo: cannot play " << file_ << ": " << why << '\n';
  }

  std::string file_;
  QVideoWidget window_;
  QAudioOutput sound_;
  QMediaPlayer player_;
  bool ended_ = false;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<MediaPlayback> MakeVideoPlayback(const std::string& file) {
  return std::make_unique<VideoPlayback>(file);
}

}  // namespace rirerazo::desktop
