// Whole runs of the headless host with the demo character: scripts, bookmarks, commands and
// the tray menu driven by a user-input script, and how the player ends, checked on the trace.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "headless/headless_host.h"
#include "support/scratch_folder.h"

namespace rirerazo::headless {
namespace {

const std::string kDemoCharacter =
    std::string(RIRERAZO_BINARY_DIR) + "/examples/character/Rira.acs";

struct PlayedRun {
  int status = -1;
  std::vector<std::string> trace;  // JSON lines
  std::string errors;              // standard error

  // The first line at or after `from` holding every fragment; -1 when there is none.
  int Find(std::initializer_list<std::string> fragments, int from = 0) const {
    for (int i = std::max(from, 0); i < static_cast<int>(trace.size()); ++i) {
      bool all = true;
      for (const std::string& fragment : fragments) {
        all = all && trace[i].find(fragment) != std::string::npos;
      }
      if (all) return i;
    }
    return -1;
  }
  int Count(std::initializer_list<std::string> fragments) const {
    int count = 0;
    for (int i = Find(fragments); i >= 0; i = Find(fragments, i + 1)) ++count;
    return count;
  }
  // The virtual time of line `index`.
  std::int64_t TimeOf(int index) const {
    if (index < 0) return -1;
    return std::stoll(trace[index].substr(trace[index].find(":") + 1));
  }
  // The number after "key": in line `index`.
  std::int64_t Number(int index, const std::string& key) const {
    const std::string& line = trace[index];
    return std::stoll(line.substr(line.find("\"" + key + "\":") + key.size() + 3));
  }
};

class Lifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kDemoCharacter)) {
      GTEST_SKIP() << "the demo character is not built: " << kDemoCharacter;
    }
  }

  // Plays a script whose [Characters] load the demo character as Host (and Guest), with
  // `header` added to its [VORN Script] section and `input` as the user-input script.
  PlayedRun Play(const std::string& sections, const std::string& input = "",
                 const std::string& header = "") {
    host::Options options;
    options.headless = true;
    options.trace_path = "-";
    options.command_line =
        folder_.Write("show.vrn", "[VORN Script]\r\nVersion=1\r\n" + header +
                                      "[Characters]\r\nHost=" + kDemoCharacter +
                                      "\r\nGuest=" + kDemoCharacter + "\r\n" + sections);
    if (!input.empty()) options.input_path = folder_.Write("user.txt", input);
    std::ostringstream out, err;
    PlayedRun run;
    run.status = RunHeadless(options, "rirerazo", out, err);
    run.errors = err.str();
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) run.trace.push_back(line);
    return run;
  }

  // The completion of the end-of-script request (the speech holding only bookmark 111111111).
  static int EndCompletes(const PlayedRun& run) {
    const int marker = run.Find({"\"op\":\"Speak\"", "mrk=111111111"});
    if (marker < 0) return -1;
    const std::string request = "\"request\":" + std::to_string(run.Number(marker, "request"));
    return run.Find({"RequestComplete", request + ","});
  }

  testing::ScratchFolder folder_;
};

TEST_F(Lifecycle, AScriptWithoutCommandsEndsFiveSecondsAfterItsEnd) {
  const PlayedRun run = Play("[Script]\r\nHost.Show\r\nHost.Speak Hello there.\r\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.Find({"\"kind\":\"tray\"", "Install", "\"tip\":\"RIRERazo\""}), 0);
  const int end = EndCompletes(run);
  ASSERT_GT(end, 0) << run.errors;
  const std::int64_t end_ms = run.TimeOf(end);
  const int stop = run.Find({"StopAll", "\"char\":\"Host\""}, end);
  const int hide = run.Find({"\"op\":\"Hide\"", "\"char\":\"Host\""}, end);
  EXPECT_EQ(run.TimeOf(stop), end_ms);
  EXPECT_EQ(run.TimeOf(hide), end_ms);
  EXPECT_EQ(run.Find({"\"op\":\"Hide\"", "\"char\":\"Guest\""}), -1);  // never shown
  const int remove = run.Find({"\"kind\":\"tray\"", "Remove"});
  EXPECT_EQ(run.TimeOf(remove), end_ms + 5000);
  // The icon goes first; the rest of the clean-up (media, windows) follows, then the exit.
  const int exit = run.Find({"\"kind\":\"exit\"", "\"status\":0"});
  EXPECT_GT(exit, remove);
  EXPECT_EQ(run.TimeOf(exit), run.TimeOf(remove));
  EXPECT_EQ(exit + 1, static_cast<int>(run.trace.size()));
}

