// Damaged older-generation files: every failure is RuntimeError kInvalidCharacterFile naming
// the structure and offset, never a crash, hang or huge allocation (the sanitizer build runs
// these too).
#include <gtest/gtest.h>

#include <functional>

#include "acs_test_support.h"
#include "legacy_test_support.h"
#include "platform/runtime_error.h"

namespace rirerazo::acs {
namespace {

using testing::LegacyParts;
using testing::PutU16;
using testing::PutU32;
using testing::TinyLegacyCharacter;
using testing::WrapLegacyCharacter;

// Reads the bytes and, when they load, uses every image, frame and sound.
void ReadAndUse(const std::vector<std::uint8_t>& bytes) {
  const Character character = ReadCharacter(bytes, "damaged.acs");
  for (std::size_t i = 0; i < character.images.size(); ++i) (void)character.ImageRegion(i);
  for (const Animation& animation : character.animations) {
    for (const Frame& frame : animation.frames) {
      (void)character.ComposeFrame(frame);
      for (const MouthOverlay& overlay : frame.overlays)
        (void)character.ComposeFrame(frame, overlay.shape);
    }
  }
  for (std::size_t i = 0; i < character.sounds.size(); ++i) (void)character.DecodeSound(i);
}

// The description of the error reading the bytes raises; fails the test when they load.
std::string FailureOf(const std::vector<std::uint8_t>& bytes) {
  try {
    ReadAndUse(bytes);
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kInvalidCharacterFile) << error.Description();
    return error.Description();
  }
  ADD_FAILURE() << "damaged file was accepted";
  return {};
}

std::string Damaged(const std::function<void(LegacyParts&)>& damage) {
  LegacyParts parts = TinyLegacyCharacter();
  damage(parts);
  return FailureOf(WrapLegacyCharacter(parts));
}

TEST(LegacyCorrupt, EveryTruncationOfTheInflatedStreamsFails) {
  const LegacyParts whole = TinyLegacyCharacter();
  for (std::size_t size = 0; size < whole.header.size(); ++size) {
    LegacyParts parts = whole;
    parts.header.resize(size);
    if (size == 0) parts.header.push_back(0);  // the compressor needs a byte
    SCOPED_TRACE("header cut to " + std::to_string(size));
    EXPECT_NE(FailureOf(WrapLegacyCharacter(parts)).find("char.acf"), std::string::npos);
  }
  for (std::size_t a = 0; a < whole.animations.size(); ++a) {
    for (std::size_t size = 0; size < whole.animations[a].size(); ++size) {
      LegacyParts parts = whole;
      parts.animations[a].resize(size);
      SCOPED_TRACE("animation " + std::to_string(a) + " cut to " + std::to_string(size));
      EXPECT_NE(FailureOf(WrapLegacyCharacter(parts)).find("anim"), std::string::npos);
    }
  }
}

TEST(LegacyCorrupt, EveryTruncationOfTheFileFails) {
  const std::vector<std::uint8_t> whole = WrapLegacyCharacter(TinyLegacyCharacter());
  for (std::size_t size = 0; size < whole.size(); size += size < 600 ? 1 : 7) {
    SCOPED_TRACE("file cut to " + std::to_string(size));
    FailureOf({whole.begin(), whole.begin() + std::ptrdiff_t(size)});
  }
}

TEST(LegacyCorrupt, FlippedBytesLoadOrFailCleanly) {
  const std::vector<std::uint8_t> whole = WrapLegacyCharacter(TinyLegacyCharacter());
  for (std::size_t at = 0; at < whole.size(); ++at) {
    std::vector<std::uint8_t> bytes = whole;
    bytes[at] ^= 0xA5;
    try {
      ReadAndUse(bytes);
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), kInvalidCharacterFile) << "byte " << at;
    }
  }
}

