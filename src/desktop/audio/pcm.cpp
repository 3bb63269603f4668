#include <algorithm>
#include <cmath>

#include "desktop/audio/private/pcm.h"

namespace rirerazo::desktop {

namespace {

constexpr int kMaxRateHz = 384000;
constexpr int kMaxChannels = 8;

// The sample of output channel `channel` taken from one input frame.
std::int32_t ChannelSample(const std::int16_t* frame, int in_channels, int out_channels,
                           int channel) {
  if (in_channels == out_channels) return frame[channel];
  if (out_channels == 1) {
    std::int32_t sum = 0;
    for (int c = 0; c < in_channels; ++c) sum += frame[c];
    return sum / in_channels;
  }
  return frame[channel % in_channels];
}

}  // namespace

bool ValidPcmFormat(const PcmFormat& format) {
  return format.sample_rate_hz > 0 && format.sample_rate_hz <= kMaxRateHz && format.channels > 0 &&
         format.channels <= kMaxChannels;
}

std::vector<std::int16_t> ConvertPcm(std::span<const std::int16_t> samples, const PcmFormat& from,
                                     const PcmFormat& to, float volume) {
  const std::int64_t in_frames = std::int64_t(samples.size()) / from.channels;
  const std::int64_t out_frames = in_frames * to.sample_rate_hz / from.sample_rate_hz;
  const double gain = std::clamp(volume, 0.0f, 1.0f);
  const double step = double(from.sample_rate_hz) / to.sample_rate_hz;
  std::vector<std::int16_t> out(std::size_t(out_frames * to.channels));
  for (std::int64_t j = 0; j < out_frames; ++j) {
    const double position = double(j) * step;
    const std::int64_t i = std::min<std::int64_t>(std::int64_t(position), in_frames - 1);
    const std::int64_t next = std::min<std::int64_t>(i + 1, in_frames - 1);
    const double weight = position - double(i);
    const std::int16_t* a = samples.data() + i * from.channels;
    const std::int16_t* b = samples.data() + next * from.channels;
    for (int c = 0; c < to.channels; ++c) {
      double value = ChannelSample(a, from.channels, to.channels, c) * (1.0 - weight) +
                     ChannelSample(b, from.channels, to.channels, c) * weight;
      out[std::size_t(j * to.channels + c)] = std::int16_t(std::lround(value * gain));
    }
  }
  return out;
}

void AddInto(std::span<std::int32_t> mix, std::span<const std::int16_t> source) {
  const std::size_t count = std::min(mix.size(), source.size());
  for (std::size_t i = 0; i < count; ++i) mix[i] += source[i];
}

void ClipInto(std::span<const std::int32_t> mix, std::span<std::int16_t> out) {
  const std::size_t count = std::min(mix.size(), out.size());
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = std::int16_t(std::clamp<std::int32_t>(mix[i], -32768, 32767));
  }
}

}  // namespace rirerazo::desktop