TEST_F(Lifecycle, AScriptWithCommandsStaysUntilCloseIsChosen) {
  const PlayedRun run = Play(
      "[Commands]\r\nGreet=Say hello|~|hello\r\n[CommandScript:Greet]\r\nHost.Speak Hi!\r\n"
      "[Script]\r\nHost.Show\r\nHost.Speak Choose something.\r\n",
      "20s choose Host Greet\n30s tray &Close\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.Count({"Commands.Add", "\"name\":\"Greet\""}), 2);
  EXPECT_EQ(run.Count({"Commands.Add", "\"name\":\"VORNClose\"", "\"caption\":\"Close\""}), 2);
  ASSERT_GT(EndCompletes(run), 0);
  EXPECT_EQ(run.TimeOf(run.Find({"\"op\":\"Speak\"", "Hi!"})), 20000);
  EXPECT_EQ(run.TimeOf(run.Find({"StopAll", "Host"})), 30000);
  EXPECT_EQ(run.TimeOf(run.Find({"\"kind\":\"tray\"", "Remove"})), 35000);
  EXPECT_EQ(run.TimeOf(run.Find({"\"kind\":\"exit\""})), 35000);
}

TEST_F(Lifecycle, CloseChosenTwiceBeforeTheTimerFiresEndsAtOnce) {
  const PlayedRun run = Play("[Commands]\r\nGreet=Greet\r\n[Script]\r\nHost.Show\r\n",
                             "20s tray Close\n22s tray \"&Close\"\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.Count({"\"op\":\"Menu\""}), 2);
  EXPECT_EQ(run.TimeOf(run.Find({"\"kind\":\"tray\"", "Remove"})), 22000);
  EXPECT_EQ(run.Count({"StopAll", "Host"}), 1);
}

TEST_F(Lifecycle, ConfidenceDecidesWhichCommandsRun) {
  const PlayedRun run = Play(
      "[Commands]\r\nGreet=Greet|~|greet\r\nWave=Wave|~|wave\r\nClose=Close too|~|close\r\n"
      "[CommandScript:Greet]\r\nHost.Speak greeted\r\n[CommandScript:Wave]\r\nHost.Play Wave\r\n"
      "[CommandScript:Close]\r\nHost.Speak not closing\r\n"
      "[Script]\r\nHost.Show\r\n",
      "10s choose Host Greet 60 Wave 52\n"        // too close to another command
      "11s choose Host Greet 62 Wave 52\n"        // a gap of 10 is enough
      "12s choose Host Greet -40\n"               // not heard
      "13s choose Host Close\n"                   // the script's own command named Close
      "14s choose Host VORNClose 90\n"            // the close command, but not certainly
      "15s choose Host Greet 70 Greet 69 Wave\n"  // only the second alternative differs
      "16s choose Host VORNClose\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.Count({"\"op\":\"Speak\"", "greeted"}), 1);
  EXPECT_EQ(run.TimeOf(run.Find({"\"op\":\"Speak\"", "greeted"})), 11000);
  EXPECT_EQ(run.TimeOf(run.Find({"\"op\":\"Speak\"", "not closing"})), 13000);
  EXPECT_EQ(run.TimeOf(run.Find({"StopAll"})), 16000);
  EXPECT_EQ(run.TimeOf(run.Find({"\"kind\":\"exit\""})), 21000);
}

TEST_F(Lifecycle, TrayItemsShowAndHideCharacters) {
  const PlayedRun run = Play("[Commands]\r\nGreet=Greet\r\n[Script]\r\nHost.Show\r\n",
                             "5s tray left-click\n"
                             "+0 tray double-click\n"
                             "6s tray \"Hide &Host\"\n"
                             "10s tray right-click\n"
                             "11s tray \"Show Host\"\n"
                             "15s hide Host\n"
                             "16s tray #1\n"
                             "17s tray #4\n"
                             "30s tray #3\n");
  EXPECT_EQ(run.status, 0);
  // Only right-button releases open the menu: 6s, 10s, 11s, 16s, 17s and 30s.
  EXPECT_EQ(run.Count({"\"op\":\"Menu\""}), 6);
  const int hidden = run.Find({"\"op\":\"Menu\"", "Hide &Host", "\"chosen\":\"Hide &Host\""});
  ASSERT_GE(hidden, 0);
  EXPECT_EQ(run.TimeOf(run.Find({"\"op\":\"Hide\"", "Host"}, hidden)), 6000);
  const int shown = run.Find({"\"op\":\"Menu\"", "\"chosen\":\"Show &Host\""});
  EXPECT_EQ(run.TimeOf(run.Find({"\"op\":\"Show\"", "Host"}, shown)), 11000);
  // Hidden from its own menu: the next menu offers to show it again.
  const int after_user_hide = run.Find({"\"op\":\"Menu\"", "\"chosen\":\"Show &Host\""}, shown + 1);
  EXPECT_EQ(run.TimeOf(after_user_hide), 16000);
  EXPECT_NE(run.errors.find(":8: the tray menu has no item #4"), std::string::npos) << run.errors;
  EXPECT_EQ(run.TimeOf(run.Find({"\"kind\":\"tray\"", "Remove"})), 35000);
}

