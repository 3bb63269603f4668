// Image data on request: palette indices decoded on first use and cached, regions decoded from
// the file or computed from the pixels.
#include <cstring>

#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"
#include "runtime/acs/private/byte_reader.h"
#include "runtime/acs/private/reader_parts.h"
#include "runtime/acs/private/stored_data.h"

namespace rirerazo::acs {

namespace {

std::string ImageBlockName(std::size_t index) {
  return "image " + std::to_string(index);
}

// Stored rows are bottom-up and padded to 4 bytes; the model's are top-down and packed.
IndexedPixels DecodePixels(const Character& character, std::size_t index,
                           const StoredPixels& stored, const ImageEntry& image) {
  if (std::uint64_t(image.width) * image.height > detail::kMaxPixels) {
    detail::ThrowFormatError(character.source_name, ImageBlockName(index), stored.data.offset,
                             "image is larger than supported");
  }
  const std::size_t stride = (std::size_t(image.width) + 3) & ~std::size_t(3);
  const std::vector<std::uint8_t> rows =
      detail::DecodeStored(character, stored.data, stored.compressed,
                           std::uint64_t(stride) * image.height, ImageBlockName(index));
  IndexedPixels pixels{image.width, image.height, {}};
  if (image.width == 0) return pixels;  // no rows to copy (and no buffer to copy them from)
  pixels.indices.resize(std::size_t(image.width) * image.height);
  for (std::size_t y = 0; y < image.height; ++y) {
    std::memcpy(pixels.indices.data() + y * image.width,
                rows.data() + (image.height - 1 - y) * stride, image.width);
  }
  return pixels;
}

void CheckIndex(std::size_t index, std::size_t count, const char* what) {
  if (index >= count) {
    throw RuntimeError(err::kSubscriptOutOfRange,
                       std::string(what) + " " + std::to_string(index) + " does not exist");
  }
}

}  // namespace

const IndexedPixels& Character::ImagePixels(std::size_t image_index) const {
  CheckIndex(image_index, images.size(), "image");
  const ImageEntry& image = images[image_index];
  if (const auto* in_memory = std::get_if<IndexedPixels>(&image.pixels)) {
    if (in_memory->indices.size() != std::size_t(in_memory->width) * in_memory->height) {
      throw RuntimeError(kInvalidCharacterFile,
                         ImageBlockName(image_index) + ": pixel count does not match its size");
    }
    return *in_memory;
  }
  if (pixel_cache_.size() < images.size()) pixel_cache_.resize(images.size());
  auto& cached = pixel_cache_[image_index];
  if (!cached) {
    cached = std::make_shared<const IndexedPixels>(
        DecodePixels(*this, image_index, std::get<StoredPixels>(image.pixels), image));
  }
  return *cached;
}

std::size_t Character::DecodedBytes() const {
  std::size_t total = 0;
  for (const auto& cached : pixel_cache_) {
    if (cached) total += cached->indices.size();
  }
  return total;
}

void Character::ForgetDecoded() const {
  pixel_cache_.clear();
}

}  // namespace rirerazo::acs
