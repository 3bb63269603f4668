// The player's message loop: yielding, sleeping and the one shutdown timer. Everything runs
// on the one player thread; events raised by services are delivered only from inside
// DoEvents, and may call back into the player (nested script runs).
#pragma once

#include <cstdint>
#include <functional>

namespace rirerazo::platform {

class MessageLoop {
 public:
  virtual ~MessageLoop() = default;

  // Serves every event and timer that is due now, then returns.
  virtual void DoEvents() = 0;

  // Blocks the player for `duration_ms` without serving events (the classic Sleep); what
  // falls due meanwhile is served by the next DoEvents.
  virtual void Sleep(std::int64_t duration_ms) = 0;

  // Starts (or restarts) the repeating timer with the given interval; `tick` runs on each
  // expiry from inside the loop. Only one timer exists; StopTimer disables it.
  virtual void StartTimer(std::int64_t interval_ms, std::function<void()> tick) = 0;
  virtual void StopTimer() = 0;
  virtual bool TimerEnabled() const = 0;

  // Ends the loop once the current handler returns: the program exits.
  virtual void Quit() = 0;
  virtual bool QuitRequested() const = 0;
};

}  // namespace rirerazo::platform
