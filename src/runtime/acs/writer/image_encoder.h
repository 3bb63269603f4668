// The compressor for image pixels and region data in character files: a bit-oriented LZ77
// stream that the character reader (and the original runtime) decode. The output starts
// with the byte 0x00, holds literal and copy tokens read least-significant bit first, ends
// with the end-marker token and is padded with 0xFF so that at least six 0xFF bytes close
// it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace rirerazo::acs {

// Compresses `data` (which must not be empty: an empty buffer is always stored raw) and
// returns the complete stream. Deterministic: the same input always gives the same bytes.
// Runs in time linear in the input for sprite-like data; the match search is bounded.
std::vector<std::uint8_t> CompressImageData(std::span<const std::uint8_t> data);

// Limits of the token format, shared with the tests.
inline constexpr std::size_t kMaxNearDistance = 4672;  // largest distance of classes 0..2
inline constexpr std::size_t kMaxCopyLength = 4096;    // longest copy the encoder emits

}  // namespace rirerazo::acs
