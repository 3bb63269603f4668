// Data stored in a character's file bytes: located, bounds-checked and decompressed.
#include "runtime/acs/private/stored_data.h"

#include "runtime/acs/private/byte_reader.h"
#include "runtime/acs/private/decompress.h"

namespace rirerazo::acs::detail {

// The stored bytes of a range, refusing a range outside the kept file.
std::span<const std::uint8_t> StoredBytes(const Character& character, FileRange range,
                                          const std::string& block) {
  const auto& file = character.file_bytes;
  if (!file || std::uint64_t(range.offset) + range.size > file->size()) {
    ThrowFormatError(character.source_name, block, range.offset, "data lies outside the file");
  }
  return {file->data() + range.offset, range.size};
}

// Decodes raw or compressed bytes of exactly `size` bytes.
std::vector<std::uint8_t> DecodeStored(const Character& character, FileRange range, bool compressed,
                                       std::uint64_t size, const std::string& block) {
  const std::span<const std::uint8_t> stored = StoredBytes(character, range, block);
  if (!compressed) {
    if (stored.size() != size) {
      ThrowFormatError(character.source_name, block, range.offset, "raw data has the wrong size");
    }
    return {stored.begin(), stored.end()};
  }
  if (size > MaxDecompressedSize(stored.size())) {
    ThrowFormatError(character.source_name, block, range.offset,
                     "compressed data is too short for the declared size");
  }
  std::vector<std::uint8_t> out(static_cast<std::size_t>(size));
  if (auto fault = Decompress(stored, out)) {
    ThrowFormatError(character.source_name, block, range.offset, *fault);
  }
  return out;
}

}  // namespace rirerazo::acs::detail
