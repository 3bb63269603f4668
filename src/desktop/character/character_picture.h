// What one character shows, apart from any window: the composed frame (with its mouth) at
// the character's size and its opaque shape, and the frame sounds that play as the
// character comes to each frame. The character window shows the picture on itself; the
// video renderer paints it onto its canvas at the character's place and mixes the sounds,
// so both show and sound the same.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QSize>
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "desktop/audio/audio_output.h"
#include "desktop/character/frame_cache.h"
#include "runtime/character_runtime.h"

namespace rirerazo::desktop {

// A state with a frame to draw: visible, with a file, an animation and a frame.
bool Drawable(const runtime::FrameState& state);
// The size the character is drawn at: its own, or its file's when it has none yet.
QSize DrawnSize(const runtime::FrameState& state);

class CharacterPicture {
 public:
  // Brings the picture to the frame and mouth of `state` (Drawable) at `size`. Returns
  // true when a different frame is now shown. A frame whose images are corrupt shows
  // nothing rather than stopping the player.
  bool Show(const runtime::FrameState& state, QSize size);
  // Forgets the frame shown, so the next Show composes again (the character was hidden).
  void Forget() { animation_ = frame_ = mouth_ = -1; }

  const QImage& Image() const { return image_; }  // null when the frame failed
  const QRegion& Shape() const { return shape_; }
  bool HasPixels() const { return has_pixels_; }
  // How many times a different frame was put up (for measurements).
  std::size_t FramesShown() const { return frames_shown_; }

  // Paints the frame with its top-left corner at `at`.
  void Paint(QPainter& painter, QPoint at) const;

 private:
  FrameCache cache_;
  QImage image_;
  QRegion shape_;
  bool has_pixels_ = false;
  int animation_ = -1;
  int frame_ = -1;
  int mouth_ = -1;
  std::size_t frames_shown_ = 0;
};

// The sounds of a character's frames: a frame's sound plays when the character comes to
// that frame; staying on it (a held frame, repeated calls) does not repeat it.
class FrameSounds {
 public:
  // `audio` must outlive this.
  explicit FrameSounds(AudioOutput& audio) : audio_(audio) {}

  // The character now shows `state` (Drawable).
  void Reached(const runtime::FrameState& state);
  // The character was hidden: coming back to the same frame plays its sound again.
  void Forget() { animation_ = frame_ = -1; }
  std::size_t Started() const { return started_; }

 private:
  AudioOutput& audio_;
  int animation_ = -1;
  int frame_ = -1;
  const acs::Character* file_ = nullptr;
  std::unordered_map<int, acs::PcmSound> sounds_;  // decoded, by sound index
  std::vector<std::unique_ptr<AudioStream>> streams_;
  std::size_t started_ = 0;
};

}  // namespace rirerazo::desktop
