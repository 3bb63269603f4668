#include "rira_model.h"

namespace rira {

namespace acs = rirerazo::acs;

ModelBuilder::ModelBuilder() {
  model_.info = RiraInfo();
}

std::uint32_t ModelBuilder::AddImage(const Canvas& canvas) {
  const std::vector<std::uint8_t>& indices = canvas.Indices();
  std::string key(indices.begin(), indices.end());
  for (int size : {canvas.Width(), canvas.Height()}) {
    key.push_back(static_cast<char>(size & 0xFF));
    key.push_back(static_cast<char>((size >> 8) & 0xFF));
  }
  const auto [it, added] =
      known_images_.try_emplace(std::move(key), static_cast<std::uint32_t>(model_.images.size()));
  if (!added) return it->second;
  acs::ImageEntry entry;
  entry.width = static_cast<std::uint16_t>(canvas.Width());
  entry.height = static_cast<std::uint16_t>(canvas.Height());
  entry.pixels = acs::IndexedPixels{entry.width, entry.height, canvas.Indices()};
  entry.region = std::vector<acs::RegionRect>{};  // computed from the pixels when written
  model_.images.push_back(std::move(entry));
  return it->second;
}

std::uint32_t ModelBuilder::AddPose(const Pose& pose) {
  Canvas canvas(kFrameWidth, kFrameHeight, kClear);
  DrawPose(canvas, pose);
  return AddImage(canvas);
}

std::uint16_t ModelBuilder::AddSound(std::vector<std::uint8_t> wav) {
  model_.sounds.push_back(acs::SoundEntry{std::move(wav), 0});
  return static_cast<std::uint16_t>(model_.sounds.size() - 1);
}

acs::Frame ModelBuilder::PoseFrame(const Pose& pose, std::uint16_t duration_cs) {
  acs::Frame frame;
  frame.images.push_back({AddPose(pose), 0, 0});
  frame.duration_cs = duration_cs;
  return frame;
}

const std::vector<acs::MouthOverlay>& ModelBuilder::MouthOverlays() {
  if (!overlays_.empty()) return overlays_;
  for (int shape = 0; shape <= 6; ++shape) {
    acs::MouthOverlay overlay;
    overlay.shape = static_cast<acs::MouthShape>(shape);
    overlay.image_index = static_cast<std::uint16_t>(AddImage(DrawMouthOverlay(shape)));
    overlay.x = kMouthLeft;
    overlay.y = kMouthTop;
    overlay.mouth_x = kMouthLeft + kMouthWidth / 2;
    overlay.mouth_y = kMouthTop + kMouthHeight / 2;
    overlays_.push_back(overlay);
  }
  return overlays_;
}

acs::Character BuildRira() {
  ModelBuilder builder;
  AddRiraAnimations(builder);
  return std::move(builder.Model());
}

}  // namespace rira
