// RIFF/WAVE parsing shared by the sound decoders.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "runtime/acs/private/byte_reader.h"

namespace rirerazo::acs::detail {

inline constexpr std::uint16_t kWavePcm = 1;
inline constexpr std::uint16_t kWaveMsAdpcm = 2;

struct WavFormat {
  std::uint16_t tag = 0;
  std::uint16_t channels = 0;
  std::uint32_t sample_rate_hz = 0;
  std::uint16_t block_align = 0;
  std::uint16_t bits_per_sample = 0;
  std::uint16_t samples_per_block = 0;                              // MS-ADPCM only
  std::vector<std::pair<std::int16_t, std::int16_t>> coefficients;  // MS-ADPCM only
};

struct WavContents {
  WavFormat format;
  std::span<const std::uint8_t> data;
  std::uint64_t data_offset = 0;             // for messages
  std::optional<std::uint32_t> fact_frames;  // sample frames, from the fact chunk
};

// Walks the chunks in any order; fmt and data are required. `in` covers the whole WAV file.
WavContents ReadWavChunks(ByteReader& in);

// Decodes MS-ADPCM blocks into interleaved 16-bit samples (appended to out).
void DecodeMsAdpcm(ByteReader& in, const WavContents& wav, std::vector<std::int16_t>& out);

}  // namespace rirerazo::acs::detail
