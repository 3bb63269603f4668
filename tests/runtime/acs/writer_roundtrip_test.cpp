// The writer through the reader: a model written and read back is the same model, with the
// same pixels, whether images are stored compressed or raw; the file is laid out as readers
// expect; and a model that would make a broken file is refused with a clear message.
#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "runtime/acs/writer/acs_writer.h"
#include "runtime/acs/writer_test_support.h"

namespace rirerazo::acs {
namespace {

using test_support::ExpectSameCharacter;
using test_support::SampleCharacter;

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

TEST(WriterRoundTrip, SampleModelSurvivesEveryStorageChoice) {
  const Character model = SampleCharacter();
  for (Storage pixels : {Storage::kCompressed, Storage::kRaw}) {
    for (Storage regions : {Storage::kCompressed, Storage::kRaw}) {
      SCOPED_TRACE(testing::Message() << "pixels " << int(pixels) << " regions " << int(regions));
      const Character read = ReadCharacter(WriteCharacter(model, {pixels, regions}), "sample");
      ExpectSameCharacter(model, read);
      EXPECT_EQ(read.Name(0x040C), "Échantillon 😀");
    }
  }
}

TEST(WriterRoundTrip, WritingAReadCharacterAgainGivesTheSameBytes) {
  const std::vector<std::uint8_t> first = WriteCharacter(SampleCharacter());
  EXPECT_EQ(WriteCharacter(ReadCharacter(first)), first);
}

TEST(WriterRoundTrip, NamesInsideBlocksAreUpperCasedAndDirectoryKeepsCase) {
  Character model = SampleCharacter();
  model.info.states = {{"IdlingLevel1", {"Blink"}}};
  model.animations[1].return_animation = "show";
  const Character read = ReadCharacter(WriteCharacter(model));
  EXPECT_EQ(read.info.states[0].name, "IDLINGLEVEL1");
  EXPECT_EQ(read.info.states[0].animations[0], "BLINK");
  EXPECT_EQ(read.animations[1].return_animation, "SHOW");
  EXPECT_EQ(read.animations[2].name, "Wave");
  EXPECT_NE(read.FindAnimation("WAVE"), nullptr);
}

TEST(WriterRoundTrip, FlagsFollowTheOptionalBlocks) {
  Character model = SampleCharacter();
  model.info.flags = kFlagVoiceEnabled | kFlagBalloonDisabled;  // contradicts the model
  model.info.voice.reset();
  const Character read = ReadCharacter(WriteCharacter(model));
  EXPECT_EQ(read.info.flags & 0x330, kFlagVoiceDisabled | kFlagBalloonEnabled);
  EXPECT_FALSE(read.info.voice.has_value());
  EXPECT_EQ(read.info.balloon, model.info.balloon);
}

TEST(WriterRoundTrip, OptionalPartsMayAllBeAbsent) {
  Character model = SampleCharacter();
  model.info.voice.reset();
  model.info.balloon.reset();
  model.info.tray_icon.reset();
  model.info.palette.resize(255);  // a short palette stays short
  model.info.localized.clear();
  model.info.states.clear();
  model.sounds.clear();
  for (Animation& a : model.animations) {
    for (Frame& f : a.frames) f.sound_index = kNoSound;
  }
  model.info.flags = 0;
  const Character read = ReadCharacter(WriteCharacter(model));
  model.info.flags = kFlagVoiceDisabled | kFlagBalloonDisabled;
  ExpectSameCharacter(model, read);
}

TEST(WriterLayout, HeaderLocatorsFollowTheUsualOrder) {
  const std::vector<std::uint8_t> bytes = WriteCharacter(SampleCharacter());
  EXPECT_EQ(U32At(bytes, 0), 0xABCDABC3u);
  const std::uint32_t info_offset = U32At(bytes, 4);
  EXPECT_EQ(info_offset + U32At(bytes, 8), bytes.size()) << "info block runs to the end";
  // Directories come after the data and in the order animations, images, audio, info.
  EXPECT_LT(U32At(bytes, 12), U32At(bytes, 20));
  EXPECT_LT(U32At(bytes, 20), U32At(bytes, 28));
  EXPECT_LT(U32At(bytes, 28), info_offset);
  // The first animation block starts right after the 36-byte header.
  EXPECT_EQ(U32At(bytes, U32At(bytes, 12) + 4 + 4 + 2 * 4 + 2), 36u);  // "Show": 4 units
  // The localised-info locator points at the tail of the info block.
  const std::uint32_t loc_offset = U32At(bytes, info_offset + 4);
  EXPECT_EQ(loc_offset + U32At(bytes, info_offset + 8), bytes.size());
}

TEST(WriterLayout, ImagesUseCompressionOnlyWhenAsked) {
  const Character model = SampleCharacter();
  const Character packed = ReadCharacter(WriteCharacter(model));
  const Character raw = ReadCharacter(WriteCharacter(model, {Storage::kRaw, Storage::kRaw}));
  EXPECT_TRUE(std::get<StoredPixels>(packed.images[0].pixels).compressed);
  EXPECT_FALSE(std::get<StoredPixels>(raw.images[0].pixels).compressed);
  EXPECT_NE(std::get<StoredRegion>(packed.images[0].region).compressed_size, 0u);
  EXPECT_EQ(std::get<StoredRegion>(raw.images[0].region).compressed_size, 0u);
  // Raw rows are padded to 4 bytes: 6 wide -> 8 bytes a row, 3 rows.
  EXPECT_EQ(std::get<StoredPixels>(raw.images[0].pixels).data.size, 24u);
}

TEST(WriterLayout, GivenRegionRectanglesAreWrittenAsGiven) {
  Character model = SampleCharacter();
  model.images[0].region = std::vector<RegionRect>{{0, 0, 2, 1}, {1, 1, 6, 3}};
  const Character read = ReadCharacter(WriteCharacter(model));
  EXPECT_EQ(read.ImageRegion(0), (std::vector<RegionRect>{{0, 0, 2, 1}, {1, 1, 6, 3}}));
}

void ExpectRefused(const Character& model, const std::string& fragment) {
  try {
    WriteCharacter(model);
    ADD_FAILURE() << "accepted a model that should fail with: " << fragment;
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kInvalidProcedureCall);
    EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
  }
}

TEST(WriterChecks, BrokenReferencesAreRefusedNamingTheirPlace) {
  Character m = SampleCharacter();
  m.animations[0].frames[1].images[0].image_index = 3;
  ExpectRefused(m, "animation \"Show\" frame 1: image 3 out of range");
  m = SampleCharacter();
  m.animations[2].frames[0].sound_index = 2;
  ExpectRefused(m, "animation \"Wave\" frame 0: sound 2");
  m = SampleCharacter();
  m.animations[0].frames[0].branches[0].target_frame = 3;
  ExpectRefused(m, "branch target 3");
  m = SampleCharacter();
  m.animations[0].frames[0].exit_frame = 3;
  ExpectRefused(m, "exit frame 3");
  m = SampleCharacter();
  m.animations[0].frames[0].exit_frame = -3;
  ExpectRefused(m, "exit frame -3");
  m = SampleCharacter();
  m.animations[0].frames[1].overlays[0].image_index = 9;
  ExpectRefused(m, "overlay image 9");
}

TEST(WriterChecks, ShapesTheFormatCannotHoldAreRefused) {
  Character m = SampleCharacter();
  m.animations[1].frames.clear();
  ExpectRefused(m, "animation \"Blink\": needs 1 to 65535 frames");
  m = SampleCharacter();
  m.animations[2].name = "SHOW";
  ExpectRefused(m, "name used twice");
  m = SampleCharacter();
  m.animations[0].frames[0].branches = {{1, 60}, {2, 50}};
  ExpectRefused(m, "more than 100");
  m = SampleCharacter();
  std::get<IndexedPixels>(m.images[1].pixels).indices.pop_back();
  ExpectRefused(m, "image 1: pixel data does not match");
  m = SampleCharacter();
  m.info.palette.resize(257);
  ExpectRefused(m, "more than 256 colours");
}

}  // namespace
}  // namespace rirerazo::acs
