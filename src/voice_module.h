// The voice module (rirerazo-voice.so): the speech recogniser and the microphone, loaded with
// os::LoadModule only when something first listens, so a missing recogniser disables voice
// input and nothing else. The program and the module are built together from the same
// sources, so the table below carries C++ objects.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "runtime/speech_recognizer.h"

namespace rirerazo::voice {

// Where 16 kHz mono audio comes from. Read is called on the listening thread only.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Waits for audio (a device blocks about one read's worth) and returns the samples read,
  // 0 when none came this time, -1 when the source is gone for good.
  virtual long Read(std::int16_t* samples, std::size_t capacity) = 0;
};

// What a listening session reports to the thread that polls it.
struct ListenReport {
  enum class Kind { kHeard, kSourceGone } kind = Kind::kHeard;
  runtime::Recognition heard;
  std::int64_t end_of_speech_ns = 0;  // steady clock: when the utterance was seen to end
};

// A session listening on a thread of its own: reads the source, feeds the recogniser and
// reports every phrase heard until Finish. The recogniser is used only by that thread
// until Finish returns.
class Listener {
 public:
  virtual ~Listener() = default;  // finishes without reporting a phrase in progress
  // Reports queued so far, oldest first; called by the player's thread.
  virtual std::optional<ListenReport> Poll() = 0;
  // Stops reading and joins the thread. With `keep_phrase` a phrase in progress is ended and
  // reported (the push-to-talk key released mid-sentence).
  virtual void Finish(bool keep_phrase) = 0;
};

struct VoiceModule {
  // The recogniser with the installed acoustic model and dictionary; null and a reason when
  // they cannot be loaded. Diagnostics (words missing from the dictionary) go to `diagnostics`.
  std::unique_ptr<runtime::SpeechRecognizer> (*make_recognizer)(std::ostream& diagnostics,
                                                                std::string* error);
  // The sound server's default microphone, opened for recording at 16 kHz mono; null and a
  // reason when there is no sound server or no microphone.
  std::unique_ptr<AudioSource> (*open_microphone)(std::string* error);
  std::unique_ptr<Listener> (*start_listening)(std::unique_ptr<AudioSource> source,
                                               runtime::SpeechRecognizer& recognizer);
  // Feeds a wave file (any rate, mono or stereo, 16-bit PCM) through the recogniser as one
  // utterance; nullopt and a reason when the file cannot be read.
  std::optional<runtime::Recognition> (*recognize_file)(runtime::SpeechRecognizer& recognizer,
                                                        const std::string& path,
                                                        std::string* error);
};

inline constexpr const char* kVoiceModuleFile = "rirerazo-voice.so";
inline constexpr const char* kVoiceModuleEntry = "rirerazo_voice_module";
using VoiceModuleEntry = const VoiceModule* (*)();

}  // namespace rirerazo::voice
