#include "runtime/acs/writer/wav_writer.h"

#include <limits>

#include "platform/runtime_error.h"
#include "runtime/acs/writer/private/byte_writer.h"

namespace rirerazo::acs {
namespace {

void Tag(writer::ByteWriter& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.U8(static_cast<std::uint8_t>(tag[i]));
}

void CheckFormat(const PcmSound& sound, int bits_per_sample) {
  if (bits_per_sample != 8 && bits_per_sample != 16) {
    throw RuntimeError(err::kInvalidProcedureCall, "WAV sample depth must be 8 or 16 bits");
  }
  if (sound.channels == 0 || sound.sample_rate_hz == 0) {
    throw RuntimeError(err::kInvalidProcedureCall, "WAV needs a sample rate and a channel");
  }
  const std::size_t data_bytes = sound.samples.size() * (bits_per_sample / 8);
  if (data_bytes > std::numeric_limits<std::uint32_t>::max() - 64) {
    throw RuntimeError(err::kOverflow, "sound too long for a WAV file");
  }
}

}  // namespace

std::vector<std::uint8_t> MakePcmWav(const PcmSound& sound, int bits_per_sample) {
  CheckFormat(sound, bits_per_sample);
  const std::uint32_t bytes_per_sample = bits_per_sample / 8;
  const auto data_bytes = static_cast<std::uint32_t>(sound.samples.size() * bytes_per_sample);
  const std::uint32_t block_align = sound.channels * bytes_per_sample;
  writer::ByteWriter out;
  Tag(out, "RIFF");
  out.U32(36 + data_bytes + (data_bytes & 1));
  Tag(out, "WAVE");
  Tag(out, "fmt ");
  out.U32(16);
  out.U16(1);  // PCM
  out.U16(sound.channels);
  out.U32(sound.sample_rate_hz);
  out.U32(sound.sample_rate_hz * block_align);
  out.U16(static_cast<std::uint16_t>(block_align));
  out.U16(static_cast<std::uint16_t>(bits_per_sample));
  Tag(out, "data");
  out.U32(data_bytes);
  for (std::int16_t sample : sound.samples) {
    if (bits_per_sample == 8) {
      out.U8(static_cast<std::uint8_t>((sample >> 8) + 128));
    } else {
      out.I16(sample);
    }
  }
  if (data_bytes & 1) out.U8(0);  // chunks are padded to an even size
  return std::move(out.Data());
}

}  // namespace rirerazo::acs
