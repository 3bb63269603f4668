// Push-to-talk on a private X server: the listening key pressed and released through the
// test extension opens and closes a listening session (with the fake voice module), and the
// listening tip shows beside the character, checked on a screenshot.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "character_test_support.h"
#include "desktop/character/listening_tip_picture.h"
#include "desktop/character/listening_tip_window.h"
#include "desktop/fake_keyboard.h"
#include "desktop/host/listening_key.h"
#include "desktop/host/listening_tip.h"
#include "desktop/host/voice_listening.h"
#include "desktop/voice_test_support.h"

namespace rirerazo::desktop::testing {
namespace {

const QRect kScreen(0, 0, 1024, 768);

TEST(ListeningTipPlacement, UnderTheCharacterElseAboveAlwaysOnTheScreen) {
  RIRERAZO_REQUIRE_DESKTOP();
  ListeningTipPicture tip;
  EXPECT_TRUE(tip.Update("Listening\u2026", true, QRect(400, 300, 100, 120), kScreen));
  EXPECT_EQ(tip.Window().top(), 420 + ListeningTipPicture::kGapPx);
  EXPECT_NEAR(tip.Window().center().x(), 450, 2);
  EXPECT_FALSE(tip.Update("Listening\u2026", true, QRect(400, 300, 100, 120), kScreen))
      << "nothing changed";
  // At the bottom of the screen it goes above; at an edge it stays on the screen.
  tip.Update("Nothing heard", false, QRect(1000, 700, 100, 68), kScreen);
  EXPECT_LT(tip.Window().bottom(), 700);
  EXPECT_EQ(tip.Window().right(), 1023);
  // A long phrase is cut, not a window across the screen.
  tip.Update(QString(300, 'w'), false, QRect(400, 300, 100, 120), kScreen);
  EXPECT_LT(tip.Window().width(), 400);
  EXPECT_TRUE(tip.Text().endsWith(QChar(0x2026)));
}

class PushToTalkTest : public StageFixture {
 protected:
  void SetUp() override {
    StageFixture::SetUp();
    if (IsSkipped()) return;
    FakeVoice::Reset();
    runtime_.SetEventListener(&listen_events_);
    keyboard_ = std::make_unique<FakeKeyboard>(rirerazo::testing::QtDesktop::Display());
    ASSERT_TRUE(keyboard_->Open());
  }
  void TearDown() override {
    key_.Bind("");
    keyboard_.reset();
    FakeVoice::Reset();
    StageFixture::TearDown();
  }

  void Key(const char* key_name, bool down) { keyboard_->Key(key_name, down); }

  // The share of the tip's pixels on the screen that have `colour`, and whether any is red.
  struct TipPixels {
    double fill = 0;
    bool red_mark = false;
  };
  TipPixels Photograph(const QRect& area) {
    const QImage screen = GrabScreen();
    TipPixels pixels;
    int fill = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        const QColor colour = screen.pixelColor(x, y);
        if (colour == ListeningTipPicture::kFill) ++fill;
        if (colour.red() > 200 && colour.green() < 90 && colour.blue() < 90) pixels.red_mark = true;
      }
    }
    pixels.fill = double(fill) / (area.width() * area.height());
    return pixels;
  }

  ListenEvents listen_events_;
  std::ostringstream err_;
  VoiceListening voice_{runtime_, clock_, err_, FakeVoice::Loader};
  ListeningTip tip_{stage_};
  ListeningKey key_{[this] { voice_.KeyPressed(clock_.now_ms); },
                    [this] { voice_.KeyReleased(clock_.now_ms); }, err_};
  std::unique_ptr<FakeKeyboard> keyboard_;
};

TEST_F(PushToTalkTest, HoldingTheKeyListensAndTheTipShowsBesideTheCharacter) {
  voice_.SetTipObserver([this](const ListeningTipState& state) { tip_.Show(state); });
  ASSERT_TRUE(key_.Bind("Scroll_Lock")) << err_.str();
  const auto backdrop = MakeBackdrop();
  platform::AgentCharacter& rira = Load("Rira");
  rira.MoveTo(300, 200, 0);
  rira.Show();
  RunUntilIdle();
  runtime_.DeliverEvents();
  listen_events_.log.clear();

  Key("Scroll_Lock", true);
  ASSERT_TRUE(PumpUntil([&] { return voice_.Open(); })) << "the key press was not seen";
  EXPECT_EQ(FakeVoice::microphones, 1);
  ASSERT_NE(tip_.Window(), nullptr);
  const QRect character = stage_.Window("Rira")->frameGeometry();
  const QRect tip = tip_.Window()->Picture().Window();
  EXPECT_GT(tip.top(), character.bottom()) << "under the character";
  EXPECT_TRUE(PumpUntil([&] { return Photograph(tip).fill > 0.5; }))
      << "the tip is not on the screen";
  EXPECT_TRUE(Photograph(tip).red_mark) << "the listening mark";

  Key("Scroll_Lock", false);
  ASSERT_TRUE(PumpUntil([&] { return !voice_.Open(); })) << "the release was not seen";
  EXPECT_EQ(FakeVoice::open_listeners, 0);
  runtime_.DeliverEvents();
  EXPECT_EQ(listen_events_.log,
            (std::vector<std::string>{"ListenStart Rira", "ListenComplete Rira"}));
  EXPECT_EQ(voice_.Tip().text, "Nothing heard");
  const QRect after = tip_.Window()->Picture().Window();
  EXPECT_TRUE(PumpUntil([&] {
    TipPixels pixels = Photograph(after);
    return pixels.fill > 0.5 && !pixels.red_mark;
  })) << "the tip says the session ended";

  // The character moves: the tip follows.
  rira.MoveTo(600, 100, 0);
  RunUntilIdle();
  tip_.Follow();
  EXPECT_GT(tip_.Window()->Picture().Window().left(), after.left() + 200);
  // And goes after a while.
  clock_.now_ms += kTipShownMs;
  voice_.Serve(clock_.now_ms);
  EXPECT_TRUE(PumpUntil([&] { return tip_.Window() == nullptr; }));
  EXPECT_TRUE(err_.str().empty()) << err_.str();
}

// Changing the key in the settings lets go of the old one; a key held at the change counts
// as released, so no session is left open.
TEST_F(PushToTalkTest, AnotherKeyReplacesTheOldOne) {
  ASSERT_TRUE(key_.Bind("Scroll_Lock"));
  Load("Rira");
  Key("Scroll_Lock", true);
  ASSERT_TRUE(PumpUntil([&] { return voice_.Open(); }));
  ASSERT_TRUE(key_.Bind("F12"));
  EXPECT_FALSE(voice_.Open());
  Key("Scroll_Lock", false);
  Key("Scroll_Lock", true);
  Key("Scroll_Lock", false);
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(FakeVoice::microphones, 1) << "the old key is no longer held";
  Key("F12", true);
  ASSERT_TRUE(PumpUntil([&] { return voice_.Open(); }));
  Key("F12", false);
  ASSERT_TRUE(PumpUntil([&] { return !voice_.Open(); }));
  EXPECT_EQ(key_.Bound(), "F12");
  EXPECT_FALSE(key_.Bind("NoSuchKeyName"));
  EXPECT_FALSE(key_.Bind("NoSuchKeyName"));
  EXPECT_EQ(err_.str(),
            "rirerazo: the listening key cannot be used: \"NoSuchKeyName\" names no key\n")
      << "said once";
  EXPECT_EQ(key_.Bound(), "");
}

}  // namespace
}  // namespace rirerazo::desktop::testing
