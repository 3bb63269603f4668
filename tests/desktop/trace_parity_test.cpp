// The same script played headless and on the desktop leaves the same records of every
// device in the trace: message boxes, pointer changes, backdrop, media, programs, keys,
// clipboard and tray. Times differ (virtual against wall clock) and so may the interleaving
// of different devices, so each device's records are compared in their own order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/desktop_host.h"
#include "headless/headless_host.h"
#include "support/media_bytes.h"
#include "support/qt_desktop.h"
#include "support/scratch_folder.h"

namespace rirerazo::desktop {
namespace {

// The records of each device kind, in order, without their times.
using RecordsByKind = std::map<std::string, std::vector<std::string>>;

RecordsByKind DeviceRecords(const std::string& trace) {
  static const std::regex kKind(R"rx("kind":"([a-z]+)")rx");
  static const std::regex kTime(R"rx(^\{"t":[0-9]+,)rx");
  RecordsByKind records;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    std::smatch kind;
    if (!std::regex_search(line, kind, kKind)) continue;
    if (kind[1] == "agent" || kind[1] == "event" || kind[1] == "exit") continue;
    records[kind[1]].push_back(std::regex_replace(line, kTime, "{"));
  }
  return records;
}

class TraceParity : public ::testing::Test {
 protected:
  void SetUp() override {
    RIRERAZO_REQUIRE_DESKTOP();
    const std::string demo = std::string(RIRERAZO_BINARY_DIR) + "/src/Rira.acs";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "the demo character is not built: " << demo;
    setenv("RIRERAZO_CHARACTERS", (std::string(RIRERAZO_BINARY_DIR) + "/src").c_str(), 1);
  }

  std::string Script(const std::string& lines) {
    return folder_.Write("parity.vrn",
                         "[VORN Script]\nVersion=1.0\n\n[Characters]\nHost=Rira.acs\n\n[Script]\n" +
                             lines);
  }

  static std::string PlayHeadless(const std::string& path) {
    host::Options options;
    options.headless = true;
    options.trace_path = "-";
    options.command_line = path;
    std::ostringstream out, err;
    headless::RunHeadless(options, "rirerazo", out, err);
    return out.str();
  }

  // Plays on the desktop; every message box is closed with its default button.
  static std::string PlayOnDesktop(const std::string& path) {
    auto* closer = new QTimer(QCoreApplication::instance());
    QObject::connect(closer, &QTimer::timeout, [] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    closer->start(100);
    host::Options options;
    options.trace_path = "-";
    options.command_line = path;
    std::ostringstream out, err;
    char name[] = "rirerazo";
    char* argv[] = {name, nullptr};
    RunDesktop(options, "rirerazo", 1, argv, out, err);
    closer->deleteLater();
    return out.str();
  }

  testing::ScratchFolder folder_;
};

TEST_F(TraceParity, EveryDeviceRecordsTheSameOnBothHosts) {
  folder_.Write("chime.wav", testing::AsText(testing::WaveFile(300)));
  const std::string path = Script(
      "Host.Show\n"
      "BGCOLOR #336699\n"
      "PLAYWAVE chime.wav\n"
      "READTEXTFILE Host, missing.txt\n"  // a message box: the file is not there
      "READCLIPBOARD Host\n"
      "SHELLEX cmd.exe\n"  // refused in a message box
      "CLOSEAPP No Such Window\n"
      "BGHIDE\n"
      "Host.Hide\n");
  const RecordsByKind headless = DeviceRecords(PlayHeadless(path));
  const RecordsByKind desktop = DeviceRecords(PlayOnDesktop(path));
  for (const char* kind : {"msgbox", "cursor", "backdrop", "media", "shell", "clipboard", "tray"}) {
    EXPECT_EQ(desktop.count(kind) ? desktop.at(kind) : std::vector<std::string>{},
              headless.count(kind) ? headless.at(kind) : std::vector<std::string>{})
        << "records of kind " << kind;
  }
  EXPECT_FALSE(headless.at("msgbox").empty());
  EXPECT_FALSE(headless.at("backdrop").empty());
}

}  // namespace
}  // namespace rirerazo::desktop
