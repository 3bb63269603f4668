#include "voice/wave_file.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "runtime/speech_recognizer.h"

namespace rirerazo::voice {

namespace {

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
  return std::uint32_t(std::uint8_t(bytes[at])) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(bytes[at + 2])) << 16 |
         std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
}

std::uint16_t Le16(const std::string& bytes, std::size_t at) {
  return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
}

struct Format {
  int channels = 0;
  int rate_hz = 0;
  int bits = 0;
  int tag = 0;
};

}  // namespace

std::vector<std::int16_t> ResampleTo16k(const std::vector<std::int16_t>& mono, int rate_hz) {
  const int target = runtime::kRecognizerSampleRateHz;
  if (rate_hz == target || mono.empty()) return mono;
  std::size_t count = std::size_t(double(mono.size()) * target / rate_hz);
  std::vector<std::int16_t> out(count);
  for (std::size_t i = 0; i < count; ++i) {
    double at = double(i) * rate_hz / target;
    std::size_t left = std::size_t(at);
    std::size_t right = std::min(left + 1, mono.size() - 1);
    double weight = at - double(left);
    out[i] = std::int16_t(mono[left] * (1.0 - weight) + mono[right] * weight);
  }
  return out;
}

std::optional<std::vector<std::int16_t>> ReadSpeechWave(const std::string& path,
                                                        std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<std::vector<std::int16_t>> {
    if (error) *error = path + ": " + why;
    return std::nullopt;
  };
  std::ifstream in(path, std::ios::binary);
  if (!in) return fail("cannot be read");
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    return fail("is not a wave file");
  }
  Format format;
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    std::string id = bytes.substr(at, 4);
    std::size_t size = Le32(bytes, at + 4);
    std::size_t body = at + 8;
    std::size_t available = std::min(size, bytes.size() - body);
    if (id == "fmt " && available >= 16) {
      format = {Le16(bytes, body + 2), int(Le32(bytes, body + 4)), Le16(bytes, body + 14),
                Le16(bytes, body)};
    } else if (id == "data") {
      if (format.tag != 1 || format.bits != 16 || format.channels < 1 || format.rate_hz < 1000) {
        return fail("is not 16-bit PCM");
      }
      std::size_t frames = available / (2 * std::size_t(format.channels));
      std::vector<std::int16_t> mono(frames);
      for (std::size_t f = 0; f < frames; ++f) {
        int sum = 0;
        for (int c = 0; c < format.channels; ++c) {
          sum += std::int16_t(Le16(bytes, body + (f * format.channels + c) * 2));
        }
        mono[f] = std::int16_t(sum / format.channels);
      }
      return ResampleTo16k(mono, format.rate_hz);
    }
    at = body + size + (size & 1);
  }
  return fail("has no sound data");
}

}  // namespace rirerazo::voice
