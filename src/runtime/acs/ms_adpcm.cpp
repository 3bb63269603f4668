// MS-ADPCM: blocks of a header per channel (predictor, step, two seed samples) followed by
// 4-bit codes, high nibble first, channels interleaved nibble by nibble.
#include <algorithm>

#include "runtime/acs/private/wav_reader.h"

namespace rirerazo::acs::detail {

namespace {

constexpr int kAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                 768, 614, 512, 409, 307, 230, 230, 230};
constexpr std::pair<std::int16_t, std::int16_t> kStandardCoefficients[] = {
    {256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
constexpr int kMinStep = 16;
// Far above any step a real encoder reaches; keeps the arithmetic of a hostile stream in range.
constexpr int kMaxStep = 1 << 20;

struct ChannelState {
  int coefficient1 = 0;
  int coefficient2 = 0;
  int step = 0;
  int sample1 = 0;  // the latest sample
  int sample2 = 0;  // the one before
};

std::int16_t Clamp16(int value) {
  return std::int16_t(std::clamp(value, -32768, 32767));
}

std::int16_t DecodeNibble(ChannelState& state, unsigned nibble) {
  const int signed_nibble = nibble >= 8 ? int(nibble) - 16 : int(nibble);
  const int predicted =
      (state.sample1 * state.coefficient1 + state.sample2 * state.coefficient2) >> 8;
  const std::int16_t sample = Clamp16(predicted + signed_nibble * state.step);
  state.sample2 = state.sample1;
  state.sample1 = sample;
  state.step = std::clamp((kAdaptation[nibble] * state.step) >> 8, kMinStep, kMaxStep);
  return sample;
}

// Reads the per-channel block header: predictors for every channel, then steps, then the
// latest samples, then the earlier ones.
void ReadBlockHeader(ByteReader& in, const WavContents& wav, ChannelState* states,
                     std::span<const std::uint8_t> header) {
  const std::size_t channels = wav.format.channels;
  const std::span<const std::pair<std::int16_t, std::int16_t>> coefficients =
      wav.format.coefficients.empty()
          ? std::span<const std::pair<std::int16_t, std::int16_t>>(kStandardCoefficients)
          : std::span<const std::pair<std::int16_t, std::int16_t>>(wav.format.coefficients);
  auto i16 = [&](std::size_t at) { return int(std::int16_t(header[at] | (header[at + 1] << 8))); };
  for (std::size_t c = 0; c < channels; ++c) {
    const std::uint8_t predictor = header[c];
    if (predictor >= coefficients.size()) {
      in.FailAt(std::uint64_t(header.data() - wav.data.data()) + wav.data_offset,
                "MS-ADPCM predictor " + std::to_string(predictor) + " is out of range");
    }
    states[c].coefficient1 = coefficients[predictor].first;
    states[c].coefficient2 = coefficients[predictor].second;
    states[c].step = std::clamp(i16(channels + 2 * c), kMinStep, kMaxStep);
    states[c].sample1 = i16(3 * channels + 2 * c);
    states[c].sample2 = i16(5 * channels + 2 * c);
  }
}

// Decodes one block (possibly the short last one) and appends its samples.
void DecodeBlock(ByteReader& in, const WavContents& wav, std::span<const std::uint8_t> block,
                 std::vector<std::int16_t>& out) {
  const std::size_t channels = wav.format.channels;
  ChannelState states[2];
  ReadBlockHeader(in, wav, states, block);
  for (std::size_t c = 0; c < channels; ++c) out.push_back(Clamp16(states[c].sample2));
  for (std::size_t c = 0; c < channels; ++c) out.push_back(Clamp16(states[c].sample1));
  const std::size_t header_bytes = 7 * channels;
  const std::size_t codes = std::min<std::size_t>((block.size() - header_bytes) * 2,
                                                  (wav.format.samples_per_block - 2) * channels);
  for (std::size_t i = 0; i < codes; ++i) {
    const std::uint8_t byte = block[header_bytes + i / 2];
    const unsigned nibble = (i % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
    out.push_back(DecodeNibble(states[i % channels], nibble));
  }
}

}  // namespace

void DecodeMsAdpcm(ByteReader& in, const WavContents& wav, std::vector<std::int16_t>& out) {
  const WavFormat& format = wav.format;
  const std::size_t channels = format.channels;
  const std::size_t header_bytes = 7 * channels;
  if (channels > 2 || format.block_align < header_bytes) {
    in.FailAt(wav.data_offset, "unusable MS-ADPCM channel count or block size");
  }
  const std::size_t max_per_block = (format.block_align - header_bytes) * 2 / channels + 2;
  if (format.samples_per_block < 2 || format.samples_per_block > max_per_block) {
    in.FailAt(wav.data_offset, "MS-ADPCM samples per block do not fit the block size");
  }
  const std::size_t blocks = (wav.data.size() + format.block_align - 1) / format.block_align;
  out.reserve(blocks * format.samples_per_block * channels);
  for (std::size_t at = 0; at < wav.data.size(); at += format.block_align) {
    const std::size_t size = std::min<std::size_t>(format.block_align, wav.data.size() - at);
    if (size < header_bytes) break;  // a torn last block carries no samples
    DecodeBlock(in, wav, wav.data.subspan(at, size), out);
  }
}

}  // namespace rirerazo::acs::detail
