// The playing time of a WAV file, read from its header, so a Speak with a sound file lasts
// as long as the sound would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rirerazo::runtime {

// nullopt when the file cannot be read or is not a RIFF/WAVE file with a format and a data
// chunk (the request then fails).
std::optional<std::int64_t> WavDurationMs(const std::string& path);

// The same for WAV bytes in memory.
std::optional<std::int64_t> WavBytesDurationMs(const std::uint8_t* bytes, std::size_t size);

}  // namespace rirerazo::runtime
