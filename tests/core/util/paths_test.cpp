#include "core/util/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scratch_folder.h"

namespace rirerazo::util {
namespace {

using rirerazo::testing::ScratchFolder;

class FakeSystem : public platform::System {
 public:
  std::string temp;
  std::string ExecutablePath() const override { return "/opt/rirerazo/bin/rirerazo"; }
  std::string TempFolder() const override { return temp; }
  std::string Environment(const std::string&) const override { return {}; }
  std::string HomeFolder() const override { return {}; }
};

TEST(PathParts, BothSeparatorsCount) {
  EXPECT_EQ(FileNameOnly("C:\\Shows\\intro.vrn"), "intro.vrn");
  EXPECT_EQ(FileNameOnly("/home/u/intro.vrn"), "intro.vrn");
  EXPECT_EQ(FileNameOnly("shows/sub\\a.wav"), "a.wav");
  EXPECT_EQ(FileNameOnly("plain.wav"), "plain.wav");
  EXPECT_EQ(PathOnly("plain.wav"), "");
  EXPECT_EQ(PathOnly("C:\\Shows\\intro.vrn"), "C:\\Shows\\");
  EXPECT_EQ(PathOnly("a\\b/c"), "a\\b/");
  EXPECT_EQ(FileNameOnly("folder\\"), "");
}

TEST(PathParts, AbsoluteMeansALeadingSeparatorOrADrive) {
  EXPECT_TRUE(IsAbsolutePath("/tmp/a"));
  EXPECT_TRUE(IsAbsolutePath("\\Shows\\a"));
  EXPECT_TRUE(IsAbsolutePath("C:\\Shows\\a"));
  EXPECT_TRUE(IsAbsolutePath("c:a"));
  EXPECT_FALSE(IsAbsolutePath("sounds\\a.wav"));
  EXPECT_FALSE(IsAbsolutePath(""));
}

TEST(PathParts, ProgramAndTemporaryFolders) {
  EXPECT_EQ(AppPathFrom("/opt/rirerazo/bin/rirerazo"), "/opt/rirerazo/bin/");
  EXPECT_EQ(AppPathFrom("/rirerazo"), "/");  // the root, not "//"
  FakeSystem system;
  system.temp = "/var/tmp";
  EXPECT_EQ(GetTempDir(system), "/var/tmp/");
  system.temp = "/";
  EXPECT_EQ(GetTempDir(system), "/");
  system.temp = "";
  EXPECT_EQ(GetTempDir(system), "/tmp/");
}

TEST(FileExists, FilesAndFoldersExistOthersDoNot) {
  ScratchFolder dir;
  const std::string file = dir.Write("a.wav", "RIFF");
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir / "missing.wav"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(file + std::string(1, '\0') + "x"));
  EXPECT_FALSE(FileExists(std::string(100000, 'x')));
}

TEST(FileExists, BackslashesAndLetterCaseAreForgiven) {
  ScratchFolder dir;
  dir.Write("Sounds/Intro.WAV", "RIFF");
  const std::string windows_style = dir.Path() + "\\SOUNDS\\intro.wav";
  ASSERT_TRUE(FileExists(windows_style));
  EXPECT_EQ(*FindOnDisk(windows_style), dir / "Sounds/Intro.WAV");
  EXPECT_EQ(*FindOnDisk(dir / "Sounds//./intro.wav"), dir / "Sounds/./Intro.WAV");
  EXPECT_FALSE(FindOnDisk(dir / "Sounds/Intro.WAV/x"));
}

TEST(FileExists, TheExactNameWinsOverOtherCases) {
  ScratchFolder dir;
  dir.Write("b.txt", "lower");
  dir.Write("B.txt", "upper");
  dir.Write("C.txt", "upper");
  dir.Write("c.TXT", "mixed");
  EXPECT_EQ(*FindOnDisk(dir / "B.txt"), dir / "B.txt");
  EXPECT_EQ(*FindOnDisk(dir / "c.txt"), dir / "C.txt");  // first in byte order
}

class ResolveScriptPathTest : public ::testing::Test {
 protected:
  ScratchFolder dir;
  StartupPaths paths;
  void SetUp() override { paths.gScriptFile = dir.Write("S/a.vrn", "[VORN Script]\r\n"); }
};

TEST_F(ResolveScriptPathTest, AFileBesideTheScriptWins) {
  const std::string beside = dir.Write("S/x.wav", "RIFF");
  dir.Write("S/sounds/x.wav", "RIFF");
  EXPECT_EQ(ResolveScriptPath("sounds\\x.wav", paths), beside);
  EXPECT_EQ(ResolveScriptPath("C:\\Shows\\x.wav", paths), beside);
}

TEST_F(ResolveScriptPathTest, ThenTheFolderBeneathTheScript) {
  const std::string below = dir.Write("S/sounds/x.wav", "RIFF");
  EXPECT_EQ(ResolveScriptPath("sounds\\x.wav", paths), below);
  EXPECT_EQ(ResolveScriptPath("\\sounds\\x.wav", paths), below);
  EXPECT_EQ(ResolveScriptPath("SOUNDS/X.WAV", paths), below);
  EXPECT_EQ(ResolveScriptPath("C:\\sounds\\y.wav", paths), "C:\\sounds\\y.wav");
}

TEST_F(ResolveScriptPathTest, AnExistingAbsolutePathIsKept) {
  ScratchFolder elsewhere;
  const std::string other = elsewhere.Write("x.wav", "RIFF");
  dir.Write("S/x.wav", "RIFF");
  EXPECT_EQ(ResolveScriptPath(other, paths), other);
}

TEST_F(ResolveScriptPathTest, NothingFoundLeavesThePathUnchanged) {
  EXPECT_EQ(ResolveScriptPath("sounds\\none.wav", paths), "sounds\\none.wav");
  paths.gScriptFile.clear();
  dir.Write("S/x.wav", "RIFF");
  EXPECT_EQ(ResolveScriptPath("x.wav", paths), "x.wav");
}

TEST_F(ResolveScriptPathTest, ARelativePathInTheCurrentFolderComesBackUnchanged) {
  ScratchFolder cwd;
  cwd.Write("only-here.wav", "RIFF");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(cwd.Path());
  const std::string resolved = ResolveScriptPath("only-here.wav", paths);
  std::filesystem::current_path(previous);
  EXPECT_EQ(resolved, "only-here.wav");
}

}  // namespace
}  // namespace rirerazo::util
