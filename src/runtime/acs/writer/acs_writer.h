// The character-file writer: turns an in-memory model (read from a file or built by a
// program) into the bytes of a .acs file that the reader, and the original runtime by the
// format, accept.
//
// Layout written: the 36-byte header, the animation blocks, the image blocks, the sounds
// (complete WAV files), the animation, image and audio directories, and last the character
// info block, whose tail is the localised-info list. Directory checksums are written as 0.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs {

enum class Storage : std::uint8_t {
  kCompressed,  // the LZ stream of image_encoder.h, which every known file uses
  kRaw,         // uncompressed; larger, but the format allows it for pixels and regions
};

struct WriteOptions {
  Storage pixels = Storage::kCompressed;
  Storage regions = Storage::kCompressed;
};

// Serialises `character`. Pixels and sounds are taken through the model's accessors, so a
// model read from a file and one built in memory are written alike. Regions given as
// rectangles (or computed from the pixels when none are given) are written as RGNDATA.
//
// Before writing, the model is checked: every animation has 1 to 65535 frames, every image,
// sound, branch and exit index is in range, counts fit their fields, animation names are
// unique (ignoring case) and image sizes match their pixels. A violation throws
// RuntimeError 5 (invalid procedure call) naming the animation, frame or image.
// The voice and balloon flag bits are set to match the optional blocks present.
std::vector<std::uint8_t> WriteCharacter(const Character& character,
                                         const WriteOptions& options = {});

// Writes the file through a temporary name beside `path` and renames it into place, so a
// failed write never leaves a half-written character. Throws RuntimeError 75 on I/O errors.
void WriteCharacterFile(const Character& character, const std::string& path,
                        const WriteOptions& options = {});

// The Win32 RGNDATA bytes (32-byte header with bounding box, then the rectangles) for a set
// of rectangles in top-down image coordinates. (RegionFromPixels of acs_file.h computes the
// rectangles for an image.)
std::vector<std::uint8_t> EncodeRegionData(std::span<const RegionRect> rects);

}  // namespace rirerazo::acs
