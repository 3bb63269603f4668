// The tray icon's popup menu: which mouse events open it, its items, and what they do.
#include <gtest/gtest.h>

#include "core/agent/agent_events.h"
#include "core/app/tray_menu.h"
#include "support/player_fixture.h"

namespace rirerazo {
namespace {

using testing::Log;

class TrayMenu : public testing::PlayerTest {
 protected:
  // The captions of the menu the player shows on a right-button release.
  std::vector<std::string> OpenMenu() {
    player_.OnTrayMouse(platform::tray_mouse::kRightUp);
    std::vector<std::string> captions;
    for (const auto& item : fakes_.tray.last_menu) {
      if (item.visible) captions.push_back(item.caption);
    }
    return captions;
  }
};

TEST_F(TrayMenu, StartUpInstallsTheIconWithItsTip) {
  InstallTrayIcon(player_);
  EXPECT_EQ(fakes_.log, Log{"Tray.Install(RIRERazo)"});
  EXPECT_EQ(fakes_.tray.listener, &player_);
}

TEST_F(TrayMenu, OnlyTheRightButtonReleaseOpensTheMenu) {
  using namespace platform::tray_mouse;
  for (int message : {kMove, kLeftDown, kLeftUp, kLeftDoubleClick, kRightDown, 0x206, 0}) {
    player_.OnTrayMouse(message);
  }
  EXPECT_TRUE(fakes_.log.empty());
  player_.OnTrayMouse(kRightUp);
  EXPECT_EQ(fakes_.log, Log{"Tray.Menu(&Close)"});  // no character item before Show/Hide
}

TEST_F(TrayMenu, ItemsFollowShowAndHideInTableOrder) {
  Host().visible = true;
  player_.OnShow("Host", platform::VisibilityCause::kProgram);
  EXPECT_EQ(OpenMenu(), (std::vector<std::string>{"Show &Guest", "Hide &Host", "&Close"}));
  Host().visible = false;  // hidden from the character's own menu
  player_.OnHide("Host", platform::VisibilityCause::kUser);
  EXPECT_EQ(OpenMenu(), (std::vector<std::string>{"Show &Guest", "Show &Host", "&Close"}));
}

TEST_F(TrayMenu, ChosenItemsShowHideOrClose) {
  Host().visible = true;
  UpdateMenu(player_);
  fakes_.tray.choice = 0;  // "Show &Guest"
  OpenMenu();
  fakes_.tray.choice = 1;  // "Hide &Host"
  OpenMenu();
  EXPECT_EQ(fakes_.log,
            (Log{"Tray.Menu(Show &Guest, Hide &Host, &Close)", "Guest.StopAll()", "Guest.Show()",
                 "Tray.Menu(Show &Guest, Hide &Host, &Close)", "Host.StopAll()", "Host.Hide()"}));
  fakes_.tray.choice = 2;
  OpenMenu();
  EXPECT_TRUE(fakes_.loop.timer_enabled);
  EXPECT_EQ(player_.form().close_ticks, 1);
}

TEST_F(TrayMenu, ACaptionThatCannotBeReadIsReportedAndTheRestGoOn) {
  fakes_.agent.Unload("Guest");  // the table still names it
  Host().visible = true;
  UpdateMenu(player_);
  ASSERT_EQ(fakes_.ui.boxes.size(), 1u);
  EXPECT_NE(fakes_.ui.boxes[0].text.find("UpdateMenu"), std::string::npos);
  ASSERT_EQ(player_.form().character_items.size(), 2u);
  EXPECT_EQ(player_.form().character_items[1].caption, "Hide &Host");
}

TEST_F(TrayMenu, ClickingAnItemOfAGoneCharacterIsSkipped) {
  UpdateMenu(player_);
  fakes_.agent.Unload("Host");
  fakes_.log.clear();
  mnuCharShow_Click(player_, 2);
  mnuCharShow_Click(player_, 0);
  mnuCharShow_Click(player_, 3);
  EXPECT_TRUE(fakes_.log.empty());
  EXPECT_TRUE(fakes_.ui.boxes.empty());
}

}  // namespace
}  // namespace rirerazo
