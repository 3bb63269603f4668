#include <gtest/gtest.h>

#include "core/app/player.h"
#include "support/fake_platform.h"
#include "support/scratch_folder.h"

namespace rirerazo {
namespace {

using testing::Log;

class StartUp : public ::testing::Test {
 protected:
  StartUp() {
    fakes_.system.executable = folder_ / "bin/rirerazo";
    fakes_.agent.files = {"host.acs"};
    fakes_.ui.screen_width = 800;
    fakes_.ui.screen_height = 600;
  }

  std::string WriteScript(const std::string& name) {
    return folder_.Write(name,
                         "[VORN Script]\nVersion=1\n[Characters]\nHost=host.acs\n"
                         "[Script]\nHost.Show\n");
  }

  testing::ScratchFolder folder_;
  testing::FakePlatform fakes_;
  Player player_{fakes_.bundle};
};

TEST_F(StartUp, QuotedPathWithBlanksIsOpenedAndPlayed) {
  const std::string path = WriteScript("my shows/intro.vrn");
  player_.Form_Load("  \"" + path + "\"  ", "RIRERAZO.EXE");
  EXPECT_FALSE(player_.Unloaded());
  EXPECT_EQ(player_.startup().script_argument, path);
  EXPECT_EQ(player_.paths().script_file, path);
  EXPECT_EQ(player_.paths().app_path, folder_ / "bin/");
  EXPECT_EQ(player_.paths().exe_path, folder_ / "bin/rirerazo");
  EXPECT_EQ(player_.startup().program_name, "RIRERAZO");
  EXPECT_EQ(player_.startup().screen_width_px, 800);
  EXPECT_EQ(player_.startup().screen_height_px, 600);
  EXPECT_EQ(fakes_.log.back(), "Host.Speak(\\mrk=111111111\\)");
}

TEST_F(StartUp, TheWholeCommandLineIsOneName) {
  const std::string path = WriteScript("intro.vrn");
  for (const std::string& line : {path + " /fast", "\"" + path + "\" /fast"}) {
    testing::FakePlatform fakes;
    Player player(fakes.bundle);
    player.Form_Load(line, "rirerazo");
    EXPECT_TRUE(player.Unloaded()) << line;
    EXPECT_TRUE(fakes.loop.quit);
    EXPECT_TRUE(fakes.ui.boxes.empty());
    EXPECT_EQ(player.paths().script_file, "");
  }
}

TEST_F(StartUp, ABareNameIsFoundInTheProgramFolder) {
  const std::string path = WriteScript("bin/only-here.vrn");
  player_.Form_Load("only-here.vrn", "rirerazo");
  EXPECT_FALSE(player_.Unloaded());
  EXPECT_EQ(player_.paths().script_file, path);
}

TEST_F(StartUp, NothingToOpenEndsSilently) {
  player_.Form_Load("", "rirerazo");  // the Open dialog offers nothing yet
  EXPECT_TRUE(player_.Unloaded());
  testing::FakePlatform fakes;
  Player carrier(fakes.bundle);
  carrier.Form_Load("", "myshow");  // no script inside the program
  EXPECT_TRUE(carrier.Unloaded());
  EXPECT_TRUE(fakes.ui.boxes.empty());
}

TEST_F(StartUp, ALoaderFailureEndsTheProgram) {
  const std::string path = folder_.Write("bad.vrn", "[Script]\nHost.Show\n");
  player_.Form_Load(path, "rirerazo");
  EXPECT_TRUE(player_.Unloaded());
  EXPECT_EQ(fakes_.ui.boxes.size(), 1u);  // the loader's own message
}

TEST_F(StartUp, LoadingTheFormAgainOpensNothing) {
  player_.startup().script_argument = "earlier.vrn";
  player_.Form_Load(WriteScript("intro.vrn"), "rirerazo");
  EXPECT_TRUE(player_.startup().exit_when_done);
  EXPECT_EQ(player_.startup().script_argument, "earlier.vrn");
  EXPECT_FALSE(player_.Unloaded());
  EXPECT_EQ(fakes_.log, Log{"Tray.Install(RIRERazo)"});  // the icon comes before the return
}

TEST_F(StartUp, ProgramInTheRootFolder) {
  fakes_.system.executable = "/rirerazo";
  player_.Form_Load("", "rirerazo");
  EXPECT_EQ(player_.paths().app_path, "/");
}

}  // namespace
}  // namespace rirerazo
