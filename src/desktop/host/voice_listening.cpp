#include "desktop/host/voice_listening.h"

#include <ostream>

#include "os/module_loader.h"

namespace rirerazo::desktop {

VoiceListening::VoiceListening(runtime::CharacterRuntime& runtime, const platform::Clock& clock,
                               std::ostream& err)
    : runtime_(runtime), clock_(clock), err_(err) {}

// The session ends before the recogniser it uses goes.
VoiceListening::~VoiceListening() {
  session_.reset();
}

std::optional<std::string> VoiceListening::ListeningCharacter() const {
  for (const std::string& id : runtime_.CharacterIds()) {
    if (runtime_.Listening(id)) return id;
  }
  return std::nullopt;
}

std::optional<std::int64_t> VoiceListening::NextDueMs() const {
  if (session_) return next_poll_ms_;
  if (!unavailable_ && ListeningCharacter()) return clock_.NowMs();
  return std::nullopt;
}

bool VoiceListening::Serve(std::int64_t now_ms) {
  if (session_) return ServeSession(now_ms);
  std::optional<std::string> character = ListeningCharacter();
  if (character && !unavailable_) Start(*character, now_ms);
  return false;
}

bool VoiceListening::Unavailable(const std::string& why) {
  err_ << "rirerazo: voice input is unavailable: " << why << "\n";
  unavailable_ = true;
  return false;
}

bool VoiceListening::Start(const std::string& character, std::int64_t now_ms) {
  std::string why;
  if (!module_) {
    os::LoadedModule loaded = os::LoadModule(voice::kVoiceModuleFile, voice::kVoiceModuleEntry);
    if (!loaded.entry) return Unavailable(loaded.error);
    module_ = reinterpret_cast<voice::VoiceModuleEntry>(loaded.entry)();
  }
  if (!recognizer_) recognizer_ = module_->make_recognizer(err_, &why);
  if (!recognizer_) return Unavailable(why);
  offered_ = runtime_.VoiceGrammars();
  if (!recognizer_->SetGrammars(offered_.grammars)) return false;
  std::unique_ptr<voice::AudioSource> microphone = module_->open_microphone(&why);
  if (!microphone) return Unavailable(why);
  session_ = module_->start_listening(std::move(microphone), *recognizer_);
  listener_ = character;
  started_ms_ = now_ms;
  next_poll_ms_ = now_ms + kListenPollMs;
  return true;
}

bool VoiceListening::ServeSession(std::int64_t now_ms) {
  next_poll_ms_ = now_ms + kListenPollMs;
  if (!runtime_.Listening(listener_)) {
    End(false);  // the script stopped listening
    return false;
  }
  while (std::optional<voice::ListenReport> report = session_->Poll()) {
    if (report->kind == voice::ListenReport::Kind::kSourceGone) {
      End(true);
      return Unavailable("the microphone went away");
    }
    if (report->heard.phrases.empty()) continue;  // a noise, not words: keep listening
    End(false);
    runtime_.HearRecognized(listener_, offered_, report->heard);
    return true;
  }
  if (now_ms - started_ms_ >= kListenTimeoutMs) {
    End(true);
    return true;
  }
  return false;
}

void VoiceListening::End(bool stop_listening) {
  session_->Finish(false);
  session_.reset();
  if (stop_listening) runtime_.Character(listener_).Listen(false);
}

}  // namespace rirerazo::desktop
