// The checker's findings, one script per message: each test writes a small script and
// expects exactly the lines the checker prints for it.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "script_checker.h"

namespace rirerazo::lint {
namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, holding the scripts it writes.
class LintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("rirerazo-lint-" + std::string(info->name()) + "-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Write(const std::string& name, const std::string& text) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // A script loading the demo character as Host, with `script` as its [Script] section
  // (starting on line 7) and `more` after it.
  std::string Script(const std::string& script, const std::string& more = "") {
    return Write("test.vrn", "[VORN Script]\nVersion=1\n\n[Characters]\nHost=Rira.acs\n[Script]\n" +
                                 script + more);
  }

  // The findings for `path`, formatted, with the folder left out of the file names.
  std::vector<std::string> Lint(const std::string& path) {
    ScriptChecker checker({RIRERAZO_BINARY_DIR "/examples/character"});
    std::vector<std::string> lines;
    for (Finding& finding : checker.Check(path)) {
      const std::string prefix = folder_.string() + "/";
      if (finding.file.starts_with(prefix)) finding.file.erase(0, prefix.size());
      lines.push_back(FormatFinding(finding));
    }
    return lines;
  }

  using Lines = std::vector<std::string>;
  fs::path folder_;
};

TEST_F(LintTest, CleanScriptHasNoFindings) {
  const std::string path = Script(
      "Host.Show\n"
      "; a remark\n"
      "This line is prose and does nothing, as remarks do.\n"
      "SETREQ=Host.Speak(\"Hello \\mrk=1\\ there\")\n"
      "WAITFORREQ\n"
      "Host.Play Greet\n"
      "Host.MoveTo 10, 20\n"
      "Host.Balloon.FontSize = 12\n"
      "BGSHOW\n",
      "[Bookmarks]\n1=\n[BookmarkScript:1]\nHost.Play Wave\n");
  EXPECT_EQ(Lint(path), Lines{});
  EXPECT_EQ(ExitStatus(ScriptChecker({}).Check(folder_.string() + "/none.vrn")), 2);
}

TEST_F(LintTest, FileLevelErrors) {
  EXPECT_EQ(Lint(Write("a.vrn", "[Script]\nHost.Show\n")),
            Lines{"a.vrn:1: error: not a script file: the [VORN Script] section has no Version "
                  "key, so the player refuses it"});
  EXPECT_EQ(Lint(folder_.string() + "/missing.vrn"),
            Lines{"missing.vrn:1: error: cannot read the file"});
  EXPECT_EQ(Lint(Write("b.vrn", "[VORN Script]\nVersion=1\n")),
            (Lines{"b.vrn:1: warning: no [Characters] section: no character is loaded, so no "
                   "script line plays",
                   "b.vrn:1: warning: no [Script] section: the file plays nothing"}));
}

TEST_F(LintTest, CharacterFiles) {
  EXPECT_EQ(Lint(Write("a.vrn",
                       "[VORN Script]\nVersion=1\n[Characters]\nHost=Nobody.acs\n[Script]\n"
                       "Host.Show\n")),
            Lines{"a.vrn:4: error: character file 'Nobody.acs' of Host is not found (looked for "
                  "as written and by its file name in the character folders)"});
  // A path from another machine is found by its file name, as the player retries.
  EXPECT_EQ(Lint(Write("b.vrn",
                       "[VORN Script]\nVersion=1\n[Characters]\nHost=C:\\Chars\\RIRA.ACS\n"
                       "[Script]\nHost.Show\n")),
            Lines{});
  Write("Broken.acs", "not a character");
  const std::vector<std::string> broken =
      Lint(Write("c.vrn", "[VORN Script]\nVersion=1\n[Characters]\nHost=" + folder_.string() +
                              "/Broken.acs\n[Script]\nHost.Show\n"));
  ASSERT_EQ(broken.size(), 1u);
  EXPECT_TRUE(broken[0].starts_with("c.vrn:4: error: character file '")) << broken[0];
  EXPECT_NE(broken[0].find("cannot be read: "), std::string::npos) << broken[0];
}

TEST_F(LintTest, CharacterStatements) {
  EXPECT_EQ(Lint(Script("Host.Play Dance\n")),
            Lines{"test.vrn:7: warning: Host (Rira.acs) has no animation 'Dance'"});
  EXPECT_EQ(Lint(Script("Host .Speak Hi\n")),
            Lines{"test.vrn:7: warning: blank before the dot: 'Host .Speak' is not a character "
                  "statement and does nothing"});
  EXPECT_EQ(Lint(Script("Guest.Speak Hi\n")),
            Lines{"test.vrn:7: warning: 'Guest' is not a loaded character: the line does "
                  "nothing"});
  EXPECT_EQ(Lint(Script("Host.Stop\n")),
            Lines{"test.vrn:7: warning: 'Host.Stop' is no statement of a character: the line "
                  "does nothing"});
  EXPECT_EQ(Lint(Script("Host.Width 200\n")),
            Lines{"test.vrn:7: warning: WIDTH takes its value after '=': without one the whole "
                  "line is passed as the value"});
  EXPECT_EQ(Lint(Script("Host.MoveTo 100\n")),
            Lines{"test.vrn:7: warning: MOVETO needs 'x, y': without a comma the line does "
                  "nothing"});
  EXPECT_EQ(Lint(Script("Host.Speak Please say Host.Hide now\n")),
            Lines{"test.vrn:7: warning: the line runs HIDE (found further on the line), not the "
                  "statement it begins with"});
  EXPECT_EQ(Lint(Script("Host.Showing\n")),
            Lines{"test.vrn:7: warning: 'Host.Showing' is taken as Host.SHOW"});
  EXPECT_EQ(Lint(Script("Host.Speak \"Hello\n")), Lines{"test.vrn:7: warning: unbalanced quotes"});
}

TEST_F(LintTest, SystemStatements) {
  EXPECT_EQ(Lint(Script("BGSHOW now\n")),
            Lines{"test.vrn:7: warning: BGSHOW must stand alone on its line: with more on it the "
                  "line does nothing"});
  EXPECT_EQ(Lint(Script("PLAYWAVE\n")),
            Lines{"test.vrn:7: warning: PLAYWAVE needs an argument after a blank: the line does "
                  "nothing"});
  EXPECT_EQ(Lint(Script("FLY away\n")),
            Lines{"test.vrn:7: warning: unknown statement 'FLY': the line does nothing"});
  EXPECT_EQ(Lint(Script("PLAYWAVE sounds\\missing.wav\n")),
            Lines{"test.vrn:7: warning: file 'sounds\\missing.wav' does not exist (looked for "
                  "beside the script)"});
  Write("present.wav", "RIFF");
  EXPECT_EQ(Lint(Script("PLAYWAVE \"PRESENT.WAV\"\nBGIMAGE present.wav\n")), Lines{});
  EXPECT_EQ(Lint(Script("READTEXTFILE Host\n")),
            Lines{"test.vrn:7: warning: READTEXTFILE needs 'character, file': without a comma the "
                  "line does nothing"});
  EXPECT_EQ(Lint(Script("RUN cmd.exe\nRUN cmd.exe /k\n")),
            Lines{"test.vrn:7: error: the player refuses to run 'cmd.exe'"});
  EXPECT_EQ(Lint(Script("WAITFORREQ\n")),
            Lines{"test.vrn:7: warning: WAITFORREQ before any SETREQ= line of this script does "
                  "nothing"});
}

TEST_F(LintTest, Bookmarks) {
  EXPECT_EQ(Lint(Script("Host.Speak \"Hi \\mrk=5\\\"\n")),
            Lines{"test.vrn:7: warning: bookmark 5 is used in speech but the file has no "
                  "[Bookmarks] section"});
  EXPECT_EQ(Lint(Script("Host.Speak Hi\n", "[Bookmarks]\n7=\n[BookmarkScript:7]\nHost.Hide\n")),
            Lines{"test.vrn:9: warning: bookmark 7 is never used in the speech of this script"});
  EXPECT_EQ(Lint(Script("Host.Speak \\mrk=7\\\n", "[Bookmarks]\n7=\n")),
            Lines{"test.vrn:9: warning: bookmark 7 has no [BookmarkScript:7] section"});
  EXPECT_EQ(Lint(Script("Host.Speak \\mrk=111111111\\\n")),
            Lines{"test.vrn:7: warning: bookmark 111111111 is reserved for the player's own use"});
  // The read-aloud marker counts as used when the script reads aloud.
  Write("notes.txt", "Hello");
  EXPECT_EQ(Lint(Script("READTEXTFILE Host, notes.txt\n",
                        "[Bookmarks]\n777777777=\n[BookmarkScript:777777777]\nHost.Hide\n")),
            Lines{});
}

TEST_F(LintTest, ScriptSectionsNoKeyNames) {
  EXPECT_EQ(Lint(Script("Host.Show\n", "[BookmarkScript:4]\nHost.Hide\n[CommandScript:Jump]\n")),
            (Lines{"test.vrn:8: warning: section [BookmarkScript:4] is never played: [Bookmarks] "
                   "has no key 4",
                   "test.vrn:10: warning: section [CommandScript:Jump] is never played: "
                   "[Commands] has no key Jump"}));
}

TEST_F(LintTest, Commands) {
  EXPECT_EQ(Lint(Script("Host.Show\n", "[Commands]\nMenuName=Tricks\nWave=Wave|~|wave\n")),
            Lines{"test.vrn:10: warning: command 'Wave' has no [CommandScript:Wave] section"});
  EXPECT_EQ(Lint(Script("Host.Show\n",
                        "[Commands]\nWave=Wave at me\n[CommandScript:Wave]\nHost.Play Wave\n")),
            Lines{"test.vrn:9: warning: command 'Wave' has no '|~|' in its value: its caption and "
                  "voice stay empty"});
  // Lines of command scripts are checked like the main script.
  EXPECT_EQ(Lint(Script("Host.Show\n",
                        "[Commands]\nWave=Wave|~|wave\n[CommandScript:Wave]\nHost.Play Dance\n")),
            Lines{"test.vrn:11: warning: Host (Rira.acs) has no animation 'Dance'"});
}

TEST_F(LintTest, PlayScriptIsFollowed) {
  Write("inner.vrn", "[VORN Script]\nVersion=1\n[Script]\nHost.Play Dance\nRUN sh\n");
  EXPECT_EQ(Lint(Script("PLAYSCRIPT inner.vrn\n")),
            (Lines{"test.vrn:7: error: PLAYSCRIPT 'inner.vrn' fails the check",
                   "inner.vrn:4: warning: Host (Rira.acs) has no animation 'Dance'",
                   "inner.vrn:5: error: the player refuses to run 'sh'"}));
  // A script that plays itself is followed only so deep, and never hangs.
  EXPECT_EQ(Lint(Script("PLAYSCRIPT test.vrn\n")),
            Lines{"test.vrn:7: warning: PLAYSCRIPT is followed 8 scripts deep; 'test.vrn' is "
                  "not checked"});
}

TEST_F(LintTest, NeverCrashesOnOddBytes) {
  std::string bytes = "[VORN Script]\nVersion=1\n[Characters]\nHost=Rira.acs\n[Script]\n";
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += "\nHost.\n.\n\"\nSETREQ=\nSETREQ=(\nHost.Speak \\mrk=\\mrk=99999999999\\\n";
  EXPECT_NO_THROW(Lint(Write("odd.vrn", bytes)));
}

// The seeds of the script reader's and the interpreter's fuzz targets: odd files of every kind.
TEST_F(LintTest, NeverCrashesOnTheFuzzCorpus) {
  int files = 0;
  for (const char* corpus : {"/fuzz/profile/seeds", "/fuzz/play_script/seeds"}) {
    for (const fs::directory_entry& entry :
         fs::directory_iterator(std::string(RIRERAZO_SOURCE_DIR) + corpus)) {
      EXPECT_NO_THROW(Lint(entry.path().string())) << entry.path();
      ++files;
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace rirerazo::lint
