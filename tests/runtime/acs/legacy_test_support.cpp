#include "legacy_test_support.h"

#include <algorithm>

#include "runtime/acs/writer/image_encoder.h"

namespace rirerazo::acs::testing {

namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kShortSector = 64;
constexpr std::size_t kCutoff = 4096;
constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;

struct Sink {
  std::vector<std::uint8_t> bytes;
  void U8(std::uint32_t v) { bytes.push_back(std::uint8_t(v)); }
  void U16(std::uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(std::uint32_t v) {
    U16(v);
    U16(v >> 16);
  }
  void Raw(const std::vector<std::uint8_t>& b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
  void Fill(std::size_t n, std::uint8_t v) { bytes.insert(bytes.end(), n, v); }
  // A string in the older layout: count, units, no terminator.
  void Text(const std::string& ascii, bool single_byte = false) {
    U32(std::uint32_t(ascii.size()));
    for (const char c : ascii) single_byte ? U8(std::uint8_t(c)) : U16(std::uint8_t(c));
  }
};

std::size_t SectorsFor(std::size_t bytes, std::size_t unit) {
  return (bytes + unit - 1) / unit;
}

// Chains `count` consecutive entries starting at `first` in a table.
void ChainRun(std::vector<std::uint32_t>& table, std::size_t first, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    table[first + i] = i + 1 < count ? std::uint32_t(first + i + 1) : kEnd;
  }
}

void DirectoryEntry(Sink& dir, const std::string& name, std::uint8_t type, std::uint32_t right,
                    std::uint32_t child, std::uint32_t start, std::uint32_t size) {
  Sink entry;
  for (const char c : name) entry.U16(std::uint8_t(c));
  entry.Fill(64 - entry.bytes.size(), 0);
  entry.U16(std::uint32_t(name.size() + 1) * 2);
  entry.U8(type);
  entry.U8(1);  // black
  entry.U32(kFree);
  entry.U32(right);
  entry.U32(child);
  entry.Fill(16 + 4 + 16, 0);  // class id, state bits, times
  entry.U32(start);
  entry.U32(size);
  entry.U32(0);
  dir.Raw(entry.bytes);
}

std::vector<std::uint8_t> Wav() {
  Sink w;
  for (const char c : std::string("RIFF")) w.U8(std::uint8_t(c));
  w.U32(36 + 4);
  for (const char c : std::string("WAVEfmt ")) w.U8(std::uint8_t(c));
  w.U32(16);
  w.U16(1);
  w.U16(1);
  w.U32(8000);
  w.U32(8000);
  w.U16(1);
  w.U16(8);
  for (const char c : std::string("data")) w.U8(std::uint8_t(c));
  w.U32(4);
  w.Raw({0x80, 0xFF, 0x80, 0x00});
  return w.bytes;
}

std::vector<std::uint8_t> Header(bool single_byte) {
  Sink h;
  h.U32(0x1001F);
  h.U16(2);
  h.Text("Show");
  h.Text("anim1.aaf");
  h.Text("");
  h.U32(101);
  h.Text("Speak");
  h.Text("anim2.aaf");
  h.Text("Show");
  h.U32(102);
  for (int i = 0; i < 16; ++i) h.U8(0x10 + i);  // identity
  h.Text("Tiny", single_byte);
  h.Text("A small test character", single_byte);
  h.Text("Hi^^Bye", single_byte);
  h.U16(4);  // width
  h.U16(2);  // height
  h.U8(0);   // transparent index
  h.U32(0x220);
  h.Fill(32, 0x33);  // voice engine and mode
  h.U32(150);
  h.U16(100);
  h.U8(3);
  h.U8(30);
  h.U32(0x000000);
  h.U32(0xE1FFFF);
  h.U32(0x000000);
  h.Text("Arial", single_byte);
  h.U32(std::uint32_t(-12));
  h.U32(700);
  h.U8(0);
  h.U8(0);
  h.U32(4);  // palette, B G R 0
  for (std::uint32_t c : {0x00FF00FFu, 0x000000FFu, 0x0000FF00u, 0x00FF0000u}) h.U32(c);
  h.U16(2);
  h.Text("Showing");
  h.U16(1);
  h.Text("Show");
  h.Text("Speaking");
  h.U16(1);
  h.Text("Speak");
  return h.bytes;
}

// A 4x2 image, bottom row first, rows padded to 4 bytes; `top` fills the top row.
void Image(Sink& a, std::uint8_t top, std::uint8_t bottom) {
  a.U32(8);
  a.U8(0);
  a.Fill(4, bottom);
  a.Fill(4, top);
  a.U32(0);  // no stored region: computed from the pixels
}

std::vector<std::uint8_t> ShowAnimation() {
  Sink a;
  a.U16(1);
  const std::vector<std::uint8_t> wav = Wav();
  a.U32(std::uint32_t(wav.size()));
  a.Raw(wav);
  a.U16(2);
  Image(a, 1, 0);
  Image(a, 2, 3);
  a.U16(2);
  for (std::uint16_t i = 0; i < 2; ++i) {
    a.U16(i);                    // image
    a.U16(i == 0 ? 0 : 0xFFFF);  // sound
    a.U16(10);                   // duration
    a.U16(0);
    a.U16(0);
    a.U8(i == 1 ? 1 : 0);  // the last frame loops back half the time
    if (i == 1) {
      a.U16(0);
      a.U16(50);
    }
    a.U8(0);
  }
  return a.bytes;
}

std::vector<std::uint8_t> SpeakAnimation() {
  Sink a;
  a.U16(0);
  a.U16(1);
  Image(a, 1, 1);
  a.U16(1);
  a.U16(0);
  a.U16(0xFFFF);
  a.U16(20);
  a.U16(0);
  a.U16(0);
  a.U8(0);
  a.U8(2);
  for (std::uint8_t shape : {0, 3}) {
    a.U8(shape);
    a.U32(4);  // 2x1, padded to 4
    a.U8(0);
    a.U16(1);  // x
    a.U16(1);  // y
    a.U16(2);
    a.U16(1);
    a.Raw({std::uint8_t(2 + shape / 3), std::uint8_t(2 + shape / 3), 0, 0});
  }
  return a.bytes;
}

}  // namespace

std::vector<std::uint8_t> BuildCompoundFile(const std::vector<NamedStream>& streams) {
  // Short streams first into the short-stream area.
  std::vector<std::uint8_t> short_area;
  std::vector<std::uint32_t> short_table;
  std::vector<std::uint32_t> starts(streams.size(), kEnd);
  std::size_t regular_sectors = 0;
  for (std::size_t i = 0; i < streams.size(); ++i) {
    const std::size_t size = streams[i].bytes.size();
    if (size >= kCutoff) {
      regular_sectors += SectorsFor(size, kSector);
      continue;
    }
    if (size == 0) continue;
    starts[i] = std::uint32_t(short_table.size());
    const std::size_t count = SectorsFor(size, kShortSector);
    short_table.resize(short_table.size() + count);
    ChainRun(short_table, starts[i], count);
    short_area.insert(short_area.end(), streams[i].bytes.begin(), streams[i].bytes.end());
    short_area.resize(short_table.size() * kShortSector, 0);
  }
  const std::size_t dir_sectors = SectorsFor((streams.size() + 1) * 128, kSector);
  const std::size_t short_table_sectors = SectorsFor(short_table.size() * 4, kSector);
  const std::size_t short_area_sectors = SectorsFor(short_area.size(), kSector);
  const std::size_t other =
      dir_sectors + short_table_sectors + short_area_sectors + regular_sectors;
  std::size_t table_sectors = 1;
  while (table_sectors * (kSector / 4) < table_sectors + other) ++table_sectors;
  std::vector<std::uint32_t> table(table_sectors * (kSector / 4), kFree);
  for (std::size_t i = 0; i < table_sectors; ++i) table[i] = 0xFFFFFFFD;
  std::size_t next = table_sectors;
  const std::size_t dir_start = next;
  ChainRun(table, next, dir_sectors);
  next += dir_sectors;
  const std::size_t short_table_start = short_table_sectors ? next : kEnd;
  ChainRun(table, next, short_table_sectors);
  next += short_table_sectors;
  const std::size_t short_area_start = short_area_sectors ? next : kEnd;
  ChainRun(table, next, short_area_sectors);
  next += short_area_sectors;
  for (std::size_t i = 0; i < streams.size(); ++i) {
    if (streams[i].bytes.size() < kCutoff) continue;
    starts[i] = std::uint32_t(next);
    const std::size_t count = SectorsFor(streams[i].bytes.size(), kSector);
    ChainRun(table, next, count);
    next += count;
  }

  Sink file;
  file.Raw({0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1});
  file.Fill(16, 0);
  file.U16(0x3E);
  file.U16(3);
  file.U16(0xFFFE);
  file.U16(9);
  file.U16(6);
  file.Fill(6, 0);
  file.U32(0);
  file.U32(std::uint32_t(table_sectors));
  file.U32(std::uint32_t(dir_start));
  file.U32(0);
  file.U32(std::uint32_t(kCutoff));
  file.U32(std::uint32_t(short_table_start));
  file.U32(std::uint32_t(short_table_sectors));
  file.U32(kEnd);
  file.U32(0);
  for (std::size_t i = 0; i < 109; ++i) file.U32(i < table_sectors ? std::uint32_t(i) : kFree);
  for (const std::uint32_t entry : table) file.U32(entry);
  Sink dir;
  DirectoryEntry(dir, "Root Entry", 5, kFree, streams.empty() ? kFree : 1,
                 std::uint32_t(short_area_start), std::uint32_t(short_area.size()));
  for (std::size_t i = 0; i < streams.size(); ++i) {
    DirectoryEntry(dir, streams[i].name, 2, i + 1 < streams.size() ? std::uint32_t(i + 2) : kFree,
                   kFree, starts[i], std::uint32_t(streams[i].bytes.size()));
  }
  dir.bytes.resize(dir_sectors * kSector, 0);
  file.Raw(dir.bytes);
  Sink short_table_bytes;
  for (const std::uint32_t entry : short_table) short_table_bytes.U32(entry);
  short_table_bytes.bytes.resize(short_table_sectors * kSector, 0xFF);
  file.Raw(short_table_bytes.bytes);
  short_area.resize(short_area_sectors * kSector, 0);
  file.Raw(short_area);
  for (const NamedStream& stream : streams) {
    if (stream.bytes.size() < kCutoff) continue;
    file.Raw(stream.bytes);
    file.bytes.resize(SectorsFor(file.bytes.size(), kSector) * kSector, 0);
  }
  return file.bytes;
}

CompoundLayout CompoundLayoutOf(const std::vector<std::uint8_t>& file) {
  auto u32 = [&](std::size_t at) {
    return std::uint32_t(file[at]) | (std::uint32_t(file[at + 1]) << 8) |
           (std::uint32_t(file[at + 2]) << 16) | (std::uint32_t(file[at + 3]) << 24);
  };
  return {u32(0x2C), u32(0x30)};
}

LegacyParts TinyLegacyCharacter(bool single_byte_text) {
  return {Header(single_byte_text), {ShowAnimation(), SpeakAnimation()}};
}

std::vector<std::uint8_t> WrapLegacyCharacter(const LegacyParts& parts) {
  std::vector<NamedStream> streams;
  Sink header;
  header.U32(0xABCDABC1);
  const std::vector<std::uint8_t> packed = CompressImageData(parts.header);
  header.U32(std::uint32_t(parts.header.size()));
  header.U32(std::uint32_t(packed.size()));
  header.Raw(packed);
  streams.push_back({"char.acf", header.bytes});
  for (std::size_t i = 0; i < parts.animations.size(); ++i) {
    Sink anim;
    anim.U32(0x1001F);
    anim.U32(std::uint32_t(101 + i));
    const std::vector<std::uint8_t>& body = parts.animations[i];
    const bool compress = !body.empty();
    anim.U8(compress ? 1 : 0);
    const std::vector<std::uint8_t> stored = compress ? CompressImageData(body) : body;
    anim.U32(std::uint32_t(body.size()));
    anim.U32(std::uint32_t(stored.size()));
    anim.Raw(stored);
    streams.push_back({"anim" + std::to_string(i + 1) + ".aaf", anim.bytes});
  }
  return BuildCompoundFile(streams);
}

}  // namespace rirerazo::acs::testing
