// PNG files for the authoring tool, through libpng: character images are written as palette
// PNGs (the character palette, the transparent index see-through) and read back from any
// PNG an author makes.
#pragma once

#include <string>
#include <vector>

#include "runtime/acs/acs_file.h"

namespace rirerazo::chartool {

// Writes `pixels` as an 8-bit palette PNG whose palette is `palette` padded to 256 entries,
// with `transparent_index` fully transparent. Throws RuntimeError 75 on failure.
void WriteIndexedPng(const std::string& path, const acs::IndexedPixels& pixels,
                     const std::vector<acs::Color>& palette, std::uint8_t transparent_index);

// Writes a composed frame as an RGBA PNG.
void WriteRgbaPng(const std::string& path, const acs::RgbaImage& image);

// Reads a PNG as palette indices of the character palette. A palette PNG whose colours agree
// with the character palette keeps its indices exactly. Any other pixel is matched by colour:
// mostly transparent pixels (alpha below 128) become `transparent_index`, others the exact
// palette colour if there is one, else the nearest (never the transparent index).
// Throws RuntimeError 53 when the file is missing and 321 when it is not a usable PNG.
acs::IndexedPixels ReadPngAsIndices(const std::string& path, const std::vector<acs::Color>& palette,
                                    std::uint8_t transparent_index);

}  // namespace rirerazo::chartool
