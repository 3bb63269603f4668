// The tray icon under Xvfb, which has no notification area until the test starts one
// (trayer): the absence is said once, the icon appears when an area does, its activations
// reach the listener as mouse messages and the popup menu answers with the item's index.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <sstream>

#include "desktop/services/qt_tray.h"
#include "services_support.h"
#include "support/qt_desktop.h"

namespace rirerazo::desktop {
namespace {

namespace tm = platform::tray_mouse;
using testing::PumpUntil;

class MenuOnRightUp : public platform::TrayEvents {
 public:
  explicit MenuOnRightUp(QtTray& tray) : tray_(tray) {}
  void OnTrayMouse(int message) override {
    messages.push_back(message);
    if (message == tm::kRightUp) {
      chosen.push_back(tray_.ShowPopupMenu(
          {{"Hide &Host", true}, {"Show &Guest", false}, {"Show &Peedy", true}, {"&Close", true}}));
    }
  }
  std::vector<int> messages;
  std::vector<int> chosen;

 private:
  QtTray& tray_;
};

QSystemTrayIcon* IconObject() {
  return qApp->findChild<QSystemTrayIcon*>(QtTray::kTrayIconObjectName);
}

TEST(DesktopTray, AbsentAreaIsSaidOnceAndMenusStillWork) {
  RIRERAZO_REQUIRE_DESKTOP();
  if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "a notification area runs";
  std::ostringstream err;
  QtTray tray(err);
  MenuOnRightUp listener(tray);
  tray.Install("RIRERazo", &listener);
  EXPECT_TRUE(tray.Installed());
  EXPECT_FALSE(tray.Available());
  EXPECT_FALSE(tray.IconVisible());
  PumpUntil([] { return false; }, 2 * QtTray::kPollIntervalMs + 200);  // polls meanwhile
  tray.Remove();
  tray.Install("RIRERazo", &listener);
  std::string said = err.str();
  EXPECT_NE(said.find("no notification area"), std::string::npos) << said;
  EXPECT_EQ(said.find("no notification area"), said.rfind("no notification area"));

  QSystemTrayIcon* icon = IconObject();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->toolTip(), "RIRERazo");
  emit icon->activated(QSystemTrayIcon::Trigger);
  emit icon->activated(QSystemTrayIcon::DoubleClick);
  QStringList captions;
  testing::WhenMenu("Show &Peedy", &captions);
  emit icon->activated(QSystemTrayIcon::Context);
  EXPECT_TRUE(PumpUntil([&] { return listener.chosen.size() == 1; }));
  EXPECT_EQ(listener.messages, (std::vector<int>{tm::kLeftDown, tm::kLeftUp, tm::kLeftDoubleClick,
                                                 tm::kRightDown, tm::kRightUp}));
  EXPECT_EQ(listener.chosen, std::vector<int>{2});  // the hidden item counts
  EXPECT_EQ(captions, (QStringList{"Hide &Host", "Show &Peedy", "&Close"}));

  testing::WhenMenu("");
  emit icon->activated(QSystemTrayIcon::Context);
  EXPECT_TRUE(PumpUntil([&] { return listener.chosen.size() == 2; }));
  EXPECT_EQ(listener.chosen[1], -1);
  tray.Remove();
  EXPECT_FALSE(tray.Installed());
  EXPECT_EQ(IconObject(), nullptr);
}

TEST(DesktopTray, IconAppearsWhenANotificationAreaStarts) {
  RIRERAZO_REQUIRE_DESKTOP();
  const QString trayer = QStandardPaths::findExecutable("trayer");
  if (trayer.isEmpty()) GTEST_SKIP() << "trayer is not installed";
  std::ostringstream err;
  QtTray tray(err);
  tray.Install("RIRERazo", nullptr);
  QProcess area;
  area.start(trayer, {"--edge", "top", "--align", "right", "--width", "10", "--height", "24"});
  ASSERT_TRUE(area.waitForStarted(5000));
  const bool shown = PumpUntil([&] { return tray.IconVisible(); }, 10000);
  area.kill();
  area.waitForFinished(2000);
  EXPECT_TRUE(shown) << "the icon did not appear in trayer's notification area";
}

}  // namespace
}  // namespace rirerazo::desktop
