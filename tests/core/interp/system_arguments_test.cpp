#include "core/interp/system_arguments.h"

#include <gtest/gtest.h>

namespace rirerazo {
namespace {

TEST(ShellExCommand, OuterQuotesGoAndDoubledQuotesBecomeOne) {
  EXPECT_EQ(ShellExCommand("SHELLEX \"notepad.exe\"", "SHELLEX "), "notepad.exe");
  EXPECT_EQ(ShellExCommand("RUN \"\"\"C:\\Program Files\\Tool\\tool.exe\"\" /quiet\"", "RUN "),
            "\"C:\\Program Files\\Tool\\tool.exe\" /quiet");
  EXPECT_EQ(ShellExCommand("OPEN \"C:\\My Files\\report.doc\"", "OPEN "),
            "C:\\My Files\\report.doc");
  EXPECT_EQ(ShellExCommand("OPEN \"\"\"C:\\My Files\\report.doc\"\"\"", "OPEN "),
            "\"C:\\My Files\\report.doc\"");
  EXPECT_EQ(ShellExCommand("run    a.txt   ", "RUN "), "a.txt");
  EXPECT_EQ(ShellExCommand("RUN x\"", "RUN "), "x") << "a lone trailing quote goes too";
  EXPECT_EQ(ShellExCommand("RUN \"", "RUN "), "") << "one quote is removed once";
}

TEST(StatementArgument, TextAfterTheFirstBlankWithEveryEnclosingQuoteGone) {
  EXPECT_EQ(StatementArgument("BGCOLOR #FF0000"), "#FF0000");
  EXPECT_EQ(StatementArgument("PLAYWAVE  \"\"my sound.wav\"\" "), "my sound.wav");
  EXPECT_EQ(StatementArgument("CLOSEAPP Untitled - Notepad"), "Untitled - Notepad");
  EXPECT_EQ(StatementArgument("STOPWAVE"), "");
}

TEST(ReadAloudArguments, ClipboardTakesCharacterAndOptionalPrefix) {
  const auto plain = ReadClipboardArguments("READCLIPBOARD Host");
  EXPECT_EQ(plain.character, "Host");
  EXPECT_EQ(plain.prefix, "");
  const auto with_prefix = ReadClipboardArguments("READCLIPBOARD \"Host\" , \"\\Spd=90\\ \" ");
  EXPECT_EQ(with_prefix.character, "Host");
  EXPECT_EQ(with_prefix.prefix, "\\Spd=90\\");
  EXPECT_EQ(ReadClipboardArguments("READCLIPBOARD Host, a, b").prefix, "a, b");
}

TEST(ReadAloudArguments, TextFileNeedsACommaAnywhereOnTheLine) {
  EXPECT_FALSE(ReadTextFileArguments("READTEXTFILE Host"));
  const auto file_only = ReadTextFileArguments("READTEXTFILE Host, notes.txt");
  ASSERT_TRUE(file_only);
  EXPECT_EQ(file_only->character, "Host");
  EXPECT_EQ(file_only->file, "notes.txt");
  EXPECT_EQ(file_only->prefix, "");
  const auto all = ReadTextFileArguments("READTEXTFILE Host , \"my notes.txt\" , Say , more");
  ASSERT_TRUE(all);
  EXPECT_EQ(all->file, "my notes.txt");
  EXPECT_EQ(all->prefix, "Say , more");
  const auto empty_file = ReadTextFileArguments("READTEXTFILE Host,");
  ASSERT_TRUE(empty_file);
  EXPECT_EQ(empty_file->file, "");
}

}  // namespace
}  // namespace rirerazo
