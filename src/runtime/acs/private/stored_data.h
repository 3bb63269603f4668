// Access to data a model keeps as ranges of its file bytes (images, regions, sounds).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs::detail {

// The bytes of a range of the character's file; throws when there is no file or the range
// lies outside it.
std::span<const std::uint8_t> StoredBytes(const Character& character, FileRange range,
                                          const std::string& block);

// The range's data, exactly `size` bytes: copied when raw, decompressed otherwise. Refuses a
// size the compressed length cannot reach before allocating it.
std::vector<std::uint8_t> DecodeStored(const Character& character, FileRange range, bool compressed,
                                       std::uint64_t size, const std::string& block);

}  // namespace rirerazo::acs::detail
