// Composes a frame into one RGBA image: the frame's images drawn from the last to the first so
// that image 0 ends on top, transparent-index pixels skipped, an optional mouth overlay last.
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"
#include "runtime/acs/private/reader_parts.h"

namespace rirerazo::acs {

namespace {

using PaletteRgba = std::array<std::array<std::uint8_t, 4>, 256>;

// Opaque colours for every index; indices beyond a short palette draw black.
PaletteRgba MakePaletteRgba(const std::vector<Color>& palette) {
  PaletteRgba rgba{};
  for (std::size_t i = 0; i < rgba.size(); ++i) {
    const Color color = i < palette.size() ? palette[i] : Color{};
    rgba[i] = {color.red, color.green, color.blue, 255};
  }
  return rgba;
}

class Canvas {
 public:
  Canvas(int width, int height, const PaletteRgba& palette, std::uint8_t transparent_index)
      : palette_(palette), transparent_index_(transparent_index) {
    image_.width = width;
    image_.height = height;
    image_.rgba.assign(std::size_t(width) * height * 4, 0);
  }

  // Draws pixels with their top-left corner at (left, top), clipped to the canvas.
  void Draw(const IndexedPixels& pixels, int left, int top) {
    const int x0 = std::max(0, left), x1 = std::min(image_.width, left + pixels.width);
    const int y0 = std::max(0, top), y1 = std::min(image_.height, top + pixels.height);
    for (int y = y0; y < y1; ++y) {
      const std::uint8_t* source = pixels.indices.data() + std::size_t(y - top) * pixels.width;
      std::uint8_t* target = image_.rgba.data() + (std::size_t(y) * image_.width) * 4;
      for (int x = x0; x < x1; ++x) {
        const std::uint8_t index = source[x - left];
        if (index != transparent_index_) std::memcpy(target + 4 * x, palette_[index].data(), 4);
      }
    }
  }

  RgbaImage Take() { return std::move(image_); }

 private:
  const PaletteRgba& palette_;
  std::uint8_t transparent_index_;
  RgbaImage image_;
};

}  // namespace

RgbaImage Character::ComposeFrame(const Frame& frame, std::optional<MouthShape> mouth) const {
  if (info.width == 0 || info.height == 0 ||
      std::uint64_t(info.width) * info.height > detail::kMaxPixels) {
    throw RuntimeError(kInvalidCharacterFile, "character size is unusable for drawing");
  }
  const PaletteRgba palette = MakePaletteRgba(info.palette);
  Canvas canvas(info.width, info.height, palette, info.transparent_index);
  const MouthOverlay* overlay = mouth ? frame.FindOverlay(*mouth) : nullptr;
  for (std::size_t i = frame.images.size(); i-- > 0;) {
    if (i == 0 && overlay && overlay->replaces_top_image) break;
    const FrameImage& image = frame.images[i];
    canvas.Draw(ImagePixels(image.image_index), image.x, image.y);
  }
  if (overlay) canvas.Draw(ImagePixels(overlay->image_index), overlay->x, overlay->y);
  return canvas.Take();
}

RgbaImage Character::ComposeFrame(const Animation& animation, std::size_t frame_index,
                                  std::optional<MouthShape> mouth) const {
  if (frame_index >= animation.frames.size()) {
    throw RuntimeError(
        err::kSubscriptOutOfRange,
        "animation \"" + animation.name + "\" has no frame " + std::to_string(frame_index));
  }
  return ComposeFrame(animation.frames[frame_index], mouth);
}

}  // namespace rirerazo::acs
