#include "core/util/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scratch_folder.h"

namespace rirerazo::util {
namespace {

using rirerazo::testing::ScratchFolder;

TEST(PathParts, BothSeparatorsCount) {
  EXPECT_EQ(FileNameOnly("C:\\Shows\\intro.vrn"), "intro.vrn");
  EXPECT_EQ(FileNameOnly("shows/sub\\a.wav"), "a.wav");
  EXPECT_EQ(FileNameOnly("plain.wav"), "plain.wav");
  EXPECT_EQ(PathOnly("plain.wav"), "");
  EXPECT_EQ(PathOnly("a\\b/c"), "a\\b/");
  EXPECT_TRUE(IsAbsolutePath("\\Shows\\a"));
  EXPECT_TRUE(IsAbsolutePath("c:a"));
  EXPECT_FALSE(IsAbsolutePath("sounds\\a.wav"));
  EXPECT_EQ(AppPathFrom("/opt/rirerazo/bin/rirerazo"), "/opt/rirerazo/bin/");
  EXPECT_EQ(AppPathFrom("/rirerazo"), "/");  // the root, not "//"
}

TEST(GetTempDir, EndsInASeparatorAndFallsBackToTmp) {
  struct FakeSystem : platform::System {
    std::string temp;
    std::string ExecutablePath() const override { return {}; }
    std::string TempFolder() const override { return temp; }
    std::string Environment(const std::string&) const override { return {}; }
    std::string HomeFolder() const override { return {}; }
  } system;
  system.temp = "/var/tmp";
  EXPECT_EQ(GetTempDir(system), "/var/tmp/");
  system.temp = "/";
  EXPECT_EQ(GetTempDir(system), "/");
  system.temp = "";
  EXPECT_EQ(GetTempDir(system), "/tmp/");
}

TEST(FileExists, FilesAndFoldersExistOddNamesDoNot) {
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
  EXPECT_EQ(FindOnDisk(dir.Path() + "\\SOUNDS\\intro.wav"), dir / "Sounds/Intro.WAV");
  EXPECT_EQ(FindOnDisk(dir / "Sounds//./intro.wav"), dir / "Sounds/./Intro.WAV");
  EXPECT_FALSE(FindOnDisk(dir / "Sounds/Intro.WAV/x"));
  dir.Write("b.txt", "");
  dir.Write("B.txt", "");
  dir.Write("c.TXT", "");
  dir.Write("C.txt", "");
  EXPECT_EQ(FindOnDisk(dir / "B.txt"), dir / "B.txt");  // the exact name wins
  EXPECT_EQ(FindOnDisk(dir / "c.txt"), dir / "C.txt");  // else the first in byte order
}

class ResolveScriptPathTest : public ::testing::Test {
 protected:
  ScratchFolder dir;
  StartupPaths paths;
  void SetUp() override { paths.script_file = dir.Write("S/a.vrn", "[VORN Script]\r\n"); }
};

TEST_F(ResolveScriptPathTest, AFileBesideTheScriptWinsThenTheFolderBeneathIt) {
  const std::string below = dir.Write("S/sounds/x.wav", "RIFF");
  EXPECT_EQ(ResolveScriptPath("sounds\\x.wav", paths), below);
  EXPECT_EQ(ResolveScriptPath("\\sounds\\x.wav", paths), below);
  EXPECT_EQ(ResolveScriptPath("SOUNDS/X.WAV", paths), below);
  EXPECT_EQ(ResolveScriptPath("C:\\sounds\\x.wav", paths), "C:\\sounds\\x.wav");
  const std::string beside = dir.Write("S/x.wav", "RIFF");
  EXPECT_EQ(ResolveScriptPath("sounds\\x.wav", paths), beside);
  EXPECT_EQ(ResolveScriptPath("C:\\Shows\\x.wav", paths), beside);
}

TEST_F(ResolveScriptPathTest, AnExistingAbsolutePathIsKeptAndNothingFoundIsUnchanged) {
  ScratchFolder elsewhere;
  const std::string other = elsewhere.Write("x.wav", "RIFF");
  dir.Write("S/x.wav", "RIFF");
  EXPECT_EQ(ResolveScriptPath(other, paths), other);
  EXPECT_EQ(ResolveScriptPath("sounds\\none.wav", paths), "sounds\\none.wav");
  paths.script_file.clear();
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
