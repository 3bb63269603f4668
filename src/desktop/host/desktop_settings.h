// The user's own settings of the character runtime, changed in the settings sheet and kept
// between runs: a voice, speed and pitch for characters whose script and file set none, a
// balloon font, whether sound plays at all, and the key held to speak to a character.
#pragma once

#include <memory>
#include <string>

#include "desktop/audio/audio_output.h"
#include "runtime/speech_engine.h"

namespace rirerazo::desktop {

// The listening key by default: it types nothing and few programs use it.
inline constexpr const char* kDefaultListeningKey = "Scroll_Lock";

struct DesktopSettings {
  std::string voice;          // an espeak-ng voice name; empty: chosen by the language
  int words_per_minute = 0;   // 0: the character's or the engine's
  int pitch = 0;              // 0: the character's or the engine's
  std::string balloon_font;   // empty: the character file's
  int balloon_font_size = 0;  // points; 0: the character file's
  bool sound = true;
  std::string listening_key = kDefaultListeningKey;  // an X keysym name; empty: none
  friend bool operator==(const DesktopSettings&, const DesktopSettings&) = default;
};

// The largest values the settings sheet offers; a hand-edited file is held to them too.
inline constexpr int kMaxWordsPerMinute = 500;
inline constexpr int kMaxPitch = 400;
inline constexpr int kMaxBalloonFontSize = 72;

// Stored in the user's configuration folder ($XDG_CONFIG_HOME/RIRERazo). Numbers outside
// the sheet's ranges (or not numbers) read as the nearest allowed value or 0, the default.
DesktopSettings LoadDesktopSettings();
void SaveDesktopSettings(const DesktopSettings& settings);

// The voice for one utterance: what the script or the character file chose, the user's
// settings for the rest.
runtime::VoiceSettings ApplyUserVoice(runtime::VoiceSettings voice,
                                      const DesktopSettings& settings);

// A speech engine that speaks with the user's voice settings.
class UserVoiceEngine : public runtime::SpeechEngine {
 public:
  UserVoiceEngine(runtime::SpeechEngine& inner, const DesktopSettings& settings)
      : inner_(inner), settings_(settings) {}
  bool ServesLanguage(std::int32_t language_id) const override {
    return inner_.ServesLanguage(language_id);
  }
  std::unique_ptr<runtime::Utterance> Speak(const runtime::SpeechText& text,
                                            const runtime::VoiceSettings& voice,
                                            bool silent) override {
    return inner_.Speak(text, ApplyUserVoice(voice, settings_), silent);
  }

 private:
  runtime::SpeechEngine& inner_;
  const DesktopSettings& settings_;
};

// An audio output that plays in silence (with the same timing) while sound is switched off.
class SwitchableAudioOutput : public AudioOutput {
 public:
  SwitchableAudioOutput(AudioOutput& inner, const DesktopSettings& settings)
      : inner_(inner), settings_(settings) {}
  std::unique_ptr<AudioStream> Play(std::vector<std::int16_t> samples, PcmFormat format,
                                    float volume) override {
    return inner_.Play(std::move(samples), format, settings_.sound ? volume : 0.0f);
  }
  bool Audible() const override { return settings_.sound && inner_.Audible(); }

 private:
  AudioOutput& inner_;
  const DesktopSettings& settings_;
};

}  // namespace rirerazo::desktop