TEST_F(Lifecycle, BookmarkScriptsNestInsideSpeech) {
  const PlayedRun run = Play(
      "[Bookmarks]\r\n7=\r\n8=\r\n111111111=\r\n"
      "[BookmarkScript:7]\r\nGuest.Show\r\nGuest.Speak Nested \\mrk=8\\ deeper.\r\n"
      "[BookmarkScript:8]\r\nHost.Play Wave\r\n"
      "[BookmarkScript:111111111]\r\nHost.Speak never\r\n"
      "[Commands]\r\nStay=Stay\r\n"
      "[Script]\r\nHost.Show\r\nHost.Speak Before \\mrk=7\\ after.\r\n",
      "60s tray Close\n");
  EXPECT_EQ(run.status, 0);
  const int seven = run.Find({"\"event\":\"Bookmark\"", "\"id\":7"});
  const int eight = run.Find({"\"event\":\"Bookmark\"", "\"id\":8"});
  ASSERT_GT(seven, 0);
  ASSERT_GT(eight, seven);
  EXPECT_GT(run.Find({"\"op\":\"Show\"", "Guest"}, seven), seven);
  EXPECT_GT(run.Find({"\"op\":\"Play\"", "Wave"}, eight), eight);
  EXPECT_EQ(run.Find({"never"}), -1);
  // Nested runs queue no end marker: only the top-level one does.
  EXPECT_EQ(run.Count({"\"op\":\"Speak\"", "mrk=111111111"}), 1);
  EXPECT_LT(EndCompletes(run), eight);  // the top-level script ended long before
  EXPECT_EQ(run.TimeOf(run.Find({"\"op\":\"Hide\"", "Guest"})), 60000);
  EXPECT_EQ(run.TimeOf(run.Find({"\"kind\":\"exit\""})), 65000);
}

TEST_F(Lifecycle, SlideAdvanceWaitsItsPauseWithoutASlideShow) {
  const PlayedRun run = Play(
      "[Bookmarks]\r\n333333333=\r\n[BookmarkScript:333333333]\r\nHost.Speak advanced\r\n"
      "[Script]\r\nHost.Show\r\nHost.Speak One slide.\r\n",
      "", "PowerPointFile=missing.ppt\r\nPowerPointAutoAdvance=1\r\nPowerPointPause=3\r\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.Find({"msgbox"}), -1);
  const int mark = run.Find({"\"event\":\"Bookmark\"", "\"id\":333333333"});
  const int advanced = run.Find({"\"op\":\"Speak\"", "advanced"});
  ASSERT_GT(mark, 0);
  ASSERT_GT(advanced, mark);
  const std::int64_t waited_ms = run.TimeOf(advanced) - run.TimeOf(mark);
  EXPECT_GT(waited_ms, 2000);
  EXPECT_LE(waited_ms, 3100);  // 100 ms steps
  // Events go on during the pause: the script's end completes and, with no slide show
  // running, the shutdown starts; the advance and its script still follow the pause.
  const int end = EndCompletes(run);
  EXPECT_GT(end, mark);
  EXPECT_LT(end, advanced);
  // Each nested run queues another advance mark, so the player is always inside a pause:
  // the timer's tick comes at the pause's first yield after 5000 ms.
  const std::int64_t exit_ms = run.TimeOf(run.Find({"\"kind\":\"exit\""}));
  EXPECT_GE(exit_ms, run.TimeOf(end) + 5000);
  EXPECT_LE(exit_ms, run.TimeOf(end) + 5100);
}

}  // namespace
}  // namespace rirerazo::headless

namespace rirerazo::headless {
namespace {

// A person in the script's folder types its bare name: the characters beside it are found.
TEST_F(Lifecycle, AScriptNamedWithoutAFolderFindsTheCharactersBesideIt) {
  std::filesystem::copy_file(kDemoCharacter, folder_ / "Merlin.acs");
  folder_.Write("show.vrn",
                "[VORN Script]\r\nVersion=1\r\n[Characters]\r\nHost=Merlin.acs\r\n"
                "[Script]\r\nHost.Show\r\nHost.Speak Found.\r\n");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder_.Path());
  unsetenv("RIRERAZO_CHARACTERS");
  host::Options options;
  options.headless = true;
  options.trace_path = "-";
  options.command_line = "show.vrn";
  std::ostringstream out, err;
  const int status = RunHeadless(options, "rirerazo", out, err);
  std::filesystem::current_path(before);
  EXPECT_EQ(status, host::kExitNormal);
  EXPECT_EQ(err.str().find("Error loading"), std::string::npos) << err.str();
  EXPECT_NE(out.str().find("Found."), std::string::npos);
}

}  // namespace
}  // namespace rirerazo::headless
