// Reads the animation directory and every animation block it points at. Animation blocks are
// small (frames, branches, overlays), so they are read when the file is opened; images and
// sounds are not.
#include "runtime/acs/private/byte_reader.h"
#include "runtime/acs/private/reader_parts.h"

namespace rirerazo::acs::detail {

namespace {

// Bytes of the smallest frame: counts, sound, duration, exit frame.
constexpr std::size_t kMinFrameBytes = 2 + 2 + 2 + 2 + 1 + 1;

// Reads an index and fails at its offset when it is not below limit.
std::uint32_t CheckedIndex(ByteReader& in, std::uint32_t index, std::size_t limit,
                           std::string_view what, std::size_t index_bytes) {
  if (index >= limit) {
    in.FailAt(in.Offset() - index_bytes, std::string(what) + " " + std::to_string(index) +
                                             " is out of range (" + std::to_string(limit) +
                                             " present)");
  }
  return index;
}

MouthOverlay ReadOverlay(ByteReader& in, const ReferenceLimits& limits) {
  MouthOverlay overlay;
  overlay.shape = static_cast<MouthShape>(in.U8());
  overlay.replaces_top_image = in.U8() != 0;
  overlay.image_index =
      std::uint16_t(CheckedIndex(in, in.U16(), limits.image_count, "overlay image", 2));
  overlay.reserved = in.U8();
  if (in.U8() != 0) {
    // A region follows as a sized data block; no known file has one.
    const std::size_t size = in.Count(in.U32(), 1, "mouth overlay region byte");
    const std::span<const std::uint8_t> region = in.Bytes(size);
    overlay.region.assign(region.begin(), region.end());
  }
  overlay.x = in.I16();
  overlay.y = in.I16();
  overlay.mouth_x = in.U16();
  overlay.mouth_y = in.U16();
  return overlay;
}

Frame ReadFrame(ByteReader& in, const ReferenceLimits& limits, std::size_t frame_count) {
  Frame frame;
  frame.images.resize(in.Count(in.U16(), 8, "frame image"));
  for (FrameImage& image : frame.images) {
    image.image_index = CheckedIndex(in, in.U32(), limits.image_count, "image", 4);
    image.x = in.I16();
    image.y = in.I16();
  }
  frame.sound_index = in.U16();
  if (frame.sound_index != kNoSound)
    CheckedIndex(in, frame.sound_index, limits.sound_count, "sound", 2);
  frame.duration_cs = in.U16();
  frame.exit_frame = in.I16();
  if (frame.exit_frame < kExitNone) in.FailAt(in.Offset() - 2, "invalid exit frame");
  if (frame.exit_frame >= 0)
    CheckedIndex(in, std::uint32_t(frame.exit_frame), frame_count, "exit frame", 2);
  frame.branches.resize(in.Count(in.U8(), 4, "branch"));
  for (Branch& branch : frame.branches) {
    branch.target_frame =
        std::uint16_t(CheckedIndex(in, in.U16(), frame_count, "branch target", 2));
    branch.probability_percent = in.U16();
  }
  frame.overlays.resize(in.Count(in.U8(), 14, "mouth overlay"));
  for (MouthOverlay& overlay : frame.overlays) overlay = ReadOverlay(in, limits);
  return frame;
}

Animation ReadAnimationBlock(const FileView& file, std::string name, FileRange block,
                             const ReferenceLimits& limits) {
  ByteReader in(file.bytes, block, file.source, "animation \"" + name + "\"");
  Animation animation;
  animation.name = std::move(name);
  (void)in.String();  // the upper-case copy of the name
  animation.transition = static_cast<TransitionType>(in.U8());
  animation.return_animation = in.String();
  const std::uint16_t frame_count = in.U16();
  if (frame_count == 0) in.FailAt(in.Offset() - 2, "animation has no frames");
  animation.frames.resize(in.Count(frame_count, kMinFrameBytes, "frame"));
  for (Frame& frame : animation.frames) frame = ReadFrame(in, limits, frame_count);
  if (in.Remaining() != 0) {
    in.Fail(std::to_string(in.Remaining()) + " bytes left over after the last frame");
  }
  return animation;
}

}  // namespace

std::vector<Animation> ReadAnimations(const FileView& file, FileRange directory,
                                      const ReferenceLimits& limits) {
  ByteReader in(file.bytes, directory, file.source, "animation directory");
  const std::size_t count = in.Count(in.U32(), 12, "animation");
  std::vector<Animation> animations;
  animations.reserve(count);
  std::uint64_t total_bytes = 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::string name = in.String();
    const FileRange block{in.U32(), in.U32()};
    // Blocks never share bytes in a well-formed file; refusing sums beyond the file size keeps a
    // directory that names one big block many times from multiplying the work.
    total_bytes += block.size;
    if (total_bytes > file.bytes.size()) in.Fail("animation blocks overlap");
    animations.push_back(ReadAnimationBlock(file, std::move(name), block, limits));
  }
  return animations;
}

}  // namespace rirerazo::acs::detail
