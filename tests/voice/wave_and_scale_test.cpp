// Reading recordings for the recogniser, and the confidence scale.
#include <gtest/gtest.h>

#include <cmath>

#include "support/scratch_folder.h"
#include "voice/pocketsphinx_recognizer.h"
#include "voice/wave_file.h"

namespace rirerazo::voice::testing {
namespace {

std::string Wave(int channels, int rate_hz, int bits, const std::vector<std::int16_t>& samples) {
  auto le = [](std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(char((value >> (8 * i)) & 0xff));
    return out;
  };
  std::string data;
  for (std::int16_t s : samples) data += le(std::uint16_t(s), 2);
  std::string fmt = le(1, 2) + le(channels, 2) + le(rate_hz, 4) +
                    le(rate_hz * channels * bits / 8, 4) + le(channels * bits / 8, 2) + le(bits, 2);
  std::string body = "WAVE" + std::string("fmt ") + le(16, 4) + fmt + "LIST" + le(3, 4) + "abc" +
                     std::string(1, '\0') + "data" + le(data.size(), 4) + data;
  return "RIFF" + le(body.size(), 4) + body;
}

TEST(SpeechWave, StereoIsMixedAndOtherRatesResampledToSixteenKilohertz) {
  rirerazo::testing::ScratchFolder folder;
  std::vector<std::int16_t> stereo;
  for (int i = 0; i < 32000; ++i) stereo.push_back(std::int16_t(i % 2 ? 1000 : 3000));
  std::string error;
  auto mixed = ReadSpeechWave(folder.Write("s.wav", Wave(2, 32000, 16, stereo)), &error);
  ASSERT_TRUE(mixed) << error;
  EXPECT_EQ(mixed->size(), 8000u);  // 16000 frames at 32 kHz: half a second
  EXPECT_EQ(mixed->at(100), 2000);
  auto same = ReadSpeechWave(folder.Write("m.wav", Wave(1, 16000, 16, {1, 2, 3})), &error);
  ASSERT_TRUE(same);
  EXPECT_EQ(*same, (std::vector<std::int16_t>{1, 2, 3}));
}

TEST(SpeechWave, WhatIsNotSixteenBitPcmIsRefusedWithAReason) {
  rirerazo::testing::ScratchFolder folder;
  std::string error;
  EXPECT_FALSE(ReadSpeechWave(folder / "missing.wav", &error));
  EXPECT_NE(error.find("cannot be read"), std::string::npos);
  EXPECT_FALSE(ReadSpeechWave(folder.Write("t.wav", "hello"), &error));
  EXPECT_NE(error.find("not a wave file"), std::string::npos);
  EXPECT_FALSE(ReadSpeechWave(folder.Write("8.wav", Wave(1, 8000, 8, {})), &error));
  EXPECT_NE(error.find("16-bit"), std::string::npos);
  std::string cut = Wave(1, 16000, 16, {5, 6, 7, 8});
  auto truncated = ReadSpeechWave(folder.Write("c.wav", cut.substr(0, cut.size() - 3)), &error);
  ASSERT_TRUE(truncated) << "a cut-off file gives what it has";
  EXPECT_EQ(truncated->size(), 2u);
  std::string no_data = Wave(1, 16000, 16, {});
  EXPECT_FALSE(ReadSpeechWave(folder.Write("n.wav", no_data.substr(0, 36)), &error));
}

TEST(ConfidenceScale, IsMonotonicAndClamped) {
  EXPECT_EQ(ConfidenceFromGap(-1000), -100);
  EXPECT_EQ(ConfidenceFromGap(1000), 100);
  EXPECT_EQ(ConfidenceFromGap(std::nan("")), -100);
  for (double gap = -30; gap < 30; gap += 0.5) {
    EXPECT_LE(ConfidenceFromGap(gap), ConfidenceFromGap(gap + 0.5));
  }
}

// Silence on the path costs nothing up to what a spoken command leaves, then lowers the
// confidence frame by frame, never below -100, however long.
TEST(ConfidenceScale, SilenceBeyondACommandsLowersIt) {
  EXPECT_EQ(ConfidenceFromScores(10, 0), ConfidenceFromGap(10));
  EXPECT_EQ(ConfidenceFromScores(10, 55), ConfidenceFromGap(10));
  EXPECT_LT(ConfidenceFromScores(10, 65), ConfidenceFromGap(10));
  // A perfect fit with 1.1 s of speech passed off as silence is refused by the player.
  EXPECT_LE(ConfidenceFromScores(1000, 110), -40);
  EXPECT_EQ(ConfidenceFromScores(1000, 1 << 30), -100);
  for (int silent = 0; silent < 200; silent += 5) {
    EXPECT_GE(ConfidenceFromScores(8, silent), ConfidenceFromScores(8, silent + 5));
  }
}

}  // namespace
}  // namespace rirerazo::voice::testing
