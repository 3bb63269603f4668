// Real characters made by others, read, written again and read back: the model, every
// image's pixels and region and every sound must survive, and the encoder must stay close
// to the size of the original files. Skips when the shared characters folder is absent.
#include <gtest/gtest.h>

#include "runtime/acs/writer/acs_writer.h"
#include "runtime/acs/writer_test_support.h"

namespace rirerazo::acs {
namespace {

using test_support::ExpectSameCharacter;
using test_support::SharedCharacter;

class WriterRealFile : public ::testing::TestWithParam<const char*> {};

TEST_P(WriterRealFile, SurvivesAWriteAndReadBack) {
  const auto path = SharedCharacter(GetParam());
  if (path.empty()) GTEST_SKIP() << "shared character " << GetParam() << " is absent";
  const Character original = ReadCharacterFile(path.string());
  const std::vector<std::uint8_t> bytes = WriteCharacter(original);
  const Character rewritten = ReadCharacter(bytes, "rewritten");
  ExpectSameCharacter(original, rewritten);
  // Our encoder against the original tools' output: within 15 percent.
  EXPECT_LT(bytes.size(), original.file_bytes->size() * 115 / 100);
}

INSTANTIATE_TEST_SUITE_P(SharedCharacters, WriterRealFile,
                         ::testing::Values("Character2.acs", "HappyFace.acs", "MaxALERT.acs",
                                           "Genie.acs", "Merlin.acs"),
                         [](const auto& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

TEST(WriterRealFileRaw, UncompressedCopyHasTheSamePixels) {
  const auto path = SharedCharacter("HappyFace.acs");
  if (path.empty()) GTEST_SKIP() << "shared character HappyFace.acs is absent";
  const Character original = ReadCharacterFile(path.string());
  const Character raw =
      ReadCharacter(WriteCharacter(original, {Storage::kRaw, Storage::kRaw}), "raw copy");
  ExpectSameCharacter(original, raw);
  const Animation& first = original.animations.front();
  const RgbaImage a = original.ComposeFrame(first, 0);
  const RgbaImage b = raw.ComposeFrame(raw.animations.front(), 0);
  EXPECT_EQ(a.rgba, b.rgba);
}

}  // namespace
}  // namespace rirerazo::acs
