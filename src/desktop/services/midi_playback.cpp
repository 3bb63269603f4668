#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <vector>

#include "desktop/services/private/media_playback.h"
#include "platform/runtime_error.h"

namespace rirerazo::desktop {
namespace {

constexpr int kRenderRateHz = 22050;

class MidiPlayback final : public MediaPlayback {
 public:
  MidiPlayback(AudioOutput& audio, const std::string& file, const std::string& sound_font,
               std::int64_t length_ms, std::function<std::int64_t()> now_ms, bool wait)
      : audio_(audio), file_(file), length_ms_(length_ms), now_ms_(std::move(now_ms)) {
    if (!rendered_.open()) {
      Fail("no temporary file for the rendered sound");
      return;
    }
    rendered_.close();  // fluidsynth writes it by name
    QObject::connect(&renderer_, &QProcess::finished, [this] { Rendered(); });
    QObject::connect(&renderer_, &QProcess::errorOccurred, [this](QProcess::ProcessError e) {
      if (e == QProcess::FailedToStart) Fail("fluidsynth did not start");
    });
    renderer_.start(QString::fromStdString(FindMidiRenderer()),
                    {"-n", "-i", "-q", "-g", "0.6", "-r", QString::number(kRenderRateHz), "-O",
                     "s16", "-T", "wav", "-F", rendered_.fileName(),
                     QString::fromStdString(sound_font), QString::fromStdString(file)});
    if (wait) renderer_.waitForFinished(-1);  // emits finished, which decodes the sound
  }

  ~MidiPlayback() override {
    if (renderer_.state() != QProcess::NotRunning) {
      renderer_.kill();
      renderer_.waitForFinished(1000);
    }
  }

  void Play(std::int64_t position_ms) override {
    play_from_ms_ = position_ms;
    play_requested_at_ms_ = now_ms_();
    if (sound_) sound_->Play(position_ms);
  }

  void Pause() override {
    play_requested_at_ms_.reset();
    if (sound_) sound_->Pause();
  }

  bool Ended() const override { return failed_ || (sound_ && sound_->Ended()); }

 private:
  void Fail(const std::string& why) {
    if (failed_) return;
    failed_ = true;
    std::cerr << "RIRERazo: cannot play " << file_ << ": " << why << '\n';
  }

  // Decodes the rendered file, cut at the file's own length, and starts it where the clock
  // says the item stands when a Play is waiting.
  void Rendered() {
    QFile in(rendered_.fileName());
    if (renderer_.exitCode() != 0 || !in.open(QIODevice::ReadOnly)) {
      Fail("fluidsynth could not render it");
      return;
    }
    const QByteArray bytes = in.readAll();
    try {
      acs::PcmSound pcm = acs::DecodeWav(
          std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size()));
      const std::size_t frames = static_cast<std::size_t>(length_ms_) * pcm.sample_rate_hz / 1000;
      if (pcm.FrameCount() > frames) pcm.samples.resize(frames * pcm.channels);
      sound_ = MakePcmPlayback(audio_, std::move(pcm));
    } catch (const RuntimeError&) {
      Fail("the rendered sound is unreadable");
      return;
    }
    if (play_requested_at_ms_) sound_->Play(play_from_ms_ + now_ms_() - *play_requested_at_ms_);
  }

  AudioOutput& audio_;
  std::string file_;
  std::int64_t length_ms_;
  std::function<std::int64_t()> now_ms_;
  QTemporaryFile rendered_;
  QProcess renderer_;
  std::unique_ptr<MediaPlayback> sound_;  // once rendered
  std::int64_t play_from_ms_ = 0;
  std::optional<std::int64_t> play_requested_at_ms_;  // set while a Play is in force
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<MediaPlayback> MakeMidiPlayback(AudioOutput& audio, const std::string& file,
                                                const std::string& sound_font,
                                                std::int64_t length_ms,
                                                std::function<std::int64_t()> now_ms,
                                                bool wait) {
  return std::make_unique<MidiPlayback>(audio, file, sound_font, length_ms, std::move(now_ms),
                                        wait);
}

namespace {

class SilentPlayback final : public MediaPlayback {
 public:
  SilentPlayback(std::int64_t length_ms, std::function<std::int64_t()> now_ms)
      : length_ms_(length_ms), now_ms_(std::move(now_ms)) {}
  void Play(std::int64_t position_ms) override {
    ends_at_ms_ = now_ms_() + std::max<std::int64_t>(0, length_ms_ - position_ms);
  }
  void Pause() override { ends_at_ms_.reset(); }
  bool Ended() const override { return ends_at_ms_ && now_ms_() >= *ends_at_ms_; }

 private:
  std::int64_t length_ms_;
  std::function<std::int64_t()> now_ms_;
  std::optional<std::int64_t> ends_at_ms_;
};

}  // namespace

std::unique_ptr<MediaPlayback> MakeSilentPlayback(std::int64_t length_ms,
                                                  std::function<std::int64_t()> now_ms) {
  return std::make_unique<SilentPlayback>(length_ms, std::move(now_ms));
}

std::string FindSoundFont() {
  if (const char* chosen = std::getenv("RIRERAZO_SOUNDFONT"); chosen != nullptr && *chosen) {
    return chosen;
  }
  for (const char* path :
       {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"}) {
    if (QFileInfo::exists(path)) return path;
  }
  return {};
}

std::string FindMidiRenderer() {
  return QStandardPaths::findExecutable(QStringLiteral("fluidsynth")).toStdString();
}

}  // namespace rirerazo::desktop
