// Speech on the desktop: the espeak-ng synthesiser behind Speak and Think. Each utterance is
// synthesised whole when it starts (far faster than it is spoken), then played through the
// AudioOutput; its words, bookmarks and mouth shapes are reported as the sound reaches them.
//
// The synthesiser is one per process and not thread-safe: construct one EspeakEngine, and
// call it (and its utterances) on one thread, the player's.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <set>
#include <string>

#include "desktop/audio/audio_output.h"
#include "runtime/speech_engine.h"

namespace rirerazo::desktop {

class EspeakEngine : public runtime::SpeechEngine {
 public:
  // Initialises the synthesiser (once per process) from its installed data. `audio` must
  // outlive the engine and every utterance.
  explicit EspeakEngine(AudioOutput& audio);

  // False when the synthesiser's data could not be loaded; the engine then speaks nothing
  // and serves no language.
  bool Ready() const { return sample_rate_hz_ > 0; }
  int SampleRateHz() const { return sample_rate_hz_; }

  bool ServesLanguage(std::int32_t language_id) const override;
  std::unique_ptr<runtime::Utterance> Speak(const runtime::SpeechText& text,
                                            const runtime::VoiceSettings& voice,
                                            bool silent) override;

  // Plays the recording through the audio output; the words follow its playing position.
  std::unique_ptr<runtime::Utterance> SpeakRecording(const runtime::SpeechText& text,
                                                     const std::string& wav_path,
                                                     std::int64_t length_ms) override;

  // The voice name a character with these settings speaks with ("en-us+f2"); empty when
  // none fits.
  std::string VoiceFor(const runtime::VoiceSettings& voice) const;
  // The installed voices' names, for the user to choose from.
  const std::set<std::string>& VoiceNames() const { return installed_; }

 private:
  AudioOutput& audio_;
  int sample_rate_hz_ = 0;
  std::set<std::string> installed_;  // voice file names, lower case
};

// The desktop's speech engine: EspeakEngine when the synthesiser is ready, else the
// speaking-rate model (timing without sound), with a one-line note on `err`.
std::unique_ptr<runtime::SpeechEngine> MakeDesktopSpeechEngine(AudioOutput& audio,
                                                               std::ostream& err);

}  // namespace rirerazo::desktop
