// The desktop's one way to make sound: speech, animation sounds and wave files all play
// through an AudioOutput. A sound is 16-bit signed PCM handed over whole; the output plays
// it on a thread of its own and reports how far the device has got, so speech events can
// follow the sound actually heard. Without a sound device the null output keeps the same
// timing in silence, so nothing that waits for a sound to end waits forever.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace rirerazo::desktop {

struct PcmFormat {
  int sample_rate_hz = 22050;
  int channels = 1;
};

// One sound being played. Dropping the handle stops the sound.
class AudioStream {
 public:
  virtual ~AudioStream() = default;
  // Milliseconds of the sound the device has played so far (by the steady clock when the
  // device reports no position); reaches DurationMs() when the sound has finished.
  virtual std::int64_t PlayedMs() const = 0;
  virtual std::int64_t DurationMs() const = 0;
  virtual bool Finished() const = 0;
  // Stops at once; PlayedMs stays where the sound was stopped.
  virtual void Stop() = 0;
};

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  // Starts playing `samples` (interleaved when there are several channels) at `volume`
  // (0..1). Thread-safe; returns at once.
  virtual std::unique_ptr<AudioStream> Play(std::vector<std::int16_t> samples, PcmFormat format,
                                            float volume = 1.0f) = 0;
  // False for the silent stand-in used when no sound device is reachable.
  virtual bool Audible() const = 0;
};

// The sound server's output when one answers, else a silent output with the same timing.
// `application_name` names the player's stream in the sound server's mixer.
std::unique_ptr<AudioOutput> MakeAudioOutput(const char* application_name);

}  // namespace rirerazo::desktop
