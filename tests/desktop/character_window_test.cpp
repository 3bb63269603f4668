// Character windows on a private X server: what the screen shows (the frame's opaque pixels
// at the character's place, the desktop around its shape, with a mask and with a compositing
// manager), the mouse handed to the runtime, the popup menu, frame sounds, unloading.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <optional>

#include "character_test_support.h"
#include "desktop/character/frame_cache.h"
#include "desktop/character/private/x11_compositor.h"

extern char** environ;

namespace rirerazo::desktop::testing {
namespace {

// Counts the window's pixels that differ on screen from what they should be: the composed
// frame where it is opaque, the backdrop where it is transparent.
int ScreenMismatches(runtime::CharacterRuntime& runtime, const std::string& id) {
  const runtime::FrameState state = runtime.Frame(id);
  FrameCache cache;
  const CachedFrame& frame = cache.Get(*state.data->file, state.animation, state.frame,
                                       state.mouth_shape, state.width_px, state.height_px);
  const QImage screen = GrabScreen();
  int mismatches = 0;
  for (int y = 0; y < frame.image.height(); ++y) {
    for (int x = 0; x < frame.image.width(); ++x) {
      const QColor pixel = frame.image.pixelColor(x, y);
      const QColor expected = pixel.alpha() == 255 ? pixel : kBackdropColour;
      if (screen.pixelColor(state.left_px + x, state.top_px + y) != expected) ++mismatches;
    }
  }
  return mismatches;
}

// `global` defaults to where `local` lies now; a drag gives it, since the window moves.
void Send(QWidget* window, QEvent::Type type, QPoint local, Qt::MouseButton button,
          Qt::MouseButtons held, std::optional<QPoint> global = {}) {
  QMouseEvent event(type, QPointF(local), QPointF(global.value_or(window->mapToGlobal(local))),
                    button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &event);
}

// Frames are composed once, at the asked size, and the cache stays within its bound.
TEST(FrameCache, ComposesAtTheAskedSizeAndKeepsOnlyTheRecentFrames) {
  RIRERAZO_REQUIRE_DESKTOP();
  if (!std::filesystem::exists(kRiraPath)) GTEST_SKIP() << "Rira.acs is not built";
  const acs::Character rira = acs::ReadCharacterFile(kRiraPath);
  const int width_px = rira.info.width, height_px = rira.info.height;
  FrameCache cache(2);
  const CachedFrame& first = cache.Get(rira, 0, 0, -1, width_px, height_px);
  EXPECT_EQ(first.image.size(), QSize(width_px, height_px));
  const qint64 first_key = first.image.cacheKey();
  EXPECT_EQ(cache.Get(rira, 0, 0, -1, width_px, height_px).image.cacheKey(), first_key);
  cache.Get(rira, 0, 0, 0, width_px, height_px);  // the same frame with a mouth is another
  EXPECT_EQ(cache.Size(), 2u);
  cache.Get(rira, 1, 0, -1, width_px, height_px);
  EXPECT_EQ(cache.Size(), 2u);
  EXPECT_NE(cache.Get(rira, 0, 0, -1, width_px, height_px).image.cacheKey(), first_key);
  // Half size: every opaque pixel of the shape lies inside the smaller image.
  const CachedFrame& half = cache.Get(rira, 0, 0, -1, width_px / 2, height_px / 2);
  EXPECT_EQ(half.image.size(), QSize(width_px / 2, height_px / 2));
  EXPECT_TRUE(half.has_pixels);
  EXPECT_TRUE(half.image.rect().contains(half.shape.boundingRect()));
  EXPECT_EQ(cache.Size(), 1u);
}

using CharacterWindowTest = StageFixture;

TEST_F(CharacterWindowTest, ShowsTheFrameAtItsPlaceAndTheDesktopAroundItsShape) {
  auto backdrop = MakeBackdrop();
  ASSERT_FALSE(CompositorRunning());
  auto& rira = Load("Rira");
  rira.MoveTo(300, 200, 0);
  rira.Show();
  RunUntilIdle();
  CharacterWindow* window = stage_.Window("Rira");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->PerPixelAlpha());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->geometry(), QRect(300, 200, rira.Width(), rira.Height()));
  // Both opaque and transparent pixels are present, so the comparison tests the shape.
  EXPECT_FALSE(window->Shape().isEmpty());
  EXPECT_NE(window->Shape(), QRegion(window->rect()));
  EXPECT_TRUE(PumpUntil([&] { return ScreenMismatches(runtime_, "Rira") == 0; }))
      << ScreenMismatches(runtime_, "Rira") << " pixels differ";
  // Hidden: the desktop shows where the character stood.
  rira.Hide();
  RunUntilIdle();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(PumpUntil([&] {
    return GrabScreen().pixelColor(300 + rira.Width() / 2, 200 + rira.Height() / 2) ==
           kBackdropColour;
  }));
}

