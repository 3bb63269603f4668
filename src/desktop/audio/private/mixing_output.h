// An audio output that mixes every sound playing into one device stream on a thread of its
// own. The device is a PcmSink: the sound server's stream, or a fake in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <thread>

#include "desktop/audio/audio_output.h"
#include "desktop/audio/private/mixer.h"

namespace rirerazo::desktop {

// A device stream in one format. Called on the output's thread only.
class PcmSink {
 public:
  virtual ~PcmSink() = default;
  // Blocks while the device's buffer is full; false when the device failed.
  virtual bool Write(std::span<const std::int16_t> samples) = 0;
  // Milliseconds of written sound not yet heard, when the device can tell.
  virtual std::optional<std::int64_t> LatencyMs() = 0;
  // Blocks until everything written has been heard.
  virtual void Drain() = 0;
};

class MixingOutput : public AudioOutput {
 public:
  MixingOutput(std::unique_ptr<PcmSink> sink, PcmFormat device_format, NowMsFunction now_ms);
  // Stops the thread; sounds still playing end where they are.
  ~MixingOutput() override;

  std::unique_ptr<AudioStream> Play(std::vector<std::int16_t> samples, PcmFormat format,
                                    float volume) override;
  bool Audible() const override { return true; }

  static constexpr int kChunkMs = 20;

 private:
  void Run();

  std::unique_ptr<PcmSink> sink_;
  Mixer mixer_;
  std::thread thread_;
};

}  // namespace rirerazo::desktop
