// What an author meets when writing a character folder by hand: images drawn in any PNG
// flavour map onto the palette, defaults fill what is left out, and mistakes are reported
// with the manifest field they are in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "manifest.h"
#include "platform/runtime_error.h"
#include "png_io.h"
#include "runtime/acs/writer/acs_writer.h"
#include "runtime/acs/writer/wav_writer.h"

namespace rirerazo::chartool {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

const std::vector<acs::Color> kPalette = {
    {255, 0, 255}, {0, 0, 0}, {250, 150, 60}, {255, 255, 255}};

fs::path Folder(const std::string& name) {
  const fs::path folder = fs::path(::testing::TempDir()) / ("rirerazo-author-" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

TEST(CharAuthoring, RgbaPngsMapOntoThePalette) {
  const fs::path folder = Folder("rgba");
  // exact orange, near-white, see-through, half-transparent black, pure magenta (the key
  // colour, opaque: must not become transparent)
  acs::RgbaImage image{
      5, 1, {250, 150, 60, 255, 250, 250, 250, 255, 10, 20, 30, 0, 0, 0, 0, 100, 255, 0, 255, 255}};
  WriteRgbaPng((folder / "a.png").string(), image);
  const acs::IndexedPixels pixels = ReadPngAsIndices((folder / "a.png").string(), kPalette, 0);
  EXPECT_EQ(pixels.indices, (std::vector<std::uint8_t>{2, 3, 0, 0, 2}));
}

TEST(CharAuthoring, PalettePngsKeepTheirIndicesEvenForRepeatedColours) {
  const fs::path folder = Folder("indexed");
  const std::vector<acs::Color> repeated = {{1, 1, 1}, {9, 9, 9}, {9, 9, 9}};
  const acs::IndexedPixels pixels{3, 2, {0, 1, 2, 2, 1, 0}};
  WriteIndexedPng((folder / "i.png").string(), pixels, repeated, 0);
  EXPECT_EQ(ReadPngAsIndices((folder / "i.png").string(), repeated, 0), pixels);
}

Json MinimalManifest() {
  return Json::parse(R"({
    "guid": "{12345678-9ABC-DEF0-1234-56789ABCDEF0}",
    "width": 5, "height": 1,
    "palette": ["#FF00FF", "#000000", "#FA963C", "#FFFFFF"],
    "images": ["a.png"],
    "animations": [{"name": "RestPose", "frames": [{"images": [{"image": 0}]}]}],
    "states": [{"name": "Speaking", "animations": ["RestPose", "Missing"]}]
  })");
}

TEST(CharAuthoring, HandWrittenManifestGetsSensibleDefaults) {
  const fs::path folder = Folder("minimal");
  WriteRgbaPng((folder / "a.png").string(), {5, 1, std::vector<std::uint8_t>(20, 255)});
  const acs::Character c = CharacterFromManifest(MinimalManifest(), folder);
  EXPECT_EQ(c.animations[0].frames[0].duration_cs, 10);  // 100 ms
  EXPECT_EQ(c.animations[0].frames[0].exit_frame, acs::kExitNone);
  EXPECT_EQ(c.animations[0].transition, acs::TransitionType::kNone);
  EXPECT_TRUE(c.info.flags & acs::kFlagStandardAnimationSet);
  EXPECT_EQ(AuthoringWarnings(c),
            std::vector<std::string>{"state Speaking names a missing animation Missing"});
  EXPECT_NO_THROW(acs::ReadCharacter(acs::WriteCharacter(c)));
}

TEST(CharAuthoring, DurationsRoundToHundredthsOfASecond) {
  const fs::path folder = Folder("durations");
  WriteRgbaPng((folder / "a.png").string(), {5, 1, std::vector<std::uint8_t>(20, 255)});
  Json m = MinimalManifest();
  m["animations"][0]["frames"] = Json::parse(R"([{"duration_ms": 14}, {"duration_ms": 15},
                                                 {"duration_ms": 0}])");
  const acs::Character c = CharacterFromManifest(m, folder);
  EXPECT_EQ(c.animations[0].frames[0].duration_cs, 1);
  EXPECT_EQ(c.animations[0].frames[1].duration_cs, 2);
  EXPECT_EQ(c.animations[0].frames[2].duration_cs, 0);
}

std::string ErrorFor(const Json& manifest, const fs::path& folder) {
  try {
    CharacterFromManifest(manifest, folder);
  } catch (const RuntimeError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(CharAuthoring, MistakesNameTheirField) {
  const fs::path folder = Folder("mistakes");
  WriteRgbaPng((folder / "a.png").string(), {5, 1, std::vector<std::uint8_t>(20, 255)});
  Json m = MinimalManifest();
  m["palette"][2] = "orange";
  EXPECT_EQ(ErrorFor(m, folder),
            "character.json: palette[2]: expected a colour \"#RRGGBB\", not \"orange\"");
  m = MinimalManifest();
  m["animations"][0]["frames"][0]["duration_ms"] = -5;
  EXPECT_EQ(ErrorFor(m, folder),
            "character.json: animations[0].frames[0].duration_ms: -5 is outside 0 to 655350");
  m = MinimalManifest();
  m["animations"][0]["frames"][0]["mouths"] = Json::parse(R"([{"shape": "huge", "image": 0}])");
  EXPECT_EQ(ErrorFor(m, folder),
            "character.json: animations[0].frames[0].mouths[0].shape: unknown mouth shape "
            "\"huge\"");
  m = MinimalManifest();
  m.erase("guid");
  EXPECT_EQ(ErrorFor(m, folder), "character.json: missing \"guid\"");
  m = MinimalManifest();
  m["images"][0] = "nothere.png";
  EXPECT_NE(ErrorFor(m, folder).find("image file not found"), std::string::npos);
  m = MinimalManifest();
  m["version"] = 2;
  EXPECT_EQ(ErrorFor(m, folder), "character.json: version: 2 is outside 1 to 1");
}

TEST(CharAuthoring, SoundsThatCannotPlayAreRefused) {
  const fs::path folder = Folder("sounds");
  WriteRgbaPng((folder / "a.png").string(), {5, 1, std::vector<std::uint8_t>(20, 255)});
  std::ofstream(folder / "bad.wav") << "RIFF not really";
  Json m = MinimalManifest();
  m["sounds"] = {"bad.wav"};
  EXPECT_THROW(CharacterFromManifest(m, folder), RuntimeError);
  acs::PcmSound pcm{8000, 1, std::vector<std::int16_t>(800, 1000)};
  const std::vector<std::uint8_t> wav = acs::MakePcmWav(pcm);
  std::ofstream(folder / "good.wav", std::ios::binary)
      .write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
  m["sounds"] = {"good.wav"};
  const acs::Character c = CharacterFromManifest(m, folder);
  EXPECT_EQ(c.DecodeSound(0).samples, pcm.samples);
}

}  // namespace
}  // namespace rirerazo::chartool
