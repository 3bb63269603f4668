// What the runtime asks of a speech recogniser: listen for the phrases of a set of voice
// grammars in 16 kHz mono audio and say which were heard, how surely. The implementation
// lives in a module of its own (src/voice/), loaded only when something listens; the runtime
// and the hosts know only this interface.
//
// Threading: a recogniser is used by one thread at a time (the audio thread while a session
// listens, the player's thread otherwise); it has no thread of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rirerazo::runtime {

// One phrase the recogniser heard, with the grammars that accept it.
struct HeardPhrase {
  std::string text;                   // lower case words separated by single blanks
  std::int32_t confidence = 0;        // -100 (surely not what was said) .. 100
  std::vector<std::size_t> grammars;  // indices into the grammars set, in their order
};

struct Recognition {
  // Best first, distinct texts, at most three; empty when nothing was heard or no grammar
  // fits what was.
  std::vector<HeardPhrase> phrases;
  std::int64_t speech_ms = 0;  // the audio the utterance took
};

class SpeechRecognizer {
 public:
  virtual ~SpeechRecognizer() = default;

  // Replaces the grammars (the runtime's voice-grammar syntax). Words the dictionary lacks are
  // reported once per grammar on the diagnostics stream the recogniser was made with, and left
  // out. Returns false when no grammar can be offered (nothing will ever be recognised).
  virtual bool SetGrammars(const std::vector<std::string>& grammars) = 0;

  // An utterance: StartUtterance, Feed as audio arrives, EndUtterance for the result.
  virtual void StartUtterance() = 0;
  virtual void Feed(const std::int16_t* samples, std::size_t count) = 0;
  // True once speech has begun in the current utterance and until it has been followed by
  // enough silence to count as ended.
  virtual bool InSpeech() const = 0;
  virtual Recognition EndUtterance() = 0;
};

inline constexpr int kRecognizerSampleRateHz = 16000;

}  // namespace rirerazo::runtime
