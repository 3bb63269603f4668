// The sound server's output: one playback stream, fed by the mixing thread. Writes block while
// the server's buffer is full, which paces the thread; the buffer is kept short so that
// stopping a sound is heard at once.
#include <pulse/error.h>
#include <pulse/simple.h>
#include <sys/stat.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "desktop/audio/audio_output.h"
#include "desktop/audio/null_audio_output.h"
#include "desktop/audio/private/mixing_output.h"

namespace rirerazo::desktop {

namespace {

constexpr PcmFormat kDeviceFormat{44100, 2};
constexpr int kBufferMs = 80;

bool SocketExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

// Whether a sound server may answer. Without an explicit server the client library would
// look for the local sockets anyway; checking them first keeps start-up instant (and free
// of spawn attempts) on machines without one, the usual case under a virtual display.
bool ServerMayAnswer() {
  if (const char* server = std::getenv("PULSE_SERVER"); server && *server) return true;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    if (SocketExists(std::string(runtime) + "/pulse/native")) return true;
  }
  return SocketExists("/run/pulse/native") || SocketExists("/var/run/pulse/native");
}

class PulseSink : public PcmSink {
 public:
  explicit PulseSink(pa_simple* connection) : connection_(connection) {}
  ~PulseSink() override { pa_simple_free(connection_); }

  bool Write(std::span<const std::int16_t> samples) override {
    int error = 0;
    return pa_simple_write(connection_, samples.data(), samples.size_bytes(), &error) >= 0;
  }
  std::optional<std::int64_t> LatencyMs() override {
    int error = 0;
    pa_usec_t latency_us = pa_simple_get_latency(connection_, &error);
    if (latency_us == pa_usec_t(-1)) return std::nullopt;
    return std::int64_t(latency_us / 1000);
  }
  void Drain() override {
    int error = 0;
    pa_simple_drain(connection_, &error);
  }

 private:
  pa_simple* connection_;
};

pa_simple* Connect(const char* application_name, std::string& failure) {
  if (!ServerMayAnswer()) {
    failure = "no sound server is running";
    return nullptr;
  }
  pa_sample_spec spec{PA_SAMPLE_S16LE, std::uint32_t(kDeviceFormat.sample_rate_hz),
                      std::uint8_t(kDeviceFormat.channels)};
  pa_buffer_attr buffer{};
  buffer.maxlength = std::uint32_t(-1);
  buffer.tlength = std::uint32_t(pa_usec_to_bytes(kBufferMs * 1000, &spec));
  buffer.prebuf = std::uint32_t(-1);
  buffer.minreq = std::uint32_t(-1);
  buffer.fragsize = std::uint32_t(-1);
  int error = 0;
  pa_simple* connection = pa_simple_new(nullptr, application_name, PA_STREAM_PLAYBACK, nullptr,
                                        "speech and sounds", &spec, nullptr, &buffer, &error);
  if (!connection) failure = pa_strerror(error);
  return connection;
}

}  // namespace

std::unique_ptr<AudioOutput> MakeAudioOutput(const char* application_name) {
  std::string failure;
  if (pa_simple* connection = Connect(application_name, failure)) {
    return std::make_unique<MixingOutput>(std::make_unique<PulseSink>(connection), kDeviceFormat,
                                          SteadyNowMs);
  }
  std::cerr << "rirerazo: " << failure << "; playing in silence\n";
  return MakeNullAudioOutput();
}

}  // namespace rirerazo::desktop
