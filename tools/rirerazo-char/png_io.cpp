#include "png_io.h"

#include <png.h>

#include <filesystem>
#include <limits>
#include <map>

#include "platform/runtime_error.h"

namespace rirerazo::chartool {
namespace {

using acs::Color;

constexpr std::uint32_t kMaxSide = 0xFFFF;  // image sides are 16-bit in character files

png_image NewImage() {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  return image;
}

[[noreturn]] void WriteFailed(const std::string& path, png_image& image) {
  const std::string why = image.message;
  png_image_free(&image);
  throw RuntimeError(err::kPathFileAccessError, "cannot write " + path + ": " + why);
}

[[noreturn]] void ReadFailed(const std::string& path, png_image& image, const std::string& why) {
  png_image_free(&image);
  throw RuntimeError(acs::kInvalidCharacterFile, path + ": " + why);
}

// Maps colours to palette indices: the exact colour first, else the nearest one. The
// transparent index is never chosen for an opaque colour.
class ColorMatcher {
 public:
  ColorMatcher(const std::vector<Color>& palette, std::uint8_t transparent_index)
      : palette_(palette), transparent_(transparent_index) {}

  std::uint8_t Match(const Color& c) {
    const std::uint32_t key = (c.red << 16) | (c.green << 8) | c.blue;
    const auto known = cache_.find(key);
    if (known != cache_.end()) return known->second;
    int best = -1;
    long best_distance = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < palette_.size() && i < 256; ++i) {
      if (i == transparent_) continue;
      const long dr = c.red - palette_[i].red, dg = c.green - palette_[i].green,
                 db = c.blue - palette_[i].blue;
      const long distance = dr * dr + dg * dg + db * db;
      if (distance < best_distance) best = int(i), best_distance = distance;
    }
    const std::uint8_t index = best < 0 ? transparent_ : std::uint8_t(best);
    cache_.emplace(key, index);
    return index;
  }

 private:
  const std::vector<Color>& palette_;
  std::uint8_t transparent_;
  std::map<std::uint32_t, std::uint8_t> cache_;
};

// The character index for each entry of the PNG's own colour map: the same index when the
// colours agree, so palette PNGs written by WriteIndexedPng come back unchanged.
std::vector<std::uint8_t> MapColormap(const std::vector<png_byte>& colormap, std::size_t entries,
                                      const std::vector<Color>& palette, std::uint8_t transparent) {
  ColorMatcher matcher(palette, transparent);
  std::vector<std::uint8_t> map(256, transparent);
  for (std::size_t i = 0; i < entries; ++i) {
    const png_byte* rgba = &colormap[4 * i];
    const Color color{rgba[0], rgba[1], rgba[2]};
    if (rgba[3] < 128) continue;
    map[i] = (i < palette.size() && palette[i] == color && i != transparent) ? std::uint8_t(i)
                                                                             : matcher.Match(color);
  }
  return map;
}

}  // namespace

void WriteIndexedPng(const std::string& path, const acs::IndexedPixels& pixels,
                     const std::vector<Color>& palette, std::uint8_t transparent_index) {
  std::vector<png_byte> colormap(256 * 4, 0);
  for (std::size_t i = 0; i < 256; ++i) {
    const Color c = i < palette.size() ? palette[i] : Color{};
    colormap[4 * i] = c.red, colormap[4 * i + 1] = c.green, colormap[4 * i + 2] = c.blue;
    colormap[4 * i + 3] = i == transparent_index ? 0 : 255;
  }
  png_image image = NewImage();
  image.width = pixels.width;
  image.height = pixels.height;
  image.format = PNG_FORMAT_RGBA_COLORMAP;
  image.colormap_entries = 256;
  if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.indices.data(), pixels.width,
                               colormap.data())) {
    WriteFailed(path, image);
  }
}

void WriteRgbaPng(const std::string& path, const acs::RgbaImage& frame) {
  png_image image = NewImage();
  image.width = static_cast<png_uint_32>(frame.width);
  image.height = static_cast<png_uint_32>(frame.height);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, frame.rgba.data(), frame.width * 4,
                               nullptr)) {
    WriteFailed(path, image);
  }
}

acs::IndexedPixels ReadPngAsIndices(const std::string& path, const std::vector<Color>& palette,
                                    std::uint8_t transparent_index) {
  if (!std::filesystem::is_regular_file(path)) {
    throw RuntimeError(err::kFileNotFound, "image file not found: " + path);
  }
  png_image image = NewImage();
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ReadFailed(path, image, image.message);
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    ReadFailed(path, image, "image sides must be 1 to 65535 pixels");
  }
  acs::IndexedPixels out{std::uint16_t(image.width), std::uint16_t(image.height), {}};
  const std::size_t count = std::size_t(image.width) * image.height;
  if (image.format & PNG_FORMAT_FLAG_COLORMAP) {
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    std::vector<png_byte> indices(count);
    std::vector<png_byte> colormap(256 * 4, 0);
    if (!png_image_finish_read(&image, nullptr, indices.data(), 0, colormap.data())) {
      ReadFailed(path, image, image.message);
    }
    const auto map = MapColormap(colormap, image.colormap_entries, palette, transparent_index);
    out.indices.resize(count);
    for (std::size_t i = 0; i < count; ++i) out.indices[i] = map[indices[i]];
    return out;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> rgba(count * 4);
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    ReadFailed(path, image, image.message);
  }
  ColorMatcher matcher(palette, transparent_index);
  out.indices.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const png_byte* p = &rgba[4 * i];
    out.indices[i] = p[3] < 128 ? transparent_index : matcher.Match({p[0], p[1], p[2]});
  }
  return out;
}

}  // namespace rirerazo::chartool
