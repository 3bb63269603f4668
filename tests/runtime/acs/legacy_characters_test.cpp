// Older-generation character files (a compound container): a tiny built character read field
// by field, the real ALIEN.ACS against figures counted from the file, and conversion of both
// to the current format.
#include <gtest/gtest.h>

#include "acs_test_support.h"
#include "legacy_test_support.h"
#include "platform/runtime_error.h"
#include "runtime/acs/writer/acs_writer.h"

namespace rirerazo::acs {
namespace {

using testing::Fnv1a;
using testing::TinyLegacyCharacter;
using testing::WrapLegacyCharacter;

Character ReadTiny(bool single_byte_text = false) {
  return ReadCharacter(WrapLegacyCharacter(TinyLegacyCharacter(single_byte_text)), "tiny.acs");
}

TEST(LegacyCharacter, InfoMapsOntoTheModel) {
  const Character tiny = ReadTiny();
  EXPECT_EQ(tiny.Name(), "Tiny");
  EXPECT_EQ(tiny.Description(), "A small test character");
  EXPECT_EQ(tiny.info.localized.at(0).extra_data, "Hi^^Bye");
  EXPECT_EQ(tiny.info.width, 4);
  EXPECT_EQ(tiny.info.height, 2);
  EXPECT_EQ(tiny.info.flags, kFlagVoiceEnabled | kFlagBalloonEnabled);
  ASSERT_TRUE(tiny.info.voice && tiny.info.balloon);
  EXPECT_EQ(tiny.info.voice->speed, 150u);
  EXPECT_EQ(tiny.info.voice->pitch, 100);
  EXPECT_FALSE(tiny.info.voice->extra) << "the older files carry no voice language or gender";
  EXPECT_EQ(tiny.info.balloon->lines, 3);
  EXPECT_EQ(tiny.info.balloon->chars_per_line, 30);
  EXPECT_EQ(tiny.info.balloon->font_name, "Arial");
  EXPECT_EQ(tiny.info.balloon->font_height, -12);
  EXPECT_EQ(tiny.info.balloon->background_color, (Color{0xFF, 0xFF, 0xE1}));
  ASSERT_EQ(tiny.info.palette.size(), 4u);
  EXPECT_EQ(tiny.info.palette[0], (Color{0xFF, 0x00, 0xFF}));
  EXPECT_EQ(tiny.info.palette[1], (Color{0x00, 0x00, 0xFF}));
  EXPECT_EQ(tiny.info.palette[3], (Color{0xFF, 0x00, 0x00}));
  EXPECT_FALSE(tiny.info.tray_icon);
  EXPECT_EQ(tiny.StateAnimations("speaking"), (std::vector<std::string>{"SPEAK"}));
  EXPECT_EQ(tiny.info.states.at(0).name, "SHOWING") << "stored upper-cased, as current files do";
  EXPECT_EQ(tiny.info.major_version, 2) << "the model describes the character as a current file";
}

TEST(LegacyCharacter, SingleByteTextIsRecognisedByWhatConsumesTheStream) {
  const Character tiny = ReadTiny(true);
  EXPECT_EQ(tiny.Name(), "Tiny");
  EXPECT_EQ(tiny.info.balloon->font_name, "Arial");
}

TEST(LegacyCharacter, AnimationsUseCharacterWideImageAndSoundIndices) {
  const Character tiny = ReadTiny();
  ASSERT_EQ(tiny.animations.size(), 2u);
  EXPECT_EQ(tiny.images.size(), 5u);  // 2 + 1 frame images, 2 mouth images
  EXPECT_EQ(tiny.sounds.size(), 1u);
  const Animation& show = tiny.animations[0];
  EXPECT_EQ(show.transition, TransitionType::kNone);
  ASSERT_EQ(show.frames.size(), 2u);
  EXPECT_EQ(show.frames[0].sound_index, 0);
  EXPECT_EQ(show.frames[1].sound_index, kNoSound);
  EXPECT_EQ(show.frames[1].images.at(0).image_index, 1u);
  EXPECT_EQ(show.frames[1].branches, (std::vector<Branch>{{0, 50}}));
  EXPECT_EQ(show.frames[1].exit_frame, kExitNone);
  EXPECT_EQ(show.frames[0].DurationMs(), 100);
  const Animation& speak = tiny.animations[1];
  EXPECT_EQ(speak.transition, TransitionType::kReturnAnimation);
  EXPECT_EQ(speak.return_animation, "SHOW");
  ASSERT_EQ(speak.frames.at(0).overlays.size(), 2u);
  EXPECT_EQ(speak.frames[0].images.at(0).image_index, 2u);
  const MouthOverlay* wide = speak.frames[0].FindOverlay(MouthShape::kWide3);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->image_index, 4);
  EXPECT_FALSE(wide->replaces_top_image);
  EXPECT_EQ(tiny.DecodeSound(0).FrameCount(), 4u);
}

TEST(LegacyCharacter, ImagesDecodeOnFirstUseTopDown) {
  const Character tiny = ReadTiny();
  EXPECT_EQ(tiny.DecodedBytes(), 0u);
  EXPECT_EQ(tiny.ImagePixels(0).indices, (std::vector<std::uint8_t>{1, 1, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(tiny.DecodedBytes(), 8u);
  const RgbaImage mouth = tiny.ComposeFrame(tiny.animations[1], 0, MouthShape::kWide3);
  auto red_at = [&](int x, int y) { return mouth.rgba[std::size_t(y * 4 + x) * 4]; };
  auto blue_at = [&](int x, int y) { return mouth.rgba[std::size_t(y * 4 + x) * 4 + 2]; };
  EXPECT_EQ(red_at(1, 1), 0xFF);  // palette 3 (red) from the mouth image at (1, 1)
  EXPECT_EQ(red_at(2, 1), 0xFF);
  EXPECT_EQ(blue_at(0, 1), 0xFF);  // palette 1 (blue) from the frame around it
  EXPECT_EQ(blue_at(3, 0), 0xFF);
}

TEST(LegacyCharacter, ConvertsToACurrentFileThatReadsTheSame) {
  const Character tiny = ReadTiny();
  const Character converted = ReadCharacter(WriteCharacter(tiny), "converted.acs");
  EXPECT_EQ(converted.animations, tiny.animations);
  EXPECT_EQ(converted.info.states, tiny.info.states);
  EXPECT_EQ(converted.Name(), "Tiny");
  for (std::size_t i = 0; i < tiny.images.size(); ++i) {
    EXPECT_EQ(converted.ImagePixels(i), tiny.ImagePixels(i)) << "image " << i;
  }
}

// ALIEN.ACS: counted from the file's own streams by an independent reading of its bytes.
TEST(LegacyRealCharacter, AlienDetails) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "ALIEN.ACS");
  const Character alien = ReadCharacter(bytes, "ALIEN.ACS");
  EXPECT_EQ(alien.info.guid.ToString(), "{BFE2D760-2D6F-11D2-9803-A1A95FC6755A}");
  EXPECT_EQ(alien.info.transparent_index, 10);
  ASSERT_TRUE(alien.info.voice && alien.info.balloon);
  EXPECT_EQ(alien.info.voice->speed, 129u);
  EXPECT_EQ(alien.info.voice->pitch, 138);
  EXPECT_EQ(alien.info.balloon->font_name, "MS Sans Serif");
  EXPECT_EQ(alien.info.balloon->chars_per_line, 28);
  EXPECT_EQ(alien.info.palette.size(), 256u);
  EXPECT_EQ(alien.StateAnimations("IdlingLevel2"),
            (std::vector<std::string>{"IDLE1_1", "IDLE2_1"}));
  const Animation* read = alien.FindAnimation("read");
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->transition, TransitionType::kReturnAnimation);
  EXPECT_EQ(read->return_animation, "RESTPOSE");
  EXPECT_NE(alien.FindAnimation(read->return_animation), nullptr);
  const Animation* speak = alien.FindAnimation("Speak");
  ASSERT_NE(speak, nullptr);
  EXPECT_EQ(speak->frames.at(0).overlays.size(), 7u);
}

TEST(LegacyRealCharacter, EveryFrameComposesWithEveryMouth) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "ALIEN.ACS");
  const Character alien = ReadCharacter(bytes, "ALIEN.ACS");
  std::size_t composed = 0;
  for (const Animation& animation : alien.animations) {
    for (const Frame& frame : animation.frames) {
      EXPECT_EQ(alien.ComposeFrame(frame).rgba.size(), 128u * 128 * 4);
      for (const MouthOverlay& overlay : frame.overlays)
        (void)alien.ComposeFrame(frame, overlay.shape);
      ++composed;
    }
  }
  EXPECT_EQ(composed, 183u);
}

