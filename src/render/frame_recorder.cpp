#include "render/frame_recorder.h"

#include "render/screen_canvas.h"
#include "render/sound_track.h"
#include "render/video_encoder.h"

namespace rirerazo::render {

FrameRecorder::FrameRecorder(headless::VirtualClock& clock, runtime::CharacterRuntime& runtime,
                             ScreenCanvas& canvas, SoundTrack& track, VideoEncoder& encoder,
                             int frames_per_second)
    : clock_(clock),
      runtime_(runtime),
      canvas_(canvas),
      track_(track),
      encoder_(encoder),
      fps_(frames_per_second) {}

void FrameRecorder::PaceTo(std::int64_t from_ms, std::int64_t to_ms) {
  Walk(from_ms, to_ms);
}

// Frames before `to_ms`; the clock is moved to each step and frame time before it.
void FrameRecorder::Walk(std::int64_t from_ms, std::int64_t to_ms) {
  Observe(from_ms, to_ms);
  std::int64_t now = from_ms;
  while (true) {
    std::int64_t next = FrameTimeMs(frames_);
    const std::optional<std::int64_t> due = runtime_.NextDueMs();
    if (due && *due > now && *due < next) next = *due;
    if (next >= to_ms) return;
    clock_.AdvanceTo(next);
    Observe(next, to_ms);
    now = next;
  }
}

void FrameRecorder::Observe(std::int64_t at_ms, std::int64_t limit_ms) {
  runtime_.Advance(at_ms);
  canvas_.Sync();
  while (FrameTimeMs(frames_) <= at_ms && FrameTimeMs(frames_) < limit_ms) WriteFrame();
}

void FrameRecorder::WriteFrame() {
  WriteSoundUntilFrame(frames_);
  if (canvas_.Paint() || frames_ == 0) {
    encoder_.AddFrame(canvas_.Image().constBits(), int(canvas_.Image().bytesPerLine()));
  } else {
    encoder_.RepeatFrame();
  }
  ++frames_;
  if (on_frame_) on_frame_(frames_ * 1000 / fps_, frames_);
}

// Sound is taken only up to the start of a frame: a sound that starts later in the frame
// is not known yet.
void FrameRecorder::WriteSoundUntilFrame(std::int64_t index) {
  track_.MixUntil(index * track_.Format().sample_rate_hz / fps_, sound_);
  if (!sound_.empty()) encoder_.AddSound(sound_);
}

void FrameRecorder::Finish(std::int64_t end_ms) {
  Walk(clock_.NowMs(), end_ms);
  if (frames_ == 0) Observe(clock_.NowMs(), clock_.NowMs() + 1);
  WriteSoundUntilFrame(frames_);
  encoder_.Finish();
}

}  // namespace rirerazo::render
