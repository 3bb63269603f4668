// The module's entry point: the table of what it offers (voice/voice_module.h).
#include "voice_module.h"

#include "voice/listening_thread.h"
#include "voice/pocketsphinx_recognizer.h"
#include "voice/pulse_microphone.h"
#include "voice/wave_file.h"

namespace rirerazo::voice {

namespace {

std::unique_ptr<runtime::SpeechRecognizer> MakeRecognizer(std::ostream& diagnostics,
                                                          std::string* error) {
  return PocketsphinxRecognizer::Create(InstalledModel(), diagnostics, error);
}

std::unique_ptr<Listener> StartListening(std::unique_ptr<AudioSource> source,
                                         runtime::SpeechRecognizer& recognizer) {
  return std::make_unique<ListeningThread>(std::move(source), recognizer);
}

// The recording is fed in the blocks a microphone would give.
std::optional<runtime::Recognition> RecognizeFile(runtime::SpeechRecognizer& recognizer,
                                                  const std::string& path, std::string* error) {
  std::optional<std::vector<std::int16_t>> samples = ReadSpeechWave(path, error);
  if (!samples) return std::nullopt;
  recognizer.StartUtterance();
  for (std::size_t at = 0; at < samples->size(); at += ListeningThread::kBlockSamples) {
    std::size_t count = std::min(ListeningThread::kBlockSamples, samples->size() - at);
    recognizer.Feed(samples->data() + at, count);
  }
  return recognizer.EndUtterance();
}

constexpr VoiceModule kModule{MakeRecognizer, OpenPulseMicrophone, StartListening, RecognizeFile};

}  // namespace

}  // namespace rirerazo::voice

extern "C" __attribute__((visibility("default"))) const rirerazo::voice::VoiceModule*
rirerazo_voice_module() {
  return &rirerazo::voice::kModule;
}
