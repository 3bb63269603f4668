// The headless speech engine: a deterministic speaking-rate model. It makes no sound; it
// says how long speech takes, word by word, so runs are reproducible and fast:
//   - a word of n letters takes base * (min(n, 24) + 3) / 8 ms, where base = 60000 / wpm
//     (an average five-letter word takes one base);
//   - an emphasised word takes a quarter longer;
//   - after a word that ends in , ; or : comes a pause of 2/5 base, after . ! or ? one base
//     (not after the last word: the utterance ends there);
//   - \Pau=n\ pauses n ms (0..65535), \Spd=n\ sets the rate (50..500 wpm), \Rst\ restores the
//     voice's rate. Pitch, volume and voice character do not change the timing.
// Every word is reported as it starts; a bookmark when everything before it has been said.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/speech_engine.h"

namespace rirerazo::runtime {

struct RateModelOptions {
  std::int32_t default_words_per_minute = 160;
  // The languages the model's voices speak, as language tags.
  std::vector<std::string> language_tags = {"en-US", "en-GB", "de-DE", "fr-FR", "it-IT",
                                            "es-ES", "nl-NL", "pt-BR", "ja-JP"};
};

inline constexpr std::int32_t kMinWordsPerMinute = 50;
inline constexpr std::int32_t kMaxWordsPerMinute = 500;
inline constexpr std::int32_t kMaxPauseMs = 65535;

// The whole timeline of one utterance, as the model would report it.
std::vector<SpeechProgress> PlanSpeech(const SpeechText& text, std::int32_t words_per_minute);

// The timeline of text spoken with a recorded sound of a known length: the words show at
// once, the bookmarks are reached and the speech ends when the sound does.
std::vector<SpeechProgress> PlanFixedLength(const SpeechText& text, std::int64_t length_ms);

// An utterance that reports a ready-made timeline.
std::unique_ptr<Utterance> MakePlannedUtterance(std::vector<SpeechProgress> plan);

class RateModelEngine : public SpeechEngine {
 public:
  explicit RateModelEngine(RateModelOptions options = {});

  bool ServesLanguage(std::int32_t language_id) const override;
  std::unique_ptr<Utterance> Speak(const SpeechText& text, const VoiceSettings& voice,
                                   bool silent) override;

 private:
  RateModelOptions options_;
};

}  // namespace rirerazo::runtime
