// Small media and picture files built in memory for tests: wave, standard MIDI and video
// files with exact lengths, and pictures of any size in BMP, PNG, GIF and JPEG.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace rirerazo::testing {

using Bytes = std::vector<std::uint8_t>;

inline std::string AsText(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

inline void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(v & 0xff);
  b.push_back((v >> 8) & 0xff);
}
inline void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xffff);
  Put16(b, v >> 16);
}
inline void PutBe32(Bytes& b, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back((v >> shift) & 0xff);
}
inline void PutText(Bytes& b, const std::string& text) {
  b.insert(b.end(), text.begin(), text.end());
}

// A mono 8-bit PCM wave file at 8000 bytes per second lasting `duration_ms`, with an extra
// chunk before the data to check that chunks are walked, not assumed.
inline Bytes WaveFile(std::uint32_t duration_ms) {
  const std::uint32_t data_size = duration_ms * 8;
  Bytes b;
  PutText(b, "RIFF");
  Put32(b, 4 + 8 + 16 + 8 + 4 + 8 + data_size);
  PutText(b, "WAVEfmt ");
  Put32(b, 16);
  Put16(b, 1);     // PCM
  Put16(b, 1);     // mono
  Put32(b, 8000);  // samples per second
  Put32(b, 8000);  // bytes per second
  Put16(b, 1);     // block align
  Put16(b, 8);     // bits per sample
  PutText(b, "LIST");
  Put32(b, 3);
  PutText(b, "abc");
  b.push_back(0);  // pad byte of the odd-sized chunk
  PutText(b, "data");
  Put32(b, data_size);
  b.insert(b.end(), data_size, 0x80);
  return b;
}

inline void PutVarLen(Bytes& b, std::uint32_t v) {
  Bytes groups{static_cast<std::uint8_t>(v & 0x7f)};
  while (v >>= 7) groups.insert(groups.begin(), static_cast<std::uint8_t>(0x80 | (v & 0x7f)));
  b.insert(b.end(), groups.begin(), groups.end());
}

// A format-1 MIDI file, 480 ticks per quarter note: the first track sets the tempo to
// `tempo_us` per quarter note and changes it to twice as fast after `first_ticks`; the
// second track holds one note lasting `note_ticks` (with a running-status note-off).
inline Bytes MidiFile(std::uint32_t tempo_us, std::uint32_t first_ticks, std::uint32_t note_ticks) {
  Bytes tempo_track, note_track;
  auto tempo = [&](std::uint32_t delta, std::uint32_t us) {
    PutVarLen(tempo_track, delta);
    tempo_track.insert(tempo_track.end(),
                       {0xff, 0x51, 0x03, static_cast<std::uint8_t>(us >> 16),
                        static_cast<std::uint8_t>(us >> 8), static_cast<std::uint8_t>(us)});
  };
  tempo(0, tempo_us);
  tempo(first_ticks, tempo_us / 2);
  tempo_track.insert(tempo_track.end(), {0x00, 0xff, 0x2f, 0x00});
  note_track.insert(note_track.end(), {0x00, 0xf0, 0x02, 0x7e, 0xf7});  // a short sysex
  note_track.insert(note_track.end(), {0x00, 0x90, 60, 100});
  PutVarLen(note_track, note_ticks);
  note_track.insert(note_track.end(), {60, 0, 0x00, 0xff, 0x2f, 0x00});
  Bytes b;
  PutText(b, "MThd");
  PutBe32(b, 6);
  b.insert(b.end(), {0, 1, 0, 2, 0x01, 0xe0});
  for (const Bytes* track : {&tempo_track, &note_track}) {
    PutText(b, "MTrk");
    PutBe32(b, static_cast<std::uint32_t>(track->size()));
    b.insert(b.end(), track->begin(), track->end());
  }
  return b;
}

// A video file header of `frames` frames at `frame_us` microseconds each.
inline Bytes AviFile(std::uint32_t frames, std::uint32_t frame_us) {
  Bytes avih;
  Put32(avih, frame_us);
  for (int i = 0; i < 3; ++i) Put32(avih, 0);
  Put32(avih, frames);
  for (int i = 0; i < 9; ++i) Put32(avih, 0);
  Bytes b;
  PutText(b, "RIFF");
  Put32(b, 4 + 12 + 8 + static_cast<std::uint32_t>(avih.size()));
  PutText(b, "AVI LIST");
  Put32(b, 4 + 8 + static_cast<std::uint32_t>(avih.size()));
  PutText(b, "hdrlavih");
  Put32(b, static_cast<std::uint32_t>(avih.size()));
  b.insert(b.end(), avih.begin(), avih.end());
  return b;
}

