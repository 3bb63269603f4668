#include <algorithm>
#include <limits>

#include "platform/runtime_error.h"
#include "runtime/acs/writer/image_encoder.h"
#include "runtime/acs/writer/private/blocks.h"

namespace rirerazo::acs {

namespace {

void PutRect(writer::ByteWriter& out, const RegionRect& r) {
  for (std::int32_t v : {r.left, r.top, r.right, r.bottom}) out.I32(v);
}

}  // namespace

std::vector<std::uint8_t> EncodeRegionData(std::span<const RegionRect> rects) {
  RegionRect bounds;
  if (!rects.empty()) bounds = rects.front();
  for (const RegionRect& r : rects) {
    bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top),
              std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
  }
  writer::ByteWriter out;
  const auto count = static_cast<std::uint32_t>(rects.size());
  for (std::uint32_t v : {32u, 1u, count, count * 16u}) out.U32(v);
  PutRect(out, bounds);
  for (const RegionRect& r : rects) PutRect(out, r);
  return std::move(out.Data());
}

namespace writer {
namespace {

// Top-down unpadded indices to the stored form: bottom-up rows padded to 4 bytes.
std::vector<std::uint8_t> ToStoredRows(const IndexedPixels& pixels) {
  const std::size_t stride = (std::size_t{pixels.width} + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> rows(stride * pixels.height, 0);
  for (std::size_t y = 0; y < pixels.height; ++y) {
    const auto* source = pixels.indices.data() + y * pixels.width;
    std::copy_n(source, pixels.width, rows.data() + (pixels.height - 1 - y) * stride);
  }
  return rows;
}

// Pixels held in memory are used as they are; stored ones go through the reader's cache.
const IndexedPixels& PixelsOf(const Character& character, std::size_t image_index) {
  const auto* in_memory = std::get_if<IndexedPixels>(&character.images[image_index].pixels);
  return in_memory ? *in_memory : character.ImagePixels(image_index);
}

std::vector<RegionRect> RegionOf(const Character& character, std::size_t image_index) {
  const ImageEntry& entry = character.images[image_index];
  if (const auto* rects = std::get_if<std::vector<RegionRect>>(&entry.region)) {
    if (rects->empty()) {
      return RegionFromPixels(PixelsOf(character, image_index), character.info.transparent_index);
    }
    return *rects;
  }
  return character.ImageRegion(image_index);
}

void WriteSizedData(ByteWriter& out, const std::vector<std::uint8_t>& data) {
  if (data.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw RuntimeError(err::kOverflow, "image data too large for a character file");
  }
  out.U32(static_cast<std::uint32_t>(data.size()));
  out.Bytes(data);
}

}  // namespace

void WriteImageBlock(ByteWriter& out, const Character& character, std::size_t image_index,
                     const WriteOptions& options) {
  const ImageEntry& entry = character.images[image_index];
  const IndexedPixels& pixels = PixelsOf(character, image_index);
  if (pixels.width != entry.width || pixels.height != entry.height) {
    throw RuntimeError(err::kInvalidProcedureCall,
                       "cannot write character: image " + std::to_string(image_index) +
                           ": pixel data does not match its width and height");
  }
  const std::vector<std::uint8_t> rows = ToStoredRows(pixels);
  const bool compress_pixels = options.pixels == Storage::kCompressed && !rows.empty();
  out.U8(1);  // present
  out.U16(pixels.width);
  out.U16(pixels.height);
  out.U8(compress_pixels ? 1 : 0);
  WriteSizedData(out, compress_pixels ? CompressImageData(rows) : rows);

  const std::vector<std::uint8_t> region = EncodeRegionData(RegionOf(character, image_index));
  if (options.regions == Storage::kCompressed) {
    const std::vector<std::uint8_t> packed = CompressImageData(region);
    out.U32(static_cast<std::uint32_t>(packed.size()));
    out.U32(static_cast<std::uint32_t>(region.size()));
    out.Bytes(packed);
  } else {
    out.U32(0);
    out.U32(static_cast<std::uint32_t>(region.size()));
    out.Bytes(region);
  }
}

}  // namespace writer
}  // namespace rirerazo::acs
