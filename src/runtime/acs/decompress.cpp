#include "runtime/acs/private/decompress.h"

#include <bit>
#include <cstring>

namespace rirerazo::acs::detail {

namespace {

// LSB-first bit reader that refills a 64-bit buffer a word at a time. Past the end of the
// input the buffer simply stops growing; Take reports running dry.
class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> input)
      : next_(input.data()), end_(input.data() + input.size()) {}

  // Tops the buffer up to at least 56 bits when input remains.
  void Refill() {
    if (end_ - next_ >= 8) {
      std::uint64_t word;
      std::memcpy(&word, next_, 8);
      if constexpr (std::endian::native == std::endian::big) word = ByteSwap(word);
      buffer_ |= word << count_;
      next_ += (63 - count_) >> 3;
      count_ |= 56;
    } else {
      while (count_ <= 56 && next_ < end_) {
        buffer_ |= std::uint64_t(*next_++) << count_;
        count_ += 8;
      }
    }
  }
  bool Has(unsigned bits) const { return count_ >= bits; }
  std::uint64_t Peek() const { return buffer_; }
  // Takes bits (at most 32); the caller has checked Has(bits).
  std::uint32_t Take(unsigned bits) {
    const std::uint32_t value = std::uint32_t(buffer_ & ((std::uint64_t(1) << bits) - 1));
    buffer_ >>= bits;
    count_ -= bits;
    return value;
  }

 private:
  static std::uint64_t ByteSwap(std::uint64_t v) {
    std::uint64_t r = 0;
    for (int i = 0; i < 8; ++i) r = (r << 8) | ((v >> (8 * i)) & 0xFF);
    return r;
  }

  const std::uint8_t* next_;
  const std::uint8_t* end_;
  std::uint64_t buffer_ = 0;
  unsigned count_ = 0;
};

constexpr unsigned kDistanceBits[4] = {6, 9, 12, 20};
constexpr std::uint32_t kDistanceBase[4] = {1, 65, 577, 4673};
constexpr std::uint32_t kEndMarker = 0xFFFFF;
constexpr unsigned kMaxLengthBits = 11;

// Copies length bytes from distance back; the ranges may overlap (that is how runs are coded).
void CopyMatch(std::uint8_t* at, std::uint32_t distance, std::uint32_t length) {
  const std::uint8_t* from = at - distance;
  if (distance >= length) {
    std::memcpy(at, from, length);
  } else if (distance == 1) {
    std::memset(at, *from, length);
  } else {
    for (std::uint32_t i = 0; i < length; ++i) at[i] = from[i];
  }
}

}  // namespace

std::uint64_t MaxDecompressedSize(std::uint64_t input_size) {
  // The cheapest longest copy takes 31 bits for 4096 bytes; round generously up.
  return (input_size * 8 / 31 + 1) * 4097;
}

std::optional<std::string> Decompress(std::span<const std::uint8_t> input,
                                      std::span<std::uint8_t> out) {
  if (input.empty() || input[0] != 0) return "compressed data does not start with a zero byte";
  BitReader bits(input.subspan(1));
  std::size_t produced = 0;
  for (;;) {
    bits.Refill();
    // Every token, the end marker included, takes at least 9 bits.
    if (!bits.Has(9)) return "data ends before the end marker";
    if (bits.Take(1) == 0) {
      if (produced == out.size()) return "data decodes to more than the expected size";
      out[produced++] = std::uint8_t(bits.Take(8));
      continue;
    }
    // Up to three 1-bits pick the distance class; a 0 ends them early and is consumed too.
    const unsigned distance_class = unsigned(std::countr_one(bits.Peek() & 7));
    const unsigned prefix_bits = distance_class == 3 ? 3 : distance_class + 1;
    if (!bits.Has(prefix_bits + kDistanceBits[distance_class])) {
      return "data ends before the end marker";
    }
    bits.Take(prefix_bits);
    const std::uint32_t distance_field = bits.Take(kDistanceBits[distance_class]);
    if (distance_class == 3 && distance_field == kEndMarker) break;
    const std::uint32_t distance = distance_field + kDistanceBase[distance_class];
    std::uint32_t length = distance_class == 3 ? 3 : 2;
    const unsigned extra_bits = unsigned(std::countr_one(bits.Peek()));
    if (extra_bits > kMaxLengthBits) return "length prefix longer than 11 bits";
    if (!bits.Has(extra_bits + 1 + extra_bits)) return "data ends before the end marker";
    bits.Take(extra_bits + 1);
    if (extra_bits > 0) length += ((1u << extra_bits) - 1) + bits.Take(extra_bits);
    if (distance > produced) return "copy reaches before the start of the output";
    if (length > out.size() - produced) return "data decodes to more than the expected size";
    CopyMatch(out.data() + produced, distance, length);
    produced += length;
  }
  if (produced != out.size()) {
    return "data decodes to " + std::to_string(produced) + " bytes instead of " +
           std::to_string(out.size());
  }
  return std::nullopt;
}

}  // namespace rirerazo::acs::detail