TEST(LegacyCorrupt, ContainerDamageIsNamed) {
  const std::vector<std::uint8_t> whole = WrapLegacyCharacter(TinyLegacyCharacter());
  const testing::CompoundLayout layout = testing::CompoundLayoutOf(whole);
  const std::size_t table = 512;  // the first table sector
  const std::size_t directory = 512 * (layout.directory_sector + 1);
  {
    std::vector<std::uint8_t> cycle = whole;  // the directory's chain points at itself
    PutU32(cycle, table + 4 * layout.directory_sector, std::uint32_t(layout.directory_sector));
    EXPECT_NE(FailureOf(cycle).find("loops"), std::string::npos);
  }
  {
    std::vector<std::uint8_t> outside = whole;  // char.acf starts far past the end
    PutU32(outside, directory + 128 + 116, 0x00FFFFFF);
    EXPECT_NE(FailureOf(outside).find("outside"), std::string::npos);
  }
  {
    std::vector<std::uint8_t> sibling = whole;  // a tree link to a missing entry
    PutU32(sibling, directory + 128 + 72, 500);
    EXPECT_NE(FailureOf(sibling).find("outside the directory"), std::string::npos);
  }
  {
    std::vector<std::uint8_t> loop = whole;  // a tree link back to an entry already seen
    PutU32(loop, directory + 128 + 72, 1);
    EXPECT_NE(FailureOf(loop).find("loops"), std::string::npos);
  }
  {
    std::vector<std::uint8_t> huge = whole;  // a stream larger than the file
    PutU32(huge, directory + 128 + 120, 0xFFFFFFF0);
    EXPECT_NE(FailureOf(huge).find("char.acf"), std::string::npos);
  }
  {
    std::vector<std::uint8_t> tables = whole;  // more table sectors than the file holds
    PutU32(tables, 0x2C, 0x10000000);
    EXPECT_NE(FailureOf(tables).find("header"), std::string::npos);
  }
  {
    std::vector<std::uint8_t> renamed = whole;  // anim2.aaf is missing
    PutU16(renamed, directory + 3 * 128 + 2 * 4, 'X');
    EXPECT_NE(FailureOf(renamed).find("'anim2.aaf'"), std::string::npos);
  }
}

TEST(LegacyCorrupt, HugeCountsAndSizesAreRefusedBeforeUse) {
  // The animation count (after the version) and the palette count.
  EXPECT_NE(Damaged([](LegacyParts& p) { PutU16(p.header, 4, 0xFFFF); }).find("animation count"),
            std::string::npos);
  // The sound count, the sound's size, the image count of the first animation.
  EXPECT_NE(Damaged([](LegacyParts& p) { PutU16(p.animations[0], 0, 0xFFFF); }).find("sound count"),
            std::string::npos);
  EXPECT_NE(Damaged([](LegacyParts& p) {
              PutU32(p.animations[0], 2, 0xFFFFFFF0);
            }).find("sound byte count"),
            std::string::npos);
  EXPECT_NE(Damaged([](LegacyParts& p) { PutU16(p.animations[1], 2, 0xFFFF); }).find("image count"),
            std::string::npos);
}

TEST(LegacyCorrupt, ReferencesOutsideTheirTablesAreRefused) {
  // Speak: no sounds, one image (4 + 1 + 8 + 4 bytes), then the frame count and the frame.
  constexpr std::size_t kFrame = 2 + 2 + 17 + 2;
  EXPECT_NE(Damaged([](LegacyParts& p) { PutU16(p.animations[1], kFrame, 1); }).find("image 1"),
            std::string::npos);
  EXPECT_NE(Damaged([](LegacyParts& p) { PutU16(p.animations[1], kFrame + 2, 0); }).find("sound 0"),
            std::string::npos);
  // The mouth shape of the first mouth image.
  EXPECT_NE(Damaged([](LegacyParts& p) { p.animations[1][kFrame + 12] = 7; }).find("mouth shape"),
            std::string::npos);
}

TEST(LegacyCorrupt, OneStreamListedForTwoAnimationsIsRefused) {
  // The second animation's stream name, "anim2.aaf", becomes "anim1.aaf".
  EXPECT_NE(Damaged([](LegacyParts& p) { PutU16(p.header, 74, '1'); }).find("two animations"),
            std::string::npos);
}

TEST(LegacyCorrupt, DeclaredInflatedSizesMustBeReachable) {
  std::vector<std::uint8_t> bytes = WrapLegacyCharacter(TinyLegacyCharacter());
  // char.acf is the first short stream: its inflated size is at the start of the short area.
  const testing::CompoundLayout layout = testing::CompoundLayoutOf(bytes);
  const std::size_t short_area = 512 * (layout.directory_sector + 1 + 1 + 1);
  ASSERT_EQ(testing::GetU32(bytes, short_area), 0xABCDABC1u);
  PutU32(bytes, short_area + 4, 0xFFFFFFF0);
  EXPECT_NE(FailureOf(bytes).find("too short for the declared size"), std::string::npos);
}

TEST(LegacyCorrupt, RealFileTruncatedAtSectorBoundariesFails) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "ALIEN.ACS");
  for (std::size_t size :
       {std::size_t(0), std::size_t(8), std::size_t(511), std::size_t(512), std::size_t(1024),
        bytes.size() / 2, bytes.size() - 512, bytes.size() - 1}) {
    SCOPED_TRACE("cut to " + std::to_string(size));
    FailureOf({bytes.begin(), bytes.begin() + std::ptrdiff_t(size)});
  }
}

}  // namespace
}  // namespace rirerazo::acs
