// The user-input script's `hear` lines: a recording goes through the same speech recogniser
// a desktop listens with (the voice module), so a whole voice path can be checked from the
// command line. The module is loaded on the first `hear`.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "runtime/character_runtime.h"
#include "voice_module.h"

namespace rirerazo::headless {

class RecordedVoice {
 public:
  explicit RecordedVoice(std::ostream& err) : err_(err) {}
  ~RecordedVoice();

  // The recording is heard while `character` listens: the runtime then ends the session and
  // raises Command. Without a recogniser that is said once on the error stream, and the
  // recording is not heard. An unreadable recording is an error (RuntimeError 53). Returns
  // what the recogniser heard (no phrases: no words), nullopt when there is no recogniser.
  std::optional<runtime::Recognition> Hear(runtime::CharacterRuntime& runtime,
                                           const std::string& character, const std::string& path);

 private:
  bool Ready();

  std::ostream& err_;
  bool tried_ = false;
  const voice::VoiceModule* module_ = nullptr;
  std::unique_ptr<runtime::SpeechRecognizer> recognizer_;
};

}  // namespace rirerazo::headless
