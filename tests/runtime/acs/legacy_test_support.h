// Builders for older-generation character files in tests: a small compound-file writer and a
// tiny character (two animations, a sound, mouth images) whose inflated streams a test can
// damage before wrapping them into a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rirerazo::acs::testing {

struct NamedStream {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

// A version-3 compound file (512-byte sectors) holding the streams under its root: streams
// under 4096 bytes in short sectors, the others in regular sectors. Sectors are laid out in
// this order: allocation table, directory, short-sector table, short-stream area, streams.
std::vector<std::uint8_t> BuildCompoundFile(const std::vector<NamedStream>& streams);

// Where BuildCompoundFile put things, for tests that damage them.
struct CompoundLayout {
  std::size_t table_sectors = 0;
  std::size_t directory_sector = 0;  // first directory sector
};
CompoundLayout CompoundLayoutOf(const std::vector<std::uint8_t>& file);

// The inflated streams of a tiny character: "Show" (two frames with a branch, a sound) and
// "Speak" (one frame with two mouth images, returning to "Show").
struct LegacyParts {
  std::vector<std::uint8_t> header;                   // inflated 'char.acf'
  std::vector<std::vector<std::uint8_t>> animations;  // inflated 'anim1.aaf', 'anim2.aaf'
};
// single_byte_text: the name, description, extra data and font as single-byte strings.
LegacyParts TinyLegacyCharacter(bool single_byte_text = false);

// Compresses the parts and wraps them in a compound file.
std::vector<std::uint8_t> WrapLegacyCharacter(const LegacyParts& parts);

}  // namespace rirerazo::acs::testing
