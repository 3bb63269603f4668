// The pieces of the reader for older-generation character files: a compound file holding a
// compressed character stream ("char.acf") and one compressed stream per animation. See
// docs/characters.md for the layout.
//
// Each animation stream is inflated once when the file is opened (its frames can only be read
// that way) into one buffer that becomes Character::file_bytes; images and sounds are then kept
// as ranges of that buffer and decoded on first use like those of a current file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/acs/acs_file.h"
#include "runtime/acs/private/byte_reader.h"

namespace rirerazo::acs::detail {

// The versions older files carry; the layout grows two fields from kLegacyVersionWithIds on
// and the balloon's last byte after kLegacyVersionWithoutBalloonTail.
inline constexpr std::uint32_t kLegacyVersionFirst = 0x1001C;
inline constexpr std::uint32_t kLegacyVersionWithIds = 0x1001D;
inline constexpr std::uint32_t kLegacyVersionWithoutBalloonTail = 0x1001E;
inline constexpr std::uint32_t kLegacyVersionLast = 0x1001F;

// An animation as the character stream lists it.
struct LegacyAnimationEntry {
  std::string name;
  std::string stream_name;
  std::string return_animation;
  std::uint32_t id = 0;  // echoed by the animation stream (versions with ids only)
};

// The character stream, inflated.
struct LegacyHeader {
  std::uint32_t version = 0;
  std::vector<LegacyAnimationEntry> animations;
  CharacterInfo info;
};

// A string in the older layout: a u32 count and that many UTF-16 units (or bytes, when
// single_byte), with no terminator. Single-byte text is read as Latin-1.
std::string ReadLegacyString(ByteReader& in, bool single_byte = false);

// Parses the inflated character stream. The file does not say whether the name, description,
// extra data and balloon font are stored as UTF-16 or as single bytes; the parse that consumes
// the stream exactly wins, UTF-16 first.
LegacyHeader ReadLegacyHeader(std::span<const std::uint8_t> inflated, std::string_view source);

// One inflated animation stream; lies at [range.offset, range.offset + range.size) of `kept`,
// the buffer that becomes the character's file bytes.
struct InflatedAnimation {
  const LegacyAnimationEntry* entry = nullptr;
  FileRange range;
};

// Parses an inflated animation stream, appending its images and sounds to the character's
// tables and returning the animation with frames pointing into them.
Animation ReadLegacyAnimation(std::span<const std::uint8_t> kept, const InflatedAnimation& stream,
                              std::string_view source, Character& character);

// Reads a whole older-generation file.
Character ReadLegacyCharacter(std::span<const std::uint8_t> bytes, std::string_view source);

}  // namespace rirerazo::acs::detail