TEST_F(CharacterWindowTest, ScaledToTheCharactersSize) {
  auto& rira = Load("Rira");
  const int width_px = rira.Width();
  rira.SetWidth(std::int16_t(width_px * 2));
  rira.SetHeight(std::int16_t(rira.Height() * 2));
  rira.Show();
  RunUntilIdle();
  CharacterWindow* window = stage_.Window("Rira");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->width(), width_px * 2);
  EXPECT_TRUE(window->rect().contains(window->Shape().boundingRect()));
  EXPECT_GT(window->Shape().boundingRect().width(), width_px);
}

// A compositing manager blends the window's transparent pixels with what lies below.
TEST_F(CharacterWindowTest, PerPixelAlphaUnderACompositingManager) {
  pid_t pid = 0;
  const char* argv[] = {"xcompmgr", "-n", nullptr};
  if (posix_spawnp(&pid, "xcompmgr", nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
      0) {
    GTEST_SKIP() << "xcompmgr is not installed";
  }
  auto stop = [&] {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    PumpUntil([] { return !CompositorRunning(); });
  };
  if (!PumpUntil([] { return CompositorRunning(); })) {
    stop();
    GTEST_SKIP() << "xcompmgr did not take the compositing selection";
  }
  auto backdrop = MakeBackdrop();
  auto& rira = Load("Rira");
  rira.MoveTo(120, 80, 0);
  rira.Show();
  RunUntilIdle();
  CharacterWindow* window = stage_.Window("Rira");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->PerPixelAlpha());
  // The mouse is taken only over the character's opaque pixels.
  EXPECT_FALSE(window->Shape().isEmpty());
  EXPECT_TRUE(InputShape(*window).xored(window->Shape()).isEmpty());
  EXPECT_TRUE(PumpUntil([&] { return ScreenMismatches(runtime_, "Rira") == 0; }))
      << ScreenMismatches(runtime_, "Rira") << " pixels differ";
  runtime_.Unload("Rira");
  stage_.Sync();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  stop();
}

