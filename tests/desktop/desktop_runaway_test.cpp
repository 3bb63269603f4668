// A script that keeps triggering itself on the desktop: the player stays responsive, and a
// character's Close still ends it, whether the loop shows message boxes or not.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <sstream>
#include <string>

#include "desktop/character_menu.h"
#include "desktop/desktop_host.h"
#include "headless/headless_host.h"
#include "support/qt_desktop.h"
#include "support/scratch_folder.h"

namespace rirerazo::desktop {
namespace {

struct DesktopRun {
  int status = -1;
  std::string trace;
  std::size_t Count(const std::string& piece) const {
    std::size_t count = 0;
    for (auto at = trace.find(piece); at != std::string::npos; at = trace.find(piece, at + 1)) {
      ++count;
    }
    return count;
  }
};

class DesktopRunaway : public ::testing::Test {
 protected:
  void SetUp() override {
    RIRERAZO_REQUIRE_DESKTOP();
    const std::string demo = std::string(RIRERAZO_BINARY_DIR) + "/src/Rira.acs";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "the demo character is not built: " << demo;
    setenv("RIRERAZO_CHARACTERS", (std::string(RIRERAZO_BINARY_DIR) + "/src").c_str(), 1);
  }

  // Plays `sections` with Rira loaded as Host. After `close_after_ms` of wall time the test
  // chooses Close from the character's menu, as a person would; message boxes are answered
  // OK as they come, before and after Close.
  DesktopRun PlayAndClose(const std::string& sections, int close_after_ms) {
    const std::string path = folder_.Write(
        "loop.vrn", "[VORN Script]\nVersion=1.0\n\n[Characters]\nHost=Rira.acs\n\n" + sections);
    host::Options options;
    options.trace_path = "-";
    options.command_line = path;
    QElapsedTimer clock;
    clock.start();
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [this, &clock, close_after_ms] {
      AnswerOk();
      if (clock.elapsed() < close_after_ms || closed_) return;
      if (ChooseFromCharacterMenu("Close")) {
        closed_ = true;
        close_chosen_ms_ = clock.elapsed();
      }
    });
    timer->start(20);
    std::ostringstream out, err;
    char name[] = "rirerazo";
    char* argv[] = {name, nullptr};
    DesktopRun run;
    run.status = RunDesktop(options, "rirerazo", 1, argv, out, err);
    ended_ms_ = clock.elapsed();
    delete timer;
    run.trace = out.str();
    return run;
  }

  // OK, or Ignore where a box offers Abort, Retry and Ignore: a person acknowledging each
  // box and letting the script go on. (Cancel or Abort would end the player by itself.)
  static void AnswerOk() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    for (QMessageBox::StandardButton wanted : {QMessageBox::Ok, QMessageBox::Ignore}) {
      if (QAbstractButton* button = box->button(wanted)) {
        button->click();
        return;
      }
    }
  }

  testing::ScratchFolder folder_;
  bool closed_ = false;
  qint64 close_chosen_ms_ = -1;
  qint64 ended_ms_ = -1;
};

// Each bookmark speaks the bookmark again: one round per request, for ever.
TEST_F(DesktopRunaway, CloseEndsALoopWithoutBoxes) {
  const DesktopRun run = PlayAndClose(
      "[Commands]\nStay=Stay\n[Bookmarks]\n5=\n[BookmarkScript:5]\nHost.Speak \\mrk=5\\\n"
      "[Script]\nHost.Show\nHost.Speak \\mrk=5\\\n",
      1500);
  EXPECT_TRUE(closed_) << "the character's menu never offered Close";
  EXPECT_EQ(run.status, host::kExitNormal);
  EXPECT_GT(run.Count(R"("event":"Bookmark")"), 10u);
  // The shutdown's second tick comes 5 s after Close; the loop does not hold it up.
  EXPECT_LT(ended_ms_ - close_chosen_ms_, 9000);
}

// Each bookmark runs two lines that fail with a message box and queue the bookmark twice;
// further bookmarks arrive while a box waits, so boxes open inside boxes.
TEST_F(DesktopRunaway, CloseEndsALoopOfMessageBoxes) {
  const DesktopRun run = PlayAndClose(
      "[Commands]\nStay=Stay\n[Bookmarks]\n777777777=\n[BookmarkScript:777777777]\n"
      "READTEXTFILE Nobody, note.txt\nREADTEXTFILE Nobody, note.txt\n"
      "[Script]\nHost.Show\nREADTEXTFILE Nobody, note.txt\n",
      1500);
  EXPECT_TRUE(closed_) << "the character's menu never offered Close";
  EXPECT_EQ(run.status, host::kExitNormal);
  EXPECT_GT(run.Count(R"("kind":"msgbox")"), 2u);
  EXPECT_LT(ended_ms_ - close_chosen_ms_, 9000);
}

}  // namespace
}  // namespace rirerazo::desktop
