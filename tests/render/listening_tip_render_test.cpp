// The listening tip in a render: while Rira listens the video shows the desktop's
// "Listening…" tip under her, then what the input script's user said for as long as the
// desktop shows it, then nothing; each compared with the tip picture the desktop paints,
// at the place the desktop puts it.
#include <QGuiApplication>
#include <QPainter>
#include <filesystem>
#include <memory>

#include "desktop/character/listening_tip_picture.h"
#include "desktop/host/listening_tip_state.h"
#include "render/screen_canvas.h"
#include "render_test_support.h"

namespace rirerazo::render::testing {
namespace {

namespace fs = std::filesystem;

const std::string kRiraFolder = std::string(RIRERAZO_BINARY_DIR) + "/src";
const QRect kScreen(0, 0, 320, 240);
const QRect kRira(40, 40, 128, 128);

// Rira listens at (40, 40); the user says "wave" at 3 s, and she waves well past the time
// the tip tells what was heard.
const char kListeningScript[] = R"([VORN Script]
Version=1.0

[Characters]
Host=Rira.acs

[Commands]
Wave=Wave at me|~|wave

[CommandScript:Wave]
Host.Play Wave
Host.Play Wave
Host.Play Wave
Host.Play Wave
Host.Play Wave
Host.Play Wave
Host.Play Wave
Host.Play Wave
Host.Hide

[Script]
Host.MoveTo 40, 40, 0
Host.Show
Host.Listen True
)";
constexpr std::int64_t kSaidMs = 3000;

// The desktop's tip for `state` beside Rira, painted over the neutral desktop.
struct ExpectedTip {
  QRect place;
  QImage picture;
};
ExpectedTip TipFor(const desktop::ListeningTipState& state) {
  desktop::ListeningTipPicture tip;
  tip.Update(QString::fromStdString(state.text), state.listening, kRira, kScreen);
  ExpectedTip expected{tip.Window(), QImage(tip.Window().size(), QImage::Format_RGB888)};
  expected.picture.fill(ScreenCanvas::NeutralColour());
  QPainter painter(&expected.picture);
  tip.Paint(painter);
  return expected;
}

// How far the frame strays from the expected tip at its place, per pixel on average.
double DistanceFromTip(const QImage& frame, const ExpectedTip& tip) {
  double total = 0;
  for (int y = 0; y < tip.picture.height(); ++y) {
    for (int x = 0; x < tip.picture.width(); ++x) {
      total += Distance(frame.pixelColor(tip.place.topLeft() + QPoint(x, y)),
                        tip.picture.pixelColor(x, y));
    }
  }
  return total / (tip.picture.width() * tip.picture.height());
}

// The time of the first event of a kind in the trace, -1 when there is none.
std::int64_t EventMs(const std::string& trace, const std::string& event) {
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    const auto record = nlohmann::json::parse(line, nullptr, false);
    if (record.is_object() && record.value("event", "") == event) return record["t"];
  }
  return -1;
}

class ListeningTipRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kRiraFolder + "/Rira.acs")) GTEST_SKIP() << "Rira.acs is not built";
    setenv("RIRERAZO_CHARACTERS", kRiraFolder.c_str(), 1);
    // The expected pictures are laid out with the fonts the render uses.
    if (QGuiApplication::instance() == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
  }

  rirerazo::testing::ScratchFolder folder_;
  int argc_ = 1;
  char name_[9] = "rirerazo";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

TEST_F(ListeningTipRenderTest, TheTipShowsListeningThenThePhraseThenGoes) {
  RIRERAZO_REQUIRE_FFMPEG_TOOLS();
  const std::string video = folder_ / "listen.mp4";
  const RenderRun run = Render(folder_.Write("listen.vrn", kListeningScript), video,
                               {"--screen", "320x240", "--quiet", "--input",
                                folder_.Write("say.input", "3s say Host wave\n")});
  ASSERT_EQ(run.status, 0) << run.errors;
  const std::int64_t listening_ms = EventMs(run.trace, "ListenStart");
  ASSERT_GE(listening_ms, 0);
  ASSERT_LT(listening_ms, 2000);
  ASSERT_EQ(EventMs(run.trace, "Command"), kSaidMs);
  // Rira is still waving once the tip has gone.
  constexpr std::int64_t kGoneMs = kSaidMs + desktop::kTipShownMs + 300;
  ASSERT_GT(EventMs(run.trace, "Hide"), kGoneMs);

  const ExpectedTip listening = TipFor(desktop::ListeningTipFor("Host"));
  const ExpectedTip heard = TipFor(desktop::HeardTipFor("Host", "wave", 100));
  ASSERT_EQ(listening.place.top(), kRira.bottom() + 1 + desktop::ListeningTipPicture::kGapPx);
  ASSERT_NE(listening.place.width(), heard.place.width());
  const QColor neutral = ScreenCanvas::NeutralColour();
  auto frame_at = [&](std::int64_t ms) { return DecodeFrameAt(video, ms / 1000.0, 320, 240); };

  const QImage while_listening = frame_at(2500);
  ASSERT_FALSE(while_listening.isNull());
  EXPECT_LT(DistanceFromTip(while_listening, listening), 25);
  EXPECT_GT(MeanDistanceFrom(while_listening, listening.place, neutral), 120);

  const QImage after_said = frame_at(kSaidMs + desktop::kTipShownMs - 300);
  EXPECT_LT(DistanceFromTip(after_said, heard), 25);
  EXPECT_GT(DistanceFromTip(after_said, listening), DistanceFromTip(after_said, heard) + 10);

  const QImage gone = frame_at(kGoneMs);
  EXPECT_LT(MeanDistanceFrom(gone, heard.place.united(listening.place), neutral), 12);
  EXPECT_GT(MeanDistanceFrom(gone, kRira, neutral), 60) << "Rira is still there";
}

}  // namespace
}  // namespace rirerazo::render::testing
