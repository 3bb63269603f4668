#include "core/media/backdrop_controller.h"

#include <gtest/gtest.h>

#include "support/scratch_folder.h"
#include "support/fake_platform.h"
#include "support/system_fakes.h"

namespace rirerazo::media {
namespace {

using Log = std::vector<std::string>;

class BackdropTest : public ::testing::Test {
 protected:
  BackdropTest()
      : media(device, ui, loop, [](std::string_view p) { return std::string(p); }),
        backdrop({window, ui, loop, pictures}, media,
                 [this](std::string_view p) { return folder / p; }) {
    pictures.sizes = {
        {"screen.png", {1024, 768}}, {"wide.png", {2048, 768}}, {"small.png", {100, 50}}};
    for (const char* name : {"screen.png", "wide.png", "small.png", "broken.png"}) {
      folder.Write(name, "x");
    }
  }

  testing::ScratchFolder folder;
  testing::RecordingUi ui;
  testing::FakeMessageLoop loop;
  testing::FakeBackdrop window;
  testing::FakeMediaDevice device;
  testing::FakePictures pictures;
  MediaPlayer media;
  BackdropController backdrop;
};

TEST_F(BackdropTest, FirstUseCreatesTheWindowWithItsCloseGlyph) {
  backdrop.BackdropHide();
  EXPECT_EQ(window.log,
            (Log{"create 0,0 15360x11520", "glyph 15020,100 Close VORN Script", "hide"}));
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(loop.yields, 1);
  backdrop.BackdropColor("#0000FF");
  EXPECT_EQ(window.log.back(), "show") << "a colour shows a hidden backdrop";
  EXPECT_EQ(window.log.at(3), "color 16711680");
  EXPECT_EQ(loop.yields, 2);
  backdrop.BackdropColor("#00FF00");
  EXPECT_EQ(window.log.back(), "color 65280");
  EXPECT_EQ(loop.yields, 2) << "no yield when already shown";
  EXPECT_EQ(window.listener, &backdrop);
}

TEST_F(BackdropTest, InvalidColourShowsTheMessageThenABlackBackdrop) {
  backdrop.BackdropColor("#GG0000");
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text.substr(0, 30), "'0000GG' is an invalid color.\r");
  EXPECT_EQ(ui.boxes[0].style, platform::mb::kExclamation);
  EXPECT_EQ(window.log.at(2), "color 0");
  EXPECT_TRUE(window.visible);
  backdrop.BackdropColor("");
  EXPECT_EQ(ui.boxes.size(), 1u) << "an empty colour is black without a message";
}

TEST_F(BackdropTest, PicturesAlternateSlotsAndOnlyTheLatestShows) {
  backdrop.BackdropImage("screen.png");
  EXPECT_EQ(backdrop.current_slot(), 1) << "the first picture goes to slot 1";
  window.log.clear();
  backdrop.BackdropImage("wide.png");
  EXPECT_EQ(window.log, (Log{"slot 1 off", "picture 1 none", "picture 0 2048",
                             "place 0 0,2880 15360x5760", "slot 0 on"}));
  EXPECT_EQ(backdrop.current_slot(), 0);
  EXPECT_EQ(loop.yields, 0) << "pictures do not yield";
}

TEST_F(BackdropTest, PictureAtScreenSizeIsUnscaledAtTheOrigin) {
  backdrop.BackdropImage("screen.png");
  EXPECT_EQ(window.log, (Log{"create 0,0 15360x11520", "glyph 15020,100 Close VORN Script",
                             "slot 0 off", "picture 0 none", "picture 1 1024",
                             "place 1 0,0 15360x11520", "slot 1 on", "show"}));
}

TEST_F(BackdropTest, MissingPictureChangesNothing) {
  backdrop.BackdropImage("nowhere.png");
  EXPECT_TRUE(window.log.empty());
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(backdrop.current_slot(), 0);
}

TEST_F(BackdropTest, UndecodablePictureEmptiesTheSlotShowsTheWindowThenSaysSo) {
  backdrop.BackdropImage("small.png");
  window.log.clear();
  backdrop.BackdropImage("broken.png");
  EXPECT_EQ(window.log, (Log{"slot 1 off", "picture 1 none", "picture 0 none",
                             "place 0 7680,5760 0x0", "slot 0 on"}));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, folder / "broken.png" + " is not a supported image file.");
  EXPECT_EQ(ui.boxes[0].style, platform::mb::kInformation);
  EXPECT_TRUE(window.visible);
}

TEST_F(BackdropTest, ClosingStopsTheMediaAndTheSlotsOutliveTheWindow) {
  backdrop.BackdropImage("small.png");
  device.mode = "playing";
  window.listener->OnBackdropCloseClick();
  EXPECT_FALSE(window.exists);
  EXPECT_EQ(device.commands,
            (Log{"status media mode", "stop media", "status media mode", "close media"}));
  backdrop.BackdropImage("small.png");
  EXPECT_EQ(backdrop.current_slot(), 0) << "the selector went on from slot 1";
  EXPECT_EQ(window.log.at(window.log.size() - 8), "create 0,0 15360x11520");
}

TEST_F(BackdropTest, RightClickOffersCloseOtherButtonsDoNothing) {
  backdrop.BackdropShow();
  window.listener->OnBackdropMouseDown(platform::MouseButton::kLeft, 5, 6);
  window.listener->OnBackdropMouseDown(platform::MouseButton::kRight, 30, 45);
  EXPECT_EQ(window.log.back(), "menu Close 30,45");
  EXPECT_TRUE(window.exists) << "the menu was dismissed";
  window.menu_choice = 0;
  window.listener->OnBackdropMouseDown(platform::MouseButton::kRight, 30, 45);
  EXPECT_FALSE(window.exists);
  backdrop.Unload();
  EXPECT_EQ(window.log.back(), "destroy") << "unloading an absent window does nothing";
}

}  // namespace
}  // namespace rirerazo::media
