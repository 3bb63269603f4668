// The headless host's message loop on the virtual clock. DoEvents serves what is due now
// (runtime events, scripted user input, the timer) without moving time; Sleep moves time on
// and serves nothing; RunUntilDone is the host's main loop once start-up has returned: it
// serves what is due, then jumps the clock to the next thing due, until the loop quits or
// nothing more can happen by itself. A script that keeps triggering itself is stopped
// wherever the loop is entered, however deeply the player's handlers nest.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "headless/pacer.h"
#include "headless/virtual_clock.h"
#include "host/event_source.h"
#include "host/repeating_timer.h"
#include "platform/message_loop.h"

namespace rirerazo::headless {

enum class RunOutcome {
  kQuit,            // the loop was told to quit: the program ends
  kAwaitingUser,    // nothing is due; only user input could carry on
  kNothingPending,  // nothing is due and nothing waits for the user
  kLimitReached,    // the virtual time limit, or a loop that never let time move
  kStopped,         // the run was stopped from inside the player (see StopReason)
};

// Why the loop stopped a run from inside the player's own calls.
enum class StopReason {
  kNone,
  kTimeStandsStill,  // too many events or yields at one instant: the clock never moved
  kPastTimeLimit,    // the player's own waiting moved the clock past the time limit
};

struct RunLimits {
  std::int64_t max_virtual_ms = 86'400'000;  // one virtual day
  std::size_t max_rounds_per_instant = 1'000'000;
  // Events served at one instant, counted across every nested DoEvents: a script whose
  // handlers keep queuing work due at once never lets time move.
  std::size_t max_events_per_instant = 100'000;
  // The player's yields at one instant (it yields after every line): scripts that play
  // one another without queuing anything never let time move either.
  std::size_t max_yields_per_instant = 1'000'000;
};

class EventLoop : public platform::MessageLoop {
 public:
  // `pacer` (optional, not owned) is told of every time jump before it happens.
  explicit EventLoop(VirtualClock& clock, ClockPacer* pacer = nullptr, const RunLimits& limits = {});

  // Sources are served in the order added. Not owned; they must outlive the loop's use.
  void AddSource(host::EventSource& source) { sources_.push_back(&source); }

  void DoEvents() override;
  void Sleep(std::int64_t duration_ms) override;
  void StartTimer(std::int64_t interval_ms, std::function<void()> tick) override;
  void StopTimer() override { timer_.Stop(); }
  bool TimerEnabled() const override { return timer_.Enabled(); }
  void Quit() override { quit_ = true; }
  bool QuitRequested() const override { return quit_; }

  // Serves until done within the limits given at construction; the second form replaces them.
  RunOutcome RunUntilDone();
  RunOutcome RunUntilDone(const RunLimits& limits);

  // Called once when the loop stops a run from inside the player (the loop has quit by then
  // and serves nothing more); the host ends the player's work there.
  void OnStop(std::function<void(StopReason)> stopped) { on_stop_ = std::move(stopped); }
  StopReason Stopped() const { return stop_reason_; }

 private:
  bool CountEvent();
  void Stop(StopReason reason);
  bool ServeRound();
  std::optional<std::int64_t> NextDueMs() const;
  bool AnyPendingWork() const;
  bool AnyAwaitingUser() const;
  void MoveClockTo(std::int64_t ms);

  VirtualClock& clock_;
  ClockPacer* pacer_;
  std::vector<host::EventSource*> sources_;
  bool quit_ = false;
  host::RepeatingTimer timer_;
  RunLimits limits_;
  std::size_t events_at_instant_ = 0;
  std::size_t yields_at_instant_ = 0;
  StopReason stop_reason_ = StopReason::kNone;
  std::function<void(StopReason)> on_stop_;
};

}  // namespace rirerazo::headless
