#include "core/text/text_reader.h"

#include <gtest/gtest.h>

#include "support/scratch_folder.h"
#include "support/fake_platform.h"
#include "support/system_fakes.h"

namespace rirerazo::text {
namespace {

using Log = std::vector<std::string>;

class ReaderTest : public ::testing::Test {
 protected:
  ReaderTest()
      : reader({agent, ui, loop, clipboard, reporter},
               [this](const std::string& script) { scripts.push_back(script); }) {
    agent.Add("Reader", {"Idle", "Processing", "processingreturn"});
    agent.Add("Plain", {"Idle", "ProcessingReturn"});
  }

  testing::ScratchFolder folder;
  Log log;  // what the characters were asked to do
  testing::FakeAgentControl agent{log};
  testing::RecordingUi ui;
  testing::FakeMessageLoop loop;
  testing::FakeClipboard clipboard;
  testing::RecordingReporter reporter;
  Log scripts;
  TextReader reader;
};

TEST_F(ReaderTest, EachLineOfAFileBecomesOneSpeakStatement) {
  reader.ReadTextFile("Plain", folder.Write("notes.txt", "Hello\nWorld\n"), "");
  EXPECT_EQ(scripts, Log{"Plain.Speak \"Hello\"\r\nPlain.Speak \"World\"\r\n"});
  EXPECT_TRUE(log.empty()) << "no Processing animation: nothing played or stopped";
}

TEST_F(ReaderTest, EmptyLinesSeparateParagraphsAndBlankLinesSpeakNothing) {
  reader.ReadContents("Plain", "One\r\n\r\nTwo\r\n   \r\nThree\r\n\r\n\r\nFour\r\n", "Say ");
  EXPECT_EQ(scripts, Log{"Plain.Speak \"Say One\"\r\nPlain.Speak \"Say Two\"\r\n"
                         "Plain.Speak \"Say \"\r\nPlain.Speak \"Say Three\"\r\n"
                         "Plain.Speak \"Say \"\r\nPlain.Speak \"Say Four\"\r\n"});
}

TEST_F(ReaderTest, LinesOver500CharactersAreCutIntoSentences) {
  const std::string a(200, 'a'), b(200, 'b'), c(195, 'c');
  reader.ReadContents("Plain", a + ".  " + b + ".   " + c + ".\r\n", "");
  EXPECT_EQ(scripts, Log{"Plain.Speak \"" + a + ".\"\r\nPlain.Speak \"" + b +
                         ".\"\r\nPlain.Speak \"" + c + "..\"\r\n"});
  scripts.clear();
  const std::string long_line(600, 'x');
  reader.ReadContents("Plain", long_line, "");
  EXPECT_EQ(scripts, Log{"Plain.Speak \"" + long_line + ".\"\r\n"});
  scripts.clear();
  const std::string exactly = std::string(200, 'y') + ".  " + std::string(297, 'y');
  ASSERT_EQ(exactly.size(), kMaxPieceLength);
  reader.ReadContents("Plain", exactly, "");
  EXPECT_EQ(scripts, Log{"Plain.Speak \"" + exactly + "\"\r\n"}) << "500 characters stay whole";
}

TEST_F(ReaderTest, ProcessingPlaysWhileConvertingEvenForAnEmptyText) {
  reader.ReadContents("Reader", "", "");
  EXPECT_EQ(log,
            (Log{"Reader.Play(Processing)", "Reader.Stop(#1)", "Reader.Play(ProcessingReturn)"}));
  EXPECT_TRUE(scripts.empty());
  EXPECT_EQ(loop.yields, 2);
}

TEST_F(ReaderTest, ClipboardTextIsReadAndAnEmptyClipboardDoesNothing) {
  reader.ReadClipboard("Reader", "");
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(scripts.empty());
  clipboard.text = "He said \"hi\"";
  reader.ReadClipboard("Reader", "\\Spd=90\\");
  EXPECT_EQ(scripts, Log{"Reader.Speak \"\\Spd=90\\He said \"hi\"\"\r\n"});
}

TEST_F(ReaderTest, UnknownCharacterIsReportedAndTheScriptStillRuns) {
  reader.ReadContents("Nobody", "Hi", "");
  EXPECT_EQ(reporter.reports, Log{"M:RT: ReadContents 5"});
  EXPECT_EQ(scripts, Log{"Nobody.Speak \"Hi\"\r\n"});
}

TEST_F(ReaderTest, MissingFolderAndMissingFileHaveDifferentMessages) {
  const std::string in_missing_folder = folder / "nowhere/notes.txt";
  reader.ReadTextFile("Plain", in_missing_folder, "");
  reader.ReadTextFile("Plain", folder / "absent.txt", "");
  reader.ReadTextFile("Plain", folder.Path(), "");
  ASSERT_EQ(ui.boxes.size(), 3u);
  EXPECT_EQ(ui.boxes[0].text,
            "The specified file for ReadTextFile \r\n" + in_missing_folder + "\r\ndoes not exist.");
  EXPECT_EQ(ui.boxes[1].text, "53 : File not found");
  EXPECT_EQ(ui.boxes[2].text, "75 : Path/File access error");
  for (const auto& box : ui.boxes) EXPECT_EQ(box.style, platform::mb::kExclamation);
  EXPECT_TRUE(scripts.empty());
}

TEST_F(ReaderTest, FileLineEndsOfEveryKindAreAccepted) {
  reader.ReadTextFile("Plain", folder.Write("mixed.txt", "a\r\nb\rc\nd"), "");
  EXPECT_EQ(scripts, Log{"Plain.Speak \"a\"\r\nPlain.Speak \"b\"\r\nPlain.Speak \"c\"\r\n"
                         "Plain.Speak \"d\"\r\n"});
}

}  // namespace
}  // namespace rirerazo::text
