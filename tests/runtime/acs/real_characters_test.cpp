// The reader against the real characters: structure, every image, composed frames and sounds.
// Expected pixels and samples were checked by eye (frames rendered to pictures) and against an
// independent WAV decoder before their checksums were stored here.
#include <gtest/gtest.h>

#include "acs_test_support.h"
#include "platform/runtime_error.h"

namespace rirerazo::acs {
namespace {

using testing::Fnv1a;

struct Expected {
  const char* file;
  const char* name;
  int width, height;
  std::size_t animations, frames, images, sounds, states, locales;
};

constexpr Expected kCharacters[] = {
    {"Character2.acs", "Character", 128, 128, 2, 2, 2, 0, 2, 2},
    {"HappyFace.acs", "Happy Face", 135, 225, 6, 16, 10, 0, 6, 1},
    {"MaxALERT.acs", "Max", 168, 142, 38, 481, 305, 2, 12, 1},
    {"Genie.acs", "Genie", 128, 128, 76, 967, 591, 14, 16, 30},
    {"Merlin.acs", "Merlin", 128, 128, 73, 945, 614, 32, 16, 30},
    // The older generation: 135 frame images and 91 mouth images, one language.
    {"ALIEN.ACS", "Alien", 128, 128, 66, 183, 226, 6, 16, 1},
};

class RealCharacter : public ::testing::TestWithParam<Expected> {};

TEST_P(RealCharacter, LoadsWithItsDeclaredStructure) {
  const Expected& want = GetParam();
  ACS_LOAD_BYTES_OR_SKIP(bytes, want.file);
  const Character character = ReadCharacter(bytes, want.file);
  EXPECT_EQ(character.Name(), want.name);
  EXPECT_EQ(character.info.width, want.width);
  EXPECT_EQ(character.info.height, want.height);
  EXPECT_EQ(character.animations.size(), want.animations);
  std::size_t frames = 0;
  for (const Animation& animation : character.animations) frames += animation.frames.size();
  EXPECT_EQ(frames, want.frames);
  EXPECT_EQ(character.images.size(), want.images);
  EXPECT_EQ(character.sounds.size(), want.sounds);
  EXPECT_EQ(character.info.states.size(), want.states);
  EXPECT_EQ(character.info.localized.size(), want.locales);
  EXPECT_EQ(character.DecodedBytes(), 0u) << "opening must not decode images";
}

TEST_P(RealCharacter, EveryImageDecodesAndItsStoredRegionCoversExactlyTheOpaquePixels) {
  const Expected& want = GetParam();
  ACS_LOAD_BYTES_OR_SKIP(bytes, want.file);
  const Character character = ReadCharacter(bytes, want.file);
  for (std::size_t i = 0; i < character.images.size(); ++i) {
    const IndexedPixels& pixels = character.ImagePixels(i);
    ASSERT_EQ(pixels.indices.size(),
              std::size_t(character.images[i].width) * character.images[i].height);
    // Paint the stored rectangles and compare with the pixels' own opacity.
    std::vector<bool> covered(pixels.indices.size(), false);
    for (const RegionRect& r : character.ImageRegion(i)) {
      ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= pixels.width &&
                  r.bottom <= pixels.height);
      for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) covered[std::size_t(y) * pixels.width + x] = true;
      }
    }
    for (std::size_t p = 0; p < covered.size(); ++p) {
      ASSERT_EQ(covered[p], pixels.indices[p] != character.info.transparent_index)
          << "image " << i << " pixel " << p;
    }
  }
}

