// The LZ77-style bit stream used for image pixels and regions in character files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace rirerazo::acs::detail {

// Decodes input into out, which must already have the expected size: the stream has to fill
// it exactly. Returns an empty optional on success, otherwise a description of the corruption
// (the caller adds the block and offset). Runs in time linear in input + output size: every
// token consumes at least one input bit or ends the stream, and output never grows past
// out.size().
std::optional<std::string> Decompress(std::span<const std::uint8_t> input,
                                      std::span<std::uint8_t> out);

// The largest output a stream of input_size bytes can produce (about 4096 bytes per 31 bits);
// used to refuse a declared size no stream of that length could reach before allocating it.
std::uint64_t MaxDecompressedSize(std::uint64_t input_size);

}  // namespace rirerazo::acs::detail
