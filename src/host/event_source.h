// What a host's message loop serves: sources of work due at times on the loop's clock.
#pragma once

#include <cstdint>
#include <optional>

namespace rirerazo::host {

// Something that has work due at times: the character runtime, the user-input script.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // The earliest time something is due (a time not after now means "now"); nullopt: nothing.
  virtual std::optional<std::int64_t> NextDueMs() const = 0;
  // Serves everything due by `now_ms`; true when the player was told something (a handler
  // may have queued more work due now).
  virtual bool Serve(std::int64_t now_ms) = 0;
  // Something will happen without the user (idle animations do not count).
  virtual bool HasPendingWork() const = 0;
  // The player offers the user something or holds work only the user can release.
  virtual bool AwaitsUserInput() const { return false; }
};

}  // namespace rirerazo::host
