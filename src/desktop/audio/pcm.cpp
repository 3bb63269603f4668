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

std::int64_t ConvertedFrames(std::size_t sample_count, const PcmFormat& from, const PcmFormat& to) {
  return std::int64_t(sample_count) / from.channels * to.sample_rate_hz / from.sample_rate_hz;
}

void AddConverted(std::span<const std::int16_t> samples, const PcmFormat& from, const PcmFormat& to,
                  float volume, std::int64_t first_frame, std::int64_t frame_count,
                  std::span<std::int32_t> mix) {
  const std::int64_t in_frames = std::int64_t(samples.size()) / from.channels;
  const std::int64_t end_frame =
      std::min(first_frame + frame_count, ConvertedFrames(samples.size(), from, to));
  const double gain = std::clamp(volume, 0.0f, 1.0f);
  const double step = double(from.sample_rate_hz) / to.sample_rate_hz;
  std::size_t at = 0;
  for (std::int64_t j = first_frame; j < end_frame; ++j) {
    const double position = double(j) * step;
    const std::int64_t i = std::min<std::int64_t>(std::int64_t(position), in_frames - 1);
    const std::int64_t next = std::min<std::int64_t>(i + 1, in_frames - 1);
    const double weight = position - double(i);
    const std::int16_t* a = samples.data() + i * from.channels;
    const std::int16_t* b = samples.data() + next * from.channels;
    for (int c = 0; c < to.channels && at < mix.size(); ++c, ++at) {
      double value = ChannelSample(a, from.channels, to.channels, c) * (1.0 - weight) +
                     ChannelSample(b, from.channels, to.channels, c) * weight;
      mix[at] += std::int32_t(std::lround(value * gain));
    }
  }
}

std::vector<std::int16_t> ConvertPcm(std::span<const std::int16_t> samples, const PcmFormat& from,
                                     const PcmFormat& to, float volume) {
  const std::int64_t frames = ConvertedFrames(samples.size(), from, to);
  std::vector<std::int32_t> mix(std::size_t(frames * to.channels), 0);
  AddConverted(samples, from, to, volume, 0, frames, mix);
  std::vector<std::int16_t> out(mix.size());
  ClipInto(mix, out);
  return out;
}

void ClipInto(std::span<const std::int32_t> mix, std::span<std::int16_t> out) {
  const std::size_t count = std::min(mix.size(), out.size());
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = std::int16_t(std::clamp<std::int32_t>(mix[i], -32768, 32767));
  }
}

}  // namespace rirerazo::desktop
