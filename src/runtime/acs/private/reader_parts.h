// The pieces of the character-file reader, one per kind of block. Each reads from the whole
// file through a ByteReader and throws kInvalidCharacterFile naming its block and offset.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs::detail {

struct FileView {
  std::span<const std::uint8_t> bytes;
  std::string_view source;  // for messages
};

// The largest image, and the largest composed frame, in pixels. Real characters are a few
// hundred pixels wide; the cap keeps a hostile size from demanding gigabytes.
inline constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 24;

// How many images and sounds the animations may refer to.
struct ReferenceLimits {
  std::size_t image_count = 0;
  std::size_t sound_count = 0;
};

CharacterInfo ReadCharacterInfo(const FileView& file, FileRange block);
std::vector<ImageEntry> ReadImageDirectory(const FileView& file, FileRange directory);
std::vector<SoundEntry> ReadAudioDirectory(const FileView& file, FileRange directory);
// Reads every animation; image, sound, branch, exit-frame and overlay references are checked
// against the limits and the animation's frame count.
std::vector<Animation> ReadAnimations(const FileView& file, FileRange directory,
                                      const ReferenceLimits& limits);

}  // namespace rirerazo::acs::detail
