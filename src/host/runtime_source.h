// Puts the character runtime into a host's message loop: its steps are due on the loop's
// clock, and its events are delivered to the player when the player yields.
#pragma once

#include "host/event_source.h"
#include "runtime/character_runtime.h"

namespace rirerazo::host {

class RuntimeSource : public EventSource {
 public:
  explicit RuntimeSource(runtime::CharacterRuntime& runtime) : runtime_(runtime) {}

  std::optional<std::int64_t> NextDueMs() const override {
    if (runtime_.HasUndeliveredEvents()) return 0;  // due at once
    return runtime_.NextDueMs();
  }
  bool Serve(std::int64_t now_ms) override {
    runtime_.Advance(now_ms);
    return runtime_.DeliverEvents() > 0;
  }
  bool HasPendingWork() const override { return runtime_.HasPendingWork(); }
  bool AwaitsUserInput() const override { return runtime_.AwaitsUserInput(); }

 private:
  runtime::CharacterRuntime& runtime_;
};

}  // namespace rirerazo::host
