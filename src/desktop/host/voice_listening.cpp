#include "desktop/host/voice_listening.h"

#include <algorithm>
#include <chrono>
#include <ostream>
#include <sstream>

#include "os/module_loader.h"

namespace rirerazo::desktop {
namespace {

constexpr const char* kUnavailableText = "Voice input is unavailable";

bool Loaded(const runtime::CharacterRuntime& runtime, const std::string& id) {
  const std::vector<std::string> ids = runtime.CharacterIds();
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

const voice::VoiceModule* VoiceListening::LoadInstalledModule(std::string* error) {
  os::LoadedModule loaded = os::LoadModule(voice::kVoiceModuleFile, voice::kVoiceModuleEntry);
  if (!loaded.entry) {
    if (error) *error = loaded.error;
    return nullptr;
  }
  return reinterpret_cast<voice::VoiceModuleEntry>(loaded.entry)();
}

VoiceListening::VoiceListening(runtime::CharacterRuntime& runtime, const platform::Clock& clock,
                               std::ostream& err, ModuleLoader loader)
    : runtime_(runtime), clock_(clock), err_(err), loader_(std::move(loader)) {}

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

std::optional<std::string> VoiceListening::PushToTalkCharacter() const {
  if (std::optional<std::string> listening = ListeningCharacter()) return listening;
  const std::vector<std::string> ids = runtime_.CharacterIds();
  for (const std::string& id : ids) {
    if (runtime_.Character(id).Visible()) return id;
  }
  if (!ids.empty()) return ids.front();
  return std::nullopt;
}

std::optional<std::int64_t> VoiceListening::NextDueMs() const {
  std::optional<std::int64_t> due = tip_hide_ms_;
  auto earlier = [&](std::int64_t at) { due = due ? std::min(*due, at) : at; };
  if (session_) {
    earlier(next_poll_ms_);
  } else if (!unavailable_ && ListeningCharacter()) {
    earlier(std::max(clock_.NowMs(), retry_ms_));
  }
  return due;
}

bool VoiceListening::Serve(std::int64_t now_ms) {
  if (tip_hide_ms_ && *tip_hide_ms_ <= now_ms && !session_) ShowTip({}, std::nullopt);
  if (session_) return ServeSession(now_ms);
  std::optional<std::string> character = ListeningCharacter();
  if (!character && waiting_microphone_) {
    waiting_microphone_.reset();  // the script stopped listening before the recogniser was there
    ShowTip({}, std::nullopt);
  }
  if (character && !unavailable_ && now_ms >= retry_ms_) Start(*character, now_ms);
  return false;
}

void VoiceListening::KeyPressed(std::int64_t now_ms) {
  if (key_held_) return;
  key_held_ = true;
  std::optional<std::string> character = PushToTalkCharacter();
  if (!character) return;
  key_listener_ = *character;
  if (!runtime_.Listening(key_listener_)) runtime_.Character(key_listener_).Listen(true);
  if (session_) return;  // the script's session goes on as the key's, without a timeout
  if (unavailable_) {
    ShowTip({key_listener_, kUnavailableText, false}, now_ms + kTipShownMs);
  } else {
    Start(key_listener_, now_ms);
  }
}

// Letting go ends the session; a phrase still being spoken is heard to its end.
void VoiceListening::KeyReleased(std::int64_t now_ms) {
  if (!key_held_) return;
  key_held_ = false;
  const std::string character = std::move(key_listener_);
  key_listener_.clear();
  if (session_) {
    session_->Finish(true);
    std::optional<runtime::Recognition> heard;
    while (std::optional<voice::ListenReport> report = session_->Poll()) {
      if (!heard && report->kind == voice::ListenReport::Kind::kHeard &&
          !report->heard.phrases.empty()) {
        heard = std::move(report->heard);
      }
    }
    if (heard && Loaded(runtime_, listener_)) {
      Heard(*heard, now_ms);
      return;
    }
    End(true);
    ShowTip(NothingHeardTipFor(listener_), now_ms + kTipShownMs);
    return;
  }
  if (waiting_microphone_) {
    // Let go before the recogniser was there: what was said cannot be heard.
    waiting_microphone_.reset();
    ShowTip(NothingHeardTipFor(character), now_ms + kTipShownMs);
  }
  if (Loaded(runtime_, character) && runtime_.Listening(character)) {
    runtime_.Character(character).Listen(false);
  }
}

bool VoiceListening::Unavailable(const std::string& why, std::int64_t now_ms) {
  err_ << "rirerazo: voice input is unavailable: " << why << "\n";
  unavailable_ = true;
  if (key_held_ && !key_listener_.empty()) {
    ShowTip({key_listener_, kUnavailableText, false}, now_ms + kTipShownMs);
  }
  return false;
}

bool VoiceListening::Start(const std::string& character, std::int64_t now_ms) {
  std::string why;
  if (!module_) module_ = loader_(&why);
  if (!module_) return Unavailable(why, now_ms);
  if (!recognizer_ && !loading_.valid()) {
    loading_ = std::async(std::launch::async, [make = module_->make_recognizer] {
      LoadedRecognizer loaded;
      std::ostringstream diagnostics;
      loaded.recognizer = make(diagnostics, &loaded.error);
      loaded.diagnostics = diagnostics.str();
      return loaded;
    });
    loading_.wait_for(std::chrono::milliseconds(kRecognizerWaitMs));
  }
  if (!recognizer_ && !RecognizerLoaded(&why)) {
    if (loading_.valid()) return WaitForRecognizer(character, now_ms);
    waiting_microphone_.reset();
    return Unavailable(why, now_ms);
  }
  offered_ = runtime_.VoiceGrammars();
  if (!recognizer_->SetGrammars(offered_.grammars)) {
    // Nothing can be said yet: look again later (a script may add commands) rather than
    // on every turn of the loop.
    waiting_microphone_.reset();
    retry_ms_ = now_ms + kNoGrammarRetryMs;
    return false;
  }
  std::unique_ptr<voice::AudioSource> microphone = std::move(waiting_microphone_);
  if (!microphone) microphone = module_->open_microphone(&why);
  if (!microphone) return Unavailable(why, now_ms);
  session_ = module_->start_listening(std::move(microphone), *recognizer_);
  listener_ = character;
  started_ms_ = now_ms;
  next_poll_ms_ = now_ms + kListenPollMs;
  ShowTip(ListeningTipFor(character), std::nullopt);
  return true;
}

// Takes the recogniser once its load has finished; false while it goes on (loading_ still
// valid) or when it failed (`why` says why).
bool VoiceListening::RecognizerLoaded(std::string* why) {
  if (loading_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return false;
  LoadedRecognizer loaded = loading_.get();
  err_ << loaded.diagnostics;
  recognizer_ = std::move(loaded.recognizer);
  *why = std::move(loaded.error);
  return recognizer_ != nullptr;
}

bool VoiceListening::WaitForRecognizer(const std::string& character, std::int64_t now_ms) {
  if (!waiting_microphone_) {
    std::string why;
    waiting_microphone_ = module_->open_microphone(&why);
    if (!waiting_microphone_) return Unavailable(why, now_ms);
  }
  retry_ms_ = now_ms + kListenPollMs;
  ShowTip(ListeningTipFor(character), std::nullopt);
  return false;
}

bool VoiceListening::ServeSession(std::int64_t now_ms) {
  next_poll_ms_ = now_ms + kListenPollMs;
  if (!Loaded(runtime_, listener_) || !runtime_.Listening(listener_)) {
    End(false);  // the script stopped listening, or unloaded the listener
    ShowTip({}, std::nullopt);
    return false;
  }
  while (std::optional<voice::ListenReport> report = session_->Poll()) {
    if (report->kind == voice::ListenReport::Kind::kSourceGone) {
      End(true);
      Unavailable("the microphone went away", now_ms);
      return true;
    }
    if (report->heard.phrases.empty()) continue;  // a noise, not words: keep listening
    Heard(report->heard, now_ms);
    return true;
  }
  if (!key_held_ && now_ms - started_ms_ >= kListenTimeoutMs) {
    End(true);
    ShowTip(NothingHeardTipFor(listener_), now_ms + kTipShownMs);
    return true;
  }
  return false;
}

// The runtime ends the session (ListenComplete) and raises Command; the tip says what was
// heard, or that it was too unsure to count.
void VoiceListening::Heard(const runtime::Recognition& heard, std::int64_t now_ms) {
  End(false);
  const runtime::HeardPhrase& best = heard.phrases.front();
  ShowTip(HeardTipFor(listener_, best.text, best.confidence), now_ms + kTipShownMs);
  runtime_.HearRecognized(listener_, offered_, heard);
}

void VoiceListening::End(bool stop_listening) {
  if (session_) {
    session_->Finish(false);
    session_.reset();
  }
  if (!stop_listening) return;
  if (Loaded(runtime_, listener_) && runtime_.Listening(listener_)) {
    runtime_.Character(listener_).Listen(false);
  }
}

void VoiceListening::ShowTip(ListeningTipState tip, std::optional<std::int64_t> hide_at_ms) {
  tip_hide_ms_ = tip.character.empty() ? std::nullopt : hide_at_ms;
  if (tip == tip_) return;
  tip_ = std::move(tip);
  if (tip_observer_) tip_observer_(tip_);
}

}  // namespace rirerazo::desktop
