// The sounds an output is playing, mixed into one device stream. The output's own thread
// takes mixed chunks (MixNext) and writes them to the device; any thread adds sounds (Add)
// and asks how far they have got through the streams Add returns.
//
// Where a sound is: before its first frame is written it stands at 0. After that it follows
// a steady clock from the first write, or, once the device has reported its latency, the
// frames written less the latency, carried forward by the clock between reports. It never
// goes back, never passes the frames written, and reaches the duration when it has played.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "desktop/audio/audio_output.h"

namespace rirerazo::desktop {

using NowMsFunction = std::function<std::int64_t()>;

// A steady clock in milliseconds, the default for outputs.
std::int64_t SteadyNowMs();

class Mixer {
 public:
  Mixer(PcmFormat device_format, NowMsFunction now_ms);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  const PcmFormat& DeviceFormat() const { return device_format_; }

  // Queues a sound; mixing starts with the next chunk, converting it to the device format
  // chunk by chunk, so handing over a long sound costs no time on the caller's thread.
  std::unique_ptr<AudioStream> Add(std::vector<std::int16_t> samples, const PcmFormat& format,
                                   float volume);

  // Mixes the next `frames` frames of every sound still to be written into `out` (resized to
  // the chunk). Returns false, leaving `out` empty, when nothing is left to write.
  bool MixNext(std::size_t frames, std::vector<std::int16_t>& out);
  // The device holds `latency_ms` of written sound not yet heard (after a write).
  void NoteLatency(std::int64_t latency_ms);

  // Blocks until a sound waits to be written or Close was called; false after Close.
  bool WaitForWork();
  // Wakes WaitForWork for good (the output is shutting down).
  void Close();

  struct Sound;

 private:
  PcmFormat device_format_;
  NowMsFunction now_ms_;
  std::shared_ptr<std::mutex> mutex_;
  std::condition_variable work_;
  bool closed_ = false;
  std::vector<std::shared_ptr<Sound>> pending_;  // sounds with frames still to write
  std::vector<std::shared_ptr<Sound>> heard_;    // written, perhaps not yet heard to the end
  std::vector<std::int32_t> sum_;
};

}  // namespace rirerazo::desktop
