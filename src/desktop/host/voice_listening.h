// Listening on the desktop: while a character listens (the script's Listen True, or the
// user holding the listening key), the microphone is open and what is said goes through the
// voice module's recogniser. The module is loaded on the first session, so a player that
// never listens never loads it.
//
// A session ends when a phrase is heard (the runtime ends it and raises Command), when the
// script stops listening, when the listening key is let go, after kListenTimeoutMs without
// a phrase (not while the key is held), or when the microphone goes away; all but the first
// two end it with Listen(false), which raises ListenComplete. Without a recogniser or a
// microphone this is said once on the error stream; the character keeps listening until the
// script (or the key) stops it, and menus work as ever.
//
// The listening tip reports each session: "Listening…" while it is open, then what was heard
// or that nothing was understood, for kTipShownMs.
//
// The recogniser loads on a thread of its own (a first load reads the acoustic model and the
// dictionary, which takes seconds): the player waits kRecognizerWaitMs for it and otherwise
// carries on, with the microphone already open so that what is said meanwhile waits in the
// sound server and is heard once the session starts.
//
// Served by the desktop loop on the player's thread; the microphone is read on the listening
// thread of the module.
#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "desktop/host/listening_tip_state.h"
#include "host/event_source.h"
#include "platform/clock.h"
#include "runtime/character_runtime.h"
#include "voice_module.h"

namespace rirerazo::desktop {

inline constexpr std::int64_t kListenTimeoutMs = 10000;
inline constexpr std::int64_t kListenPollMs = 50;
// How soon a character listening with no grammar the recogniser can offer is tried again.
inline constexpr std::int64_t kNoGrammarRetryMs = 1000;
// How long the player waits for the recogniser's first load before carrying on without it.
inline constexpr std::int64_t kRecognizerWaitMs = 100;

class VoiceListening : public host::EventSource {
 public:
  // Finds the voice module; null and a reason when it cannot be loaded.
  using ModuleLoader = std::function<const voice::VoiceModule*(std::string* error)>;
  // Loads rirerazo-voice.so with os::LoadModule.
  static const voice::VoiceModule* LoadInstalledModule(std::string* error);

  VoiceListening(runtime::CharacterRuntime& runtime, const platform::Clock& clock,
                 std::ostream& err, ModuleLoader loader = LoadInstalledModule);
  ~VoiceListening() override;

  // Hears every change of the listening tip.
  void SetTipObserver(std::function<void(const ListeningTipState&)> observer) {
    tip_observer_ = std::move(observer);
  }
  const ListeningTipState& Tip() const { return tip_; }

  // The listening key: pressed, the listening character (else the first visible one, else
  // the first loaded) listens until it is let go; what is said meanwhile is heard.
  void KeyPressed(std::int64_t now_ms);
  void KeyReleased(std::int64_t now_ms);
  bool Open() const { return session_ != nullptr; }

  std::optional<std::int64_t> NextDueMs() const override;
  bool Serve(std::int64_t now_ms) override;
  bool HasPendingWork() const override { return session_ != nullptr || key_held_; }

 private:
  std::optional<std::string> ListeningCharacter() const;
  std::optional<std::string> PushToTalkCharacter() const;
  bool Start(const std::string& character, std::int64_t now_ms);
  bool RecognizerLoaded(std::string* why);
  bool WaitForRecognizer(const std::string& character, std::int64_t now_ms);
  bool ServeSession(std::int64_t now_ms);
  void Heard(const runtime::Recognition& heard, std::int64_t now_ms);
  void End(bool stop_listening);
  bool Unavailable(const std::string& why, std::int64_t now_ms);
  void ShowTip(ListeningTipState tip, std::optional<std::int64_t> hide_at_ms);

  runtime::CharacterRuntime& runtime_;
  const platform::Clock& clock_;
  std::ostream& err_;
  ModuleLoader loader_;
  bool unavailable_ = false;
  const voice::VoiceModule* module_ = nullptr;
  std::unique_ptr<runtime::SpeechRecognizer> recognizer_;
  struct LoadedRecognizer {
    std::unique_ptr<runtime::SpeechRecognizer> recognizer;
    std::string error;
    std::string diagnostics;
  };
  std::future<LoadedRecognizer> loading_;
  std::unique_ptr<voice::AudioSource> waiting_microphone_;  // open while the recogniser loads
  std::unique_ptr<voice::Listener> session_;
  std::string listener_;
  runtime::VoiceGrammarSet offered_;
  std::int64_t started_ms_ = 0;
  std::int64_t next_poll_ms_ = 0;
  std::int64_t retry_ms_ = 0;
  bool key_held_ = false;
  std::string key_listener_;  // the character the key made listen
  ListeningTipState tip_;
  std::optional<std::int64_t> tip_hide_ms_;
  std::function<void(const ListeningTipState&)> tip_observer_;
};

}  // namespace rirerazo::desktop
