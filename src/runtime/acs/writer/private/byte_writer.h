// Little-endian output buffer for character files: fixed-width integers, GUIDs, colours and
// the length-prefixed UTF-16 strings the format uses everywhere.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs::writer {

class ByteWriter {
 public:
  void U8(std::uint8_t value) { bytes_.push_back(value); }
  void U16(std::uint16_t value);
  void U32(std::uint32_t value);
  void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
  void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
  void Bytes(std::span<const std::uint8_t> data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
  }
  void WriteGuid(const Guid& guid);
  // A u32 count of UTF-16 code units, the units, and a 0x0000 terminator when the count is
  // not zero. `utf8` is converted; malformed UTF-8 becomes U+FFFD.
  void String(std::string_view utf8);
  // Palette entries are stored B, G, R, 0; balloon colours R, G, B, 0.
  void PaletteColor(const Color& color);
  void ColorRef(const Color& color);

  // Overwrites a u32 written earlier at `position` (for offsets known only later).
  void PatchU32(std::size_t position, std::uint32_t value);

  std::size_t Size() const { return bytes_.size(); }
  std::vector<std::uint8_t>& Data() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Converts UTF-8 to UTF-16 code units; each malformed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace rirerazo::acs::writer