TEST(LegacyRealCharacter, FramesComposeToTheCheckedPixels) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "ALIEN.ACS");
  const Character alien = ReadCharacter(bytes, "ALIEN.ACS");
  const struct {
    const char* animation;
    std::size_t frame;
    std::optional<MouthShape> mouth;
    std::size_t opaque_pixels;
    std::uint64_t checksum;
  } frames[] = {
      {"RestPose", 0, {}, 6433, 0x79F1C3FAB2702A48ull},  // looked at: the alien, upright
      {"Speak", 0, MouthShape::kWide3, 5912, 0x46C6ADC53AE3AF1Full},
  };
  for (const auto& want : frames) {
    const Animation* animation = alien.FindAnimation(want.animation);
    ASSERT_NE(animation, nullptr) << want.animation;
    const RgbaImage image = alien.ComposeFrame(*animation, want.frame, want.mouth);
    std::size_t opaque = 0;
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) opaque += image.rgba[i] == 255;
    EXPECT_EQ(opaque, want.opaque_pixels) << want.animation;
    EXPECT_EQ(Fnv1a(image.rgba), want.checksum) << want.animation;
  }
}

TEST(LegacyRealCharacter, MouthImagesChangeOnlyTheirOwnRectangle) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "ALIEN.ACS");
  const Character alien = ReadCharacter(bytes, "ALIEN.ACS");
  const Frame& frame = alien.FindAnimation("Speak")->frames.at(0);
  const RgbaImage closed = alien.ComposeFrame(frame);
  for (const MouthOverlay& overlay : frame.overlays) {
    const RgbaImage open = alien.ComposeFrame(frame, overlay.shape);
    const ImageEntry& mouth = alien.images.at(overlay.image_index);
    std::size_t changed = 0;
    for (int y = 0; y < 128; ++y) {
      for (int x = 0; x < 128; ++x) {
        const std::size_t at = std::size_t(y * 128 + x) * 4;
        if (std::equal(open.rgba.begin() + at, open.rgba.begin() + at + 4,
                       closed.rgba.begin() + at)) {
          continue;
        }
        ++changed;
        EXPECT_TRUE(x >= overlay.x && x < overlay.x + mouth.width && y >= overlay.y &&
                    y < overlay.y + mouth.height)
            << "shape " << int(overlay.shape) << " changed (" << x << ", " << y << ")";
      }
    }
    EXPECT_GT(changed + (overlay.shape == MouthShape::kClosed), 0u);
  }
}

TEST(LegacyRealCharacter, ConvertsToACurrentFileThatPlaysTheSameAnimations) {
  ACS_LOAD_BYTES_OR_SKIP(bytes, "ALIEN.ACS");
  const Character alien = ReadCharacter(bytes, "ALIEN.ACS");
  const Character converted = ReadCharacter(WriteCharacter(alien), "converted.acs");
  ASSERT_EQ(converted.animations.size(), alien.animations.size());
  EXPECT_EQ(converted.animations, alien.animations);
  EXPECT_EQ(converted.info.states, alien.info.states);
  for (const Animation& animation : alien.animations) {
    for (std::size_t f = 0; f < animation.frames.size(); ++f) {
      ASSERT_EQ(Fnv1a(converted.ComposeFrame(animation, f).rgba),
                Fnv1a(alien.ComposeFrame(animation, f).rgba))
          << animation.name << " frame " << f;
    }
  }
  for (std::size_t i = 0; i < alien.sounds.size(); ++i) {
    EXPECT_EQ(converted.DecodeSound(i).samples, alien.DecodeSound(i).samples);
  }
}

}  // namespace
}  // namespace rirerazo::acs
