// Damaged variants of real characters: every failure must be a clean kInvalidCharacterFile
// error naming the block and offset; nothing may crash, read outside the data or hang.
// (Run under the sanitizer build to catch out-of-bounds reads these tests provoke.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "acs_test_support.h"
#include "platform/runtime_error.h"

namespace rirerazo::acs {
namespace {

using testing::GetU32;
using testing::PutU16;
using testing::PutU32;

// Opens the bytes and uses everything in them. Returns the error text, or "" on success.
std::string UseEverything(const std::vector<std::uint8_t>& bytes) {
  try {
    const Character character = ReadCharacter(bytes, "damaged.acs");
    for (std::size_t i = 0; i < character.images.size(); ++i) (void)character.ImageRegion(i);
    for (const Animation& animation : character.animations) {
      for (const Frame& frame : animation.frames) (void)character.ComposeFrame(frame);
    }
    for (std::size_t i = 0; i < character.sounds.size(); ++i) (void)character.DecodeSound(i);
    return "";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kInvalidCharacterFile) << error.Description();
    return error.Description();
  }
}

std::string OpenError(const std::vector<std::uint8_t>& bytes) {
  try {
    ReadCharacter(bytes, "damaged.acs");
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kInvalidCharacterFile);
    return error.Description();
  }
  return "";
}

// Where the first animation's block and its first frame's first image index lie.
struct FirstAnimation {
  std::size_t block = 0;
  std::size_t first_image_index = 0;
};

FirstAnimation LocateFirstAnimation(const std::vector<std::uint8_t>& bytes) {
  const std::size_t directory = GetU32(bytes, 0x0C);
  const std::size_t name_units = GetU32(bytes, directory + 4);
  FirstAnimation at;
  at.block = GetU32(bytes, directory + 8 + 2 * name_units + 2);
  std::size_t p = at.block;
  p += 4 + 2 * GetU32(bytes, p) + 2;  // upper-case name
  p += 1;                             // transition type
  const std::size_t return_units = GetU32(bytes, p);
  p += 4 + (return_units ? 2 * return_units + 2 : 0);
  at.first_image_index = p + 2 + 2;  // frame count, image count
  return at;
}

TEST(CorruptCharacter, EveryTruncationFailsCleanly) {
  for (const char* name : {"Character2.acs", "HappyFace.acs"}) {
    ACS_LOAD_BYTES_OR_SKIP(bytes, name);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
      const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + size);
      ASSERT_NE(UseEverything(cut), "") << name << " cut to " << size << " bytes";
    }
  }
}

TEST(CorruptCharacter, TruncatedLargeFileFailsCleanly) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "Merlin.acs");
  for (std::size_t size = 0; size < bytes.size(); size += 24989) {
    ASSERT_NE(OpenError({bytes.begin(), bytes.begin() + size}), "") << size;
  }
  EXPECT_NE(OpenError({bytes.begin(), bytes.end() - 1}), "");
}

TEST(CorruptCharacter, FlippedBytesLoadOrFailCleanly) {
  for (const char* name : {"Character2.acs", "HappyFace.acs"}) {
    ACS_LOAD_BYTES_OR_SKIP(bytes, name);
    const std::size_t step = bytes.size() < 4000 ? 1 : 23;
    for (std::size_t at = 0; at < bytes.size(); at += step) {
      std::vector<std::uint8_t> damaged = bytes;
      damaged[at] ^= std::uint8_t(0xFF - at % 7);
      (void)UseEverything(damaged);  // success is fine; a failure must be a clean error
      if (HasFatalFailure() || HasNonfatalFailure()) FAIL() << name << " byte " << at;
    }
  }
}

TEST(CorruptCharacter, HugeCountsAndSizesAreRefusedBeforeAllocating) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "Character2.acs");
  const std::size_t animations = GetU32(bytes, 0x0C), images = GetU32(bytes, 0x14);
  const std::size_t first_image = GetU32(bytes, images + 4);
  struct Case {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    bool sixteen_bits;
    const char* message;
  } const cases[] = {
      {"animation count", animations, 0xFFFFFFFF, false, "animation count 4294967295"},
      {"image count", images, 0x10000000, false, "image directory"},
      {"name length", animations + 4, 0x7FFFFFFF, false, "runs past the block end"},
      {"image width", first_image + 1, 0xFFFF, true, "larger than supported"},
      {"locator size", 0x10, 0xFFFFFFF0, false, "runs past the end of the file"},
      {"version", GetU32(bytes, 0x04), 0x0003, true, "unsupported version"},
      {"signature", 0, 0x12345678, false, "unknown signature"},
      {"split signature", 0, 0xABCDABC4, false, "split"},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> damaged = bytes;
    if (c.sixteen_bits) {
      PutU16(damaged, c.at, std::uint16_t(c.value));
    } else {
      PutU32(damaged, c.at, c.value);
    }
    if (c.at == first_image + 1) PutU16(damaged, c.at + 2, 0xFFFF);
    EXPECT_NE(OpenError(damaged).find(c.message), std::string::npos)
        << c.what << ": " << OpenError(damaged);
  }
}

TEST(CorruptCharacter, BadReferenceNamesItsBlockAndOffset) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "Character2.acs");
  std::vector<std::uint8_t> damaged = bytes;
  const FirstAnimation first = LocateFirstAnimation(bytes);
  ASSERT_EQ(GetU32(bytes, first.first_image_index), 0u) << "unexpected layout";
  PutU32(damaged, first.first_image_index, 999);
  char offset[32];
  std::snprintf(offset, sizeof offset, "offset 0x%zX", first.first_image_index);
  const std::string error = OpenError(damaged);
  EXPECT_NE(error.find("animation \""), std::string::npos) << error;
  EXPECT_NE(error.find(offset), std::string::npos) << error;
  EXPECT_NE(error.find("image 999 is out of range (2 present)"), std::string::npos) << error;
}

TEST(CorruptCharacter, DamagedImageDataFailsWhenFirstDecodedNotWhenOpened) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "Character2.acs");
  std::vector<std::uint8_t> damaged = bytes;
  const std::size_t first_image = GetU32(bytes, GetU32(bytes, 0x14) + 4);
  damaged[first_image + 10] = 0x01;  // the stream's leading zero byte
  const Character character = ReadCharacter(damaged, "damaged.acs");
  EXPECT_NO_THROW((void)character.ImagePixels(1));
  try {
    (void)character.ImagePixels(0);
    FAIL() << "damaged image decoded";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kInvalidCharacterFile);
    EXPECT_NE(error.Description().find("damaged.acs: image 0 at offset"), std::string::npos)
        << error.Description();
  }
}

// The inputs the character reader's fuzzer once failed on (fuzz/acs/regressions/) load or
// fail cleanly, here under the sanitizers of the test build too.
TEST(CorruptCharacter, SavedFuzzFindingsLoadOrFailCleanly) {
  const std::filesystem::path folder =
      std::filesystem::path(RIRERAZO_SOURCE_DIR) / "fuzz/acs/regressions";
  int played = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    UseEverything({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    ++played;
  }
  EXPECT_GT(played, 0);
}

}  // namespace
}  // namespace rirerazo::acs
