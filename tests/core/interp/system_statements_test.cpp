// System statements played through the interpreter: table dispatch, argument rules,
// services called, and the markers and nesting around them.
#include <gtest/gtest.h>

#include "core/interp/system_modules.h"
#include "support/media_bytes.h"
#include "support/player_fixture.h"
#include "support/scratch_folder.h"
#include "support/system_fakes.h"

namespace rirerazo {
namespace {

using testing::Log;

// The system services, made before the Player and gone after it, as in a host.
struct SystemFakes {
  testing::ScratchFolder folder;
  testing::FakeShell shell;
  testing::RecordingKeys keys;
  testing::FakeBackdrop window;
  testing::FakeMediaDevice device;
  testing::FakeClipboard clipboard;
  testing::FakePictures pictures;
};

class SystemStatements : public SystemFakes, public testing::PlayerTest {
 protected:
  SystemStatements() {
    fakes_.bundle.shell = &shell;
    fakes_.bundle.keys = &keys;
    fakes_.bundle.backdrop = &window;
    fakes_.bundle.media = &device;
    fakes_.bundle.clipboard = &clipboard;
    fakes_.bundle.pictures = &pictures;
    player_.paths().script_file = folder / "show.vrn";
    fakes_.agent.files.insert(folder / "host.acs");
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : fakes_.ui.boxes) texts.push_back(box.text);
    return texts;
  }
};

TEST_F(SystemStatements, ShellStatementsRefuseStartOrOpen) {
  shell.start_error = 53;
  Play(
      "SHELLEX cmd.exe\r\nRUN CMD.EXE\r\nOPEN Format.com\r\nRUN bash\r\n"
      "OPEN \"C:\\My Files\\report.doc\"\r\nOPEN \"\"\"C:\\My Files\\report.doc\"\"\"");
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Command is not allowed:\r\n\r\ncmd.exe",
                                               "Command is not allowed:\r\n\r\nCMD.EXE",
                                               "Command is not allowed:\r\n\r\nFormat.com",
                                               "Command is not allowed:\r\n\r\nbash"}));
  EXPECT_EQ(shell.log,
            (Log{"start C:\\My Files\\report.doc", "open [C:\\My] [Files\\report.doc]",
                 "start \"C:\\My Files\\report.doc\"", "open [C:\\My Files\\report.doc] []"}));
}

TEST_F(SystemStatements, BackdropAndMediaStatementsFindFilesBesideTheScript) {
  pictures.sizes = {{"bg.png", {1024, 768}}};
  folder.Write("bg.png", "x");
  const std::string wave = folder.Write("sounds/hi.wav", "RIFF");
  Play(
      "BGSHOW now\r\nbghide\r\nBGCOLOR #FF0000\r\nBGIMAGE \"bg.png\"\r\nPLAYWAVE sounds\\hi.wav\r\n"
      "STOPWAVEFORM");
  EXPECT_EQ(window.log.at(2), "hide") << "BGSHOW with more on the line does nothing";
  EXPECT_EQ(window.log.at(3), "color 255");
  EXPECT_EQ(window.log.at(7), "picture 1 1024");
  EXPECT_EQ(device.commands, (Log{"close media", "open \"" + wave + "\" type waveaudio alias media",
                                  "play media", "status media mode", "status media mode"}));
}

TEST_F(SystemStatements, KeysAndWindowsTakeTheUnquotedArgument) {
  Play("SENDKEYS \"Hello{ENTER}\"\r\nCLOSEAPP Untitled - Notepad\r\nSENDKEYS");
  EXPECT_EQ(keys.sent, Log{"Hello{ENTER}"});
  EXPECT_EQ(shell.log, Log{"close Untitled - Notepad"});
}

TEST_F(SystemStatements, ReadingAloudQueuesTheMarkerAfterTheText) {
  folder.Write("notes.txt", "Hello\r\nWorld\r\n");
  EXPECT_EQ(Play("READTEXTFILE Host"), Log{}) << "no comma: nothing, not even the marker";
  EXPECT_EQ(Play("READTEXTFILE Host, notes.txt, Say "),
            (Log{"Host.Speak(SayHello)", "Host.Speak(SayWorld)", "Host.Speak(\\mrk=777777777\\)"}));
  EXPECT_EQ(Play("READCLIPBOARD Host"), (Log{"Host.Speak(\\mrk=777777777\\)"}));
  clipboard.text = "Clip";
  EXPECT_EQ(Play("READCLIPBOARD Guest, \"Hey \""),
            (Log{"Guest.Speak(HeyClip)", "Guest.Speak(\\mrk=777777777\\)"}))
      << "the prefix is trimmed and unquoted";
}

TEST_F(SystemStatements, PlayScriptPlaysTheOtherFileAsATopLevelScript) {
  folder.Write("other.vrn",
               "[VORN Script]\r\nVersion=6.1\r\n[Characters]\r\nHost=host.acs\r\n[Script]\r\n"
               "Host.Speak Inner\r\n");
  const Log log = Play("PLAYSCRIPT other.vrn\r\nHost.Speak After");
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 3], "Host.Speak(Inner)");
  EXPECT_EQ(log[log.size() - 2], "Host.Speak(\\mrk=111111111\\)");
  EXPECT_EQ(log.back(), "Host.Speak(After)");
}

TEST_F(SystemStatements, PlayScriptOfItselfStopsAt32FilesDeep) {
  folder.Write("self.vrn",
               "[VORN Script]\r\nVersion=6.1\r\n[Characters]\r\nHost=host.acs\r\n[Script]\r\n"
               "Host.Speak Deeper\r\nPLAYSCRIPT self.vrn\r\nHost.Speak Back\r\n");
  const Log log = Play("PLAYSCRIPT self.vrn\r\nHost.Speak Done");
  EXPECT_EQ(std::count(log.begin(), log.end(), "Host.Speak(Deeper)"), kMaxPlayScriptNesting);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Host.Speak(Back)"), kMaxPlayScriptNesting);
  EXPECT_EQ(log.back(), "Host.Speak(Done)");
  const auto boxes = Boxes();
  ASSERT_EQ(std::count_if(boxes.begin(), boxes.end(),
                          [](const std::string& t) { return t.starts_with("PLAYSCRIPT "); }),
            1);
  EXPECT_EQ(player_.modules().play_script_nesting, 0);
}

TEST_F(SystemStatements, UnloadingTheMainFormClosesTheBackdropAndStopsMedia) {
  player_.UnloadBackdrop();
  EXPECT_TRUE(window.log.empty()) << "no backdrop was ever made";
  Play("BGSHOW");
  device.mode = "playing";
  player_.UnloadMainForm();
  EXPECT_EQ(window.log.back(), "destroy");
  EXPECT_EQ(device.commands, (Log{"status media mode", "stop media", "status media mode",
                                  "close media", "status media mode", "status media mode"}));
}

}  // namespace
}  // namespace rirerazo