// A 1-bit BMP of any size, all white (small even for screen-sized pictures).
inline Bytes BmpFile(std::uint32_t width, std::uint32_t height) {
  const std::uint32_t row = ((width + 31) / 32) * 4;
  const std::uint32_t pixels = row * height;
  Bytes b;
  PutText(b, "BM");
  Put32(b, 14 + 40 + 8 + pixels);
  Put32(b, 0);
  Put32(b, 14 + 40 + 8);
  Put32(b, 40);
  Put32(b, width);
  Put32(b, height);
  Put16(b, 1);
  Put16(b, 1);
  for (std::uint32_t v : {0u, pixels, 2835u, 2835u, 2u, 0u}) Put32(b, v);
  Put32(b, 0);         // palette: black
  Put32(b, 0xffffff);  // white
  b.insert(b.end(), pixels, 0xff);
  return b;
}

// A 1 x 1 GIF (one red pixel) and a 3 x 2 grey JPEG.
inline Bytes GifFile() {
  return {'G', 'I',  'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0,    0,    0xff, 0,    0,    0,   0,
          0,   0x2c, 0,   0,   0,   0,   1, 0, 1, 0, 0,    0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};
}

inline Bytes JpegFile() {
  return {0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00,
          0x01, 0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x10, 0x0b, 0x0c, 0x0e, 0x0c,
          0x0a, 0x10, 0x0e, 0x0d, 0x0e, 0x12, 0x11, 0x10, 0x13, 0x18, 0x28, 0x1a, 0x18, 0x16, 0x16,
          0x18, 0x31, 0x23, 0x25, 0x1d, 0x28, 0x3a, 0x33, 0x3d, 0x3c, 0x39, 0x33, 0x38, 0x37, 0x40,
          0x48, 0x5c, 0x4e, 0x40, 0x44, 0x57, 0x45, 0x37, 0x38, 0x50, 0x6d, 0x51, 0x57, 0x5f, 0x62,
          0x67, 0x68, 0x67, 0x3e, 0x4d, 0x71, 0x79, 0x70, 0x64, 0x78, 0x5c, 0x65, 0x67, 0x63, 0xff,
          0xc0, 0x00, 0x0b, 0x08, 0x00, 0x02, 0x00, 0x03, 0x01, 0x01, 0x11, 0x00, 0xff, 0xc4, 0x00,
          0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
          0x00, 0x00, 0x00, 0x06, 0xff, 0xc4, 0x00, 0x1a, 0x10, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00,
          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x05, 0x06, 0x36,
          0x73, 0xb1, 0xff, 0xda, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3f, 0x00, 0x50, 0xd1, 0x8b,
          0xa7, 0x54, 0x5a, 0x3f, 0xff, 0xd9};
}

inline std::uint32_t Crc32(const Bytes& data, std::size_t from) {
  std::uint32_t crc = 0xffffffff;
  for (std::size_t i = from; i < data.size(); ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
  }
  return ~crc;
}

inline void PngChunk(Bytes& png, const std::string& type, const Bytes& data) {
  PutBe32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  PutText(png, type);
  png.insert(png.end(), data.begin(), data.end());
  PutBe32(png, Crc32(png, start));
}

// A grey PNG of any size up to 65535 pixels wide, with uncompressed deflate blocks.
inline Bytes PngFile(std::uint32_t width, std::uint32_t height) {
  Bytes raw;
  for (std::uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    raw.insert(raw.end(), width, 0x80);
  }
  Bytes z{0x78, 0x01};
  for (std::size_t pos = 0; pos < raw.size() || pos == 0;) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
    z.push_back(pos + n == raw.size() ? 1 : 0);
    Put16(z, static_cast<std::uint32_t>(n));
    Put16(z, static_cast<std::uint32_t>(~n & 0xffff));
    z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
    pos += n;
    if (n == 0) break;
  }
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  PutBe32(z, (b << 16) | a);
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  Bytes header;
  PutBe32(header, width);
  PutBe32(header, height);
  header.insert(header.end(), {8, 0, 0, 0, 0});  // 8-bit grey
  PngChunk(png, "IHDR", header);
  PngChunk(png, "IDAT", z);
  PngChunk(png, "IEND", {});
  return png;
}

}  // namespace rirerazo::testing
