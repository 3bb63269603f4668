// Listening on the desktop: while a character listens (the script's Listen True), the
// microphone is open and what is said goes through the voice module's recogniser. The module
// is loaded on the first session, so a player that never listens never loads it.
//
// A session ends when a phrase is heard (the runtime ends it and raises Command), when the
// script stops listening, after kListenTimeoutMs without a phrase, or when the microphone goes
// away; the last two end it with Listen(false), which raises ListenComplete. Without a
// recogniser or a microphone this is said once on the error stream; the character keeps
// listening until the script stops it, and menus work as ever.
//
// Served by the desktop loop on the player's thread; the microphone is read on the listening
// thread of the module.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "host/event_source.h"
#include "platform/clock.h"
#include "runtime/character_runtime.h"
#include "voice_module.h"

namespace rirerazo::desktop {

inline constexpr std::int64_t kListenTimeoutMs = 10000;
inline constexpr std::int64_t kListenPollMs = 50;

class VoiceListening : public host::EventSource {
 public:
  VoiceListening(runtime::CharacterRuntime& runtime, const platform::Clock& clock,
                 std::ostream& err);
  ~VoiceListening() override;

  std::optional<std::int64_t> NextDueMs() const override;
  bool Serve(std::int64_t now_ms) override;
  bool HasPendingWork() const override { return session_ != nullptr; }

 private:
  std::optional<std::string> ListeningCharacter() const;
  bool Start(const std::string& character, std::int64_t now_ms);
  bool ServeSession(std::int64_t now_ms);
  void End(bool stop_listening);
  bool Unavailable(const std::string& why);

  runtime::CharacterRuntime& runtime_;
  const platform::Clock& clock_;
  std::ostream& err_;
  bool unavailable_ = false;
  const voice::VoiceModule* module_ = nullptr;
  std::unique_ptr<runtime::SpeechRecognizer> recognizer_;
  std::unique_ptr<voice::Listener> session_;
  std::string listener_;
  runtime::VoiceGrammarSet offered_;
  std::int64_t started_ms_ = 0;
  std::int64_t next_poll_ms_ = 0;
};

}  // namespace rirerazo::desktop
