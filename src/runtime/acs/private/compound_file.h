// A read-only, bounds-checked reader of compound files (the sector-based container that older
// character files use): header, sector allocation table (with its extension sectors), the
// short-sector table and the directory.
//
// Opening reads the header, the allocation tables and the directory; stream contents are read
// on request. Every sector number is checked against the file before use, and every chain is
// followed for at most as many steps as the table has entries, so a loop or a chain that
// leaves the file is an error rather than a hang. Errors throw kInvalidCharacterFile naming
// the source, the structure ("compound file FAT", "stream 'char.acf'") and the file offset.
//
// The reader keeps a view of the bytes; they must outlive it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rirerazo::acs::detail {

// True when the bytes begin with the compound-file signature.
bool IsCompoundFile(std::span<const std::uint8_t> bytes);

class CompoundFile {
 public:
  CompoundFile(std::span<const std::uint8_t> bytes, std::string_view source);

  // The names of the streams directly under the root storage, in directory order.
  std::vector<std::string> StreamNames() const;
  // The whole content of a stream under the root storage, found by name (ASCII letters
  // compared without case); nullopt when there is no such stream.
  std::optional<std::vector<std::uint8_t>> ReadStream(std::string_view name) const;

 private:
  struct Entry {
    std::string name;  // UTF-8
    std::uint8_t type = 0;
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    std::uint32_t child = 0;
    std::uint32_t start = 0;
    std::uint64_t size = 0;
  };

  void ReadHeader();
  void ReadAllocationTable(std::vector<std::uint32_t> table_sectors);
  std::vector<std::uint32_t> ReadExtendedSectorList(std::uint32_t first, std::uint32_t count);
  void ReadDirectory(std::uint32_t first_sector);
  void ReadMiniStream();
  void CollectRootChildren();

  std::uint64_t SectorOffset(std::uint32_t sector) const;
  std::uint32_t SectorCount() const;
  std::span<const std::uint8_t> Sector(std::uint32_t sector, std::string_view what) const;
  std::vector<std::uint32_t> Chain(std::uint32_t first, std::uint64_t bytes,
                                   std::string_view what) const;
  std::vector<std::uint8_t> ReadChain(std::uint32_t first, std::uint64_t size,
                                      std::string_view what) const;
  std::vector<std::uint8_t> ReadMiniChain(std::uint32_t first, std::uint64_t size,
                                          std::string_view what) const;
  [[noreturn]] void Fail(std::string_view what_structure, std::uint64_t offset,
                         std::string_view what) const;

  std::span<const std::uint8_t> bytes_;
  std::string_view source_;
  std::uint32_t sector_bytes_ = 512;
  std::uint32_t mini_sector_bytes_ = 64;
  std::uint32_t mini_cutoff_ = 4096;
  std::uint32_t directory_start_ = 0;
  std::uint32_t mini_table_start_ = 0;
  std::vector<std::uint32_t> table_;       // next sector of each sector
  std::vector<std::uint32_t> mini_table_;  // next short sector of each short sector
  std::vector<std::uint8_t> mini_stream_;  // the root entry's stream, holding short streams
  std::vector<Entry> entries_;
  std::vector<std::uint32_t> root_children_;  // directory indices of the root's streams
};

}  // namespace rirerazo::acs::detail
