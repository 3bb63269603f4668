// Sample conversion and mixing for the audio outputs: every sound is brought to the one
// device format before it is mixed, so the mixer adds like to like.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "desktop/audio/audio_output.h"

namespace rirerazo::desktop {

// Whether a format can be played: a positive rate and channel count within reason.
bool ValidPcmFormat(const PcmFormat& format);

// `samples` (interleaved, `from`) resampled by linear interpolation to `to`, channels
// duplicated, averaged or picked as needed, scaled by `volume` (clamped to 0..1). A trailing
// partial frame is dropped. Both formats must be valid.
std::vector<std::int16_t> ConvertPcm(std::span<const std::int16_t> samples, const PcmFormat& from,
                                     const PcmFormat& to, float volume);

// How many frames ConvertPcm makes of `sample_count` samples.
std::int64_t ConvertedFrames(std::size_t sample_count, const PcmFormat& from, const PcmFormat& to);

// Output frames [first_frame, first_frame + frame_count) of ConvertPcm's result, added into
// `mix` (interleaved, `to`), so a sound can be converted chunk by chunk as it is mixed.
void AddConverted(std::span<const std::int16_t> samples, const PcmFormat& from, const PcmFormat& to,
                  float volume, std::int64_t first_frame, std::int64_t frame_count,
                  std::span<std::int32_t> mix);
// The sum clipped to 16 bits.
void ClipInto(std::span<const std::int32_t> mix, std::span<std::int16_t> out);

// Whole milliseconds of `frames` frames at `rate_hz`.
inline std::int64_t FramesToMs(std::int64_t frames, int rate_hz) {
  return frames * 1000 / rate_hz;
}

}  // namespace rirerazo::desktop
