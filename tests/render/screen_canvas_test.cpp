// The render's screen: characters at their place and size over the background, the balloon
// while a character speaks, the backdrop when shown, frame sounds as frames are reached, and
// the same pictures the desktop's composer makes.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <filesystem>
#include <memory>

#include "desktop/character/frame_cache.h"
#include "render/render_backdrop.h"
#include "render/screen_canvas.h"
#include "render/sound_track.h"
#include "render_test_support.h"
#include "runtime/acs/acs_file.h"
#include "runtime/rate_model.h"

namespace rirerazo::render::testing {
namespace {

const std::string kRiraPath = std::string(RIRERAZO_BINARY_DIR) + "/src/Rira.acs";

class SettableClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  std::int64_t now_ms = 0;
};

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kRiraPath)) GTEST_SKIP() << "Rira.acs is not built";
    if (QGuiApplication::instance() == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    runtime_.SetFileLoader([](const std::string& path) {
      return std::make_shared<const acs::Character>(acs::ReadCharacterFile(path));
    });
  }
  void TearDown() override {
    for (const std::string& id : runtime_.CharacterIds()) runtime_.Unload(id);
  }
  void RunFor(std::int64_t duration_ms) {
    const std::int64_t end_ms = clock_.now_ms + duration_ms;
    while (clock_.now_ms < end_ms) {
      clock_.now_ms = std::min(end_ms, clock_.now_ms + 10);
      runtime_.Advance(clock_.now_ms);
      canvas_.Sync();
    }
  }

  int argc_ = 1;
  char name_[9] = "rirerazo";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
  SettableClock clock_;
  runtime::RateModelEngine engine_;
  runtime::RuntimeOptions options_ = [] {
    runtime::RuntimeOptions options;
    options.idle_enabled = false;
    return options;
  }();
  runtime::CharacterRuntime runtime_{clock_, engine_, options_};
  SoundTrack track_{clock_, desktop::PcmFormat{8000, 1}};
  RenderBackdrop backdrop_;
  ScreenCanvas canvas_{runtime_, track_, QSize(401, 300), QImage(), &backdrop_};
};

TEST_F(CanvasTest, TheCharacterIsTheComposersFrameAtItsPlace) {
  EXPECT_EQ(canvas_.Image().size(), QSize(402, 300));  // even, for the video
  runtime_.Load("Rira", kRiraPath);
  auto& rira = runtime_.Character("Rira");
  rira.MoveTo(150, 60, 0);
  rira.Show();
  RunFor(2000);
  EXPECT_TRUE(canvas_.Paint());
  EXPECT_FALSE(canvas_.Paint());  // nothing changed since
  const QImage& screen = canvas_.Image();
  const QRect place = canvas_.CharacterPlace("Rira");
  ASSERT_EQ(place, QRect(150, 60, 128, 128));
  const runtime::FrameState state = runtime_.Frame("Rira");
  desktop::FrameCache cache;
  const desktop::CachedFrame& frame =
      cache.Get(*state.data->file, state.animation, state.frame, state.mouth_shape, 128, 128);
  int opaque = 0;
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const QColor expected = frame.image.pixelColor(x, y);
      const QColor shown = screen.pixelColor(150 + x, 60 + y);
      if (expected.alpha() == 255) {
        ++opaque;
        ASSERT_EQ(shown.rgb(), expected.rgb()) << x << "," << y;
      } else {
        ASSERT_EQ(shown, ScreenCanvas::NeutralColour()) << x << "," << y;
      }
    }
  }
  EXPECT_GT(opaque, 1000);
  EXPECT_EQ(screen.pixelColor(5, 5), ScreenCanvas::NeutralColour());
  EXPECT_EQ(screen.pixelColor(401, 150), ScreenCanvas::NeutralColour());  // the extra column
}