TEST_F(CharacterWindowTest, DragMovesTheCharacterAndClickReachesTheRuntime) {
  auto& rira = Load("Rira");
  rira.MoveTo(200, 150, 0);
  rira.Show();
  RunUntilIdle();
  CharacterWindow* window = stage_.Window("Rira");
  ASSERT_NE(window, nullptr);
  const QPoint grip(rira.Width() / 2, rira.Height() / 2);
  const QPoint start = window->mapToGlobal(grip);
  Send(window, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
  Send(window, QEvent::MouseMove, grip, Qt::NoButton, Qt::LeftButton, start + QPoint(30, 20));
  EXPECT_TRUE(window->Dragging());
  // While the user holds the character, a sync does not pull it back.
  stage_.Sync();
  EXPECT_EQ(window->pos(), QPoint(230, 170));
  Send(window, QEvent::MouseMove, grip, Qt::NoButton, Qt::LeftButton, start + QPoint(50, 40));
  Send(window, QEvent::MouseButtonRelease, grip, Qt::LeftButton, Qt::NoButton,
       start + QPoint(50, 40));
  EXPECT_FALSE(window->Dragging());
  EXPECT_EQ(rira.Left(), 250);
  EXPECT_EQ(rira.Top(), 190);
  runtime_.DeliverEvents();
  ASSERT_EQ(events_.drops.size(), 1u);
  EXPECT_EQ(events_.drops[0], std::make_pair(250, 190));
  EXPECT_TRUE(events_.clicks.empty());

  int inputs = 0;
  stage_.SetUserInputCallback([&] { ++inputs; });
  Send(window, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
  Send(window, QEvent::MouseButtonRelease, grip, Qt::LeftButton, Qt::NoButton);
  runtime_.DeliverEvents();
  EXPECT_EQ(events_.clicks, std::vector<std::string>{"Rira"});
  EXPECT_EQ(inputs, 1);
  EXPECT_EQ(rira.Left(), 250);
}

QStringList Entries(const QMenu* menu) {
  QStringList entries;
  for (QAction* action : menu->actions()) {
    entries << (action->isSeparator() && action->text().isEmpty() ? "-" : action->text());
  }
  return entries;
}

// The menu holds the command group as the player set it, then Hide; a chosen command
// reaches the player as a certain (confidence 100) Command event.
TEST_F(CharacterWindowTest, RightClickOffersTheCommandsAndHide) {
  auto& rira = Load("Rira");
  rira.SetCommandsCaption("RIRERazo - Rira");
  rira.CommandsAdd("Greet", "&Say hello", "hello");
  rira.CommandsAdd("Secret", "", "open sesame");  // voice only: not in the menu
  rira.CommandsAdd("VORNClose", "Close", "");
  rira.Show();
  RunUntilIdle();
  CharacterWindow* window = stage_.Window("Rira");
  ASSERT_NE(window, nullptr);
  const QPoint spot(rira.Width() / 2, rira.Height() / 2);
  Send(window, QEvent::MouseButtonPress, spot, Qt::RightButton, Qt::RightButton);
  Send(window, QEvent::MouseButtonRelease, spot, Qt::RightButton, Qt::NoButton);
  ASSERT_TRUE(PumpUntil([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }));
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  EXPECT_EQ(Entries(menu), (QStringList{"RIRERazo - Rira", "&Say hello", "Close", "-", "&Hide"}));
  menu->actions()[2]->trigger();
  runtime_.DeliverEvents();
  ASSERT_EQ(events_.commands.size(), 1u);
  EXPECT_EQ(events_.commands[0].name, "VORNClose");
  EXPECT_EQ(events_.commands[0].confidence, 100);
  EXPECT_EQ(events_.commands[0].character_id, "Rira");

  menu->actions()[4]->trigger();
  menu->close();
  runtime_.DeliverEvents();
  EXPECT_FALSE(rira.Visible());
  EXPECT_EQ(events_.hidden, std::vector<std::string>{"Rira"});
  stage_.Sync();
  EXPECT_FALSE(window->isVisible());
}

// Without a notification area, the player's own menu is one entry of every character's.
TEST_F(CharacterWindowTest, ThePlayersMenuIsOfferedWhereNoTrayShowsIt) {
  bool tray_missing = false;
  int opened = 0;
  stage_.SetPlayerMenu([&] { return tray_missing; }, [&] { ++opened; });
  auto& rira = Load("Rira");
  rira.Show();
  RunUntilIdle();
  CharacterWindow* window = stage_.Window("Rira");
  ASSERT_NE(window, nullptr);
  QMenu* menu = window->OpenMenu(QPoint(10, 10));
  EXPECT_EQ(Entries(menu), (QStringList{"&Hide"}));
  menu->close();
  tray_missing = true;
  menu = window->OpenMenu(QPoint(10, 10));
  ASSERT_EQ(Entries(menu), (QStringList{"RIRERazo", "&Hide"}));
  menu->actions()[0]->trigger();
  menu->close();
  ASSERT_TRUE(PumpUntil([&] { return opened == 1; }));
}

// Rira's Show animation carries a sound on one frame: it plays once per arrival there.
TEST_F(CharacterWindowTest, FrameSoundsPlayWhenTheFrameIsReached) {
  auto& rira = Load("Rira");
  rira.Show();
  RunUntilIdle();
  const std::size_t after_show = audio_.played.size();
  ASSERT_GE(after_show, 1u);
  EXPECT_GT(audio_.played[0].samples, 0u);
  EXPECT_GT(audio_.played[0].sample_rate_hz, 0);
  stage_.Sync();
  stage_.Sync();
  EXPECT_EQ(audio_.played.size(), after_show);
  rira.Hide();
  rira.Show();
  RunUntilIdle();
  EXPECT_GT(audio_.played.size(), after_show);
}

// The host may run the player from the input callback, and a script may unload the very
// character whose window is still inside its mouse handler.
TEST_F(CharacterWindowTest, UnloadFromInsideTheWindowsOwnClickIsSafe) {
  auto& rira = Load("Rira");
  rira.Show();
  RunUntilIdle();
  QPointer<CharacterWindow> window = stage_.Window("Rira");
  ASSERT_FALSE(window.isNull());
  stage_.SetUserInputCallback([&] {
    runtime_.Unload("Rira");
    stage_.Sync();
  });
  const QPoint spot(rira.Width() / 2, rira.Height() / 2);
  Send(window, QEvent::MouseButtonPress, spot, Qt::LeftButton, Qt::LeftButton);
  Send(window, QEvent::MouseButtonRelease, spot, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(stage_.Window("Rira"), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

TEST_F(CharacterWindowTest, UnloadingRemovesTheWindowsAndLoadingAddsThem) {
  Load("Rira");
  Load("Other");
  stage_.Sync();
  EXPECT_EQ(stage_.WindowIds(), (std::vector<std::string>{"Rira", "Other"}));
  QPointer<QWidget> window = stage_.Window("Rira");
  runtime_.Unload("Rira");
  stage_.Sync();
  EXPECT_EQ(stage_.WindowIds(), std::vector<std::string>{"Other"});
  EXPECT_EQ(stage_.Window("Rira"), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace rirerazo::desktop::testing
