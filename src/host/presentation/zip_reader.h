// A small reader of zip archives (the container of .pptx and .odp presentations): the
// central directory, stored and deflated entries, CRC checks. Archives spanning several
// disks and encrypted entries are refused; so are entries that would grow beyond a limit.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rirerazo::host {

class ZipArchive {
 public:
  // Reads the directory of `bytes` (the whole archive, kept by the object). Raises
  // RuntimeError when `bytes` is not a readable zip archive.
  explicit ZipArchive(std::string bytes);

  // The entry names in directory order.
  std::vector<std::string> Names() const;
  bool Contains(const std::string& name) const { return entries_.count(name) != 0; }
  // The uncompressed bytes of entry `name`; nothing when there is no such entry. Raises
  // RuntimeError when the entry is damaged or larger than kMaxEntryBytes.
  std::optional<std::string> Read(const std::string& name) const;

  static constexpr std::uint64_t kMaxEntryBytes = 64u << 20;

 private:
  struct Entry {
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressed_size = 0;
    std::uint64_t size = 0;
    std::uint64_t local_header = 0;
  };
  std::size_t FindDirectoryEnd() const;
  void ReadDirectory(std::uint64_t offset, std::uint64_t count);
  std::string Payload(const Entry& entry) const;

  std::string bytes_;
  std::map<std::string, Entry> entries_;
  std::vector<std::string> order_;
};

}  // namespace rirerazo::host
