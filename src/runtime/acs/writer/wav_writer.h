// A small RIFF/WAVE writer for PCM sound: character files store each sound as a complete WAV
// file, and the authoring tool writes decoded sounds the same way.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs {

// A canonical WAV file (RIFF header, "fmt " chunk with format tag 1, "data" chunk) holding
// `sound`'s samples at 16 bits, or at 8 bits (unsigned, as WAV stores 8-bit samples) when
// bits_per_sample is 8. Throws RuntimeError 5 for other depths, no channels or no rate.
std::vector<std::uint8_t> MakePcmWav(const PcmSound& sound, int bits_per_sample = 16);

}  // namespace rirerazo::acs
