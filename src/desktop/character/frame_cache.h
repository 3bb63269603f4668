// Composed character frames as Qt images, scaled to the character's current size, with the
// shape (opaque area) of each. Composing a frame decodes and blends several images, so a
// window keeps the frames it has shown; the cache is bounded (least recently used goes
// first) because a character file can hold thousands of frames.
#pragma once

#include <QImage>
#include <QRegion>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>

#include "runtime/acs/acs_file.h"

namespace rirerazo::desktop {

struct CachedFrame {
  QImage image;   // ARGB32 premultiplied, at the requested size
  QRegion shape;  // the opaque pixels
  bool has_pixels = false;
};

class FrameCache {
 public:
  // `file` must outlive the cache's use of it (the runtime's character data holds it).
  explicit FrameCache(std::size_t capacity = 96) : capacity_(capacity) {}

  // The frame of `animation` composed with `mouth_shape` (-1: none) at width x height.
  // A new file or size empties the cache. Throws what the reader throws for corrupt data.
  const CachedFrame& Get(const acs::Character& file, int animation, int frame, int mouth_shape,
                         int width_px, int height_px);
  std::size_t Size() const { return entries_.size(); }

 private:
  using Key = std::uint64_t;
  struct Entry {
    Key key;
    CachedFrame frame;
  };
  static Key MakeKey(int animation, int frame, int mouth_shape);
  CachedFrame Compose(const acs::Character& file, int animation, int frame, int mouth_shape,
                      int width_px, int height_px) const;

  std::size_t capacity_;
  const acs::Character* file_ = nullptr;
  int width_px_ = 0;
  int height_px_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<Key, std::list<Entry>::iterator> index_;
};

// The opaque area of an image whose alpha is either 0 or 255 (any alpha counts as opaque).
QRegion OpaqueRegion(const QImage& image);

}  // namespace rirerazo::desktop
