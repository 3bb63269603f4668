// WAV decoding edge cases on hand-made files; real sounds are checked in the real-file tests.
#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"

namespace rirerazo::acs {
namespace {

class WavBuilder {
 public:
  WavBuilder& Chunk(const char* id, const std::vector<std::uint8_t>& body) {
    body_.insert(body_.end(), id, id + 4);
    U32(body_, std::uint32_t(body.size()));
    body_.insert(body_.end(), body.begin(), body.end());
    if (body.size() % 2) body_.push_back(0);
    return *this;
  }
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F'};
    U32(out, std::uint32_t(body_.size() + 4));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
  }
  static void U16(std::vector<std::uint8_t>& v, std::uint16_t x) {
    v.push_back(std::uint8_t(x));
    v.push_back(std::uint8_t(x >> 8));
  }
  static void U32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    U16(v, std::uint16_t(x));
    U16(v, std::uint16_t(x >> 16));
  }

 private:
  std::vector<std::uint8_t> body_;
};

std::vector<std::uint8_t> Format(std::uint16_t tag, std::uint16_t channels, std::uint16_t align,
                                 std::uint16_t bits, std::int32_t samples_per_block = -1) {
  std::vector<std::uint8_t> f;
  WavBuilder::U16(f, tag);
  WavBuilder::U16(f, channels);
  WavBuilder::U32(f, 8000);
  WavBuilder::U32(f, 8000 * align);
  WavBuilder::U16(f, align);
  WavBuilder::U16(f, bits);
  if (samples_per_block >= 0) {
    WavBuilder::U16(f, 4);  // extra bytes: samples per block, coefficient count 0
    WavBuilder::U16(f, std::uint16_t(samples_per_block));
    WavBuilder::U16(f, 0);
  }
  return f;
}

TEST(DecodeWav, PcmOfBothSizesWithChunksInAnyOrder) {
  const auto eight = WavBuilder()
                         .Chunk("fact", {3, 0, 0, 0})
                         .Chunk("LIST", {1})  // odd size: padded
                         .Chunk("fmt ", Format(1, 1, 1, 8))
                         .Chunk("data", {0x80, 0xFF, 0x00})
                         .Bytes();
  EXPECT_EQ(DecodeWav(eight).samples, (std::vector<std::int16_t>{0, 32512, -32768}));
  const auto sixteen = WavBuilder()
                           .Chunk("fmt ", Format(1, 2, 4, 16))
                           .Chunk("data", {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0x09})
                           .Bytes();
  const PcmSound stereo = DecodeWav(sixteen);
  EXPECT_EQ(stereo.channels, 2);
  EXPECT_EQ(stereo.samples, (std::vector<std::int16_t>{1, -1})) << "a torn last frame is dropped";
}

TEST(DecodeWav, MsAdpcmBlockDecodesByTheAdaptiveRule) {
  // Predictor 0 (256, 0), step 16, latest sample 100, earlier 50; codes 1 then 2, and -8.
  // 100 + 1*16 = 116 (step stays 16), then 116 + 2*16 = 148, then 148 - 8*16 = 20.
  const std::vector<std::uint8_t> block = {0, 16, 0, 100, 0, 50, 0, 0x12, 0x80};
  const auto wav = WavBuilder().Chunk("fmt ", Format(2, 1, 9, 4, 6)).Chunk("data", block).Bytes();
  EXPECT_EQ(DecodeWav(wav).samples, (std::vector<std::int16_t>{50, 100, 116, 148, 20, 20}));
  const auto with_fact = WavBuilder()
                             .Chunk("fmt ", Format(2, 1, 9, 4, 6))
                             .Chunk("fact", {3, 0, 0, 0})
                             .Chunk("data", block)
                             .Bytes();
  EXPECT_EQ(DecodeWav(with_fact).samples.size(), 3u) << "the fact chunk trims the tail";
}

TEST(DecodeWav, MalformedFilesAreRefused) {
  const std::vector<std::vector<std::uint8_t>> bad = {
      {},
      WavBuilder().Chunk("data", {1, 2}).Bytes(),                                 // no format
      WavBuilder().Chunk("fmt ", Format(1, 1, 1, 8)).Bytes(),                     // no data
      WavBuilder().Chunk("fmt ", Format(3, 1, 4, 32)).Chunk("data", {}).Bytes(),  // float
      WavBuilder().Chunk("fmt ", Format(1, 1, 3, 24)).Chunk("data", {}).Bytes(),  // 24-bit
      WavBuilder().Chunk("fmt ", Format(1, 0, 1, 8)).Chunk("data", {}).Bytes(),   // no channels
      WavBuilder().Chunk("fmt ", Format(2, 1, 9, 4, 99)).Chunk("data", {}).Bytes(),
      WavBuilder()
          .Chunk("fmt ", Format(2, 1, 9, 4, 6))
          .Chunk("data", {9, 16, 0, 0, 0, 0, 0})
          .Bytes(),
  };
  for (std::size_t i = 0; i < bad.size(); ++i) {
    EXPECT_THROW((void)DecodeWav(bad[i]), RuntimeError) << "case " << i;
  }
  std::vector<std::uint8_t> overlong = WavBuilder().Chunk("fmt ", Format(1, 1, 1, 8)).Bytes();
  overlong.insert(overlong.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0, 0, 1});
  EXPECT_THROW((void)DecodeWav(overlong), RuntimeError) << "data chunk past the end";
}

}  // namespace
}  // namespace rirerazo::acs
