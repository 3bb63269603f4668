// The word balloon: placement rules, body size, text cut and decoding, and the window on a
// private X server (text revealed word by word, the character file's colours, thought).
#include <QFontMetrics>

#include "character_test_support.h"
#include "desktop/character/balloon_layout.h"
#include "desktop/character/balloon_window.h"

namespace rirerazo::desktop::testing {
namespace {

const QRect kScreen(0, 0, 1024, 768);

TEST(BalloonPlacement, AboveWhenThereIsRoomElseBelowElseBeside) {
  const QSize body(200, 60);
  BalloonPlacement above = PlaceBalloon(body, QRect(400, 300, 100, 100), kScreen);
  EXPECT_EQ(above.side, TailSide::kBottom);
  EXPECT_LT(above.body.bottom(), 300);
  EXPECT_NEAR(above.body.center().x(), QRect(400, 300, 100, 100).center().x(), 1);
  EXPECT_EQ(above.tip.y(), 299);

  BalloonPlacement below = PlaceBalloon(body, QRect(400, 20, 100, 100), kScreen);
  EXPECT_EQ(below.side, TailSide::kTop);
  EXPECT_GT(below.body.top(), 120);
  EXPECT_EQ(below.tip.y(), 120);

  // A character as tall as the screen: beside it, right when it fits, else left.
  BalloonPlacement right = PlaceBalloon(body, QRect(100, 0, 100, 768), kScreen);
  EXPECT_EQ(right.side, TailSide::kLeft);
  EXPECT_GT(right.body.left(), 200);
  BalloonPlacement left = PlaceBalloon(body, QRect(800, 0, 200, 768), kScreen);
  EXPECT_EQ(left.side, TailSide::kRight);
  EXPECT_LT(left.body.right(), 800);
  for (const auto& placement : {above, below, right, left}) {
    EXPECT_TRUE(kScreen.contains(placement.body)) << placement.body.x();
    EXPECT_TRUE(placement.window.contains(placement.body));
    EXPECT_TRUE(placement.window.contains(placement.tip));
  }
}

TEST(BalloonPlacement, KeptOnScreenAtTheEdgesWithTheTailOnTheBody) {
  const QSize body(300, 60);
  BalloonPlacement at_left = PlaceBalloon(body, QRect(-40, 400, 100, 100), kScreen);
  EXPECT_EQ(at_left.body.left(), 0);
  BalloonPlacement at_right = PlaceBalloon(body, QRect(980, 400, 100, 100), kScreen);
  EXPECT_EQ(at_right.body.right(), 1023);
  // The tail stays over the body even when the character's centre is off it.
  EXPECT_LE(at_right.tip.x(), at_right.body.right());
  // Wider than the screen: starts at its left edge.
  EXPECT_EQ(PlaceBalloon(QSize(2000, 60), QRect(400, 400, 100, 100), kScreen).body.left(), 0);
}

TEST(BalloonBodySize, FixedByLinesAndCharactersUnlessSizedToText) {
  RIRERAZO_REQUIRE_DESKTOP();
  const QFont font("DejaVu Sans", 10);
  const QFontMetrics metrics(font);
  const QSize max(1000, 700);
  const QSize fixed_short = BalloonBodySize(font, "Hi", 3, 30, false, max);
  const QSize fixed_long = BalloonBodySize(font, QString(200, 'x'), 3, 30, false, max);
  EXPECT_EQ(fixed_short, fixed_long);
  EXPECT_EQ(fixed_short.height(), 3 * metrics.lineSpacing() + 2 * kBalloonPaddingPx);

  const QSize fitted_short = BalloonBodySize(font, "Hi", 3, 30, true, max);
  EXPECT_LT(fitted_short.width(), fixed_short.width());
  EXPECT_NEAR(fitted_short.height(), metrics.lineSpacing() + 2 * kBalloonPaddingPx, 1);
  const QSize fitted_long = BalloonBodySize(font, QString("word ").repeated(60), 3, 30, true, max);
  EXPECT_LE(fitted_long.width(), fixed_short.width());
  EXPECT_GT(fitted_long.height(), fixed_short.height());
  // Never beyond what the screen allows, whatever the font.
  EXPECT_LE(BalloonBodySize(QFont("DejaVu Sans", 400), "Hello", 2, 255, false, max).width(), 1000);
}

TEST(BalloonText, RevealedPartEndsOnACharacterAndLegacyTextIsDecoded) {
  runtime::BalloonView view;
  const std::string utf8 = "Gr\xC3\xBC\xC3\x9F dich";  // "Grüß dich"
  view.text = utf8;
  view.shown_length = 3;  // "Gr" and the first byte of the two of ü
  EXPECT_EQ(BalloonTextOf(view).shown, QString("Gr"));
  EXPECT_EQ(BalloonTextOf(view).full, QString::fromUtf8("Gr\xC3\xBC\xC3\x9F dich"));
  view.shown_length = utf8.size();
  EXPECT_EQ(BalloonTextOf(view).shown, BalloonTextOf(view).full);

  const std::string legacy = "caf\xE9 \x80";  // Windows-1252: "café €"
  view.text = legacy;
  view.shown_length = 4;
  EXPECT_EQ(BalloonTextOf(view).shown, QString::fromUtf8("caf\xC3\xA9"));
  EXPECT_EQ(BalloonTextOf(view).full, QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
}

TEST(BalloonColour, FromBlueGreenRedOrder) {
  const Rgb rgb = RgbFromColourRef(0x00E1FFFF);
  EXPECT_EQ(rgb.red, 0xFF);
  EXPECT_EQ(rgb.green, 0xFF);
  EXPECT_EQ(rgb.blue, 0xE1);
}

using BalloonWindowTest = StageFixture;

int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += image.pixelColor(x, y) == colour;
  }
  return count;
}

TEST_F(BalloonWindowTest, SpeakShowsTheTextWordByWordInTheFilesColours) {
  auto backdrop = MakeBackdrop();
  auto& rira = Load("Rira");
  rira.MoveTo(400, 400, 0);
  rira.Show();
  RunUntilIdle();
  const std::string text = "Hello there, this balloon shows its words one by one.";
  rira.Speak(text, std::nullopt);
  BalloonWindow* balloon = stage_.Balloon("Rira");
  ASSERT_NE(balloon, nullptr);
  // Part way through: some words shown, not all.
  ASSERT_TRUE([&] {
    for (int step = 0; step < 200 && balloon->ShownText().isEmpty(); ++step) RunFor(20);
    return balloon->isVisible();
  }());
  RunFor(300);
  EXPECT_EQ(balloon->FullText(), QString::fromStdString(text));
  EXPECT_TRUE(QString::fromStdString(text).startsWith(balloon->ShownText()));
  EXPECT_LT(balloon->ShownText().size(), balloon->FullText().size());
  EXPECT_FALSE(balloon->Thought());
  EXPECT_EQ(balloon->Placement().side, TailSide::kBottom);
  EXPECT_LT(balloon->geometry().bottom(), 400);

  // All shown: the body has the file's background, border and text colours on screen.
  for (int step = 0; step < 500 && balloon->ShownText() != balloon->FullText(); ++step) {
    RunFor(20);
  }
  EXPECT_EQ(balloon->ShownText(), balloon->FullText());
  const QRect body = balloon->Placement().body;
  const QColor back(255, 248, 228), ink(46, 34, 52), border(222, 118, 44);
  EXPECT_TRUE(PumpUntil([&] {
    const QImage screen = GrabScreen();
    return CountColour(screen, body, back) > body.width() * body.height() / 2 &&
           CountColour(screen, body, ink) > 20 && CountColour(screen, body, border) > body.width();
  }));
  // Outside the rounded corner the desktop shows (the window is shaped).
  EXPECT_EQ(GrabScreen().pixelColor(body.topLeft()), kBackdropColour);

  RunUntilIdle();
  RunFor(3000);  // the runtime hides the balloon a while after the speech
  EXPECT_FALSE(balloon->isVisible());
}

TEST_F(BalloonWindowTest, ThinkShowsAThoughtBalloonBelowACharacterAtTheTop) {
  auto& rira = Load("Rira");
  rira.MoveTo(300, 0, 0);
  rira.Show();
  RunUntilIdle();
  rira.Think("Hmm.");
  RunFor(200);
  BalloonWindow* balloon = stage_.Balloon("Rira");
  ASSERT_NE(balloon, nullptr);
  EXPECT_TRUE(balloon->isVisible());
  EXPECT_TRUE(balloon->Thought());
  EXPECT_EQ(balloon->ShownText(), "Hmm.");
  EXPECT_EQ(balloon->Placement().side, TailSide::kTop);
  EXPECT_GT(balloon->Placement().body.top(), rira.Height());
  EXPECT_EQ(balloon->Placement().tip.y(), rira.Height());
  // Hiding the character takes its balloon with it.
  runtime_.UserHide("Rira");
  stage_.Sync();
  EXPECT_FALSE(balloon->isVisible());
}

TEST_F(BalloonWindowTest, FontAndStyleSetByTheScriptAreHonoured) {
  auto& rira = Load("Rira");
  rira.Show();
  RunUntilIdle();
  rira.SetBalloonFontName("DejaVu Serif");
  rira.SetBalloonFontSize(20);
  rira.SetBalloonStyle(runtime::kBalloonOn | runtime::kBalloonSizeToText);  // no auto-pace
  rira.Speak("Big", std::nullopt);
  RunFor(100);
  BalloonWindow* balloon = stage_.Balloon("Rira");
  ASSERT_NE(balloon, nullptr);
  EXPECT_EQ(balloon->TextFont().family(), "DejaVu Serif");
  EXPECT_EQ(balloon->TextFont().pointSize(), 20);
  EXPECT_EQ(balloon->ShownText(), "Big");  // not paced: all at once
  const QFontMetrics metrics(balloon->TextFont());
  EXPECT_LT(balloon->Placement().body.width(), 30 * metrics.averageCharWidth());
  // A balloon switched off shows nothing.
  rira.SetBalloonStyle(0);
  rira.Speak("Unseen", std::nullopt);
  RunFor(100);
  EXPECT_FALSE(balloon->isVisible());
}

TEST_F(BalloonWindowTest, TheUsersOwnFontWinsAndLeavesTheRestAsTheCharacterHasIt) {
  auto& rira = Load("Rira");
  rira.Show();
  RunUntilIdle();
  rira.SetBalloonFontName("DejaVu Serif");
  rira.SetBalloonFontSize(20);
  stage_.SetUserBalloonFont("DejaVu Sans Mono", 0);
  rira.Speak("Mine", std::nullopt);
  RunFor(100);
  BalloonWindow* balloon = stage_.Balloon("Rira");
  ASSERT_NE(balloon, nullptr);
  EXPECT_EQ(balloon->TextFont().family(), "DejaVu Sans Mono");
  EXPECT_EQ(balloon->TextFont().pointSize(), 20);
  stage_.SetUserBalloonFont("", 0);
  stage_.Sync();
  EXPECT_EQ(balloon->TextFont().family(), "DejaVu Serif");
}

}  // namespace
}  // namespace rirerazo::desktop::testing
