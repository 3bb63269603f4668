#include "host/presentation/zip_reader.h"

#include <zlib.h>

#include <cstring>

#include "platform/runtime_error.h"

namespace rirerazo::host {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kDirectorySignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndRecordBytes = 22;
constexpr std::size_t kDirectoryRecordBytes = 46;
constexpr std::size_t kLocalRecordBytes = 30;
constexpr std::size_t kMaxCommentBytes = 0xFFFF;

[[noreturn]] void Damaged(const std::string& why) {
  throw RuntimeError(err::kPathFileAccessError, "not a readable zip archive: " + why);
}

// Little-endian fields at `at`; reading past the end means the archive is damaged.
std::uint32_t Field(const std::string& bytes, std::uint64_t at, int width) {
  if (at + static_cast<std::uint64_t>(width) > bytes.size()) Damaged("truncated");
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::uint64_t>(i)]);
  }
  return value;
}

std::string Inflate(const std::string& compressed, std::uint64_t size) {
  std::string out(size, '\0');
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) Damaged("inflate failed");
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  stream.avail_in = static_cast<uInt>(compressed.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  int result = inflate(&stream, Z_FINISH);
  std::uint64_t produced = stream.total_out;
  inflateEnd(&stream);
  if (result != Z_STREAM_END || produced != size) Damaged("bad compressed data");
  return out;
}

}  // namespace

ZipArchive::ZipArchive(std::string bytes) : bytes_(std::move(bytes)) {
  std::size_t end = FindDirectoryEnd();
  if (Field(bytes_, end + 4, 2) != 0 || Field(bytes_, end + 6, 2) != 0) {
    Damaged("spans several disks");
  }
  ReadDirectory(Field(bytes_, end + 16, 4), Field(bytes_, end + 10, 2));
}

std::size_t ZipArchive::FindDirectoryEnd() const {
  if (bytes_.size() < kEndRecordBytes) Damaged("too short");
  std::size_t last = bytes_.size() - kEndRecordBytes;
  std::size_t first = last > kMaxCommentBytes ? last - kMaxCommentBytes : 0;
  for (std::size_t at = last + 1; at-- > first;) {
    if (Field(bytes_, at, 4) == kEndSignature) return at;
  }
  Damaged("no central directory");
}

void ZipArchive::ReadDirectory(std::uint64_t offset, std::uint64_t count) {
  for (std::uint64_t i = 0; i < count; ++i) {
    if (Field(bytes_, offset, 4) != kDirectorySignature) Damaged("bad directory record");
    Entry entry;
    entry.flags = static_cast<std::uint16_t>(Field(bytes_, offset + 8, 2));
    entry.method = static_cast<std::uint16_t>(Field(bytes_, offset + 10, 2));
    entry.crc = Field(bytes_, offset + 16, 4);
    entry.compressed_size = Field(bytes_, offset + 20, 4);
    entry.size = Field(bytes_, offset + 24, 4);
    std::uint64_t name_length = Field(bytes_, offset + 28, 2);
    std::uint64_t extra_length = Field(bytes_, offset + 30, 2);
    std::uint64_t comment_length = Field(bytes_, offset + 32, 2);
    entry.local_header = Field(bytes_, offset + 42, 4);
    std::uint64_t name_at = offset + kDirectoryRecordBytes;
    if (name_at + name_length > bytes_.size()) Damaged("truncated");
    std::string name = bytes_.substr(name_at, name_length);
    if (entries_.emplace(name, entry).second) order_.push_back(name);
    offset = name_at + name_length + extra_length + comment_length;
  }
}

std::vector<std::string> ZipArchive::Names() const {
  return order_;
}

std::string ZipArchive::Payload(const Entry& entry) const {
  std::uint64_t at = entry.local_header;
  if (Field(bytes_, at, 4) != kLocalSignature) Damaged("bad entry header");
  std::uint64_t start =
      at + kLocalRecordBytes + Field(bytes_, at + 26, 2) + Field(bytes_, at + 28, 2);
  if (start + entry.compressed_size > bytes_.size()) Damaged("truncated entry");
  return bytes_.substr(start, entry.compressed_size);
}

std::optional<std::string> ZipArchive::Read(const std::string& name) const {
  auto found = entries_.find(name);
  if (found == entries_.end()) return std::nullopt;
  const Entry& entry = found->second;
  if (entry.flags & 0x1) Damaged("encrypted entry " + name);
  if (entry.size > kMaxEntryBytes) Damaged("entry " + name + " is too large");
  std::string data;
  if (entry.method == 0) {
    data = Payload(entry);
    if (data.size() != entry.size) Damaged("bad stored entry " + name);
  } else if (entry.method == 8) {
    // Deflate cannot grow data more than about 1032 times: a larger claimed size is a lie
    // that would only make the reader allocate for nothing.
    if (entry.size > entry.compressed_size * 1032 + 1024) Damaged("bad sizes of " + name);
    data = Inflate(Payload(entry), entry.size);
  } else {
    Damaged("unknown compression of " + name);
  }
  std::uint32_t crc = static_cast<std::uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
  if (crc != entry.crc) Damaged("checksum mismatch in " + name);
  return data;
}

}  // namespace rirerazo::host
