// The render's sound: an audio output on the virtual clock. Every sound played through it
// (speech, frame sounds, wave and MIDI media, recordings) starts at the virtual time of the
// Play call and is mixed into one track, which the renderer takes stretch by stretch as the
// video's frames are written. A sound's position follows the virtual clock exactly, so
// speech reports (words, bookmarks, mouths) fall due at the times of the sound in the
// track, as they follow the sound heard on a desktop.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "desktop/audio/audio_output.h"
#include "platform/clock.h"

namespace rirerazo::render {

class SoundTrack : public desktop::AudioOutput {
 public:
  // `clock` must outlive the track and its streams. `format`: the track's.
  SoundTrack(const platform::Clock& clock, desktop::PcmFormat format);
  ~SoundTrack() override;

  std::unique_ptr<desktop::AudioStream> Play(std::vector<std::int16_t> samples,
                                             desktop::PcmFormat format, float volume) override;
  bool Audible() const override { return true; }

  const desktop::PcmFormat& Format() const { return format_; }
  // The track's sample frames from where the last call ended up to `end_frame` (not
  // before), mixed and clipped, interleaved, into `out` (replaced). A sound that starts
  // before the part already taken is heard from the part not yet taken.
  void MixUntil(std::int64_t end_frame, std::vector<std::int16_t>& out);
  std::int64_t MixedFrames() const { return mixed_frames_; }
  // The sample frame at a virtual time.
  std::int64_t FrameAt(std::int64_t ms) const { return ms * format_.sample_rate_hz / 1000; }

  struct Sound;

 private:
  const platform::Clock& clock_;
  desktop::PcmFormat format_;
  std::vector<std::shared_ptr<Sound>> sounds_;  // started, not yet mixed to their end
  std::int64_t mixed_frames_ = 0;
  std::vector<std::int32_t> sum_;
};

}  // namespace rirerazo::render