TEST_F(CanvasTest, TheBalloonShowsWhileSpeakingAndTheShowsPopSounds) {
  runtime_.Load("Rira", kRiraPath);
  auto& rira = runtime_.Character("Rira");
  rira.MoveTo(150, 150, 0);
  rira.Show();
  RunFor(1000);
  std::vector<std::int16_t> sound;
  track_.MixUntil(track_.FrameAt(1000), sound);
  EXPECT_GT(*std::max_element(sound.begin(), sound.end()), 1000);  // the pop at the start
  EXPECT_TRUE(canvas_.BalloonTextArea("Rira").isEmpty());
  rira.Speak("Hello there, how are you today?", std::nullopt);
  RunFor(600);
  const QRect text = canvas_.BalloonTextArea("Rira");
  ASSERT_FALSE(text.isEmpty());
  EXPECT_LT(text.bottom(), 150);  // above her
  canvas_.Paint();
  const QImage& speaking = canvas_.Image();
  EXPECT_GT(MeanDistanceFrom(speaking, text, ScreenCanvas::NeutralColour()), 150);
  RunFor(8000);  // the speech ends and the balloon hides after it
  EXPECT_TRUE(canvas_.BalloonTextArea("Rira").isEmpty());
  EXPECT_TRUE(canvas_.Paint());
  EXPECT_LT(MeanDistanceFrom(canvas_.Image(), text, ScreenCanvas::NeutralColour()), 1);
}

// Characters overlap as their windows do on the desktop: the one that appeared last lies on
// top, whatever the load order, and showing one again after a hide raises it.
TEST_F(CanvasTest, TheCharacterShownLastIsOnTop) {
  runtime_.Load("A", kRiraPath);
  runtime_.Load("B", kRiraPath);
  runtime_.Character("A").MoveTo(100, 100, 0);
  runtime_.Character("B").MoveTo(150, 110, 0);
  desktop::FrameCache cache;
  // The screen with the two characters painted bottom first.
  auto stacked = [&](const std::string& bottom, const std::string& top) {
    QImage screen(canvas_.Image().size(), QImage::Format_RGB32);
    screen.fill(ScreenCanvas::NeutralColour());
    QPainter painter(&screen);
    for (const std::string& id : {bottom, top}) {
      const runtime::FrameState state = runtime_.Frame(id);
      const desktop::CachedFrame& frame =
          cache.Get(*state.data->file, state.animation, state.frame, state.mouth_shape, 128, 128);
      painter.drawImage(QPoint(state.left_px, state.top_px), frame.image);
    }
    return screen;
  };
  const QRect both = QRect(100, 100, 128, 128).united(QRect(150, 110, 128, 128));
  auto region = [&](const QImage& image) { return image.copy(both); };

  runtime_.Character("B").Show();
  RunFor(2000);
  runtime_.Character("A").Show();
  RunFor(2000);
  canvas_.Paint();
  ASSERT_NE(region(stacked("A", "B")), region(stacked("B", "A")));  // the overlap tells
  EXPECT_EQ(region(canvas_.Image()), region(stacked("B", "A")));

  runtime_.Character("B").Hide();
  RunFor(2000);
  runtime_.Character("B").Show();
  RunFor(2000);
  canvas_.Paint();
  EXPECT_EQ(region(canvas_.Image()), region(stacked("A", "B")));
}

TEST_F(CanvasTest, TheBackdropShowsItsColourAndPicturesWhileShown) {
  backdrop_.Create({15 * 10, 15 * 20, 15 * 100, 15 * 50});
  backdrop_.SetColor(0x0000FF);  // red
  auto picture = std::make_shared<platform::Picture>();
  picture->width_px = picture->height_px = 2;
  picture->rgba.assign(16, 0);
  for (int i = 0; i < 4; ++i) picture->rgba[i * 4 + 2] = picture->rgba[i * 4 + 3] = 255;  // blue
  backdrop_.SetSlotPicture(0, picture);
  backdrop_.PlaceSlot(0, {15 * 50, 15 * 10, 15 * 20, 15 * 20});
  backdrop_.SetSlotVisible(0, true);
  canvas_.Paint();
  EXPECT_EQ(canvas_.Image().pixelColor(20, 30), ScreenCanvas::NeutralColour());  // hidden
  backdrop_.Show();
  EXPECT_TRUE(canvas_.Paint());
  const QImage& shown = canvas_.Image();
  EXPECT_EQ(shown.pixelColor(20, 30), QColor(255, 0, 0));
  EXPECT_EQ(shown.pixelColor(10 + 60, 20 + 20), QColor(0, 0, 255));
  EXPECT_EQ(shown.pixelColor(5, 5), ScreenCanvas::NeutralColour());
  EXPECT_THROW(backdrop_.SetSlotVisible(2, true), std::exception);  // fails as headless does
}

}  // namespace
}  // namespace rirerazo::render::testing
