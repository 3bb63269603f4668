// Image regions: the stored rectangle list (a 32-byte header, then left/top/right/bottom
// rectangles) or one computed from the pixels.
#include "runtime/acs/acs_file.h"
#include "runtime/acs/private/byte_reader.h"
#include "runtime/acs/private/stored_data.h"

namespace rirerazo::acs {

namespace {

constexpr std::uint32_t kRegionHeaderBytes = 32;
constexpr std::uint32_t kRectBytes = 16;

// Runs of opaque pixels in one row, as [left, right) pairs.
std::vector<std::pair<int, int>> OpaqueRuns(const IndexedPixels& pixels, int y,
                                            std::uint8_t transparent_index) {
  std::vector<std::pair<int, int>> runs;
  const std::uint8_t* row = pixels.indices.data() + std::size_t(y) * pixels.width;
  for (int x = 0; x < pixels.width;) {
    while (x < pixels.width && row[x] == transparent_index) ++x;
    const int left = x;
    while (x < pixels.width && row[x] != transparent_index) ++x;
    if (x > left) runs.emplace_back(left, x);
  }
  return runs;
}

std::vector<RegionRect> ParseRegion(const Character& character, std::size_t index,
                                    const std::vector<std::uint8_t>& bytes) {
  const std::string block = "region of image " + std::to_string(index);
  const FileRange whole{0, std::uint32_t(bytes.size())};
  detail::ByteReader in(bytes, whole, character.source_name, block);
  if (in.U32() != kRegionHeaderBytes || in.U32() != 1) in.FailAt(0, "not a rectangle list");
  const std::uint32_t count = in.U32();
  in.Skip(kRegionHeaderBytes - 12);  // size hint and bounding box
  std::vector<RegionRect> rects(in.Count(count, kRectBytes, "rectangle"));
  for (RegionRect& rect : rects) rect = {in.I32(), in.I32(), in.I32(), in.I32()};
  return rects;
}

}  // namespace

std::vector<RegionRect> RegionFromPixels(const IndexedPixels& pixels,
                                         std::uint8_t transparent_index) {
  std::vector<RegionRect> rects;
  std::vector<std::pair<int, int>> previous;
  std::size_t band_start = 0;  // first rectangle of the band that previous belongs to
  for (int y = 0; y < pixels.height; ++y) {
    std::vector<std::pair<int, int>> runs = OpaqueRuns(pixels, y, transparent_index);
    if (!runs.empty() && runs == previous) {
      for (std::size_t i = band_start; i < rects.size(); ++i) rects[i].bottom = y + 1;
      continue;
    }
    band_start = rects.size();
    for (const auto& [left, right] : runs) rects.push_back({left, y, right, y + 1});
    previous = std::move(runs);
  }
  return rects;
}

std::vector<RegionRect> Character::ImageRegion(std::size_t image_index) const {
  const IndexedPixels& pixels = ImagePixels(image_index);  // also checks the index
  const ImageEntry& image = images[image_index];
  if (const auto* given = std::get_if<std::vector<RegionRect>>(&image.region)) {
    if (!given->empty()) return *given;
  } else if (const auto& stored = std::get<StoredRegion>(image.region);
             stored.uncompressed_size != 0) {
    return ParseRegion(*this, image_index,
                       detail::DecodeStored(*this, stored.data, stored.compressed_size != 0,
                                            stored.uncompressed_size,
                                            "region of image " + std::to_string(image_index)));
  }
  return RegionFromPixels(pixels, info.transparent_index);
}

}  // namespace rirerazo::acs
