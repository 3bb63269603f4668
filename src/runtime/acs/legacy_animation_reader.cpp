// One inflated animation stream of an older-generation file: its own sounds, its own images
// (each a whole character frame, stored raw), and frames that point into those two tables,
// with mouth images stored inline. The sounds and images join the character's tables; the
// frames are rewritten to the character-wide indices.
#include "runtime/acs/private/legacy_reader.h"
#include "runtime/acs/private/reader_parts.h"

namespace rirerazo::acs::detail {

namespace {

constexpr std::int16_t kLegacyNoSound = -1;
constexpr std::uint16_t kLegacyNoImage = 0xFFFF;  // a frame that shows nothing
constexpr std::uint8_t kStoredRaw = 0;
constexpr std::uint32_t kNoImage = 0xFFFFFFFF;  // an empty image slot
// Mouth overlays refer to images with 16 bits.
constexpr std::size_t kMaxImages = 0xFFFF;

struct StreamTables {
  std::size_t first_sound = 0;
  std::size_t sound_count = 0;
  std::vector<std::uint32_t> images;  // character-wide index of each slot, or kNoImage
};

class AnimationParser {
 public:
  AnimationParser(std::span<const std::uint8_t> kept, const InflatedAnimation& stream,
                  std::string_view source, Character& character)
      : base_(stream.range.offset),
        in_(kept.subspan(stream.range.offset, stream.range.size), {0, stream.range.size}, source,
            "animation stream '" + stream.entry->stream_name + "' (inflated)"),
        character_(character) {}

  Animation Parse(const LegacyAnimationEntry& entry) {
    ReadSounds();
    ReadImages();
    Animation animation;
    animation.name = entry.name;
    animation.return_animation = UpperAscii(entry.return_animation);
    // Without a return animation the older files end an animation where it stands.
    animation.transition =
        entry.return_animation.empty() ? TransitionType::kNone : TransitionType::kReturnAnimation;
    animation.frames.resize(in_.Count(in_.U16(), 12, "frame"));
    if (animation.frames.empty()) in_.Fail("animation has no frames");
    for (Frame& frame : animation.frames) frame = ReadFrame(animation.frames.size());
    if (in_.Remaining() != 0) in_.Fail("unexpected bytes after the frames");
    return animation;
  }

 private:
  FileRange Range(std::uint64_t local_offset, std::size_t size) const {
    return {std::uint32_t(base_ + local_offset), std::uint32_t(size)};
  }

  void ReadSounds() {
    tables_.first_sound = character_.sounds.size();
    tables_.sound_count = in_.Count(in_.U16(), 4, "sound");
    if (tables_.first_sound + tables_.sound_count >= kNoSound) {
      in_.Fail("too many sounds in the character");
    }
    for (std::size_t i = 0; i < tables_.sound_count; ++i) {
      const std::size_t size = in_.Count(in_.U32(), 1, "sound byte");
      const FileRange range = Range(in_.Offset(), size);
      in_.Skip(size);
      character_.sounds.push_back(SoundEntry{range, 0});
    }
  }

  std::uint32_t AddImage(ImageEntry image) {
    if (character_.images.size() >= kMaxImages) in_.Fail("too many images in the character");
    character_.images.push_back(std::move(image));
    return std::uint32_t(character_.images.size() - 1);
  }

  // Checks a stored raster of width x height (rows padded to 4 bytes) and returns its range.
  FileRange ReadRaster(std::uint32_t size, std::uint16_t width, std::uint16_t height) {
    const std::uint64_t stride = (std::uint64_t(width) + 3) & ~std::uint64_t(3);
    if (width == 0 || height == 0 || std::uint64_t(width) * height > kMaxPixels) {
      in_.Fail("unusable image size " + std::to_string(width) + " x " + std::to_string(height));
    }
    if (stride * height != size) {
      in_.Fail("image of " + std::to_string(size) + " bytes does not match its size " +
               std::to_string(width) + " x " + std::to_string(height));
    }
    const FileRange range = Range(in_.Offset(), size);
    in_.Skip(size);
    return range;
  }

