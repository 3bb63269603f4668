// Plays small scripts in the desktop host on an X server of the test's own, in real time,
// and checks the trace, the exit status and what the screen shows meanwhile.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "desktop/character/balloon_window.h"
#include "desktop/desktop_host.h"
#include "headless/headless_host.h"
#include "support/qt_desktop.h"
#include "support/scratch_folder.h"

namespace rirerazo::desktop {
namespace {

struct DesktopRun {
  int status = -1;
  std::string trace;
  std::string errors;
};

class DesktopHost : public ::testing::Test {
 protected:
  void SetUp() override {
    RIRERAZO_REQUIRE_DESKTOP();
    const std::string demo = std::string(RIRERAZO_BINARY_DIR) + "/src/Rira.acs";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "the demo character is not built: " << demo;
    setenv("RIRERAZO_CHARACTERS", (std::string(RIRERAZO_BINARY_DIR) + "/src").c_str(), 1);
  }

  // Plays `script` (the lines of its [Script] section) with Rira loaded as Host.
  DesktopRun Play(const std::string& script) {
    const std::string path = folder_.Write(
        "play.vrn",
        "[VORN Script]\nVersion=1.0\n\n[Characters]\nHost=Rira.acs\n\n[Script]\n" + script);
    host::Options options;
    options.trace_path = "-";
    options.command_line = path;
    std::ostringstream out, err;
    DesktopRun run;
    char name[] = "rirerazo";
    char* argv[] = {name, nullptr};
    run.status = RunDesktop(options, "rirerazo", 1, argv, out, err);
    run.trace = out.str();
    run.errors = err.str();
    return run;
  }

  // Calls `look` every 20 ms while the host runs, until it returns true.
  void WatchScreen(std::function<bool()> look) {
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer, look] {
      if (look()) timer->deleteLater();
    });
    timer->start(20);
  }

  testing::ScratchFolder folder_;
};

TEST_F(DesktopHost, PlaysAScriptInRealTimeAndEndsByItself) {
  const DesktopRun run = Play("Host.Show\nHost.Speak \"Hello there.\"\nHost.Hide\n");
  EXPECT_EQ(run.status, host::kExitNormal) << run.errors;
  const size_t speak = run.trace.find("Hello there.");
  ASSERT_NE(speak, std::string::npos) << run.trace;
  EXPECT_NE(run.trace.find("\"event\":\"Hide\"", speak), std::string::npos) << run.trace;
  EXPECT_NE(run.trace.find("\"exit\""), std::string::npos);
}

// While the character speaks, the screen shows it at the place the script gave, with its
// balloon above it holding the text.
TEST_F(DesktopHost, TheCharacterAppearsWhereTheScriptPutItWithItsBalloon) {
  QImage shot;
  QString balloon_text;
  WatchScreen([&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* balloon = qobject_cast<BalloonWindow*>(window);
      if (!balloon || !balloon->isVisible() || !balloon->ShownText().contains("there")) continue;
      balloon_text = balloon->ShownText();
      shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
      return true;
    }
    return false;
  });
  const DesktopRun run = Play("Host.MoveTo 300, 400, 0\nHost.Show\nHost.Speak \"Hello there.\"\n");
  EXPECT_EQ(run.status, host::kExitNormal) << run.errors;
  ASSERT_FALSE(shot.isNull()) << "the balloon never showed the text";
  // For a person to look at: RIRERAZO_SCREENSHOTS=folder keeps the picture.
  if (const char* folder = std::getenv("RIRERAZO_SCREENSHOTS")) {
    shot.save(QString(folder) + "/desktop-host-balloon.png");
  }
  EXPECT_EQ(balloon_text, "Hello there.");
  // Rira is opaque at her centre and the root window (black) shows around her.
  const QColor centre = shot.pixelColor(300 + 64, 400 + 64);
  EXPECT_NE(centre, QColor(Qt::black));
  EXPECT_EQ(shot.pixelColor(300 - 20, 400 + 64), QColor(Qt::black));
  // The balloon sits above the character.
  bool balloon_above = false;
  for (int y = 300; y < 400 && !balloon_above; ++y) {
    balloon_above = shot.pixelColor(300 + 64, y) != QColor(Qt::black);
  }
  EXPECT_TRUE(balloon_above);
}

TEST_F(DesktopHost, AScriptThatCannotBeOpenedEndsWithStatusOne) {
  host::Options options;
  options.command_line = folder_ / "missing.vrn";
  std::ostringstream out, err;
  char name[] = "rirerazo";
  char* argv[] = {name, nullptr};
  // The player reports the missing script in a message box, which the test answers.
  QTimer::singleShot(200, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  EXPECT_EQ(RunDesktop(options, "rirerazo", 1, argv, out, err), host::kExitNoScript);
}

}  // namespace
}  // namespace rirerazo::desktop
