#include "runtime/private/wav_info.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace rirerazo::runtime {

namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

// The header and chunk directory are at the start; the data chunk's size is in its header,
// so a short prefix of the file is enough.
constexpr std::size_t kHeaderBytes = 64 * 1024;

}  // namespace

std::optional<std::int64_t> WavBytesDurationMs(const std::uint8_t* bytes, std::size_t size) {
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  std::uint32_t byte_rate = 0;
  std::size_t pos = 12;
  while (pos + 8 <= size) {
    const std::uint8_t* chunk = bytes + pos;
    std::uint32_t chunk_size = ReadU32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && pos + 8 + 12 <= size) byte_rate = ReadU32(chunk + 16);
    if (std::memcmp(chunk, "data", 4) == 0) {
      if (byte_rate == 0) return std::nullopt;
      return std::int64_t(chunk_size) * 1000 / byte_rate;
    }
    pos += 8 + std::size_t(chunk_size) + (chunk_size & 1);
  }
  return std::nullopt;
}

std::optional<std::int64_t> WavDurationMs(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> header(kHeaderBytes);
  file.read(reinterpret_cast<char*>(header.data()), std::streamsize(header.size()));
  return WavBytesDurationMs(header.data(), std::size_t(file.gcount()));
}

}  // namespace rirerazo::runtime
