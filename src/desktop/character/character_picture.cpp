#include "desktop/character/character_picture.h"

#include <algorithm>
#include <exception>

namespace rirerazo::desktop {

bool Drawable(const runtime::FrameState& state) {
  return state.visible && state.data && state.data->file && state.animation >= 0 &&
         state.frame >= 0;
}

QSize DrawnSize(const runtime::FrameState& state) {
  const int width_px = state.width_px > 0 ? state.width_px : state.data->width_px;
  const int height_px = state.height_px > 0 ? state.height_px : state.data->height_px;
  return QSize(std::max(width_px, 1), std::max(height_px, 1));
}

bool CharacterPicture::Show(const runtime::FrameState& state, QSize size) {
  const bool same = state.animation == animation_ && state.frame == frame_ &&
                    state.mouth_shape == mouth_ && image_.size() == size;
  if (same) return false;
  animation_ = state.animation;
  frame_ = state.frame;
  mouth_ = state.mouth_shape;
  ++frames_shown_;
  try {
    const CachedFrame& frame = cache_.Get(*state.data->file, state.animation, state.frame,
                                          state.mouth_shape, size.width(), size.height());
    image_ = frame.image;
    shape_ = frame.shape;
    has_pixels_ = frame.has_pixels;
  } catch (const std::exception&) {
    image_ = QImage();
    shape_ = QRegion();
    has_pixels_ = false;
  }
  return true;
}

void CharacterPicture::Paint(QPainter& painter, QPoint at) const {
  if (!image_.isNull()) painter.drawImage(at, image_);
}

void FrameSounds::Reached(const runtime::FrameState& state) {
  std::erase_if(streams_, [](const auto& stream) { return stream->Finished(); });
  if (state.animation == animation_ && state.frame == frame_) return;
  animation_ = state.animation;
  frame_ = state.frame;
  const acs::Character& file = *state.data->file;
  if (&file != file_) {
    sounds_.clear();
    file_ = &file;
  }
  const auto& animation = file.animations.at(std::size_t(state.animation));
  const std::uint16_t index = animation.frames.at(std::size_t(state.frame)).sound_index;
  if (index == acs::kNoSound || index >= file.sounds.size()) return;
  try {
    auto found = sounds_.find(index);
    if (found == sounds_.end()) found = sounds_.emplace(index, file.DecodeSound(index)).first;
    const acs::PcmSound& sound = found->second;
    if (sound.samples.empty()) return;
    auto stream = audio_.Play(sound.samples, {int(sound.sample_rate_hz), sound.channels});
    if (stream) streams_.push_back(std::move(stream));
    ++started_;
  } catch (const std::exception&) {
    // A corrupt sound stays silent; the animation carries on.
  }
}

}  // namespace rirerazo::desktop
