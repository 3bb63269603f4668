// The speech engine behind Speak: it turns parsed speech text into timed progress reports
// (each word as it starts, each bookmark as speech reaches it, and the end). The headless
// host uses the speaking-rate model of rate_model.h; a desktop host plugs in a real
// synthesiser. The runtime polls an utterance on the player's thread; an engine that works on
// a thread of its own hands its reports over inside Poll.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/speech_tags.h"

namespace rirerazo::runtime {

struct VoiceSettings {
  std::int32_t language_id = 0x409;
  std::string mode_id;                // TTSModeID; empty: the engine's choice
  std::int32_t words_per_minute = 0;  // 0: the engine's default
  std::int32_t pitch = 0;             // 0: the engine's default
};

// Mouths: an engine that knows the sounds it makes reports the mouth shape (0 closed, 1..4
// open, 5 medium, 6 narrow) as each sound starts; the character then shows those shapes
// while it speaks. Without such reports the runtime opens and closes the mouth word by word.
struct SpeechProgress {
  enum class Kind : std::uint8_t { kWord, kMark, kEnd, kMouth };
  Kind kind = Kind::kEnd;
  std::int64_t at_ms = 0;  // after the start of the utterance
  std::uint32_t item = 0;  // index into SpeechText::items (words and marks)
  std::int32_t mark = 0;   // the bookmark id, for marks
  std::uint8_t mouth = 0;  // the mouth shape, for mouths
};

class Utterance {
 public:
  virtual ~Utterance() = default;
  // When (ms after the start) the next report is due; nullopt once the end was reported. An
  // engine that cannot know in advance returns the time it next wants to be polled.
  virtual std::optional<std::int64_t> NextDueMs() const = 0;
  // Takes the next report due by `elapsed_ms`; false when none is due yet.
  virtual bool Poll(std::int64_t elapsed_ms, SpeechProgress& report) = 0;
  // Stops speaking at once; no further reports.
  virtual void Cancel() = 0;
};

class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  // Whether a voice of this engine speaks the language (a Windows language id such as 0x409).
  virtual bool ServesLanguage(std::int32_t language_id) const = 0;
  // Starts an utterance. `text` must outlive it. `silent` utterances (thought balloons) are
  // paced the same way but make no sound.
  virtual std::unique_ptr<Utterance> Speak(const SpeechText& text, const VoiceSettings& voice,
                                           bool silent) = 0;
  // Speaks `text` with a recorded wave file instead of a voice: the words show at once and the
  // speech ends when the recording does (`length_ms`, already read from the file). An engine
  // that makes sound plays the file; this default only keeps the time.
  virtual std::unique_ptr<Utterance> SpeakRecording(const SpeechText& text,
                                                    const std::string& wav_path,
                                                    std::int64_t length_ms);
};

}  // namespace rirerazo::runtime
