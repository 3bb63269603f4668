// The same script played headless and on the desktop leaves the same records of every
// device in the trace: message boxes, pointer changes, backdrop, media, programs, keys,
// clipboard, tray, downloads and the Open dialog. Times differ (virtual against wall
// clock) and so may the interleaving of different devices, so each device's records are
// compared in their own order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/character_menu.h"
#include "desktop/desktop_host.h"
#include "headless/headless_host.h"
#include "support/http_test_server.h"
#include "support/media_bytes.h"
#include "support/qt_desktop.h"
#include "support/scratch_folder.h"

namespace rirerazo::desktop {
namespace {

// Every record without its time, grouped by kind; agent and event records only when asked.
using RecordsByKind = std::map<std::string, std::vector<std::string>>;

RecordsByKind Records(const std::string& trace, bool with_characters) {
  static const std::regex kKind(R"rx("kind":"([a-z]+)")rx");
  static const std::regex kTime(R"rx(^\{"t":[0-9]+,)rx");
  RecordsByKind records;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    std::smatch kind;
    if (!std::regex_search(line, kind, kKind)) continue;
    if (kind[1] == "exit") continue;
    if (!with_characters && (kind[1] == "agent" || kind[1] == "event")) continue;
    records[kind[1]].push_back(std::regex_replace(line, kTime, "{"));
  }
  return records;
}

RecordsByKind DeviceRecords(const std::string& trace) { return Records(trace, false); }

// A command chosen from a character's menu `at_ms` after the start.
struct MenuChoice {
  qint64 at_ms;
  QString caption;
};

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

  static std::string PlayHeadless(const std::string& path, const std::string& input = "") {
    host::Options options;
    options.headless = true;
    options.trace_path = "-";
    options.command_line = path;
    options.input_path = input;
    std::ostringstream out, err;
    headless::RunHeadless(options, "rirerazo", out, err);
    return out.str();
  }

  // Plays on the desktop; every message box is closed with its default button, and each
  // of `choices` is chosen from a character's menu at its time after the start.
  static std::string PlayOnDesktop(const std::string& path,
                                   std::vector<MenuChoice> choices = {}) {
    QElapsedTimer clock;
    clock.start();
    auto* closer = new QTimer(QCoreApplication::instance());
    QObject::connect(closer, &QTimer::timeout, [&clock, &choices] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
      if (!choices.empty() && clock.elapsed() >= choices.front().at_ms &&
          ChooseFromCharacterMenu(choices.front().caption)) {
        choices.erase(choices.begin());
      }
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
  testing::HttpTestServer server;
  server.Set("/more.vrn", {200,
                           "[VORN Script]\r\nVersion=1\r\n[Characters]\r\nHost=Rira.acs\r\n"
                           "[Script]\r\nHost.Play Wave\r\n",
                           ""});
  const std::string path = Script(
      "Host.Show\n"
      "BGCOLOR #336699\n"
      "PLAYWAVE chime.wav\n"
      "READTEXTFILE Host, missing.txt\n"  // a message box: the file is not there
      "READCLIPBOARD Host\n"
      "SHELLEX cmd.exe\n"  // refused in a message box
      "CLOSEAPP No Such Window\n"
      "SENDKEYS {SCROLLLOCK}{SCROLLLOCK}\n"
      "BGHIDE\n"
      "Host.Hide\n"
      "PLAYSCRIPT " + server.Url("/more.vrn") + "\n"
      "PLAYSCRIPT " + server.Url("/gone.vrn") + "\n");
  RecordsByKind headless = DeviceRecords(PlayHeadless(path));
  RecordsByKind desktop = DeviceRecords(PlayOnDesktop(path));
  for (const char* kind : {"msgbox", "cursor", "backdrop", "media", "shell", "keys", "clipboard",
                           "tray", "internet"}) {
    EXPECT_EQ(desktop.count(kind) ? desktop.at(kind) : std::vector<std::string>{},
              headless.count(kind) ? headless.at(kind) : std::vector<std::string>{})
        << "records of kind " << kind;
  }
  for (const char* kind : {"msgbox", "backdrop", "media", "shell", "keys", "internet"}) {
    EXPECT_FALSE(headless[kind].empty()) << kind;
  }
}

// Started without a script, the player asks for one; the dialog is cancelled on both hosts.
TEST_F(TraceParity, TheOpenDialogRecordsTheSameOnBothHosts) {
  RecordsByKind headless = DeviceRecords(PlayHeadless(""));
  RecordsByKind desktop = DeviceRecords(PlayOnDesktop(""));
  ASSERT_EQ(headless["file"].size(), 1u);
  EXPECT_EQ(desktop["file"], headless["file"]);
}

// Records whose content depends on the host's clock: a spoken date or time.
std::string MaskClockTexts(const std::string& record) {
  static const std::regex kText(R"rx("text":"[^"]*")rx");
  return std::regex_replace(record, kText, R"("text":"…")");
}

// The records that may come in another order on the two hosts, as a sorted list: events
// follow the speech engines' timing, so their interleaving differs between hosts.
std::vector<std::string> Sorted(std::vector<std::string> records) {
  std::sort(records.begin(), records.end());
  return records;
}

// Every example plays on both hosts with the same records: the same calls to the characters
// and to every device in the same order, and the same events, whatever their order.
class ExampleParity : public TraceParity, public ::testing::WithParamInterface<const char*> {};

TEST_P(ExampleParity, BothHostsRecordTheSame) {
  const std::string name = GetParam();
  const std::string path = std::string(RIRERAZO_SOURCE_DIR) + "/examples/" + name + ".vrn";
  // The spoken command of commands.vrn is chosen from the menu on both hosts: the test has
  // no voice to speak it with on the desktop.
  std::string input;
  std::vector<MenuChoice> choices;
  if (name == "commands") {
    input = folder_.Write("commands.input",
                          "3s choose Host Wave\n+4s choose Host Joke\n+6s choose Host VORNClose\n");
    choices = {{3000, "Wave at me"}, {7000, "Tell me a joke"}, {13000, "Close"}};
  }
  RecordsByKind headless = Records(PlayHeadless(path, input), true);
  RecordsByKind desktop = Records(PlayOnDesktop(path, choices), true);
  ASSERT_FALSE(headless["agent"].empty());
  if (name == "date-and-time") {
    for (RecordsByKind* records : {&headless, &desktop}) {
      for (std::string& record : (*records)["agent"]) record = MaskClockTexts(record);
    }
  }
  std::set<std::string> kinds;
  for (const auto& [kind, records] : headless) kinds.insert(kind);
  for (const auto& [kind, records] : desktop) kinds.insert(kind);
  for (const std::string& kind : kinds) {
    if (kind == "event") {
      EXPECT_EQ(Sorted(desktop[kind]), Sorted(headless[kind])) << "events";
    } else {
      EXPECT_EQ(desktop[kind], headless[kind]) << "records of kind " << kind;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleParity,
                         ::testing::Values("bookmarks", "commands", "date-and-time", "positions",
                                           "two-characters", "welcome"),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace rirerazo::desktop