// The length a mono WAV file declares: data bytes / block size for PCM; for MS-ADPCM the
// samples its blocks hold (a short last block holds fewer), capped by the fact chunk's count
// (some files state more than their data holds).
std::size_t DeclaredFrames(std::span<const std::uint8_t> wav) {
  const std::vector<std::uint8_t> bytes(wav.begin(), wav.end());
  std::size_t block = 0, per_block = 0, data_bytes = 0, fact = SIZE_MAX;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id(bytes.begin() + at, bytes.begin() + at + 4);
    const std::uint32_t size = testing::GetU32(bytes, at + 4);
    if (id == "fmt ") block = bytes[at + 20] | (bytes[at + 21] << 8);
    if (id == "fmt " && bytes[at + 8] == 2) per_block = bytes[at + 26] | (bytes[at + 27] << 8);
    if (id == "data") data_bytes = size;
    if (id == "fact") fact = testing::GetU32(bytes, at + 8);
    at += 8 + size + (size & 1);
  }
  if (per_block == 0) return data_bytes / block;
  const std::size_t tail = data_bytes % block;
  return std::min(fact, data_bytes / block * per_block + (tail >= 7 ? 2 + (tail - 7) * 2 : 0));
}

TEST_P(RealCharacter, EverySoundDecodesToItsDeclaredLength) {
  const Expected& want = GetParam();
  ACS_LOAD_BYTES_OR_SKIP(bytes, want.file);
  const Character character = ReadCharacter(bytes, want.file);
  for (std::size_t i = 0; i < character.sounds.size(); ++i) {
    const PcmSound pcm = character.DecodeSound(i);
    EXPECT_GT(pcm.sample_rate_hz, 0u);
    EXPECT_EQ(pcm.FrameCount(), DeclaredFrames(character.SoundBytes(i))) << "sound " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(AllFiles, RealCharacter, ::testing::ValuesIn(kCharacters),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

struct ExpectedFrame {
  const char* file;
  const char* animation;
  std::size_t frame;
  std::optional<MouthShape> mouth;
  std::size_t opaque_pixels;
  std::uint64_t checksum;
};

TEST(RealCharacterFrames, ComposeToTheCheckedPixels) {
  const ExpectedFrame frames[] = {
      {"Merlin.acs", "RestPose", 0, {}, 5060, 0x07FDD4153D3757AAull},
      {"MaxALERT.acs", "restpose", 0, MouthShape::kWide3, 3337, 0x30F6D0ABB858A294ull},
      {"Genie.acs", "Idle1_4", 13, {}, 4079, 0x374200935DFB614Full},  // two images, offsets
      {"MaxALERT.acs", "Blink", 1, {}, 3337, 0x788F0B651D898D07ull},  // two stacked images
      {"HappyFace.acs", "Speak", 2, MouthShape::kWide4, 9880, 0x278B55DFAEFFBFC9ull},
  };
  for (const ExpectedFrame& want : frames) {
    ACS_LOAD_BYTES_OR_SKIP(bytes, want.file);
    const Character character = ReadCharacter(bytes, want.file);
    const Animation* animation = character.FindAnimation(want.animation);
    ASSERT_NE(animation, nullptr) << want.animation;
    const RgbaImage image = character.ComposeFrame(*animation, want.frame, want.mouth);
    std::size_t opaque = 0;
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) opaque += image.rgba[i] == 255;
    EXPECT_EQ(opaque, want.opaque_pixels) << want.file << " " << want.animation;
    EXPECT_EQ(Fnv1a(image.rgba), want.checksum) << want.file << " " << want.animation;
  }
}

TEST(RealCharacterSounds, DecodeToTheCheckedSamples) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "Merlin.acs");
  const Character merlin = ReadCharacter(bytes, "Merlin.acs");
  struct {
    std::size_t index;
    std::uint32_t rate_hz;
    std::size_t samples;
    std::uint64_t checksum;
  } const sounds[] = {
      {0, 11025, 7500, 0xA9B519C3E752FEEAull},  // MS-ADPCM, length from its fact chunk
      {11, 8000, 1450, 0x8FE4A25B2965AFFAull},  // 16-bit PCM
      {15, 11025, 802, 0xB6D278D7B4978D68ull},  // 8-bit PCM
  };
  for (const auto& want : sounds) {
    const PcmSound pcm = merlin.DecodeSound(want.index);
    EXPECT_EQ(pcm.sample_rate_hz, want.rate_hz);
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_EQ(pcm.samples.size(), want.samples);
    EXPECT_EQ(Fnv1a(pcm.samples), want.checksum) << "sound " << want.index;
  }
}

