#include "runtime/acs/writer_test_support.h"

namespace rirerazo::acs::test_support {
namespace {

ImageEntry Image(std::uint16_t width, std::uint16_t height, std::uint8_t seed) {
  ImageEntry entry;
  entry.width = width;
  entry.height = height;
  IndexedPixels pixels{width, height, std::vector<std::uint8_t>(std::size_t(width) * height)};
  for (std::size_t i = 0; i < pixels.indices.size(); ++i) {
    pixels.indices[i] = (i * seed) % 5 == 0 ? 0 : std::uint8_t(seed + i % 3);
  }
  entry.pixels = std::move(pixels);
  entry.region = std::vector<RegionRect>{};
  return entry;
}

std::vector<std::uint8_t> Wav(std::uint8_t fill) {
  std::vector<std::uint8_t> wav = {'R', 'I', 'F',  'F',  40,  0,   0,    0,    'W', 'A', 'V',
                                   'E', 'f', 'm',  't',  ' ', 16,  0,    0,    0,   1,   0,
                                   1,   0,   0x11, 0x2B, 0,   0,   0x11, 0x2B, 0,   0,   1,
                                   0,   8,   0,    'd',  'a', 't', 'a',  4,    0,   0,   0};
  for (int i = 0; i < 4; ++i) wav.push_back(std::uint8_t(fill + i));
  return wav;
}

CharacterInfo SampleInfo() {
  CharacterInfo info;
  info.guid = {0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
  info.width = 8;
  info.height = 6;
  info.transparent_index = 0;
  info.flags =
      kFlagVoiceEnabled | kFlagBalloonEnabled | kFlagBalloonNoAutoPace | kFlagStandardAnimationSet;
  info.voice = VoiceInfo{
      {1, 2, 3, {4}}, {1, 2, 3, {5}}, 150, 120, VoiceExtra{0x040C, "Québec", 2, 30, "Sérieux"}};
  info.balloon = BalloonInfo{2, 28, {1, 2, 3}, {255, 255, 225}, {4, 5, 6}, "Sans", -12, 700, 1, 0};
  for (int i = 0; i < 256; ++i) info.palette.push_back({std::uint8_t(i), 7, std::uint8_t(255 - i)});
  info.tray_icon = TrayIcon{{1, 2, 3}, {4, 5, 6, 7}};
  info.states = {{"SHOWING", {"SHOW"}}, {"IDLINGLEVEL1", {"BLINK", "SHOW"}}};
  info.localized = {{0x0009, "Sample", "A test character", "Hi^^There"},
                    {0x000C, "Échantillon 😀", "Personnage d’essai", ""}};
  return info;
}

}  // namespace

Character SampleCharacter() {
  Character c;
  c.info = SampleInfo();
  c.images = {Image(6, 3, 1), Image(5, 4, 2), Image(3, 2, 3)};
  c.sounds = {SoundEntry{Wav(10), 0}, SoundEntry{Wav(20), 0}};
  MouthOverlay plain{MouthShape::kWide2, false, 2, 0, {}, 2, 3, 4, 5};
  MouthOverlay with_region{MouthShape::kClosed, true, 2, 7, {1, 2, 3, 4, 5}, -1, 0, 0, 0};
  Frame first{{{0, 0, 0}, {1, -2, 3}}, 1, 12, 2, {{1, 30}, {2, 70}}, {}};
  Frame second{{{1, 1, 1}}, kNoSound, 5, kExitStop, {}, {plain, with_region}};
  Frame empty{{}, kNoSound, 0, kExitNone, {}, {}};
  c.animations = {
      {"Show", TransitionType::kExitBranches, "", {first, second, empty}},
      {"Blink", TransitionType::kReturnAnimation, "SHOW", {second}},
      {"Wave", TransitionType::kNone, "", {empty, first, second}},
  };
  return c;
}

void ExpectSameInfo(const CharacterInfo& expected, const CharacterInfo& actual) {
  EXPECT_EQ(expected.minor_version, actual.minor_version);
  EXPECT_EQ(expected.major_version, actual.major_version);
  EXPECT_EQ(expected.guid, actual.guid);
  EXPECT_EQ(expected.width, actual.width);
  EXPECT_EQ(expected.height, actual.height);
  EXPECT_EQ(expected.transparent_index, actual.transparent_index);
  EXPECT_EQ(expected.flags, actual.flags);
  EXPECT_EQ(expected.animation_set_major, actual.animation_set_major);
  EXPECT_EQ(expected.animation_set_minor, actual.animation_set_minor);
  EXPECT_EQ(expected.voice, actual.voice);
  EXPECT_EQ(expected.balloon, actual.balloon);
  EXPECT_EQ(expected.palette, actual.palette);
  EXPECT_EQ(expected.tray_icon, actual.tray_icon);
  EXPECT_EQ(expected.states, actual.states);
  EXPECT_EQ(expected.localized, actual.localized);
}

void ExpectSameCharacter(const Character& expected, const Character& actual) {
  ExpectSameInfo(expected.info, actual.info);
  ASSERT_EQ(expected.animations.size(), actual.animations.size());
  for (std::size_t i = 0; i < expected.animations.size(); ++i) {
    EXPECT_EQ(expected.animations[i], actual.animations[i]) << expected.animations[i].name;
  }
  ASSERT_EQ(expected.images.size(), actual.images.size());
  for (std::size_t i = 0; i < expected.images.size(); ++i) {
    ASSERT_EQ(expected.ImagePixels(i), actual.ImagePixels(i)) << "image " << i;
    ASSERT_EQ(expected.ImageRegion(i), actual.ImageRegion(i)) << "image " << i;
  }
  ASSERT_EQ(expected.sounds.size(), actual.sounds.size());
  for (std::size_t i = 0; i < expected.sounds.size(); ++i) {
    const auto a = expected.SoundBytes(i);
    const auto b = actual.SoundBytes(i);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << "sound " << i;
  }
}

std::filesystem::path SharedCharacter(const std::string& file_name) {
  const std::filesystem::path path =
      std::filesystem::path(RIRERAZO_SHARED_DIR) / "characters" / file_name;
  return std::filesystem::exists(path) ? path : std::filesystem::path();
}

}  // namespace rirerazo::acs::test_support
