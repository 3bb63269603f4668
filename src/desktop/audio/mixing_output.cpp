#include "desktop/audio/private/mixing_output.h"

#include <iostream>

namespace rirerazo::desktop {

MixingOutput::MixingOutput(std::unique_ptr<PcmSink> sink, PcmFormat device_format,
                           NowMsFunction now_ms)
    : sink_(std::move(sink)),
      mixer_(device_format, std::move(now_ms)),
      thread_([this] { Run(); }) {}

MixingOutput::~MixingOutput() {
  mixer_.Close();
  thread_.join();
}

std::unique_ptr<AudioStream> MixingOutput::Play(std::vector<std::int16_t> samples, PcmFormat format,
                                                float volume) {
  return mixer_.Add(std::move(samples), format, volume);
}

// Mixes and writes while anything is left to write; then lets the device play out what it
// holds before sleeping, since a stream left short of its start threshold would never start.
// After a device failure sounds keep their timing by the clock, in silence.
void MixingOutput::Run() {
  const PcmFormat& format = mixer_.DeviceFormat();
  const std::size_t chunk_frames = std::size_t(format.sample_rate_hz * kChunkMs / 1000);
  std::vector<std::int16_t> chunk;
  bool device_ok = true;
  while (mixer_.WaitForWork()) {
    while (mixer_.MixNext(chunk_frames, chunk)) {
      if (!device_ok) continue;
      if (!sink_->Write(chunk)) {
        std::cerr << "rirerazo: the sound server stopped taking sound; playing in silence\n";
        device_ok = false;
        continue;
      }
      if (std::optional<std::int64_t> latency_ms = sink_->LatencyMs()) {
        mixer_.NoteLatency(*latency_ms);
      }
    }
    if (device_ok) sink_->Drain();
    mixer_.NoteLatency(0);
  }
}

}  // namespace rirerazo::desktop
