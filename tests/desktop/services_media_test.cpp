// The desktop media device: wave sound through a fake audio output with the file's exact
// length, the state it reports, stop and close, the fallback end for a player that never
// reports one, error codes, and MIDI rendered to sound when fluidsynth is installed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <atomic>

#include "desktop/services/private/media_playback.h"
#include "desktop/services/qt_media_device.h"
#include "services_support.h"
#include "support/media_bytes.h"
#include "support/qt_desktop.h"
#include "support/scratch_folder.h"
#include "support/test_clip.h"

namespace rirerazo::desktop {
namespace {

namespace me = platform::media_error;
using testing::AsText;

// Sounds "play" until the test finishes them; nothing reaches a sound device.
class FakeAudio : public AudioOutput {
 public:
  struct Played {
    std::size_t samples = 0;
    PcmFormat format;
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> stopped = std::make_shared<std::atomic<bool>>(false);
  };

  std::unique_ptr<AudioStream> Play(std::vector<std::int16_t> samples, PcmFormat format,
                                    float) override {
    played.push_back({samples.size(), format});
    return std::make_unique<Stream>(played.back(), format.sample_rate_hz);
  }
  bool Audible() const override { return false; }

  std::vector<Played> played;

 private:
  class Stream : public AudioStream {
   public:
    Stream(Played played, int rate) : played_(std::move(played)), rate_(rate) {}
    ~Stream() override { *played_.stopped = true; }
    std::int64_t PlayedMs() const override { return Finished() ? DurationMs() : 0; }
    std::int64_t DurationMs() const override {
      return static_cast<std::int64_t>(played_.samples / played_.format.channels) * 1000 / rate_;
    }
    bool Finished() const override { return *played_.finished; }
    void Stop() override { *played_.stopped = true; }

   private:
    Played played_;
    int rate_;
  };
};

class DesktopMedia : public ::testing::Test {
 protected:
  std::uint32_t Send(const std::string& command) { return device_.SendString(command, reply_); }
  std::string Mode() {
    EXPECT_EQ(Send("status media mode"), me::kNone);
    return reply_;
  }

