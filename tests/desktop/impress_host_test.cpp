// Slide shows on the desktop: a script that names a presentation plays one piece per slide
// of a real show in the office, with the character in front of the slides; where the
// office is missing, the player says what to install and carries on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
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

// A flat presentation whose slides are filled with the given colours.
std::string ColouredSlides(const std::vector<std::string>& colours) {
  std::string styles, pages;
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    styles += "<style:style style:name=\"dp" + n +
              "\" style:family=\"drawing-page\"><style:drawing-page-properties "
              "draw:fill=\"solid\" draw:fill-color=\"" +
              colours[i] + "\"/></style:style>";
    pages += "<draw:page draw:name=\"p" + n + "\" draw:style-name=\"dp" + n +
             "\" draw:master-page-name=\"Default\"/>";
  }
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.presentation">
<office:automatic-styles><style:page-layout style:name="PM1"><style:page-layout-properties fo:page-width="28cm" fo:page-height="21cm"/></style:page-layout>)" +
         styles +
         R"(</office:automatic-styles><office:master-styles><style:master-page style:name="Default" style:page-layout-name="PM1"/></office:master-styles><office:body><office:presentation>)" +
         pages + "</office:presentation></office:body></office:document>\n";
}

bool OfficeInstalled() {
  return std::system("command -v soffice >/dev/null 2>&1") == 0;
}

class ImpressHost : public ::testing::Test {
 protected:
  void SetUp() override {
    RIRERAZO_REQUIRE_DESKTOP();
    const std::string demo = std::string(RIRERAZO_BINARY_DIR) + "/src/Rira.acs";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "the demo character is not built: " << demo;
    setenv("RIRERAZO_CHARACTERS", (std::string(RIRERAZO_BINARY_DIR) + "/src").c_str(), 1);
  }

  // Plays a script that names `presentation` with the given [Script] lines.
  DesktopRun Play(const std::string& presentation, const std::string& script) {
    const std::string path = folder_.Write(
        "show.vrn", "[VORN Script]\nVersion=1.0\nPowerPointFile=" + presentation +
                        "\nPowerPointAutoAdvance=1\nPowerPointPause=1\n\n[Characters]\n"
                        "Host=Rira.acs\n\n[Script]\n" +
                        script);
    host::Options options;
    options.trace_path = "-";
    options.command_line = path;
    std::ostringstream out, err;
    char name[] = "rirerazo";
    char* argv[] = {name, nullptr};
    DesktopRun run;
    run.status = RunDesktop(options, "rirerazo", 1, argv, out, err);
    run.trace = out.str();
    run.errors = err.str();
    return run;
  }

  // Calls `look` every 50 ms while the host runs, until it returns true.
  void Watch(std::function<bool()> look) {
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer, look] {
      if (look()) timer->deleteLater();
    });
    timer->start(50);
  }

  rirerazo::testing::ScratchFolder folder_;
};

// Three pieces, one per slide, each said in front of its slide; the show's end ends the
// player normally.
TEST_F(ImpressHost, EachSlidePlaysItsPieceWithTheCharacterInFront) {
  if (!OfficeInstalled()) GTEST_SKIP() << "LibreOffice Impress is not installed";
  if (!std::filesystem::exists(std::string(RIRERAZO_BINARY_DIR) + "/src/rirerazo-impress.so")) {
    GTEST_SKIP() << "the slide-show module is not built (configure with -DRIRERAZO_IMPRESS=ON)";
  }
  folder_.Write("slides.fodp", ColouredSlides({"#c02020", "#20a040", "#2040c0"}));
  QImage shot;
  Watch([&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* balloon = qobject_cast<BalloonWindow*>(window);
      if (!balloon || !balloon->isVisible() || !balloon->ShownText().contains("Second")) continue;
      shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
      return true;
    }
    return false;
  });
  const DesktopRun run = Play("slides.fodp",
                              "Host.MoveTo 800, 560, 0\nHost.Show\nHost.Speak \"First slide.\"\n"
                              "#\nHost.Speak \"Second slide.\"\n#\nHost.Speak \"Third slide.\"\n");
  EXPECT_EQ(run.status, host::kExitNormal) << run.errors;
  const size_t first = run.trace.find("First slide.");
  const size_t second = run.trace.find("Second slide.");
  const size_t third = run.trace.find("Third slide.");
  ASSERT_NE(first, std::string::npos) << run.trace;
  EXPECT_LT(first, second);
  EXPECT_LT(second, third);
  EXPECT_EQ(third, run.trace.rfind("Third slide.")) << "a piece played twice";
  ASSERT_FALSE(shot.isNull()) << "the second piece never showed in a balloon";
  if (const char* keep = std::getenv("RIRERAZO_SCREENSHOTS")) {
    shot.save(QString(keep) + "/impress-host-slide.png");
  }
  // The second slide (green) fills the screen around the character, who stands in front.
  EXPECT_EQ(shot.pixelColor(100, 300), QColor("#20a040"));
  const QColor character = shot.pixelColor(800 + 64, 560 + 64);
  EXPECT_NE(character, QColor("#20a040"));
  EXPECT_NE(character, QColor(Qt::black));
}

// Without the office the player says what to install, reports the show that cannot start
// and still ends normally.
TEST_F(ImpressHost, WithoutTheOfficeThePlayerSaysWhatToInstallAndCarriesOn) {
  setenv("RIRERAZO_OFFICE_PROGRAM", (folder_ / "no-office").c_str(), 1);
  folder_.Write("slides.fodp", ColouredSlides({"#c02020"}));
  QString box_text;
  Watch([&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return false;
    box_text = box->text();
    box->close();
    return true;
  });
  const DesktopRun run = Play("slides.fodp", "Host.Show\nHost.Speak \"Hello.\"\n");
  unsetenv("RIRERAZO_OFFICE_PROGRAM");
  EXPECT_EQ(run.status, host::kExitNormal);
  EXPECT_NE(run.errors.find("libreoffice-impress"), std::string::npos) << run.errors;
  EXPECT_TRUE(box_text.contains("429")) << box_text.toStdString();
}

}  // namespace
}  // namespace rirerazo::desktop