  void CheckStorage() {
    const std::uint8_t storage = in_.U8();
    if (storage != kStoredRaw) {
      in_.FailAt(in_.Offset() - 1, "unsupported image storage " + std::to_string(storage));
    }
  }

  void ReadImages() {
    tables_.images.resize(in_.Count(in_.U16(), 4, "image"));
    for (std::uint32_t& slot : tables_.images) {
      const std::uint32_t size = in_.U32();
      if (size == 0) {
        slot = kNoImage;
        continue;
      }
      CheckStorage();
      ImageEntry image;
      image.width = character_.info.width;
      image.height = character_.info.height;
      image.pixels = StoredPixels{ReadRaster(size, image.width, image.height), false};
      const std::size_t region_size = in_.Count(in_.U32(), 1, "region byte");
      if (region_size == 0) {
        image.region = std::vector<RegionRect>{};
      } else {
        image.region =
            StoredRegion{Range(in_.Offset(), region_size), 0, std::uint32_t(region_size)};
        in_.Skip(region_size);
      }
      slot = AddImage(std::move(image));
    }
  }

  Frame ReadFrame(std::size_t frame_count) {
    Frame frame;
    const std::uint64_t at = in_.Offset();
    const std::uint16_t image = in_.U16();
    const std::int16_t sound = in_.I16();
    frame.duration_cs = in_.U16();
    const std::int16_t x = in_.I16();
    const std::int16_t y = in_.I16();
    if (image != kLegacyNoImage && image >= tables_.images.size()) {
      in_.FailAt(at, "frame names image " + std::to_string(image) + " of " +
                         std::to_string(tables_.images.size()));
    }
    if (image != kLegacyNoImage && tables_.images[image] != kNoImage) {
      frame.images.push_back({tables_.images[image], x, y});
    }
    if (sound != kLegacyNoSound) {
      if (sound < 0 || std::size_t(sound) >= tables_.sound_count) {
        in_.FailAt(at + 2, "frame names sound " + std::to_string(sound) + " of " +
                               std::to_string(tables_.sound_count));
      }
      frame.sound_index = std::uint16_t(tables_.first_sound + std::size_t(sound));
    }
    ReadBranches(frame, frame_count);
    ReadMouths(frame);
    return frame;
  }

  void ReadBranches(Frame& frame, std::size_t frame_count) {
    frame.branches.resize(in_.Count(in_.U8(), 4, "branch"));
    for (Branch& branch : frame.branches) {
      const std::int16_t target = in_.I16();
      if (target < 0 || std::size_t(target) >= frame_count) {
        in_.FailAt(in_.Offset() - 2, "branch to frame " + std::to_string(target) + " of " +
                                         std::to_string(frame_count));
      }
      branch = {std::uint16_t(target), in_.U16()};
    }
  }

  void ReadMouths(Frame& frame) {
    const std::size_t count = in_.Count(in_.U8(), 5, "mouth image");
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t shape = in_.U8();
      if (shape > std::uint8_t(MouthShape::kNarrow)) {
        in_.FailAt(in_.Offset() - 1, "unknown mouth shape " + std::to_string(shape));
      }
      const std::uint32_t size = in_.U32();
      if (size == 0) continue;
      CheckStorage();
      MouthOverlay overlay;
      overlay.shape = MouthShape(shape);
      overlay.x = in_.I16();
      overlay.y = in_.I16();
      ImageEntry image;
      image.width = in_.U16();
      image.height = in_.U16();
      image.pixels = StoredPixels{ReadRaster(size, image.width, image.height), false};
      image.region = std::vector<RegionRect>{};
      overlay.image_index = std::uint16_t(AddImage(std::move(image)));
      frame.overlays.push_back(std::move(overlay));
    }
  }

  std::uint64_t base_;
  ByteReader in_;
  Character& character_;
  StreamTables tables_;
};

}  // namespace

Animation ReadLegacyAnimation(std::span<const std::uint8_t> kept, const InflatedAnimation& stream,
                              std::string_view source, Character& character) {
  AnimationParser parser(kept, stream, source, character);
  return parser.Parse(*stream.entry);
}

}  // namespace rirerazo::acs::detail
