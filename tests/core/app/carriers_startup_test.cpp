// The player's start-up and slide-show hand-off with the script carriers wired in: the
// Open dialog, a script inside the executable, and a script that names a presentation.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "core/app/carrier.h"
#include "core/app/player.h"
#include "support/fake_platform.h"
#include "support/recording_services.h"
#include "support/scratch_folder.h"

namespace rirerazo {
namespace {

using testing::Log;

const std::string kScript =
    "[VORN Script]\r\nVersion=1\r\n[Characters]\r\nHost=host.acs\r\n[Script]\r\nHost.Show\r\n";

class OwnTempSystem final : public testing::FakeSystem {
 public:
  std::string temp;
  std::string TempFolder() const override { return temp; }
};

class AnsweringDialog final : public platform::FileDialog {
 public:
  explicit AnsweringDialog(Log& log) : log_(log) {}
  std::optional<platform::FileDialogResult> Show(
      const platform::FileDialogRequest& request) override {
    log_.push_back("Dialog(" + request.title + ")");
    if (!answer) return std::nullopt;
    return platform::FileDialogResult{*answer, std::filesystem::path(*answer).filename()};
  }
  std::optional<std::string> answer;

 private:
  Log& log_;
};

// Logs the calls of the presentation application into the player's log.
class LoggingApp final : public platform::PresentationApp {
 public:
  explicit LoggingApp(Log& log) : log_(log) {}
  void Launch() override { log_.push_back("App.Launch"); }
  void Activate() override {}
  void SetVisible(bool) override {}
  void SetWindowState(platform::AppWindowState) override {}
  void OpenPresentation(const std::string& path, bool, bool, bool) override {
    log_.push_back("App.Open(" + std::filesystem::path(path).filename().string() + ")");
  }
  std::int32_t SlideCount() override { return 2; }
  void SetLoopUntilStopped(bool) override { log_.push_back("App.Loop"); }
  void SetAdvanceMode(platform::SlideAdvanceMode) override { log_.push_back("App.Timings"); }
  void RunSlideShow() override { log_.push_back("App.Run"); }
  void NextSlide() override { log_.push_back("App.Next"); }
  void CloseActiveWindow() override {}
  void ClosePresentation() override {}
  void Quit() override { log_.push_back("App.Quit"); }
  void SetEventListener(platform::PresentationEvents* l) override { listener = l; }
  platform::PresentationEvents* listener = nullptr;

 private:
  Log& log_;
};

class CarriersStartUp : public ::testing::Test {
 protected:
  CarriersStartUp() {
    system_.executable = folder_ / "bin/rirerazo";
    system_.temp = temp_.Path();
    fakes_.agent.files = {"host.acs"};
    fakes_.bundle.system = &system_;
    fakes_.bundle.file_dialog = &dialog_;
    fakes_.bundle.presentation = &app_;
    fakes_.bundle.loop = &loop_;
    fakes_.bundle.clock = &loop_;
  }
  bool Logged(const std::string& entry) const {
    return std::find(fakes_.log.begin(), fakes_.log.end(), entry) != fakes_.log.end();
  }

