#include "runtime/acs/writer/private/blocks.h"

namespace rirerazo::acs::writer {
namespace {

void WriteOverlay(ByteWriter& out, const MouthOverlay& overlay) {
  out.U8(static_cast<std::uint8_t>(overlay.shape));
  out.U8(overlay.replaces_top_image ? 1 : 0);
  out.U16(overlay.image_index);
  out.U8(overlay.reserved);
  out.U8(overlay.region.empty() ? 0 : 1);
  // A region, when present, follows its flag as a sized data block.
  if (!overlay.region.empty()) {
    out.U32(static_cast<std::uint32_t>(overlay.region.size()));
    out.Bytes(overlay.region);
  }
  out.I16(overlay.x);
  out.I16(overlay.y);
  out.U16(overlay.mouth_x);
  out.U16(overlay.mouth_y);
}

void WriteFrame(ByteWriter& out, const Frame& frame) {
  out.U16(static_cast<std::uint16_t>(frame.images.size()));
  for (const FrameImage& image : frame.images) {
    out.U32(image.image_index);
    out.I16(image.x);
    out.I16(image.y);
  }
  out.U16(frame.sound_index);
  out.U16(frame.duration_cs);
  out.I16(frame.exit_frame);
  out.U8(static_cast<std::uint8_t>(frame.branches.size()));
  for (const Branch& branch : frame.branches) {
    out.U16(branch.target_frame);
    out.U16(branch.probability_percent);
  }
  out.U8(static_cast<std::uint8_t>(frame.overlays.size()));
  for (const MouthOverlay& overlay : frame.overlays) WriteOverlay(out, overlay);
}

}  // namespace

// The block repeats the name in upper case, and stores the return animation upper-cased as
// well; files made by the original tools leave it empty unless the transition uses it.
void WriteAnimationBlock(ByteWriter& out, const Animation& animation) {
  out.String(UpperAscii(animation.name));
  out.U8(static_cast<std::uint8_t>(animation.transition));
  out.String(UpperAscii(animation.return_animation));
  out.U16(static_cast<std::uint16_t>(animation.frames.size()));
  for (const Frame& frame : animation.frames) WriteFrame(out, frame);
}

}  // namespace rirerazo::acs::writer
