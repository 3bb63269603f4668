// Videos of media statements in a render: the clip's pictures at their times (forward and
// back), its sound, the layer's place for them and their sound in the track, and a render of
// a script that plays one: the picture in the middle of the screen, changing with time, and
// its sound; a file that cannot be decoded keeps its length in silence with a notice.
#include <QGuiApplication>
#include <filesystem>

#include "render/screen_canvas.h"
#include "render/sound_track.h"
#include "render/video_clip.h"
#include "render/video_layer.h"
#include "render_test_support.h"
#include "support/media_bytes.h"
#include "support/test_clip.h"

namespace rirerazo::render::testing {
namespace {

namespace fs = std::filesystem;

QColor MeanColour(const QImage& image, const QRect& region) {
  long r = 0, g = 0, b = 0, n = 0;
  const QRect clipped = region.intersected(image.rect());
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      r += c.red(), g += c.green(), b += c.blue(), ++n;
    }
  }
  return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

bool Reddish(QColor c) {
  return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}
bool Bluish(QColor c) {
  return c.blue() > 200 && c.red() < 60 && c.green() < 60;
}

class SettableClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  std::int64_t now_ms = 0;
};

class VideoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RIRERAZO_REQUIRE_FFMPEG_TOOLS();
    clip_path_ = rirerazo::testing::MakeRedThenBlueClip(folder_);
    if (clip_path_.empty()) GTEST_SKIP() << "ffmpeg cannot make a test clip";
    if (QGuiApplication::instance() == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
  }

  rirerazo::testing::ScratchFolder folder_;
  std::string clip_path_;
  int argc_ = 1;
  char name_[9] = "rirerazo";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

TEST_F(VideoTest, TheClipGivesThePictureOfEachTimeForwardAndBack) {
  const auto clip = VideoClip::Open(clip_path_, desktop::PcmFormat{8000, 1});
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->Size(), QSize(64, 48));
  EXPECT_TRUE(clip->SeekTo(0));
  EXPECT_TRUE(Reddish(MeanColour(clip->Picture(), QRect(8, 8, 48, 32))));
  EXPECT_TRUE(clip->SeekTo(450));
  EXPECT_FALSE(clip->SeekTo(480));  // the same picture is still due
  EXPECT_TRUE(clip->SeekTo(1500));
  EXPECT_TRUE(Bluish(MeanColour(clip->Picture(), QRect(8, 8, 48, 32))));
  EXPECT_TRUE(clip->SeekTo(300));  // back: decoded again from the start
  EXPECT_TRUE(Reddish(MeanColour(clip->Picture(), QRect(8, 8, 48, 32))));
  clip->SeekTo(60'000);  // past the end the last picture stays
  EXPECT_TRUE(Bluish(MeanColour(clip->Picture(), QRect(8, 8, 48, 32))));
  // Two seconds of tone at 8 kHz, within a few milliseconds.
  EXPECT_NEAR(double(clip->Sound().size()), 16000.0, 100.0);
  EXPECT_GT(*std::max_element(clip->Sound().begin(), clip->Sound().end()), 2000);
}

TEST_F(VideoTest, FilesThatAreNoVideoAreNotOpened) {
  EXPECT_FALSE(VideoClip::Open(folder_ / "missing.avi", desktop::PcmFormat{8000, 1}));
  const std::string text = folder_.Write("text.avi", "not a video at all");
  EXPECT_FALSE(VideoClip::Open(text, desktop::PcmFormat{8000, 1}));
  const auto header = rirerazo::testing::AviFile(20, 50000);
  const std::string empty = folder_.Write("empty.avi", std::string(header.begin(), header.end()));
  EXPECT_FALSE(VideoClip::Open(empty, desktop::PcmFormat{8000, 1}));
}