  testing::ScratchFolder folder_;
  testing::ScratchFolder temp_;
  testing::FakePlatform fakes_;
  OwnTempSystem system_;
  AnsweringDialog dialog_{fakes_.log};
  LoggingApp app_{fakes_.log};
  testing::VirtualLoop loop_;
};

TEST_F(CarriersStartUp, WithoutArgumentsUnderItsOwnNameThePlayerAsksForAFile) {
  dialog_.answer = folder_.Write("chosen.vrn", kScript);
  Player player(fakes_.bundle);
  player.Form_Load("", "rirerazo");
  // The tray icon goes in first; the dialog is the first thing the user sees.
  EXPECT_EQ(fakes_.log.at(1), "Dialog(Open VORN Script)");
  EXPECT_TRUE(Logged("Host.Show()"));
  EXPECT_EQ(player.paths().script_file, *dialog_.answer);
  EXPECT_FALSE(player.Unloaded());
}

TEST_F(CarriersStartUp, CancelledDialogEndsThePlayerSilently) {
  Player player(fakes_.bundle);
  player.Form_Load("", "DAREZAZ");
  EXPECT_EQ(fakes_.log, (Log{"Tray.Install(RIRERazo)", "Dialog(Open VORN Script)", "Tray.Remove"}));
  EXPECT_TRUE(player.Unloaded());
}

TEST_F(CarriersStartUp, ACarrierUnderAnotherNamePlaysItsScriptFromATemporaryCopy) {
  system_.executable = folder_.Write("bin/myshow", "PROGRAM" + CarrierMarker() + kScript);
  Player player(fakes_.bundle);
  player.Form_Load("", "myshow");
  EXPECT_TRUE(Logged("Host.Show()"));
  EXPECT_EQ(player.paths().script_file, system_.executable);
  EXPECT_FALSE(player.Unloaded());
  EXPECT_TRUE(std::filesystem::is_empty(temp_.Path()));
  EXPECT_TRUE(fakes_.ui.boxes.empty());
}

TEST_F(CarriersStartUp, APresentationScriptPlaysOnePiecePerSlideAndEndsWithTheShow) {
  folder_.Write("deck.pptx", "any bytes: the application reads it");
  const std::string path = folder_.Write(
      "show.vrn",
      "[VORN Script]\r\nVersion=1\r\nPowerPointFile=deck.pptx\r\nPowerPointAutoAdvance=1\r\n"
      "PowerPointPause=0\r\n[Characters]\r\nHost=host.acs\r\n"
      "[Script]\r\nHost.Speak one\r\n#\r\nHost.Speak two\r\n");
  Player player(fakes_.bundle);
  player.Form_Load(path, "rirerazo");
  // The top-level run hands the script over and plays nothing itself.
  EXPECT_FALSE(Logged("Host.Speak(one)"));
  EXPECT_TRUE(Logged("App.Open(deck.pptx)"));
  EXPECT_TRUE(Logged("App.Run"));
  ASSERT_NE(app_.listener, nullptr);
  ASSERT_NE(player.slide_show().driver, nullptr);

  fakes_.log.clear();
  app_.listener->OnSlideShowNextSlide(1);
  player.OnBookmark(333333333);  // the advance marker of the first piece is reached
  app_.listener->OnSlideShowNextSlide(2);
  EXPECT_EQ(fakes_.log,
            (Log{"Host.StopAll()", "Host.Speak(one)", "Host.Speak(\\mrk=333333333\\)", "App.Next",
                 "Host.StopAll()", "Host.Speak(two)", "Host.Speak(\\mrk=333333333\\)"}));
  EXPECT_FALSE(player.slide_show().busy);
  EXPECT_FALSE(player.Unloaded());
  app_.listener->OnSlideShowEnd();
  // The show's end ends the player: the application quits, then the tray icon goes.
  ASSERT_GE(fakes_.log.size(), 2u);
  EXPECT_EQ(fakes_.log[fakes_.log.size() - 2], "App.Quit");
  EXPECT_EQ(fakes_.log.back(), "Tray.Remove");
  EXPECT_TRUE(player.Unloaded());
}

TEST_F(CarriersStartUp, WithoutAPresentationApplicationTheShowCannotStart) {
  fakes_.bundle.presentation = nullptr;
  folder_.Write("deck.odp", "x");
  const std::string path =
      folder_.Write("show.vrn",
                    "[VORN Script]\r\nVersion=1\r\nPowerPointFile=deck.odp\r\n"
                    "[Characters]\r\nHost=host.acs\r\n[Script]\r\nHost.Speak one\r\n");
  Player player(fakes_.bundle);
  player.Form_Load(path, "rirerazo");
  ASSERT_FALSE(fakes_.ui.boxes.empty());
  EXPECT_NE(fakes_.ui.boxes.back().text.find("CPowerPoint : PowerPointSlideshow"),
            std::string::npos)
      << fakes_.ui.boxes.back().text;
  EXPECT_FALSE(Logged("Host.Speak(one)"));
}

}  // namespace
}  // namespace rirerazo