  testing::ScratchFolder folder_;
  FakeAudio audio_;
  std::int64_t now_ms_ = 1000;
  QtMediaDevice device_{audio_, [this] { return now_ms_; }};
  std::string reply_;
};

TEST_F(DesktopMedia, WavePlaysItsExactLengthThenStops) {
  const std::string wave = folder_.Write("with blanks/hello.wav", AsText(testing::WaveFile(1500)));
  ASSERT_EQ(Send("open \"" + wave + "\" type waveaudio alias media"), me::kNone);
  EXPECT_EQ(Mode(), "stopped");
  ASSERT_EQ(Send("play media"), me::kNone);
  ASSERT_EQ(audio_.played.size(), 1u);
  EXPECT_EQ(audio_.played[0].format.sample_rate_hz, 8000);
  EXPECT_EQ(audio_.played[0].samples, 12000u);  // 1500 ms at 8000 Hz, mono
  EXPECT_EQ(Mode(), "playing");
  now_ms_ += 1500;
  EXPECT_EQ(Mode(), "playing");  // the output has not said it is done
  *audio_.played[0].finished = true;
  EXPECT_EQ(Mode(), "stopped");
  ASSERT_EQ(Send("status media position"), me::kNone);
  EXPECT_EQ(reply_, "1500");
  EXPECT_EQ(Send("close media"), me::kNone);
  EXPECT_EQ(Send("status media mode"), me::kInvalidDeviceName);
}

TEST_F(DesktopMedia, StopHaltsTheSoundAndPlayResumesWhereItStood) {
  const std::string wave = folder_.Write("a.wav", AsText(testing::WaveFile(2000)));
  ASSERT_EQ(Send("open \"" + wave + "\" type waveaudio alias media"), me::kNone);
  ASSERT_EQ(Send("play media"), me::kNone);
  now_ms_ += 500;
  ASSERT_EQ(Send("stop media"), me::kNone);
  EXPECT_TRUE(*audio_.played[0].stopped);
  EXPECT_EQ(Mode(), "stopped");
  now_ms_ += 10000;
  ASSERT_EQ(Send("play media"), me::kNone);
  ASSERT_EQ(audio_.played.size(), 2u);
  EXPECT_EQ(audio_.played[1].samples, 12000u);  // the last 1500 ms
  ASSERT_EQ(Send("close media"), me::kNone);
  EXPECT_TRUE(*audio_.played[1].stopped);  // closing while playing silences the sound
}

TEST_F(DesktopMedia, AnEndNeverReportedComesFromTheFilesLength) {
  const std::string wave = folder_.Write("a.wav", AsText(testing::WaveFile(3000)));
  ASSERT_EQ(Send("open \"" + wave + "\" type waveaudio alias media"), me::kNone);
  ASSERT_EQ(Send("play media"), me::kNone);
  now_ms_ += 3000 + QtMediaDevice::FallbackGraceMs(3000) - 1;
  EXPECT_EQ(Mode(), "playing");
  now_ms_ += 1;
  EXPECT_EQ(Mode(), "stopped");  // the output never finished the stream
  EXPECT_TRUE(*audio_.played[0].stopped);
}

TEST_F(DesktopMedia, ErrorsHaveTheClassicCodesAndTexts) {
  const std::string text = folder_.Write("text.wav", "just some text, not a sound");
  EXPECT_EQ(Send("open \"" + text + "\" type waveaudio alias media"), me::kInvalidFile);
  EXPECT_EQ(Send("open \"" + folder_ / "none.wav" + "\" type waveaudio alias media"),
            me::kFileNotFound);
  EXPECT_EQ(Send("open \"" + text + "\" type cdaudio alias media"), me::kInvalidDeviceName);
  EXPECT_EQ(Send("status media mode"), me::kInvalidDeviceName);
  EXPECT_EQ(Send("rewind media"), me::kUnrecognizedCommand);
  EXPECT_EQ(Send(""), me::kMissingCommandString);
  const std::string wave = folder_.Write("a.wav", AsText(testing::WaveFile(100)));
  ASSERT_EQ(Send("open \"" + wave + "\" type waveaudio alias media"), me::kNone);
  EXPECT_EQ(Send("open \"" + wave + "\" type waveaudio alias media"), me::kDuplicateAlias);
  EXPECT_EQ(Send("status media volume"), me::kUnrecognizedKeyword);
  EXPECT_EQ(Send("close all"), me::kNone);
  EXPECT_EQ(Send("status media mode"), me::kInvalidDeviceName);
  EXPECT_EQ(device_.ErrorString(me::kFileNotFound),
            "Cannot find the specified file. Make sure the path and filename are correct.");
}

// A video whose player cannot play it (a header without frames) ends by the error or, at
// the latest, by the length its header gives; either way the window goes and nothing hangs.
TEST_F(DesktopMedia, VideoEndsAtTheLatestAfterItsHeadersLength) {
  RIRERAZO_REQUIRE_DESKTOP();
  const std::string avi = folder_.Write("clip.avi", AsText(testing::AviFile(20, 50000)));
  ASSERT_EQ(Send("open \"" + avi + "\" type avivideo alias media"), me::kNone);
  ASSERT_EQ(Send("status media length"), me::kNone);
  EXPECT_EQ(reply_, "1000");
  ASSERT_EQ(Send("play media"), me::kNone);
  testing::PumpUntil([] { return false; }, 300);  // the player may or may not report
  now_ms_ += 1000 + QtMediaDevice::FallbackGraceMs(1000);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Send("close media"), me::kNone);
}

// A video plays in a window of its own picture size in the middle of the screen, where a
// render draws it too, and its first second shows red there.
TEST_F(DesktopMedia, AVideoPlaysInTheMiddleOfTheScreen) {
  RIRERAZO_REQUIRE_DESKTOP();
  const std::string clip = testing::MakeRedThenBlueClip(folder_);
  if (clip.empty()) GTEST_SKIP() << "ffmpeg is missing";
  ASSERT_EQ(Send("open \"" + clip + "\" type avivideo alias media"), me::kNone);
  ASSERT_EQ(Send("play media"), me::kNone);
  QWidget* window = nullptr;
  testing::PumpUntil([&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->inherits("QVideoWidget") && widget->isVisible() &&
          widget->size() == QSize(64, 48)) {
        window = widget;
      }
    }
    return window != nullptr;
  });
  ASSERT_NE(window, nullptr) << "no video window of the clip's size";
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_LE((window->geometry().center() - screen.center()).manhattanLength(), 2)
      << "window at " << window->x() << "," << window->y();
  testing::PumpUntil([] { return false; }, 300);
  const QImage shot =
      QGuiApplication::primaryScreen()->grabWindow(0, window->x(), window->y(), 64, 48).toImage();
  const QColor middle = shot.pixelColor(32, 24);
  EXPECT_TRUE(middle.red() > 180 && middle.green() < 80 && middle.blue() < 80)
      << "middle of the window: " << middle.name().toStdString();
  EXPECT_EQ(Send("close media"), me::kNone);
}

