// The length of a media file, read from its header the way a media device does before it
// plays: RIFF WAVE (data size / bytes per second), standard MIDI (ticks through the tempo
// map) and RIFF AVI (frames x frame time). A file that is not of the kind asked for, or is
// cut short in its header, has no length.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rirerazo::host {

enum class MediaKind { kWave, kMidi, kAvi };

// Milliseconds, rounded down; none when `bytes` is not a playable file of `kind`.
std::optional<std::int64_t> MediaLengthMs(MediaKind kind, std::string_view bytes);

}  // namespace rirerazo::host