// The layer plays on the clock: the picture follows the position, Pause holds it and cuts
// the sound, and closing the video (its player goes) takes it off the screen.
TEST_F(VideoTest, TheLayerShowsThePictureOfThePositionInTheMiddle) {
  SettableClock clock;
  SoundTrack track(clock, desktop::PcmFormat{8000, 1});
  VideoLayer layer(clock, track, QSize(200, 100));
  EXPECT_EQ(layer.PlaceOf(QSize(64, 48)), QRect(68, 26, 64, 48));
  auto player = layer.Open(clip_path_, 2000);
  ASSERT_TRUE(player);
  EXPECT_FALSE(layer.Sync().changed);  // not shown before it plays
  clock.now_ms = 100;
  player->Play(0);
  EXPECT_TRUE(layer.Sync().raised);
  QImage screen(200, 100, QImage::Format_RGB32);
  auto paint = [&] {
    screen.fill(Qt::white);
    QPainter painter(&screen);
    layer.Paint(painter);
  };
  clock.now_ms = 1400;  // 1.3 s in: blue
  EXPECT_TRUE(layer.Sync().changed);
  paint();
  EXPECT_TRUE(Bluish(MeanColour(screen, QRect(70, 30, 60, 40))));
  EXPECT_EQ(screen.pixelColor(60, 50), QColor(Qt::white));
  EXPECT_FALSE(player->Ended());
  clock.now_ms = 2100;
  EXPECT_TRUE(player->Ended());
  std::vector<std::int16_t> sound;
  track.MixUntil(track.FrameAt(2100), sound);
  auto energy_at = [&](std::int64_t ms) {
    double sum = 0;
    for (std::int64_t i = ms * 8; i < ms * 8 + 400; ++i) sum += std::abs(double(sound[i]));
    return sum / 400;
  };
  EXPECT_LT(energy_at(20), 1);  // before it plays
  EXPECT_GT(energy_at(1000), 1000);

  clock.now_ms = 3000;
  player->Play(500);  // from half a second in, red again; its sound starts now
  layer.Sync();
  paint();
  EXPECT_TRUE(Reddish(MeanColour(screen, QRect(70, 30, 60, 40))));
  clock.now_ms = 3200;
  player->Pause();
  clock.now_ms = 5000;
  layer.Sync();
  track.MixUntil(track.FrameAt(5000), sound);  // from 2.1 s on
  EXPECT_GT(*std::max_element(sound.begin() + 8 * 1000, sound.begin() + 8 * 1100), 2000);
  EXPECT_EQ(*std::max_element(sound.begin() + 8 * 1100, sound.end()), 0);  // after the pause
  player.reset();
  EXPECT_TRUE(layer.Sync().changed);
  paint();
  EXPECT_EQ(MeanColour(screen, QRect(70, 30, 60, 40)), QColor(Qt::white));
}

class VideoRenderTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    if (IsSkipped()) return;
    const std::string characters = std::string(RIRERAZO_BINARY_DIR) + "/src";
    if (!fs::exists(characters + "/Rira.acs")) GTEST_SKIP() << "Rira.acs is not built";
    setenv("RIRERAZO_CHARACTERS", characters.c_str(), 1);
  }
};

// Rira waves in the corner while the clip plays in the middle of a 320x240 screen.
constexpr char kVideoScript[] = R"([VORN Script]
Version=1.0

[Characters]
Host=Rira.acs

[Script]
Host.MoveTo 0, 0, 0
PLAYAVI clip.avi
Host.Show
Host.Play Wave
Host.Play Wave
Host.Play Wave
Host.Hide
)";

// When the media device opened the file, from the trace.
std::int64_t MediaOpenMs(const std::string& trace) {
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    const auto record = nlohmann::json::parse(line, nullptr, false);
    if (record.is_object() && record.value("kind", "") == "media" &&
        record.value("command", "").starts_with("open")) {
      return record["t"];
    }
  }
  return -1;
}

TEST_F(VideoRenderTest, TheVideoIsDrawnInTheMiddleWithItsSound) {
  const std::string script = folder_.Write("show.vrn", kVideoScript);
  const std::string video = folder_ / "show.mp4";
  const RenderRun run = Render(script, video, {"--screen", "320x240"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors.find("cannot draw the video"), std::string::npos) << run.errors;
  const double start_s = double(MediaOpenMs(run.trace)) / 1000;
  ASSERT_GE(start_s, 0);
  ASSERT_GT(double(TraceEndMs(run.trace)) / 1000, start_s + 2.5);

  const QRect middle(128 + 4, 96 + 4, 56, 40);
  const QImage early = DecodeFrameAt(video, start_s + 0.5, 320, 240);
  ASSERT_FALSE(early.isNull());
  EXPECT_TRUE(Reddish(MeanColour(early, middle))) << MeanColour(early, middle).name().toStdString();
  EXPECT_LT(MeanDistanceFrom(early, QRect(200, 180, 100, 50), ScreenCanvas::NeutralColour()), 12);
  const QImage late = DecodeFrameAt(video, start_s + 1.5, 320, 240);
  EXPECT_TRUE(Bluish(MeanColour(late, middle))) << MeanColour(late, middle).name().toStdString();
  const QImage after = DecodeFrameAt(video, start_s + 2.3, 320, 240);
  EXPECT_TRUE(Bluish(MeanColour(after, middle)));  // the last picture stays until closed

  const auto sound = DecodeSound(video);
  EXPECT_GT(Energy(sound, start_s + 0.8, start_s + 1.8), 1000);
  EXPECT_LT(Energy(sound, start_s + 2.2, start_s + 2.5), 30);
}

TEST_F(VideoRenderTest, AVideoThatCannotBeDecodedKeepsItsLengthInSilence) {
  const auto header = rirerazo::testing::AviFile(20, 50000);
  fs::remove(clip_path_);
  folder_.Write("clip.avi", std::string(header.begin(), header.end()));
  const std::string script = folder_.Write("show.vrn", kVideoScript);
  const RenderRun run = Render(script, folder_ / "show.mp4", {"--screen", "160x120", "--quiet"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.errors.find("cannot draw the video"), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace rirerazo::render::testing
