#include "host/media_header.h"

#include <algorithm>
#include <map>
#include <vector>

namespace rirerazo::host {

namespace {

std::uint32_t Le32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

std::uint32_t Be(std::string_view b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

struct Chunk {
  std::string_view id;
  std::string_view data;  // cut at the end of the file when the size says more
};

// The chunks of a RIFF list body, in order; stops at the first header that does not fit.
std::vector<Chunk> RiffChunks(std::string_view body) {
  std::vector<Chunk> chunks;
  std::size_t at = 0;
  while (at + 8 <= body.size()) {
    const std::uint64_t size = Le32(body, at + 4);
    const std::size_t available = body.size() - (at + 8);
    chunks.push_back(
        {body.substr(at, 4), body.substr(at + 8, std::min<std::uint64_t>(size, available))});
    at += 8 + static_cast<std::size_t>(std::min<std::uint64_t>(size + (size & 1), available));
  }
  return chunks;
}

// The body of a RIFF file of `form` ("WAVE", "AVI "), or none.
std::optional<std::string_view> RiffBody(std::string_view bytes, std::string_view form) {
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != form) {
    return std::nullopt;
  }
  return bytes.substr(12);
}

std::optional<std::int64_t> WaveLength(std::string_view bytes) {
  const auto body = RiffBody(bytes, "WAVE");
  if (!body) return std::nullopt;
  std::optional<std::uint32_t> byte_rate;
  for (const Chunk& chunk : RiffChunks(*body)) {
    if (chunk.id == "fmt " && chunk.data.size() >= 16) byte_rate = Le32(chunk.data, 8);
    if (chunk.id == "data" && byte_rate && *byte_rate != 0) {
      return static_cast<std::int64_t>(chunk.data.size()) * 1000 / *byte_rate;
    }
  }
  return std::nullopt;
}

std::optional<std::int64_t> AviLength(std::string_view bytes) {
  const auto body = RiffBody(bytes, "AVI ");
  if (!body) return std::nullopt;
  for (const Chunk& list : RiffChunks(*body)) {
    if (list.id != "LIST" || list.data.size() < 4 || list.data.substr(0, 4) != "hdrl") continue;
    for (const Chunk& chunk : RiffChunks(list.data.substr(4))) {
      if (chunk.id == "avih" && chunk.data.size() >= 20) {
        const std::uint64_t us = std::uint64_t{Le32(chunk.data, 0)} * Le32(chunk.data, 16);
        return static_cast<std::int64_t>(us / 1000);
      }
    }
  }
  return std::nullopt;
}

// Reads one track's events: the tick of its end and its tempo changes (tick -> us per
// quarter note). False when the track is malformed.
class MidiTrack {
 public:
  explicit MidiTrack(std::string_view data) : data_(data) {}

  bool Read(std::map<std::uint64_t, std::uint32_t>& tempos, std::uint64_t& end_tick) {
    std::uint8_t status = 0;
    std::uint64_t tick = 0;
    while (at_ < data_.size()) {
      std::uint32_t delta = 0;
      if (!VarLen(delta)) return false;
      tick += delta;
      if (at_ >= data_.size()) return false;
      const auto lead = static_cast<std::uint8_t>(data_[at_]);
      if (lead >= 0x80) ++at_, status = lead;
      if (status == 0) return false;  // data bytes before any status
      if (status == 0xFF) {
        if (at_ >= data_.size()) return false;
        const auto type = static_cast<std::uint8_t>(data_[at_++]);
        std::uint32_t length = 0;
        if (!VarLen(length) || length > data_.size() - at_) return false;
        if (type == 0x51 && length == 3) tempos[tick] = Be(data_, at_, 3);
        at_ += length;
        status = 0;
        if (type == 0x2F) break;
      } else if (status == 0xF0 || status == 0xF7) {
        std::uint32_t length = 0;
        if (!VarLen(length) || length > data_.size() - at_) return false;
        at_ += length;
        status = 0;
      } else {
        const std::size_t data_bytes = (status & 0xE0) == 0xC0 ? 1 : 2;
        if (data_bytes > data_.size() - at_) return false;
        at_ += data_bytes;
      }
    }
    end_tick = tick;
    return true;
  }

 private:
  bool VarLen(std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (at_ >= data_.size()) return false;
      const auto byte = static_cast<std::uint8_t>(data_[at_++]);
      value = (value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }

  std::string_view data_;
  std::size_t at_ = 0;
};

// Microseconds from tick 0 to `end_tick` through the tempo map (default 120 beats/min).
double TicksToUs(std::uint64_t end_tick, const std::map<std::uint64_t, std::uint32_t>& tempos,
                 std::uint32_t ticks_per_quarter) {
  double us = 0;
  std::uint64_t tick = 0;
  std::uint32_t tempo = 500000;
  for (const auto& [at, next] : tempos) {
    if (at >= end_tick) break;
    us += static_cast<double>(at - tick) * tempo / ticks_per_quarter;
    tick = at;
    tempo = next;
  }
  return us + static_cast<double>(end_tick - tick) * tempo / ticks_per_quarter;
}

std::optional<std::int64_t> MidiLength(std::string_view bytes) {
  if (bytes.size() < 14 || bytes.substr(0, 4) != "MThd" || Be(bytes, 4, 4) < 6) return std::nullopt;
  const std::uint32_t header_size = Be(bytes, 4, 4);
  const std::uint32_t division = Be(bytes, 12, 2);
  if (division == 0 || header_size > bytes.size() - 8) return std::nullopt;
  std::map<std::uint64_t, std::uint32_t> tempos;
  std::uint64_t end_tick = 0;
  int tracks = 0;
  for (std::size_t at = 8 + header_size; at + 8 <= bytes.size();) {
    const std::uint32_t size = Be(bytes, at + 4, 4);
    if (size > bytes.size() - at - 8) return std::nullopt;
    if (bytes.substr(at, 4) == "MTrk") {
      std::uint64_t track_end = 0;
      if (!MidiTrack(bytes.substr(at + 8, size)).Read(tempos, track_end)) return std::nullopt;
      end_tick = std::max(end_tick, track_end);
      ++tracks;
    }
    at += 8 + size;
  }
  if (tracks == 0) return std::nullopt;
  if (division & 0x8000) {  // frames per second and ticks per frame: no tempo map applies
    const int fps = -static_cast<std::int8_t>(division >> 8);
    const int per_frame = division & 0xFF;
    if (fps <= 0 || per_frame == 0) return std::nullopt;
    return static_cast<std::int64_t>(std::min<std::uint64_t>(end_tick, 1ULL << 40) * 1000 /
                                     (static_cast<std::uint64_t>(fps) * per_frame));
  }
  // A forged file may claim years of ticks at the slowest tempo; a day is plenty.
  constexpr double kLongestMs = 24.0 * 3600 * 1000;
  return static_cast<std::int64_t>(
      std::min(TicksToUs(end_tick, tempos, division) / 1000, kLongestMs));
}

}  // namespace

std::optional<std::int64_t> MediaLengthMs(MediaKind kind, std::string_view bytes) {
  switch (kind) {
    case MediaKind::kWave:
      return WaveLength(bytes);
    case MediaKind::kMidi:
      return MidiLength(bytes);
    case MediaKind::kAvi:
      return AviLength(bytes);
  }
  return std::nullopt;
}

}  // namespace rirerazo::host
