// The image compressor against the reader's decompressor: whatever the encoder emits must
// decode to exactly the input, for the token shapes that matter (every distance class, its
// edges, every length-extra width, overlapping runs) and for realistic and hostile data.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "runtime/acs/private/decompress.h"
#include "runtime/acs/writer/image_encoder.h"

namespace rirerazo::acs {
namespace {

using Bytes = std::vector<std::uint8_t>;

void ExpectRoundTrip(const Bytes& input) {
  const Bytes stream = CompressImageData(input);
  Bytes decoded(input.size());
  const auto error = detail::Decompress(stream, decoded);
  ASSERT_FALSE(error.has_value()) << *error << " (input of " << input.size() << " bytes)";
  ASSERT_EQ(decoded, input);
}

Bytes Random(std::size_t size, std::uint32_t seed, int alphabet = 256) {
  std::mt19937 rng(seed);
  Bytes out(size);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng() % alphabet);
  return out;
}

// `distance` random bytes followed by a copy of `length` bytes from exactly `distance` back,
// so the one long match the encoder can find has that distance.
Bytes RepeatAtDistance(std::size_t distance, std::size_t length, std::uint32_t seed) {
  Bytes data = Random(distance, seed);
  for (std::size_t i = 0; i < length; ++i) data.push_back(data[data.size() - distance]);
  return data;
}

TEST(ImageEncoder, SmallInputsRoundTrip) {
  ExpectRoundTrip({0x42});
  ExpectRoundTrip({0, 0});
  ExpectRoundTrip({1, 2, 3});
  ExpectRoundTrip({7, 7, 7, 7, 7});
  EXPECT_THROW(CompressImageData({}), std::invalid_argument);
}

TEST(ImageEncoder, EveryDistanceClassAndItsEdges) {
  for (std::size_t distance :
       {1, 2, 63, 64, 65, 66, 576, 577, 578, 4671, 4672, 4673, 4674, 9000, 32768}) {
    SCOPED_TRACE(distance);
    ExpectRoundTrip(RepeatAtDistance(distance, 40, static_cast<std::uint32_t>(distance)));
    ExpectRoundTrip(RepeatAtDistance(distance, 2, static_cast<std::uint32_t>(distance) + 1));
    ExpectRoundTrip(RepeatAtDistance(distance, 3, static_cast<std::uint32_t>(distance) + 2));
  }
}

TEST(ImageEncoder, EveryLengthExtraWidth) {
  // Runs whose copy lengths cross each boundary 2^k - 1 of the length code, up to the longest
  // copy and beyond it (which needs a second copy).
  for (std::size_t run = 1; run <= 70; ++run) ExpectRoundTrip(Bytes(run, 9));
  for (std::size_t k = 2; k <= 12; ++k) {
    const std::size_t edge = (std::size_t{1} << k) - 1;
    for (std::size_t run : {edge, edge + 1, edge + 2, edge + 3}) ExpectRoundTrip(Bytes(run, 5));
  }
  for (std::size_t run :
       {kMaxCopyLength, kMaxCopyLength + 1, kMaxCopyLength + 2, 3 * kMaxCopyLength + 7}) {
    ExpectRoundTrip(Bytes(run, 0));
  }
}

TEST(ImageEncoder, IncompressibleAndMixedData) {
  ExpectRoundTrip(Random(10000, 1));
  ExpectRoundTrip(Random(20000, 2, 3));  // few symbols: many short matches
  Bytes mixed = Random(3000, 3);
  mixed.insert(mixed.end(), 5000, 0);
  const Bytes more = Random(3000, 4, 16);
  mixed.insert(mixed.end(), more.begin(), more.end());
  mixed.insert(mixed.end(), mixed.begin() + 100, mixed.begin() + 2100);  // a far repeat
  ExpectRoundTrip(mixed);
}

// A sprite-like image: transparent background, filled circle, stride-padded rows.
Bytes Sprite(int size) {
  const int stride = (size + 3) & ~3;
  Bytes rows(std::size_t(stride) * size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const int dx = x - size / 2, dy = y - size / 2;
      if (dx * dx + dy * dy < size * size / 5) rows[y * stride + x] = std::uint8_t(1 + (x / 7) % 3);
    }
  }
  return rows;
}

TEST(ImageEncoder, SpritesCompressWellAndTerminateAsDecodersExpect) {
  const Bytes sprite = Sprite(130);
  ExpectRoundTrip(sprite);
  const Bytes stream = CompressImageData(sprite);
  EXPECT_LT(stream.size(), sprite.size() / 8);
  ASSERT_GE(stream.size(), 7u);
  EXPECT_EQ(stream.front(), 0x00);
  for (std::size_t i = stream.size() - 6; i < stream.size(); ++i) EXPECT_EQ(stream[i], 0xFF);
  EXPECT_EQ(CompressImageData(sprite), stream);  // deterministic
}

TEST(ImageEncoder, LongRunsCostAFewBytes) {
  EXPECT_LT(CompressImageData(Bytes(100000, 0)).size(), 200u);
}

}  // namespace
}  // namespace rirerazo::acs