TEST(RealCharacterDetails, MerlinInfoStatesAndAnimations) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "Merlin.acs");
  const Character merlin = ReadCharacter(bytes, "Merlin.acs");
  EXPECT_EQ(merlin.info.guid.ToString(), "{4E574F44-B521-11D0-9E9A-00C04FD7081F}");
  EXPECT_EQ(merlin.info.flags, 0x110220u);
  ASSERT_TRUE(merlin.info.voice && merlin.info.balloon && merlin.info.tray_icon);
  EXPECT_EQ(merlin.info.balloon->font_name, "MS Sans Serif");
  EXPECT_EQ(merlin.info.palette.size(), 256u);
  EXPECT_EQ(merlin.info.tray_icon->mask_dib.size(), 112u);
  EXPECT_EQ(merlin.info.tray_icon->color_dib.size(), 232u);
  EXPECT_EQ(merlin.StateAnimations("idlinglevel3"),
            (std::vector<std::string>{"BLINK", "IDLE3_1", "IDLE3_2"}));
  EXPECT_EQ(merlin.info.Localized(0x0409)->language_id, 0x0009);
  const Animation* gesture = merlin.FindAnimation("gestureright");
  ASSERT_NE(gesture, nullptr);
  EXPECT_EQ(gesture->name, "GestureRight");
  EXPECT_EQ(gesture->frames.at(4).exit_frame, 3);
  EXPECT_TRUE(gesture->frames.back().images.empty());
}

TEST(RealCharacterDetails, TrayIconsDecodeToTheCheckedPixels) {
  const struct {
    const char* file;
    int side;
    std::uint64_t checksum;
  } icons[] = {{"Merlin.acs", 16, 0x340C1E3EAACACEB4ull},
               {"Genie.acs", 16, 0x5360F3B76D344E26ull},
               {"HappyFace.acs", 18, 0x739170DE490DE91Cull}};
  for (const auto& want : icons) {
    ACS_LOAD_BYTES_OR_SKIP(bytes, want.file);
    const Character character = ReadCharacter(bytes, want.file);
    ASSERT_TRUE(character.info.tray_icon.has_value()) << want.file;
    const RgbaImage icon = DecodeTrayIcon(*character.info.tray_icon);
    EXPECT_EQ(icon.width, want.side);
    EXPECT_EQ(icon.height, want.side);
    EXPECT_EQ(Fnv1a(icon.rgba), want.checksum) << want.file;
  }
}

TEST(RealCharacterDetails, DamagedTrayIconIsRefused) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "Merlin.acs");
  const TrayIcon good = *ReadCharacter(bytes, "Merlin.acs").info.tray_icon;
  TrayIcon cut = good;
  cut.color_dib.resize(cut.color_dib.size() - 1);  // last row cut short
  EXPECT_THROW((void)DecodeTrayIcon(cut), RuntimeError);
  const TrayIcon swapped{good.color_dib, good.mask_dib};  // mask and image the wrong way round
  EXPECT_THROW((void)DecodeTrayIcon(swapped), RuntimeError);
}

TEST(RealCharacterDetails, ReturnAnimationsAreNamed) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "MaxALERT.acs");
  const Character max = ReadCharacter(bytes, "MaxALERT.acs");
  const Animation* move = max.FindAnimation("MoveDown");
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(move->transition, TransitionType::kReturnAnimation);
  EXPECT_EQ(move->return_animation, "MOVEDOWNRETURN");
  EXPECT_NE(max.FindAnimation(move->return_animation), nullptr);
  EXPECT_EQ(max.info.palette.size(), 255u);
}

TEST(RealCharacterDetails, MissingFileIsFileNotFound) {
  try {
    ReadCharacterFile((testing::CharactersDir() / "no-such-character.acs").string());
    FAIL();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), err::kFileNotFound);
  }
}

}  // namespace
}  // namespace rirerazo::acs
