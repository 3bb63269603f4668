// Sounds: a RIFF/WAVE file per sound, decoded to 16-bit PCM on request.
#include "runtime/acs/private/wav_reader.h"

#include <cstring>

#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"
#include "runtime/acs/private/stored_data.h"

namespace rirerazo::acs {

namespace detail {

namespace {

constexpr std::uint16_t kMaxChannels = 8;

bool IsId(std::span<const std::uint8_t> bytes, const char* id) {
  return std::memcmp(bytes.data(), id, 4) == 0;
}

void ReadAdpcmExtra(ByteReader& in, std::uint64_t chunk_end, WavFormat& format) {
  if (chunk_end - in.Offset() < 6) in.Fail("MS-ADPCM format lacks its coefficients");
  in.Skip(2);  // size of the extra bytes
  format.samples_per_block = in.U16();
  format.coefficients.resize(in.Count(in.U16(), 4, "coefficient"));
  for (auto& [first, second] : format.coefficients) {
    first = in.I16();
    second = in.I16();
  }
  if (in.Offset() > chunk_end) in.Fail("MS-ADPCM coefficients run past the format chunk");
}

WavFormat ReadFormat(ByteReader& in, std::uint64_t chunk_end) {
  if (chunk_end - in.Offset() < 16) in.Fail("format chunk is too short");
  WavFormat format;
  format.tag = in.U16();
  format.channels = in.U16();
  format.sample_rate_hz = in.U32();
  in.Skip(4);  // bytes per second
  format.block_align = in.U16();
  format.bits_per_sample = in.U16();
  if (format.channels == 0 || format.channels > kMaxChannels || format.block_align == 0) {
    in.Fail("unusable channel count or block size");
  }
  if (format.tag == kWaveMsAdpcm) ReadAdpcmExtra(in, chunk_end, format);
  return format;
}

}  // namespace

WavContents ReadWavChunks(ByteReader& in) {
  const std::span<const std::uint8_t> riff = in.Bytes(12);
  if (!IsId(riff, "RIFF") || !IsId(riff.subspan(8), "WAVE"))
    in.FailAt(in.Offset() - 12, "not a WAVE file");
  WavContents wav;
  bool have_format = false, have_data = false;
  while (in.Remaining() >= 8 && !(have_format && have_data)) {
    const std::span<const std::uint8_t> id = in.Bytes(4);
    const std::uint32_t size = in.U32();
    const std::uint64_t start = in.Offset();
    if (size > in.Remaining()) in.Fail("chunk runs past the end of the sound");
    if (IsId(id, "fmt ")) {
      wav.format = ReadFormat(in, start + size);
      have_format = true;
    } else if (IsId(id, "data")) {
      wav.data_offset = start;
      wav.data = in.Bytes(size);
      have_data = true;
    } else if (IsId(id, "fact") && size >= 4) {
      wav.fact_frames = in.U32();
    }
    in.Skip(std::size_t(start + size - in.Offset()));
    if (size % 2 != 0 && in.Remaining() > 0) in.Skip(1);  // chunks are padded to even sizes
  }
  if (!have_format || !have_data) in.Fail("WAVE file lacks a format or data chunk");
  return wav;
}

namespace {

void DecodePcm(ByteReader& in, const WavContents& wav, std::vector<std::int16_t>& out) {
  const WavFormat& format = wav.format;
  if (format.bits_per_sample != 8 && format.bits_per_sample != 16) {
    in.FailAt(wav.data_offset,
              "unsupported PCM sample size of " + std::to_string(format.bits_per_sample) + " bits");
  }
  const std::size_t bytes_per_sample = format.bits_per_sample / 8;
  const std::size_t frame_bytes = bytes_per_sample * format.channels;
  const std::size_t count = wav.data.size() / frame_bytes * format.channels;
  out.resize(count);
  const std::uint8_t* p = wav.data.data();
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = bytes_per_sample == 1 ? std::int16_t((int(p[i]) - 128) * 256)
                                   : std::int16_t(p[2 * i] | (p[2 * i + 1] << 8));
  }
}

PcmSound DecodeWavIn(ByteReader& in) {
  const WavContents wav = ReadWavChunks(in);
  PcmSound sound;
  sound.sample_rate_hz = wav.format.sample_rate_hz;
  sound.channels = wav.format.channels;
  if (wav.format.tag == kWavePcm) {
    DecodePcm(in, wav, sound.samples);
  } else if (wav.format.tag == kWaveMsAdpcm) {
    DecodeMsAdpcm(in, wav, sound.samples);
  } else {
    in.FailAt(wav.data_offset, "unsupported sound format " + std::to_string(wav.format.tag));
  }
  if (wav.fact_frames && std::uint64_t(*wav.fact_frames) * sound.channels < sound.samples.size()) {
    sound.samples.resize(std::size_t(*wav.fact_frames) * sound.channels);
  }
  return sound;
}

}  // namespace

}  // namespace detail

PcmSound DecodeWav(std::span<const std::uint8_t> wav, std::string_view source_name) {
  detail::ByteReader in(wav, {0, std::uint32_t(wav.size())}, source_name, "sound");
  return detail::DecodeWavIn(in);
}

std::span<const std::uint8_t> Character::SoundBytes(std::size_t sound_index) const {
  if (sound_index >= sounds.size()) {
    throw RuntimeError(err::kSubscriptOutOfRange,
                       "sound " + std::to_string(sound_index) + " does not exist");
  }
  if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&sounds[sound_index].wav)) {
    return *bytes;
  }
  return detail::StoredBytes(*this, std::get<FileRange>(sounds[sound_index].wav),
                             "sound " + std::to_string(sound_index));
}

PcmSound Character::DecodeSound(std::size_t sound_index) const {
  const std::span<const std::uint8_t> bytes = SoundBytes(sound_index);
  const auto* range = std::get_if<FileRange>(&sounds[sound_index].wav);
  // Read through the whole file when the sound lies in it, so offsets in messages are the
  // file's own.
  const std::span<const std::uint8_t> whole = range ? *file_bytes : bytes;
  const FileRange where = range ? *range : FileRange{0, std::uint32_t(bytes.size())};
  detail::ByteReader in(whole, where, source_name, "sound " + std::to_string(sound_index));
  return detail::DecodeWavIn(in);
}

}  // namespace rirerazo::acs
