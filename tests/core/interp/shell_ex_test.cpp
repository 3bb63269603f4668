#include "core/interp/shell_ex.h"

#include <gtest/gtest.h>

#include "support/fake_platform.h"
#include "support/system_fakes.h"

namespace rirerazo {
namespace {

class ShellExTest : public ::testing::Test {
 protected:
  std::int32_t Run(const std::string& command) { return ShellEx({shell, ui, loop}, command); }
  testing::FakeShell shell;
  testing::RecordingUi ui;
  testing::FakeMessageLoop loop;
};

TEST(IsRefusedCommand, OnlyTheWholeCommandInAnyCaseIsRefused) {
  for (const char* refused : {"cmd.exe", "CMD.EXE", "Format.com", "command prompt", "ms-dos",
                              "COMMAND.COM", "deltree.exe", "format.exe", "replace.exe",
                              "restore.exe", "sh", "BASH", "dash", "Zsh", "mkfs"}) {
    EXPECT_TRUE(IsRefusedCommand(refused)) << refused;
  }
  for (const char* allowed : {"cmd.exe /k", "c:\\windows\\cmd.exe", "/bin/sh", "sh -c ls",
                              "mkfs.ext4", "bash2", "cmd", ""}) {
    EXPECT_FALSE(IsRefusedCommand(allowed)) << allowed;
  }
}

TEST_F(ShellExTest, RefusedCommandShowsItsBoxAndStartsNothing) {
  EXPECT_EQ(Run("  cmd.exe "), 0);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Command is not allowed:\r\n\r\ncmd.exe");
  EXPECT_EQ(ui.boxes[0].style, platform::mb::kExclamation);
  EXPECT_TRUE(shell.log.empty());
  EXPECT_EQ(loop.yields, 0);
}

TEST_F(ShellExTest, StartedProgramReturnsZeroAfterOneYield) {
  EXPECT_EQ(Run("notepad.exe a b"), 0);
  EXPECT_EQ(shell.log, std::vector<std::string>{"start notepad.exe a b"});
  EXPECT_EQ(loop.yields, 1);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ShellExTest, FailedStartFallsBackToOpeningWithTheSplitCommand) {
  shell.start_error = 53;
  shell.open_result = 2;
  EXPECT_EQ(Run("C:\\My Files\\report.doc"), 2) << "a failed opening shows nothing";
  EXPECT_EQ(Run("\"C:\\My Files\\tool.exe\" -x"), 2);
  EXPECT_EQ(Run("readme.txt"), 2);
  EXPECT_EQ(Run("\"\" rest"), 2);
  EXPECT_EQ(Run("\"unclosed name"), 2);
  EXPECT_EQ(shell.log,
            (std::vector<std::string>{
                "start C:\\My Files\\report.doc", "open [C:\\My] [Files\\report.doc]",
                "start \"C:\\My Files\\tool.exe\" -x", "open [C:\\My Files\\tool.exe] [-x]",
                "start readme.txt", "open [readme.txt] []", "start \"\" rest",
                "open [\"\" rest] []", "start \"unclosed name", "open [\"unclosed name] []"}));
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(loop.yields, 5);
}

TEST_F(ShellExTest, OtherFailuresShowTheErrorOpeningBox) {
  shell.start_error = 53;
  shell.open_throws = true;
  EXPECT_EQ(Run("x.doc"), 0);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Error opening:\r\nx.doc\r\n\r\nError 7 : Out of memory");
  EXPECT_EQ(ui.boxes[0].style, platform::mb::kExclamation);
  EXPECT_EQ(loop.yields, 0);
}

TEST(CloseApp, AMissingDisplayGoesToTheErrorReport) {
  testing::FakeShell shell;
  testing::RecordingReporter reporter;
  CloseApp(shell, reporter, "Untitled - Notepad");
  EXPECT_EQ(shell.log, std::vector<std::string>{"close Untitled - Notepad"});
  EXPECT_TRUE(reporter.reports.empty());
  shell.no_display = true;
  CloseApp(shell, reporter, "x");
  EXPECT_EQ(reporter.reports, std::vector<std::string>{"M:SX: CloseApp 68"});
}

}  // namespace
}  // namespace rirerazo
