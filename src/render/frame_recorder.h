// Turns the virtual clock's jumps into video frames. The event loop calls PaceTo before
// each jump; the recorder then walks the time in between: to every step the runtime has
// due (so every frame of an animation is seen and its sound starts on time) and to every
// video frame's time, where it paints the canvas and hands the picture, with the sound
// mixed up to that time, to the encoder. A frame shows the screen as it is at its time,
// after everything due at that time has happened.
//
// Events raised by the runtime on the way wait, as they would while the player sleeps,
// until the loop serves them at the end of the jump.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "headless/pacer.h"
#include "headless/virtual_clock.h"
#include "runtime/character_runtime.h"

namespace rirerazo::render {

class ScreenCanvas;
class SoundTrack;
class VideoEncoder;

class FrameRecorder : public headless::ClockPacer {
 public:
  // Called after each frame written: the video's length so far and its frame count.
  using FrameListener = std::function<void(std::int64_t rendered_ms, std::int64_t frames)>;

  // Everything must outlive the recorder.
  FrameRecorder(headless::VirtualClock& clock, runtime::CharacterRuntime& runtime,
                ScreenCanvas& canvas, SoundTrack& track, VideoEncoder& encoder,
                int frames_per_second);

  void SetFrameListener(FrameListener listener) { on_frame_ = std::move(listener); }

  void PaceTo(std::int64_t from_ms, std::int64_t to_ms) override;
  // Writes the frames before `end_ms` (at least one) and the sound up to the end of the
  // last one; the video then lasts `end_ms` rounded up to a whole frame.
  void Finish(std::int64_t end_ms);

  std::int64_t Frames() const { return frames_; }
  // The virtual time of frame `index`, in whole milliseconds.
  std::int64_t FrameTimeMs(std::int64_t index) const { return index * 1000 / fps_; }

 private:
  void Walk(std::int64_t from_ms, std::int64_t to_ms);
  void Observe(std::int64_t at_ms, std::int64_t limit_ms);
  void WriteFrame();
  void WriteSoundUntilFrame(std::int64_t index);

  headless::VirtualClock& clock_;
  runtime::CharacterRuntime& runtime_;
  ScreenCanvas& canvas_;
  SoundTrack& track_;
  VideoEncoder& encoder_;
  int fps_;
  std::int64_t frames_ = 0;
  std::vector<std::int16_t> sound_;
  FrameListener on_frame_;
};

}  // namespace rirerazo::render
