// The compound-file container: a 512-byte header, sectors of 512 or 4096 bytes chained through
// an allocation table, a directory of 128-byte entries kept as a binary tree, and streams under
// the cutoff size stored in 64-byte short sectors inside the root entry's own stream.
#include "runtime/acs/private/compound_file.h"

#include <algorithm>
#include <limits>

#include "runtime/acs/private/byte_reader.h"

namespace rirerazo::acs::detail {

namespace {

constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::uint32_t kHeaderBytes = 512;
constexpr std::uint32_t kHeaderTableSlots = 109;
constexpr std::uint32_t kLastRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
constexpr std::uint32_t kEntryBytes = 128;
constexpr std::uint8_t kTypeStream = 2;
constexpr std::uint8_t kTypeRoot = 5;
// A chain followed "to its end" (the directory, the short-sector table) has no known size.
constexpr std::uint64_t kUntilEnd = std::numeric_limits<std::uint64_t>::max();

std::uint16_t U16At(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint16_t(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32At(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
         (std::uint32_t(b[at + 3]) << 24);
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

std::string QuotedStream(std::string_view name) {
  return "stream '" + std::string(name) + "'";
}

}  // namespace

bool IsCompoundFile(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 8 && std::equal(bytes.begin(), bytes.begin() + 8, kSignature);
}

CompoundFile::CompoundFile(std::span<const std::uint8_t> bytes, std::string_view source)
    : bytes_(bytes), source_(source) {
  ReadHeader();
  ReadMiniStream();
  CollectRootChildren();
}

void CompoundFile::Fail(std::string_view what_structure, std::uint64_t offset,
                        std::string_view what) const {
  ThrowFormatError(source_, what_structure, offset, what);
}

// Reads the header's fields, then the tables and the directory it locates.
void CompoundFile::ReadHeader() {
  const std::string block = "compound file header";
  if (!IsCompoundFile(bytes_)) Fail(block, 0, "not a compound file (unknown signature)");
  if (bytes_.size() < kHeaderBytes) Fail(block, bytes_.size(), "file ends inside the header");
  if (U16At(bytes_, 0x1C) != 0xFFFE) Fail(block, 0x1C, "unknown byte order mark");
  const std::uint16_t major = U16At(bytes_, 0x1A);
  const std::uint16_t sector_shift = U16At(bytes_, 0x1E);
  if (!((major == 3 && sector_shift == 9) || (major == 4 && sector_shift == 12))) {
    Fail(block, 0x1A, "unsupported version or sector size");
  }
  if (U16At(bytes_, 0x20) != 6) Fail(block, 0x20, "unsupported short-sector size");
  sector_bytes_ = std::uint32_t(1) << sector_shift;
  if (bytes_.size() < sector_bytes_) Fail(block, bytes_.size(), "file ends inside the header");
  const std::uint32_t table_sector_count = U32At(bytes_, 0x2C);
  directory_start_ = U32At(bytes_, 0x30);
  mini_cutoff_ = U32At(bytes_, 0x38);
  if (mini_cutoff_ != 4096) Fail(block, 0x38, "unsupported short-stream cutoff");
  mini_table_start_ = U32At(bytes_, 0x3C);
  if (table_sector_count > SectorCount()) {
    Fail(block, 0x2C,
         "declares " + std::to_string(table_sector_count) + " table sectors but the file holds " +
             std::to_string(SectorCount()));
  }
  std::vector<std::uint32_t> table_sectors;
  for (std::uint32_t i = 0; i < std::min(table_sector_count, kHeaderTableSlots); ++i) {
    table_sectors.push_back(U32At(bytes_, 0x4C + 4 * i));
  }
  if (table_sector_count > kHeaderTableSlots) {
    const std::vector<std::uint32_t> more =
        ReadExtendedSectorList(U32At(bytes_, 0x44), table_sector_count - kHeaderTableSlots);
    table_sectors.insert(table_sectors.end(), more.begin(), more.end());
  }
  ReadAllocationTable(std::move(table_sectors));
  ReadDirectory(directory_start_);
}

// The table-sector numbers beyond the header's 109: a chain of sectors whose last slot names
// the next one.
std::vector<std::uint32_t> CompoundFile::ReadExtendedSectorList(std::uint32_t first,
                                                                std::uint32_t count) {
  const std::uint32_t per_sector = sector_bytes_ / 4 - 1;
  std::vector<std::uint32_t> list;
  std::vector<bool> seen(SectorCount(), false);
  std::uint32_t sector = first;
  while (list.size() < count) {
    if (sector >= SectorCount()) {
      Fail("compound file table list", 0x44,
           "names sector " + std::to_string(sector) + " outside the file");
    }
    if (seen[sector]) Fail("compound file table list", SectorOffset(sector), "loops");
    seen[sector] = true;
    const std::span<const std::uint8_t> data = Sector(sector, "compound file table list");
    for (std::uint32_t i = 0; i < per_sector && list.size() < count; ++i) {
      list.push_back(U32At(data, 4 * i));
    }
    sector = U32At(data, 4 * per_sector);
  }
  return list;
}

void CompoundFile::ReadAllocationTable(std::vector<std::uint32_t> table_sectors) {
  const std::uint32_t per_sector = sector_bytes_ / 4;
  table_.reserve(std::size_t(table_sectors.size()) * per_sector);
  for (const std::uint32_t sector : table_sectors) {
    const std::span<const std::uint8_t> data = Sector(sector, "compound file FAT");
    for (std::uint32_t i = 0; i < per_sector; ++i) table_.push_back(U32At(data, 4 * i));
  }
}

void CompoundFile::ReadDirectory(std::uint32_t first_sector) {
  const std::vector<std::uint32_t> sectors =
      Chain(first_sector, kUntilEnd, "compound file directory");
  for (const std::uint32_t sector : sectors) {
    const std::span<const std::uint8_t> data = Sector(sector, "compound file directory");
    for (std::uint32_t at = 0; at + kEntryBytes <= data.size(); at += kEntryBytes) {
      const std::span<const std::uint8_t> raw = data.subspan(at, kEntryBytes);
      Entry entry;
      const std::uint16_t name_bytes = std::min<std::uint16_t>(U16At(raw, 64), 64);
      AppendUtf8FromUtf16(raw.first(name_bytes >= 2 ? name_bytes - 2 : 0), entry.name);
      entry.type = raw[66];
      entry.left = U32At(raw, 68);
      entry.right = U32At(raw, 72);
      entry.child = U32At(raw, 76);
      entry.start = U32At(raw, 116);
      // Version 3 files may leave garbage in the size's high half.
      entry.size = sector_bytes_ == 512 ? U32At(raw, 120)
                                        : U32At(raw, 120) | (std::uint64_t(U32At(raw, 124)) << 32);
      entries_.push_back(std::move(entry));
    }
  }
  if (entries_.empty() || entries_[0].type != kTypeRoot) {
    Fail("compound file directory", SectorOffset(first_sector), "has no root entry");
  }
}

void CompoundFile::ReadMiniStream() {
  const Entry& root = entries_[0];
  if (root.size > bytes_.size()) {
    Fail("compound file directory", SectorOffset(directory_start_),
         "short-stream area is larger than the file");
  }
  if (root.size == 0) return;
  mini_stream_ = ReadChain(root.start, root.size, "compound file short-stream area");
  const std::vector<std::uint32_t> sectors =
      Chain(mini_table_start_, kUntilEnd, "compound file short-sector table");
  for (const std::uint32_t sector : sectors) {
    const std::span<const std::uint8_t> data = Sector(sector, "compound file short-sector table");
    for (std::uint32_t i = 0; i < sector_bytes_ / 4; ++i) mini_table_.push_back(U32At(data, 4 * i));
  }
}

// Walks the root's child tree, refusing links outside the directory and loops.
void CompoundFile::CollectRootChildren() {
  std::vector<bool> seen(entries_.size(), false);
  std::vector<std::uint32_t> pending{entries_[0].child};
  while (!pending.empty()) {
    const std::uint32_t index = pending.back();
    pending.pop_back();
    if (index == kNoEntry) continue;
    if (index >= entries_.size() || index == 0) {
      Fail("compound file directory", SectorOffset(directory_start_),
           "links to entry " + std::to_string(index) + " outside the directory");
    }
    if (seen[index]) {
      Fail("compound file directory", SectorOffset(directory_start_),
           "tree loops at entry " + std::to_string(index));
    }
    seen[index] = true;
    const Entry& entry = entries_[index];
    if (entry.type == kTypeStream) root_children_.push_back(index);
    pending.push_back(entry.left);
    pending.push_back(entry.right);
  }
  std::sort(root_children_.begin(), root_children_.end());
}

std::uint32_t CompoundFile::SectorCount() const {
  const std::uint64_t after_header =
      bytes_.size() < sector_bytes_ ? 0 : bytes_.size() - sector_bytes_;
  return std::uint32_t(std::min<std::uint64_t>(after_header / sector_bytes_, kLastRegularSector));
}

std::uint64_t CompoundFile::SectorOffset(std::uint32_t sector) const {
  return (std::uint64_t(sector) + 1) * sector_bytes_;
}

std::span<const std::uint8_t> CompoundFile::Sector(std::uint32_t sector,
                                                   std::string_view what) const {
  if (sector >= SectorCount()) {
    Fail(what, 0, "sector " + std::to_string(sector) + " lies outside the file");
  }
  return bytes_.subspan(std::size_t(SectorOffset(sector)), sector_bytes_);
}

// The sectors of a chain: enough to hold `bytes`, or up to the end marker with kUntilEnd.
std::vector<std::uint32_t> CompoundFile::Chain(std::uint32_t first, std::uint64_t bytes,
                                               std::string_view what) const {
  const std::uint64_t needed =
      bytes == kUntilEnd ? kUntilEnd : (bytes + sector_bytes_ - 1) / sector_bytes_;
  std::vector<std::uint32_t> sectors;
  std::vector<bool> seen(SectorCount(), false);
  std::uint32_t sector = first;
  std::uint64_t last_offset = 0;
  while (sectors.size() < needed) {
    if (sector == kEndOfChain && bytes == kUntilEnd) break;
    if (sector == kEndOfChain || sector == kFreeSector) {
      Fail(what, last_offset,
           "chain ends after " + std::to_string(sectors.size()) + " sectors but needs " +
               std::to_string(needed));
    }
    if (sector >= SectorCount() || sector >= table_.size()) {
      Fail(what, last_offset,
           "chain reaches sector " + std::to_string(sector) + " outside the file");
    }
    if (seen[sector]) {
      Fail(what, SectorOffset(sector), "chain loops back to sector " + std::to_string(sector));
    }
    seen[sector] = true;
    sectors.push_back(sector);
    last_offset = SectorOffset(sector);
    sector = table_[sector];
  }
  return sectors;
}

std::vector<std::uint8_t> CompoundFile::ReadChain(std::uint32_t first, std::uint64_t size,
                                                  std::string_view what) const {
  std::vector<std::uint8_t> out;
  out.reserve(std::size_t(size));
  for (const std::uint32_t sector : Chain(first, size, what)) {
    const std::span<const std::uint8_t> data = Sector(sector, what);
    const std::size_t take = std::min<std::size_t>(data.size(), std::size_t(size) - out.size());
    out.insert(out.end(), data.begin(), data.begin() + take);
  }
  return out;
}

std::vector<std::uint8_t> CompoundFile::ReadMiniChain(std::uint32_t first, std::uint64_t size,
                                                      std::string_view what) const {
  const std::uint64_t mini_count = mini_stream_.size() / mini_sector_bytes_;
  std::vector<bool> seen(std::size_t(std::min<std::uint64_t>(mini_count, mini_table_.size())),
                         false);
  std::vector<std::uint8_t> out;
  out.reserve(std::size_t(size));
  std::uint32_t sector = first;
  while (out.size() < size) {
    if (sector >= seen.size()) {
      Fail(what, 0,
           "short-sector chain reaches sector " + std::to_string(sector) +
               " outside the short-stream area");
    }
    if (seen[sector]) Fail(what, 0, "short-sector chain loops back to " + std::to_string(sector));
    seen[sector] = true;
    const std::size_t at = std::size_t(sector) * mini_sector_bytes_;
    const std::size_t take =
        std::min<std::size_t>(mini_sector_bytes_, std::size_t(size) - out.size());
    out.insert(out.end(), mini_stream_.begin() + at, mini_stream_.begin() + at + take);
    sector = mini_table_[sector];
  }
  return out;
}

std::vector<std::string> CompoundFile::StreamNames() const {
  std::vector<std::string> names;
  for (const std::uint32_t index : root_children_) names.push_back(entries_[index].name);
  return names;
}

std::optional<std::vector<std::uint8_t>> CompoundFile::ReadStream(std::string_view name) const {
  for (const std::uint32_t index : root_children_) {
    const Entry& entry = entries_[index];
    if (!SameNameIgnoringCase(entry.name, name)) continue;
    const std::string what = QuotedStream(entry.name);
    if (entry.size < mini_cutoff_) {
      if (entry.size > mini_stream_.size()) {
        Fail(what, 0, "is larger than the short-stream area");
      }
      return ReadMiniChain(entry.start, entry.size, what);
    }
    if (entry.size > bytes_.size()) {
      Fail(what, 0, "declares " + std::to_string(entry.size) + " bytes, more than the file");
    }
    return ReadChain(entry.start, entry.size, what);
  }
  return std::nullopt;
}

}  // namespace rirerazo::acs::detail
