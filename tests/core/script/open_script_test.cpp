#include "core/script/open_script.h"

#include <gtest/gtest.h>

#include "core/app/player.h"
#include "support/fake_platform.h"
#include "support/scratch_folder.h"

namespace rirerazo {
namespace {

using testing::Log;

class Loader : public ::testing::Test {
 protected:
  Loader() {
    player_.paths().app_path = "/opt/app/";
    fakes_.agent.files = {"C:\\Chars\\Host.acs", "Guest.acs"};
  }

  // Writes a script file with the given sections after a valid header.
  std::string Write(const std::string& body, const std::string& header = "Version=6.1\r\n",
                    const std::string& name = "show.vrn") {
    return folder_.Write(name, "[VORN Script]\r\n" + header + body);
  }

  bool Load(const std::string& path, bool play = true) {
    fakes_.log.clear();
    return OpenScriptFromFile(player_, path, play);
  }

  testing::ScratchFolder folder_;
  testing::FakePlatform fakes_;
  Player player_{fakes_.bundle};
};

const std::string kCharacters =
    "[Characters]\r\nHost=C:\\Chars\\Host.acs\r\nEmpty=\r\nGuest=C:\\Old\\Guest.acs\r\n";

TEST_F(Loader, RejectsAFileWithoutVersionNamingOnlyItsName) {
  EXPECT_FALSE(Load(Write(kCharacters, "Title=x\r\n")));
  ASSERT_EQ(fakes_.ui.boxes.size(), 1u);
  EXPECT_EQ(fakes_.ui.boxes[0].text, "'show.vrn' is not a valid VORN Script File.");
  EXPECT_EQ(fakes_.ui.boxes[0].style, platform::mb::kOkOnly | platform::mb::kExclamation);
  EXPECT_EQ(fakes_.log, (Log{"MessageBox('show.vrn' is not a valid VORN Script File.)"}));
  EXPECT_FALSE(Load(folder_ / "missing.vrn"));
  EXPECT_TRUE(Load(Write(kCharacters, "version=x\r\n"), false));
}

TEST_F(Loader, UrlsAreNeverOpenedAsFiles) {
  // "<folder>/a://b.vrn" names an existing file, but "://" makes it a URL.
  folder_.Write("a:/b.vrn", "[VORN Script]\r\nVersion=1\r\n" + kCharacters);
  EXPECT_FALSE(Load(folder_ / "a://b.vrn"));
  // The download fails (the fakes are offline) and nothing is loaded.
  EXPECT_EQ(fakes_.log, (Log{"Cursor(busy)", "Cursor(normal)",
                             "MessageBox(-2147012889 : The server name or address could not be "
                             "resolved: " +
                                 (folder_ / "a://b.vrn") + ")"}));
  EXPECT_EQ(fakes_.internet.opened, (std::vector<std::string>{folder_ / "a://b.vrn"}));
}

TEST_F(Loader, LoadsCharactersInFileOrderRetryingByFileName) {
  ASSERT_TRUE(Load(Write(kCharacters + "[LanguageIDs]\r\nGuest=&H407\r\n"), false));
  EXPECT_EQ(
      fakes_.log,
      (Log{"Cursor(busy)", "SetConnected", "Load(Host, C:\\Chars\\Host.acs)",
           "Host.LanguageID(1033)", "Load(Guest, C:\\Old\\Guest.acs)",
           "Load(Guest, /opt/app/Guest.acs)", "Load(Guest, Guest.acs)", "Guest.LanguageID(1031)",
           // Commands are rebuilt once every character is loaded.
           "Host.CommandsRemoveAll()", "Host.CommandsCaption(RIRERazo - Host)",
           "Host.CommandsVoice(Host)", "Host.CommandsAdd(VORNClose, Close, )",
           "Guest.CommandsRemoveAll()", "Guest.CommandsCaption(RIRERazo - Guest)",
           "Guest.CommandsVoice(Guest)", "Guest.CommandsAdd(VORNClose, Close, )"}));
  EXPECT_EQ(player_.characters().loaded[1].file_name, "Guest.acs");
}

TEST_F(Loader, ACharacterThatCannotLoadStopsTheLoad) {
  EXPECT_FALSE(
      Load(Write("[Characters]\r\nHost=C:\\Chars\\Host.acs\r\nBob=C:\\X\\bob.acs\r\n"
                 "[Bookmarks]\r\n1=\r\n")));
  ASSERT_EQ(fakes_.ui.boxes.size(), 1u);
  EXPECT_EQ(fakes_.ui.boxes[0].text,
            "Error loading Bob from\r\nbob.acs\r\n\r\nPlease open this VORN Script in a text "
            "editor and change the character's path.");
  EXPECT_EQ(player_.characters().count(), 1);  // Host stays loaded
  EXPECT_TRUE(player_.tables().bookmarks.empty());
}

TEST_F(Loader, BadNumbersAreReportedAndLoadingGoesOn) {
  ASSERT_TRUE(Load(Write(kCharacters + "[LanguageIDs]\r\nHost=English\r\n[Bookmarks]\r\n"
                                       "seven=\r\n7=\r\n[BookmarkScript:7]\r\nHost.Show\r\n"),
                   false));
  ASSERT_EQ(fakes_.ui.boxes.size(), 2u);
  EXPECT_NE(fakes_.ui.boxes[0].text.find("Section: M:MOS: : OpenScriptFromFile"),
            std::string::npos);
  EXPECT_EQ(fakes_.agent.Get("Host").language, 0x409);
  ASSERT_EQ(player_.tables().bookmarks.size(), 2u);
  EXPECT_EQ(player_.tables().bookmarks[0].id, 0);
  EXPECT_EQ(player_.tables().bookmarks[1].id, 7);
  EXPECT_EQ(player_.tables().bookmarks[1].script, "Host.Show\r\n");
}

TEST_F(Loader, CommandsAppendAcrossLoadsAndBookmarksAreReplaced) {
  const std::string path = Write(kCharacters +
                                 "[Bookmarks]\r\n5=\r\n[Commands]\r\nmenuname=Show menu\r\n"
                                 "Hello=Say hello|~|hello|~|hi\r\nBare=Just a caption\r\n"
                                 "[CommandScript:Hello]\r\nHost.Speak Hello\r\n\r\n\r\n");
  ASSERT_TRUE(Load(path, false));
  ASSERT_TRUE(Load(path, false));
  EXPECT_EQ(player_.tables().bookmarks.size(), 1u);
  ASSERT_EQ(player_.tables().commands.size(), 4u);
  EXPECT_EQ(player_.tables().menu_name, "Show menu");
  const CommandEntry& hello = player_.tables().commands[2];
  EXPECT_EQ(hello.name, "Hello");
  EXPECT_EQ(hello.caption, "Say hello");
  EXPECT_EQ(hello.voice, "hello|~|hi");
  EXPECT_EQ(hello.script, "Host.Speak Hello\r\n");
  EXPECT_EQ(player_.tables().commands[3].caption, "");
}

TEST_F(Loader, SlideShowSettings) {
  folder_.Write("deck.pptx", "x");
  struct Case {
    const char* repeat;
    const char* pause;
    std::int32_t repeat_flag;
    std::int32_t pause_s;
  };
  for (const Case& c : {Case{"-1", "-3", 0, 0}, Case{"True", "75", 0, 60}, Case{"0.5", "2.5", 1, 2},
                        Case{"2", "2.6", 1, 3}}) {
    const std::string header = std::string("Version=1\r\nPowerPointFile=deck.pptx\r\n") +
                               "PowerPointRepeat=" + c.repeat + "\r\nPowerPointPause=" + c.pause +
                               "\r\n";
    ASSERT_TRUE(Load(Write(kCharacters, header, std::string(c.pause) + ".vrn"), false));
    EXPECT_EQ(player_.slide_show().repeat, c.repeat_flag) << c.repeat;
    EXPECT_EQ(player_.slide_show().pause_s, c.pause_s) << c.pause;
  }
  player_.paths().script_file = folder_ / "show.vrn";
  ASSERT_TRUE(
      Load(Write(kCharacters, "Version=1\r\nPowerPointFile=deck.pptx\r\n", "a.vrn"), false));
  EXPECT_EQ(player_.slide_show().file, folder_ / "deck.pptx");
  EXPECT_TRUE(player_.slide_show().busy);
  ASSERT_TRUE(
      Load(Write(kCharacters, "Version=1\r\nPowerPointFile=none.pptx\r\n", "b.vrn"), false));
  EXPECT_EQ(player_.slide_show().file, "");
  EXPECT_TRUE(player_.slide_show().busy);  // never reset by the loader
}

TEST_F(Loader, PlaysTheScriptWithoutItsTrailingBlankLines) {
  ASSERT_TRUE(Load(Write(kCharacters + "[Script]\r\nHost.Speak One\r\n\r\nGuest.Speak Two\r\n"
                                       "[x]\r\nHost.Speak Not this\r\n[Script]\r\n\r\n\r\n")));
  EXPECT_EQ(fakes_.loop.yields, 4);  // three lines and the empty one the interpreter adds
  EXPECT_EQ(fakes_.log.back(), "Guest.Speak(\\mrk=111111111\\)");
}

}  // namespace
}  // namespace rirerazo