// Offline (a render), videos go to the offline player; one that cannot decode the file
// leaves the item silent with its header's length.
TEST_F(DesktopMedia, OfflineVideosGoToTheOfflinePlayer) {
  QtMediaDevice offline(
      audio_, [this] { return now_ms_; }, true);
  struct Player : MediaPlayback {
    explicit Player(int& plays) : plays_(plays) {}
    void Play(std::int64_t) override { ++plays_; }
    void Pause() override {}
    bool Ended() const override { return false; }
    int& plays_;
  };
  int plays = 0;
  std::vector<std::pair<std::string, std::int64_t>> asked;
  bool decodable = true;
  offline.SetOfflineVideoPlayer([&](const std::string& file, std::int64_t length_ms) {
    asked.emplace_back(file, length_ms);
    return decodable ? std::make_unique<Player>(plays) : std::unique_ptr<Player>();
  });
  const std::string avi = folder_.Write("clip.avi", AsText(testing::AviFile(20, 50000)));
  ASSERT_EQ(offline.SendString("open \"" + avi + "\" type avivideo alias media", reply_),
            me::kNone);
  ASSERT_EQ(offline.SendString("play media", reply_), me::kNone);
  EXPECT_EQ(plays, 1);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], std::make_pair(avi, std::int64_t{1000}));
  ASSERT_EQ(offline.SendString("close media", reply_), me::kNone);

  decodable = false;
  ASSERT_EQ(offline.SendString("open \"" + avi + "\" type avivideo alias media", reply_),
            me::kNone);
  ASSERT_EQ(offline.SendString("play media", reply_), me::kNone);
  EXPECT_EQ(plays, 1);
  now_ms_ += 999;
  ASSERT_EQ(offline.SendString("status media mode", reply_), me::kNone);
  EXPECT_EQ(reply_, "playing");
  now_ms_ += 1;
  ASSERT_EQ(offline.SendString("status media mode", reply_), me::kNone);
  EXPECT_EQ(reply_, "stopped");
}

// A sequencer item renders through fluidsynth and plays through the output, cut at the
// file's own length (the renderer adds a release tail).
TEST_F(DesktopMedia, MidiIsRenderedAndPlaysItsOwnLength) {
  RIRERAZO_REQUIRE_DESKTOP();
  if (FindMidiRenderer().empty() || FindSoundFont().empty()) {
    GTEST_SKIP() << "fluidsynth or a General MIDI sound font is not installed";
  }
  // 500000 us per quarter for 480 ticks, then twice as fast: a 960-tick note lasts 750 ms.
  const std::string midi = folder_.Write("tune.mid", AsText(testing::MidiFile(500000, 480, 960)));
  ASSERT_EQ(Send("open \"" + midi + "\" type sequencer alias media"), me::kNone);
  ASSERT_EQ(Send("status media length"), me::kNone);
  const std::int64_t length_ms = std::stoll(reply_);
  ASSERT_EQ(Send("play media"), me::kNone);
  EXPECT_EQ(Mode(), "playing");
  ASSERT_TRUE(testing::PumpUntil([&] { return !audio_.played.empty(); }, 10000));
  const FakeAudio::Played& played = audio_.played[0];
  EXPECT_EQ(played.format.sample_rate_hz, 22050);
  EXPECT_EQ(static_cast<std::int64_t>(played.samples / played.format.channels),
            length_ms * 22050 / 1000);
  *played.finished = true;
  EXPECT_EQ(Mode(), "stopped");
}

}  // namespace
}  // namespace rirerazo::desktop
