// Reads a wave file as the recogniser hears it: 16-bit PCM, mixed down to mono and
// resampled to 16 kHz (linear interpolation, enough for speech).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rirerazo::voice {

// nullopt and a reason when the file is missing, not a wave file, or not 16-bit PCM.
std::optional<std::vector<std::int16_t>> ReadSpeechWave(const std::string& path,
                                                        std::string* error);

// Mono samples at `rate_hz` to 16 kHz.
std::vector<std::int16_t> ResampleTo16k(const std::vector<std::int16_t>& mono, int rate_hz);

}  // namespace rirerazo::voice
