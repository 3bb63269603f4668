#include "voice/pulse_microphone.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include "runtime/speech_recognizer.h"

namespace rirerazo::voice {

namespace {

class PulseMicrophone : public AudioSource {
 public:
  explicit PulseMicrophone(pa_simple* stream) : stream_(stream) {}
  ~PulseMicrophone() override { pa_simple_free(stream_); }

  // pa_simple_read fills the whole buffer or fails; a failure means the server or the
  // device went away.
  long Read(std::int16_t* samples, std::size_t capacity) override {
    int error = 0;
    if (pa_simple_read(stream_, samples, capacity * sizeof(std::int16_t), &error) < 0) return -1;
    return long(capacity);
  }

 private:
  pa_simple* stream_;
};

}  // namespace

std::unique_ptr<AudioSource> OpenPulseMicrophone(std::string* error) {
  pa_sample_spec spec{PA_SAMPLE_S16LE, std::uint32_t(runtime::kRecognizerSampleRateHz), 1};
  // Small fragments keep the time from the end of a phrase to its recognition short.
  pa_buffer_attr buffer{};
  buffer.maxlength = std::uint32_t(-1);
  buffer.fragsize = 3200;  // 100 ms
  int code = 0;
  pa_simple* stream = pa_simple_new(nullptr, "RIRERazo", PA_STREAM_RECORD, nullptr,
                                    "voice commands", &spec, nullptr, &buffer, &code);
  if (!stream) {
    if (error) *error = std::string("no microphone: ") + pa_strerror(code);
    return nullptr;
  }
  return std::make_unique<PulseMicrophone>(stream);
}

}  // namespace rirerazo::voice
