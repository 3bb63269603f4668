// The image-data decompressor against hand-assembled token streams.
#include "runtime/acs/private/decompress.h"

#include <gtest/gtest.h>

#include <vector>

namespace rirerazo::acs::detail {
namespace {

// Assembles a stream LSB-first, token by token, as the format lays it out.
class StreamBuilder {
 public:
  StreamBuilder() : bytes_{0x00} {}
  StreamBuilder& Bits(std::uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) Bit((value >> i) & 1);
    return *this;
  }
  StreamBuilder& Literal(std::uint8_t byte) { return Bit(0).Bits(byte, 8); }
  // A copy with distance class m (0..3), the field value, and length extra bits k/v.
  StreamBuilder& Copy(unsigned m, std::uint32_t field, unsigned k, std::uint32_t v) {
    static constexpr unsigned kWidths[] = {6, 9, 12, 20};
    Bit(1);
    for (unsigned i = 0; i < m; ++i) Bit(1);
    if (m < 3) Bit(0);
    Bits(field, kWidths[m]);
    for (unsigned i = 0; i < k; ++i) Bit(1);
    Bit(0);
    return Bits(v, k);
  }
  StreamBuilder& End() { return Bits(0xF, 4).Bits(0xFFFFF, 20); }
  std::vector<std::uint8_t> Finish(bool pad = true) {
    while (pad && used_ != 0) Bit(1);
    if (pad) bytes_.insert(bytes_.end(), 6, 0xFF);
    return bytes_;
  }

 private:
  StreamBuilder& Bit(unsigned bit) {
    if (used_ == 0) bytes_.push_back(0);
    bytes_.back() |= std::uint8_t(bit << used_);
    used_ = (used_ + 1) % 8;
    return *this;
  }
  std::vector<std::uint8_t> bytes_;
  unsigned used_ = 0;
};

std::optional<std::string> Decode(const std::vector<std::uint8_t>& in,
                                  std::vector<std::uint8_t>& out) {
  return Decompress(in, out);
}

TEST(Decompress, DecodesTheDocumentedRegionHeaderExample) {
  const std::vector<std::uint8_t> in = {0x00, 0x40, 0x00, 0x04, 0x10, 0xD0, 0x90, 0x80, 0x42, 0xED,
                                        0x98, 0x01, 0xB7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  std::vector<std::uint8_t> out(32);
  ASSERT_EQ(Decode(in, out), std::nullopt);
  const std::vector<std::uint8_t> want = {32, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 168, 0, 0, 0,
                                          0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,   0, 0, 0};
  EXPECT_EQ(out, want);
}

TEST(Decompress, CopiesOfEveryDistanceClassAndLengthRange) {
  // 'a' 'b', then an overlapping run (distance 1, length 2+3+2=7), then a copy from each class.
  StreamBuilder s;
  s.Literal('a').Literal('b').Copy(0, 0, 2, 2);  // 9 bytes so far: "abbbbbbbb"
  std::vector<std::uint8_t> want = {'a', 'b', 'b', 'b', 'b', 'b', 'b', 'b', 'b'};
  for (int i = 0; i < 5000; ++i) {  // fill enough to reach the far classes
    s.Literal(std::uint8_t(i * 7));
    want.push_back(std::uint8_t(i * 7));
  }
  auto copy = [&](unsigned m, std::uint32_t field, std::uint32_t base, unsigned k, std::uint32_t v,
                  std::uint32_t length) {
    s.Copy(m, field, k, v);
    const std::size_t from = want.size() - (field + base);
    for (std::uint32_t i = 0; i < length; ++i) want.push_back(want[from + i]);
  };
  copy(1, 10, 65, 0, 0, 2);
  copy(2, 300, 577, 1, 1, 2 + 1 + 1);
  copy(3, 2, 4673, 0, 0, 3);  // the far class starts at length 3
  copy(3, 0, 4673, 11, 2047, 3 + 2047 + 2047);
  std::vector<std::uint8_t> out(want.size());
  ASSERT_EQ(Decode(s.End().Finish(), out), std::nullopt);
  EXPECT_EQ(out, want);
}

TEST(Decompress, RefusesCorruptStreams) {
  std::vector<std::uint8_t> out(4);
  const struct {
    const char* what;
    std::vector<std::uint8_t> stream;
    const char* fault;
  } cases[] = {
      {"no leading zero", {0x01, 0xFF}, "zero byte"},
      {"copy before start", StreamBuilder().Literal(1).Copy(0, 5, 0, 0).End().Finish(),
       "before the start"},
      {"too much output", StreamBuilder().Literal(1).Copy(0, 0, 2, 0).End().Finish(), "more than"},
      {"too little output", StreamBuilder().Literal(1).End().Finish(), "instead of 4"},
      {"twelve-bit length prefix",
       StreamBuilder().Literal(1).Bits(0b01, 2).Bits(0, 6).Bits(0xFFF, 12).Finish(),
       "longer than 11"},
      {"no end marker", StreamBuilder().Literal(1).Literal(2).Finish(false),
       "before the end marker"},
      {"empty", {}, "zero byte"},
  };
  for (const auto& c : cases) {
    const auto fault = Decode(c.stream, out);
    ASSERT_TRUE(fault.has_value()) << c.what;
    EXPECT_NE(fault->find(c.fault), std::string::npos) << c.what << ": " << *fault;
  }
}

TEST(Decompress, MaxSizeBoundsTheLongestCopies) {
  // A stream of back-to-back longest copies must stay within the declared bound.
  StreamBuilder s;
  s.Literal(9);
  std::size_t size = 1;
  for (int i = 0; i < 200; ++i, size += 2 + 2047 + 2047) s.Copy(0, 0, 11, 2047);
  const std::vector<std::uint8_t> stream = s.End().Finish();
  std::vector<std::uint8_t> out(size);
  ASSERT_EQ(Decode(stream, out), std::nullopt);
  EXPECT_LE(size, MaxDecompressedSize(stream.size()));
}

}  // namespace
}  // namespace rirerazo::acs::detail
