#include "os/process_shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/runtime_error.h"
#include "support/scratch_folder.h"

namespace rirerazo::os {
namespace {

namespace result = platform::open_result;

// A harmless program: writes each of its arguments on a line of `args.txt` beside itself.
std::string WriteRecorder(const testing::ScratchFolder& folder, const std::string& name) {
  const std::string path =
      folder.Write(name, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n");
  chmod(path.c_str(), 0755);
  return path;
}

std::string Recorded(const testing::ScratchFolder& folder) {
  std::ifstream in((folder / "args.txt"));
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

long StartError(PosixShell& shell, const std::string& command) {
  try {
    shell.StartProgram(command);
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(PosixShellStart, RunsTheProgramWithItsSplitArguments) {
  testing::ScratchFolder folder;
  const std::string tool = WriteRecorder(folder, "my tool");
  PosixShell shell;
  shell.StartProgram("\"" + tool + "\" one \"two words\" \"say \"\"hi\"\"\"");
  shell.ReapChildren(true);
  EXPECT_EQ(Recorded(folder), "one\ntwo words\nsay \"hi\"\n");
}

TEST(PosixShellStart, FailuresRaiseClassicErrors) {
  testing::ScratchFolder folder;
  const std::string text = folder.Write("plain.txt", "text");
  PosixShell shell;
  EXPECT_EQ(StartError(shell, "no-such-program-rirerazo"), 53);
  EXPECT_EQ(StartError(shell, "   "), 5);
  EXPECT_EQ(StartError(shell, text), 70) << "a file without execute permission";
  EXPECT_EQ(StartError(shell, (folder / "missing/tool")), 53);
}

TEST(PosixShellOpen, DocumentsFoldersAndAddressesGoToTheOpener) {
  testing::ScratchFolder folder;
  PosixShell shell(WriteRecorder(folder, "opener"));
  const std::string doc = folder.Write("report file.txt", "hello");
  EXPECT_GT(shell.OpenDocument(doc, "ignored for documents"), 32);
  shell.ReapChildren(true);
  EXPECT_EQ(Recorded(folder), doc + "\n");
  EXPECT_GT(shell.OpenDocument("https://example.org/a?b=c", ""), 32);
  shell.ReapChildren(true);
  EXPECT_EQ(Recorded(folder), "https://example.org/a?b=c\n");
  EXPECT_GT(shell.OpenDocument(folder.Path(), ""), 32);
  shell.ReapChildren(true);
  EXPECT_EQ(Recorded(folder), folder.Path() + "\n");
}

TEST(PosixShellOpen, AProgramRunsWithItsParameters) {
  testing::ScratchFolder folder;
  const std::string tool = WriteRecorder(folder, "tool");
  PosixShell shell((folder / "opener-that-is-not-there"));
  EXPECT_GT(shell.OpenDocument(tool, "-x \"a b\""), 32);
  shell.ReapChildren(true);
  EXPECT_EQ(Recorded(folder), "-x\na b\n");
}

TEST(PosixShellOpen, FailuresAreSmallResultCodes) {
  testing::ScratchFolder folder;
  PosixShell shell((folder / "opener-that-is-not-there"));
  EXPECT_EQ(shell.OpenDocument((folder / "missing.txt"), ""), result::kFileNotFound);
  EXPECT_EQ(shell.OpenDocument((folder / "no-folder/missing.txt"), ""), result::kPathNotFound);
  EXPECT_EQ(shell.OpenDocument("  ", ""), result::kFileNotFound);
  const std::string doc = folder.Write("a.txt", "x");
  EXPECT_EQ(shell.OpenDocument(doc, ""), result::kNoAssociation);
}

TEST(PosixShellOpen, BackslashesBecomeSlashesOnTheFileSystem) {
  testing::ScratchFolder folder;
  folder.MakeFolder("sub");
  const std::string tool = WriteRecorder(folder, "sub/tool");
  std::string windows_style = tool;
  std::replace(windows_style.begin(), windows_style.end(), '/', '\\');
  PosixShell shell;
  EXPECT_GT(shell.OpenDocument(windows_style, "ok"), 32);
  shell.ReapChildren(true);
  std::ifstream in((folder / "sub/args.txt"));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "ok");
}

}  // namespace
}  // namespace rirerazo::os
