// extract -> build -> extract: the folder a character unpacks to builds back into the same
// character (frames, timings, pixels, sounds), and unpacking that again gives the same
// manifest and the same images. Checked on the demo character and on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "manifest.h"
#include "platform/runtime_error.h"
#include "runtime/acs/writer/acs_writer.h"

namespace rirerazo::chartool {
namespace {

namespace fs = std::filesystem;

fs::path FreshFolder(const std::string& name) {
  const fs::path folder = fs::path(::testing::TempDir()) / ("rirerazo-char-" + name);
  fs::remove_all(folder);
  return folder;
}

std::string FileText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void ExpectSameFrames(const acs::Character& a, const acs::Character& b) {
  ASSERT_EQ(a.animations.size(), b.animations.size());
  for (std::size_t i = 0; i < a.animations.size(); ++i) {
    const acs::Animation& x = a.animations[i];
    ASSERT_EQ(x, b.animations[i]) << x.name;  // timings, branches, exits, overlays
    for (std::size_t f = 0; f < x.frames.size(); ++f) {
      ASSERT_EQ(a.ComposeFrame(x, f).rgba, b.ComposeFrame(b.animations[i], f).rgba)
          << x.name << " frame " << f;
    }
  }
  for (std::size_t i = 0; i < a.sounds.size(); ++i) {
    const auto x = a.SoundBytes(i), y = b.SoundBytes(i);
    EXPECT_TRUE(std::equal(x.begin(), x.end(), y.begin(), y.end())) << "sound " << i;
  }
}

void ExpectFolderRoundTrip(const fs::path& source, const std::string& name) {
  const acs::Character original = acs::ReadCharacterFile(source.string());
  const fs::path first = FreshFolder(name + "-1");
  const fs::path second = FreshFolder(name + "-2");
  ExtractCharacter(original, first, {});
  const acs::Character rebuilt =
      acs::ReadCharacter(acs::WriteCharacter(LoadCharacterFolder(first)), "rebuilt");
  ExpectSameFrames(original, rebuilt);
  EXPECT_EQ(rebuilt.info.guid, original.info.guid);
  EXPECT_EQ(rebuilt.info.states, original.info.states);
  ExtractCharacter(rebuilt, second, {});
  EXPECT_EQ(FileText(first / kManifestName), FileText(second / kManifestName));
  for (const auto& entry : fs::directory_iterator(first / "images")) {
    EXPECT_EQ(FileText(entry.path()), FileText(second / "images" / entry.path().filename()))
        << entry.path();
  }
  fs::remove_all(first);
  fs::remove_all(second);
}

TEST(CharFolderRoundTrip, DemoCharacter) {
  const fs::path demo = fs::path(RIRERAZO_BINARY_DIR) / "examples" / "character" / "Rira.acs";
  if (!fs::exists(demo)) GTEST_SKIP() << demo << " has not been built";
  ExpectFolderRoundTrip(demo, "rira");
}

TEST(CharFolderRoundTrip, RealCharacters) {
  bool any = false;
  for (const char* file : {"Character2.acs", "HappyFace.acs"}) {
    const fs::path path = fs::path(RIRERAZO_SHARED_DIR) / "characters" / file;
    if (!fs::exists(path)) continue;
    SCOPED_TRACE(file);
    ExpectFolderRoundTrip(path, file);
    any = true;
  }
  if (!any) GTEST_SKIP() << "the shared characters folder is absent";
}

// An older-generation file (a compound container) unpacks like any other, and the folder
// builds into a current-generation file that plays the same frames and sounds.
TEST(CharFolderRoundTrip, OlderGenerationFileConvertsToACurrentOne) {
  const fs::path path = fs::path(RIRERAZO_SHARED_DIR) / "characters" / "ALIEN.ACS";
  if (!fs::exists(path)) GTEST_SKIP() << path << " is absent";
  ExpectFolderRoundTrip(path, "alien");
}

TEST(CharFolderRoundTrip, ExtractRefusesToOverwriteUnlessForced) {
  acs::Character tiny;
  tiny.info.width = tiny.info.height = 1;
  const fs::path folder = FreshFolder("overwrite");
  ExtractCharacter(tiny, folder, {});
  EXPECT_THROW(ExtractCharacter(tiny, folder, {}), RuntimeError);
  EXPECT_NO_THROW(ExtractCharacter(tiny, folder, {false, false, true}));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace rirerazo::chartool
