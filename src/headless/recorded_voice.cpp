#include "headless/recorded_voice.h"

#include <ostream>

#include "os/module_loader.h"
#include "platform/runtime_error.h"

namespace rirerazo::headless {

RecordedVoice::~RecordedVoice() = default;

bool RecordedVoice::Ready() {
  if (tried_) return recognizer_ != nullptr;
  tried_ = true;
  os::LoadedModule loaded = os::LoadModule(voice::kVoiceModuleFile, voice::kVoiceModuleEntry);
  std::string why = loaded.error;
  if (loaded.entry) {
    module_ = reinterpret_cast<voice::VoiceModuleEntry>(loaded.entry)();
    recognizer_ = module_->make_recognizer(err_, &why);
  }
  if (!recognizer_) err_ << "rirerazo: voice input is unavailable: " << why << "\n";
  return recognizer_ != nullptr;
}

std::optional<runtime::Recognition> RecordedVoice::Hear(runtime::CharacterRuntime& runtime,
                                                        const std::string& character,
                                                        const std::string& path) {
  runtime.Character(character);  // an unknown character is reported before anything loads
  if (!Ready()) return std::nullopt;
  runtime::VoiceGrammarSet offered = runtime.VoiceGrammars();
  recognizer_->SetGrammars(offered.grammars);
  std::string error;
  std::optional<runtime::Recognition> heard = module_->recognize_file(*recognizer_, path, &error);
  if (!heard) throw RuntimeError(err::kFileNotFound, error);
  runtime.HearRecognized(character, offered, *heard);
  return heard;
}

}  // namespace rirerazo::headless
