// The encoder: the container and codecs by extension, the frame rate and length of what it
// writes, and no file under the final name unless the video was finished.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "render/video_encoder.h"
#include "render_test_support.h"

namespace rirerazo::render::testing {
namespace {

namespace fs = std::filesystem;

TEST(VideoEncoder, TheExtensionChoosesTheContainer) {
  EXPECT_EQ(ContainerForPath("show.mp4"), "mp4");
  EXPECT_EQ(ContainerForPath("/tmp/a.b/Show.WEBM"), "webm");
  EXPECT_EQ(ContainerForPath("show.avi"), "");
  EXPECT_EQ(ContainerForPath("show"), "");
  EXPECT_EQ(ContainerForPath("folder.mp4/show"), "");
}

// Two seconds of a moving square over a grey ground, with a tone in the first second.
void WriteSample(VideoEncoder& encoder, int fps) {
  std::vector<std::uint32_t> pixels(64 * 48);
  std::vector<std::int16_t> sound;
  for (int frame = 0; frame < 2 * fps; ++frame) {
    std::fill(pixels.begin(), pixels.end(), 0xFF808080u);
    for (int y = 10; y < 20; ++y) {
      for (int x = frame % 50; x < frame % 50 + 10; ++x) pixels[y * 64 + x] = 0xFFFF0000u;
    }
    encoder.AddFrame(reinterpret_cast<const std::uint8_t*>(pixels.data()), 64 * 4);
    sound.assign(std::size_t(48000 / fps) * 2, 0);
    for (std::size_t i = 0; frame < fps && i < sound.size(); ++i) {
      sound[i] = std::int16_t((i / 2) % 40 < 20 ? 8000 : -8000);
    }
    encoder.AddSound(sound);
  }
  encoder.Finish();
}

TEST(VideoEncoder, WritesBothFormatsAtTheirRateAndLength) {
  RIRERAZO_REQUIRE_FFMPEG_TOOLS();
  rirerazo::testing::ScratchFolder folder;
  struct Case {
    std::string name;
    std::string video_codec;
    std::string audio_codec;
  };
  for (const Case& c : {Case{"a.mp4", "h264", "aac"}, Case{"a.webm", "vp9", "opus"}}) {
    VideoEncoder encoder({folder / c.name, 64, 48, 25, 48000, 2});
    WriteSample(encoder, 25);
    EXPECT_EQ(encoder.FramesWritten(), 50);
    const auto probe = Probe(folder / c.name);
    const auto* video = StreamOf(probe, "video");
    const auto* audio = StreamOf(probe, "audio");
    ASSERT_TRUE(video && audio) << c.name;
    EXPECT_EQ((*video)["codec_name"], c.video_codec);
    EXPECT_EQ((*audio)["codec_name"], c.audio_codec);
    EXPECT_EQ((*video)["r_frame_rate"], "25/1");
    EXPECT_EQ((*video)["width"], 64);
    EXPECT_NEAR(std::stod(probe["format"]["duration"].get<std::string>()), 2.0, 0.05) << c.name;
    const auto sound = DecodeSound(folder / c.name);
    EXPECT_GT(Energy(sound, 0.2, 0.8), 3000) << c.name;
    EXPECT_LT(Energy(sound, 1.2, 1.8), 100) << c.name;
  }
  // Nothing but the two videos: the temporary files were renamed.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);
}

TEST(VideoEncoder, ClearErrorsAndNoFileLeftBehind) {
  rirerazo::testing::ScratchFolder folder;
  auto message = [](const EncoderSettings& settings) {
    try {
      VideoEncoder encoder(settings);
    } catch (const EncodeError& error) {
      return std::string(error.what());
    }
    return std::string();
  };
  EXPECT_NE(message({folder / "a.mkv", 64, 48}).find("must end in .mp4 or .webm"),
            std::string::npos);
  EXPECT_NE(message({folder / "missing/a.mp4", 64, 48}).find("cannot write"), std::string::npos);
  EXPECT_NE(message({folder / "a.mp4", 63, 48}).find("even"), std::string::npos);
  {
    VideoEncoder abandoned({folder / "b.webm", 64, 48});
    std::vector<std::uint32_t> pixels(64 * 48, 0xFF000000u);
    abandoned.AddFrame(reinterpret_cast<const std::uint8_t*>(pixels.data()), 64 * 4);
  }
  EXPECT_TRUE(fs::is_empty(folder.Path()));
}

}  // namespace
}  // namespace rirerazo::render::testing
