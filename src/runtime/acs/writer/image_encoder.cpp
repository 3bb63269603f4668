#include "runtime/acs/writer/image_encoder.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace rirerazo::acs {
namespace {

// Collects bits least-significant first into bytes, after the leading 0x00 marker byte.
class BitSink {
 public:
  BitSink() { bytes_.push_back(0x00); }

  // Appends the low `count` bits of `value` (count <= 32), bit 0 first.
  void Put(std::uint32_t value, int count) {
    const std::uint64_t mask = (std::uint64_t{1} << count) - 1;
    pending_ |= (value & mask) << pending_bits_;
    pending_bits_ += count;
    while (pending_bits_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(pending_ & 0xFF));
      pending_ >>= 8;
      pending_bits_ -= 8;
    }
  }

  // Pads the last byte with 1-bits, then appends three whole 0xFF bytes after the byte that
  // holds the end marker's last bit. The 24 one-bits of the marker plus this tail make the
  // stream end in at least six 0xFF bytes, which decoders check.
  std::vector<std::uint8_t> Finish() && {
    if (pending_bits_ > 0) Put(0xFF, 8 - pending_bits_);
    bytes_.insert(bytes_.end(), 3, 0xFF);
    return std::move(bytes_);
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint64_t pending_ = 0;
  int pending_bits_ = 0;
};

// One distance class: the token prefix (the copy flag 1 followed by the class bits) and the
// width and base of the distance field.
struct DistanceClass {
  std::uint32_t prefix;
  int prefix_bits;
  int field_bits;
  std::size_t base;
  std::size_t min_length;
};

constexpr std::array<DistanceClass, 4> kClasses{{
    {0b01, 2, 6, 1, 2},
    {0b011, 3, 9, 65, 2},
    {0b0111, 4, 12, 577, 2},
    {0b1111, 4, 20, 4673, 3},
}};

// The largest distance the encoder searches. Far copies (class 3) reach much further, but
// sprites repeat within a few rows, so a bounded window keeps the search fast.
constexpr std::size_t kWindow = 32768;
constexpr int kMaxChainSteps = 48;

const DistanceClass& ClassFor(std::size_t distance) {
  for (const DistanceClass& c : kClasses) {
    if (distance < c.base + (std::size_t{1} << c.field_bits)) return c;
  }
  return kClasses.back();
}

void PutLength(BitSink& sink, std::size_t extra) {
  if (extra == 0) {
    sink.Put(0, 1);
    return;
  }
  int k = 1;
  while (extra >= (std::size_t{2} << k) - 1) ++k;
  sink.Put((1u << k) - 1, k);  // k one-bits
  sink.Put(0, 1);
  sink.Put(static_cast<std::uint32_t>(extra - ((std::size_t{1} << k) - 1)), k);
}

void PutCopy(BitSink& sink, std::size_t distance, std::size_t length) {
  const DistanceClass& c = ClassFor(distance);
  sink.Put(c.prefix, c.prefix_bits);
  sink.Put(static_cast<std::uint32_t>(distance - c.base), c.field_bits);
  PutLength(sink, length - c.min_length);
}

struct Match {
  std::size_t length = 0;
  std::size_t distance = 0;
};

// Hash chains over two-byte prefixes: head_ holds the latest position of each prefix,
// previous_ links every position to the one before it with the same prefix.
class MatchFinder {
 public:
  explicit MatchFinder(std::span<const std::uint8_t> data)
      : data_(data), head_(1 << 16, kNone), previous_(data.size(), kNone) {}

  void Insert(std::size_t pos) {
    if (pos + 1 >= data_.size()) return;
    const std::size_t key = Key(pos);
    previous_[pos] = head_[key];
    head_[key] = static_cast<std::uint32_t>(pos);
  }

  // The longest usable match for `pos` among the earlier positions, nearest first.
  Match Longest(std::size_t pos) const {
    Match best;
    if (pos + 1 >= data_.size()) return best;
    const std::size_t limit = std::min(kMaxCopyLength, data_.size() - pos);
    std::uint32_t candidate = head_[Key(pos)];
    for (int step = 0; step < kMaxChainSteps && candidate != kNone; ++step) {
      const std::size_t distance = pos - candidate;
      if (distance > kWindow) break;
      const std::size_t length = CommonLength(candidate, pos, limit);
      if (length > best.length && length >= ClassFor(distance).min_length) {
        best = {length, distance};
        if (length == limit) break;
      }
      candidate = previous_[candidate];
    }
    return best;
  }

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;

  std::size_t Key(std::size_t pos) const { return data_[pos] | (data_[pos + 1] << 8); }

  std::size_t CommonLength(std::size_t from, std::size_t pos, std::size_t limit) const {
    std::size_t n = 0;
    while (n < limit && data_[from + n] == data_[pos + n]) ++n;
    return n;
  }

  std::span<const std::uint8_t> data_;
  std::vector<std::uint32_t> head_;
  std::vector<std::uint32_t> previous_;
};

}  // namespace

// Greedy parsing with a one-step lazy check: a match is deferred by one literal when the
// next position offers a longer one, which is what keeps the output close to the size of
// files made by the original authoring tools.
std::vector<std::uint8_t> CompressImageData(std::span<const std::uint8_t> data) {
  if (data.empty()) throw std::invalid_argument("CompressImageData: empty input");
  BitSink sink;
  MatchFinder finder(data);
  std::size_t pos = 0;
  while (pos < data.size()) {
    Match match = finder.Longest(pos);
    finder.Insert(pos);
    if (match.length >= 2 && match.length < kMaxCopyLength) {
      const Match next = finder.Longest(pos + 1);
      if (next.length > match.length + 1) match.length = 0;
    }
    if (match.length < 2) {
      sink.Put(0, 1);
      sink.Put(data[pos], 8);
      ++pos;
      continue;
    }
    PutCopy(sink, match.distance, match.length);
    for (std::size_t i = 1; i < match.length; ++i) finder.Insert(pos + i);
    pos += match.length;
  }
  sink.Put(0xFFFFFF, 24);  // end marker: copy flag, class 3, distance field all ones
  return std::move(sink).Finish();
}

}  // namespace rirerazo::acs
