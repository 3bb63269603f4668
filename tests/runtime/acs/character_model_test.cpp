// The model built in memory (as a writer builds it): lookups, frame composition and regions.
#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"

namespace rirerazo::acs {
namespace {

constexpr std::uint8_t kClear = 0;  // the transparent index in these tests

// A 4x3 character with palette 0 clear, 1 red, 2 green, 3 blue.
Character SmallCharacter() {
  Character character;
  character.info.width = 4;
  character.info.height = 3;
  character.info.transparent_index = kClear;
  character.info.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  return character;
}

std::size_t AddImage(Character& character, std::uint16_t width, std::uint16_t height,
                     std::vector<std::uint8_t> indices) {
  ImageEntry image;
  image.width = width;
  image.height = height;
  image.pixels = IndexedPixels{width, height, std::move(indices)};
  image.region = std::vector<RegionRect>{};
  character.images.push_back(std::move(image));
  return character.images.size() - 1;
}

// The palette index whose colour a composed pixel shows, or -1 when it is transparent.
int PixelAt(const RgbaImage& image, int x, int y) {
  const std::uint8_t* p = &image.rgba[(std::size_t(y) * image.width + x) * 4];
  if (p[3] == 0) return -1;
  if (p[0] == 255) return 1;
  if (p[1] == 255) return 2;
  return p[2] == 255 ? 3 : 0;
}

TEST(ComposeFrame, ImageZeroIsOnTopTransparencySkipsAndOffsetsClip) {
  Character character = SmallCharacter();
  const auto under = AddImage(character, 4, 3, std::vector<std::uint8_t>(12, 1));
  const auto over = AddImage(character, 2, 2, {2, kClear, kClear, 2});
  Frame frame;
  frame.images = {{std::uint32_t(over), 3, 2}, {std::uint32_t(under), 0, 0}};
  const RgbaImage image = character.ComposeFrame(frame);
  ASSERT_EQ(image.width, 4);
  ASSERT_EQ(image.height, 3);
  EXPECT_EQ(PixelAt(image, 3, 2), 2);  // over's top-left, the rest clipped away
  EXPECT_EQ(PixelAt(image, 2, 2), 1);
  EXPECT_EQ(PixelAt(image, 0, 0), 1);

  frame.images = {{std::uint32_t(over), -1, -1}};  // only the bottom-right pixel lands
  const RgbaImage shifted = character.ComposeFrame(frame);
  EXPECT_EQ(PixelAt(shifted, 0, 0), 2);
  EXPECT_EQ(PixelAt(shifted, 1, 0), -1);
  EXPECT_EQ(PixelAt(shifted, 3, 2), -1);
}

TEST(ComposeFrame, MouthOverlayDrawsOnTopOrReplacesImageZero) {
  Character character = SmallCharacter();
  const auto body = AddImage(character, 4, 3, std::vector<std::uint8_t>(12, 1));
  const auto face = AddImage(character, 4, 3, {2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0});
  const auto mouth = AddImage(character, 1, 1, {3});
  Frame frame;
  frame.images = {{std::uint32_t(face), 0, 0}, {std::uint32_t(body), 0, 0}};
  MouthOverlay overlay;
  overlay.shape = MouthShape::kWide2;
  overlay.image_index = std::uint16_t(mouth);
  overlay.x = 1;
  frame.overlays = {overlay};

  EXPECT_EQ(PixelAt(character.ComposeFrame(frame), 1, 0), 2) << "no mouth asked for";
  EXPECT_EQ(PixelAt(character.ComposeFrame(frame, MouthShape::kClosed), 1, 0), 2)
      << "a shape the frame lacks draws nothing";
  const RgbaImage over = character.ComposeFrame(frame, MouthShape::kWide2);
  EXPECT_EQ(PixelAt(over, 1, 0), 3);
  EXPECT_EQ(PixelAt(over, 0, 0), 2);

  frame.overlays[0].replaces_top_image = true;
  const RgbaImage replaced = character.ComposeFrame(frame, MouthShape::kWide2);
  EXPECT_EQ(PixelAt(replaced, 1, 0), 3);
  EXPECT_EQ(PixelAt(replaced, 0, 0), 1) << "image 0 must not be drawn";
}

TEST(ComposeFrame, EmptyFrameIsFullyTransparentAndBadIndicesThrow) {
  Character character = SmallCharacter();
  const RgbaImage empty = character.ComposeFrame(Frame{});
  EXPECT_EQ(empty.rgba, std::vector<std::uint8_t>(4 * 3 * 4, 0));
  Frame frame;
  frame.images = {{7, 0, 0}};
  EXPECT_THROW((void)character.ComposeFrame(frame), RuntimeError);
  Animation animation;
  animation.frames.resize(1);
  EXPECT_THROW((void)character.ComposeFrame(animation, 1), RuntimeError);
}

TEST(RegionFromPixels, CoversExactlyTheOpaquePixelsMergingEqualRows) {
  const IndexedPixels pixels{4,
                             4,
                             {1, 1, 0, 1,  //
                              1, 1, 0, 1,  //
                              0, 0, 0, 0,  //
                              0, 2, 2, 0}};
  const std::vector<RegionRect> want = {{0, 0, 2, 2}, {3, 0, 4, 2}, {1, 3, 3, 4}};
  EXPECT_EQ(RegionFromPixels(pixels, 0), want);
  EXPECT_TRUE(RegionFromPixels(IndexedPixels{2, 1, {5, 5}}, 5).empty());
}

TEST(CharacterLookups, LocalizedInfoByPrimaryLanguageThenEnglishThenFirst) {
  CharacterInfo info;
  EXPECT_EQ(info.Localized(0x0409), nullptr);
  info.localized = {
      {0x0007, "Deutsch", "", ""}, {0x0009, "English", "", ""}, {0x040C, "Francais", "", ""}};
  EXPECT_EQ(info.Localized(0x0807)->name, "Deutsch");   // Swiss German -> German
  EXPECT_EQ(info.Localized(0x080C)->name, "Francais");  // Belgian French -> French
  EXPECT_EQ(info.Localized(0x0411)->name, "English");   // Japanese absent -> English
  info.localized.erase(info.localized.begin() + 1);
  EXPECT_EQ(info.Localized(0x0411)->name, "Deutsch");  // no English -> the first
}

}  // namespace
}  // namespace rirerazo::acs
