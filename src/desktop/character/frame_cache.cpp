#include "desktop/character/frame_cache.h"

#include <QBitmap>

namespace rirerazo::desktop {

FrameCache::Key FrameCache::MakeKey(int animation, int frame, int mouth_shape) {
  return (std::uint64_t(std::uint32_t(animation)) << 32) |
         (std::uint64_t(std::uint32_t(frame) & 0xFFFFFF) << 8) | std::uint64_t(mouth_shape + 1);
}

const CachedFrame& FrameCache::Get(const acs::Character& file, int animation, int frame,
                                   int mouth_shape, int width_px, int height_px) {
  if (&file != file_ || width_px != width_px_ || height_px != height_px_) {
    entries_.clear();
    index_.clear();
    file_ = &file;
    width_px_ = width_px;
    height_px_ = height_px;
  }
  const Key key = MakeKey(animation, frame, mouth_shape);
  if (auto found = index_.find(key); found != index_.end()) {
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->frame;
  }
  entries_.push_front({key, Compose(file, animation, frame, mouth_shape, width_px, height_px)});
  index_[key] = entries_.begin();
  if (entries_.size() > capacity_) {
    index_.erase(entries_.back().key);
    entries_.pop_back();
  }
  return entries_.front().frame;
}

// Scaling keeps hard edges (nearest pixel) so the alpha stays 0 or 255 and the shape of the
// scaled frame is exact.
CachedFrame FrameCache::Compose(const acs::Character& file, int animation, int frame,
                                int mouth_shape, int width_px, int height_px) const {
  CachedFrame result;
  std::optional<acs::MouthShape> mouth;
  if (mouth_shape >= 0 && mouth_shape <= 6) mouth = acs::MouthShape(mouth_shape);
  acs::RgbaImage rgba =
      file.ComposeFrame(file.animations.at(std::size_t(animation)), std::size_t(frame), mouth);
  if (rgba.width <= 0 || rgba.height <= 0) return result;
  QImage image(rgba.rgba.data(), rgba.width, rgba.height, rgba.width * 4, QImage::Format_RGBA8888);
  QImage converted = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (width_px > 0 && height_px > 0 && (width_px != rgba.width || height_px != rgba.height)) {
    converted =
        converted.scaled(width_px, height_px, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  result.shape = OpaqueRegion(converted);
  result.has_pixels = !result.shape.isEmpty();
  result.image = std::move(converted);
  return result;
}

QRegion OpaqueRegion(const QImage& image) {
  if (image.isNull()) return {};
  QImage mask = image.createAlphaMask(Qt::MonoOnly | Qt::ThresholdAlphaDither);
  return QRegion(QBitmap::fromImage(mask));
}

}  // namespace rirerazo::desktop
