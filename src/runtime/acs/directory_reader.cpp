// Reads the image and audio directories. Image blocks are walked only as far as their headers
// (size, compression, where the pixel and region data lie); the data itself is decoded on
// request by Character::ImagePixels and Character::ImageRegion.
#include "runtime/acs/private/byte_reader.h"
#include "runtime/acs/private/decompress.h"
#include "runtime/acs/private/reader_parts.h"

namespace rirerazo::acs::detail {

namespace {

// A directory entry: offset, size, checksum.
constexpr std::size_t kEntryBytes = 12;

std::uint64_t Stride(std::uint16_t width) {
  return (std::uint64_t(width) + 3) & ~std::uint64_t(3);
}

void CheckPixelData(ByteReader& in, const ImageEntry& image, const StoredPixels& stored) {
  const std::uint64_t expected = Stride(image.width) * image.height;
  if (std::uint64_t(image.width) * image.height > kMaxPixels) {
    in.Fail("image of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
            " pixels is larger than supported");
  }
  if (!stored.compressed && stored.data.size != expected) {
    in.Fail("raw image data has " + std::to_string(stored.data.size) + " bytes instead of " +
            std::to_string(expected));
  }
  if (stored.compressed && expected > MaxDecompressedSize(stored.data.size)) {
    in.Fail("compressed image data is too short for the declared size");
  }
}

StoredRegion ReadRegionHeader(ByteReader& in) {
  StoredRegion region;
  region.compressed_size = in.U32();
  region.uncompressed_size = in.U32();
  const std::uint32_t stored_size =
      region.compressed_size != 0 ? region.compressed_size : region.uncompressed_size;
  region.data = {std::uint32_t(in.Offset()), stored_size};
  in.Skip(in.Count(stored_size, 1, "region byte"));
  if (region.compressed_size != 0 &&
      region.uncompressed_size > MaxDecompressedSize(region.compressed_size)) {
    in.Fail("compressed region data is too short for the declared size");
  }
  return region;
}

ImageEntry ReadImageBlock(const FileView& file, std::size_t index, FileRange block,
                          std::uint32_t checksum) {
  ByteReader in(file.bytes, block, file.source, "image " + std::to_string(index));
  ImageEntry image;
  image.checksum = checksum;
  const bool present = in.U8() != 0;
  if (!present && in.Remaining() == 0) {  // an absent image recorded by its flag alone
    image.pixels = IndexedPixels{};
    image.region = std::vector<RegionRect>{};
    return image;
  }
  image.width = in.U16();
  image.height = in.U16();
  StoredPixels stored;
  stored.compressed = in.U8() != 0;
  const std::uint32_t data_size = in.U32();
  stored.data = {std::uint32_t(in.Offset()), data_size};
  in.Skip(in.Count(data_size, 1, "pixel byte"));
  CheckPixelData(in, image, stored);
  image.pixels = stored;
  image.region = ReadRegionHeader(in);
  return image;
}

// Reads a directory of {offset, size, checksum} entries, checking that the blocks lie in the
// file and, together, are no larger than it (blocks of a well-formed file never overlap).
std::vector<std::pair<FileRange, std::uint32_t>> ReadEntries(const FileView& file,
                                                             FileRange directory,
                                                             std::string_view block) {
  ByteReader in(file.bytes, directory, file.source, std::string(block));
  std::vector<std::pair<FileRange, std::uint32_t>> entries(
      in.Count(in.U32(), kEntryBytes, "entry"));
  std::uint64_t total_bytes = 0;
  for (auto& [range, checksum] : entries) {
    range = {in.U32(), in.U32()};
    checksum = in.U32();
    if (std::uint64_t(range.offset) + range.size > file.bytes.size()) {
      in.FailAt(in.Offset() - kEntryBytes, "entry points past the end of the file");
    }
    total_bytes += range.size;
    if (total_bytes > file.bytes.size()) in.Fail("entries overlap");
  }
  return entries;
}

}  // namespace

std::vector<ImageEntry> ReadImageDirectory(const FileView& file, FileRange directory) {
  const auto entries = ReadEntries(file, directory, "image directory");
  std::vector<ImageEntry> images;
  images.reserve(entries.size());
  for (const auto& [range, checksum] : entries) {
    images.push_back(ReadImageBlock(file, images.size(), range, checksum));
  }
  return images;
}

std::vector<SoundEntry> ReadAudioDirectory(const FileView& file, FileRange directory) {
  const auto entries = ReadEntries(file, directory, "audio directory");
  std::vector<SoundEntry> sounds(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    sounds[i].wav = entries[i].first;
    sounds[i].checksum = entries[i].second;
  }
  return sounds;
}

}  // namespace rirerazo::acs::detail
