// An older-generation character file (ALIEN.ACS, a compound container) on the desktop: the
// screen shows its frame at its place and the desktop around its shape, as for any character.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "character_test_support.h"
#include "desktop/character/frame_cache.h"

namespace rirerazo::desktop::testing {
namespace {

const std::string kAlien = kSharedCharacters + "/ALIEN.ACS";

// The window's pixels that differ on screen from the composed frame (opaque pixels) or the
// backdrop (transparent ones).
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

using LegacyCharacterWindowTest = StageFixture;

TEST_F(LegacyCharacterWindowTest, AlienShowsOnTheDesktop) {
  if (!std::filesystem::exists(kAlien)) GTEST_SKIP() << "no character file at " << kAlien;
  auto backdrop = MakeBackdrop();
  auto& alien = Load("Alien", kAlien);
  alien.MoveTo(200, 150, 0);
  alien.Show();
  RunUntilIdle();
  CharacterWindow* window = stage_.Window("Alien");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->geometry(), QRect(200, 150, 128, 128));
  EXPECT_FALSE(window->Shape().isEmpty());
  EXPECT_NE(window->Shape(), QRegion(window->rect()));
  EXPECT_TRUE(PumpUntil([&] { return ScreenMismatches(runtime_, "Alien") == 0; }))
      << ScreenMismatches(runtime_, "Alien") << " pixels differ";
  // A screenshot for a person to look at when the test is run by hand.
  if (const char* folder = std::getenv("RIRERAZO_SCREENSHOT_DIR")) {
    GrabScreen().copy(window->geometry()).save(QString(folder) + "/alien.png");
  }
}

}  // namespace
}  // namespace rirerazo::desktop::testing
