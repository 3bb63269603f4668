// The fuzz input for older-generation files. A first byte with the low bit clear: the rest is
// a whole file. With the low bit set: the rest holds the inflated streams of a character (u16
// length of the character stream, u16 length of the first animation, the two, then the second
// animation), which the target compresses and wraps in a compound file, so mutations reach
// the character's fields directly rather than only its compressed bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "legacy_test_support.h"

namespace rirerazo::acs::fuzzing {

inline std::vector<std::uint8_t> FileFromInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  if ((data[0] & 1) == 0) return {data + 1, data + size};
  if (size < 5) return {};
  const std::size_t header = data[1] | (data[2] << 8);
  const std::size_t first = data[3] | (data[4] << 8);
  const std::uint8_t* at = data + 5;
  const std::size_t rest = size - 5;
  if (header == 0 || header > rest || first > rest - header) return {};
  testing::LegacyParts parts;
  parts.header.assign(at, at + header);
  parts.animations.emplace_back(at + header, at + header + first);
  parts.animations.emplace_back(at + header + first, at + rest);
  return testing::WrapLegacyCharacter(parts);
}

// The structured form of parts (the inverse of FileFromInput).
inline std::vector<std::uint8_t> InputFromParts(const testing::LegacyParts& parts) {
  std::vector<std::uint8_t> input{
      1, std::uint8_t(parts.header.size()), std::uint8_t(parts.header.size() >> 8),
      std::uint8_t(parts.animations[0].size()), std::uint8_t(parts.animations[0].size() >> 8)};
  input.insert(input.end(), parts.header.begin(), parts.header.end());
  for (const auto& animation : parts.animations) {
    input.insert(input.end(), animation.begin(), animation.end());
  }
  return input;
}

}  // namespace rirerazo::acs::fuzzing
