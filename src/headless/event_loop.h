// The headless host's message loop on the virtual clock. DoEvents serves what is due now
// (runtime events, scripted user input, the timer) without moving time; Sleep moves time on
// and serves nothing; RunUntilDone is the host's main loop once start-up has returned: it
// serves what is due, then jumps the clock to the next thing due, until the loop quits or
// nothing more can happen by itself.
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
};

struct RunLimits {
  std::int64_t max_virtual_ms = 86'400'000;  // one virtual day
  std::size_t max_rounds_per_instant = 1'000'000;
};

class EventLoop : public platform::MessageLoop {
 public:
  // `pacer` (optional, not owned) paces time jumps to the wall clock.
  explicit EventLoop(VirtualClock& clock, Pacer* pacer = nullptr);

  // Sources are served in the order added. Not owned; they must outlive the loop's use.
  void AddSource(host::EventSource& source) { sources_.push_back(&source); }

  void DoEvents() override;
  void Sleep(std::int64_t duration_ms) override;
  void StartTimer(std::int64_t interval_ms, std::function<void()> tick) override;
  void StopTimer() override { timer_.Stop(); }
  bool TimerEnabled() const override { return timer_.Enabled(); }
  void Quit() override { quit_ = true; }
  bool QuitRequested() const override { return quit_; }

  RunOutcome RunUntilDone(const RunLimits& limits = {});

 private:
  bool ServeRound();
  std::optional<std::int64_t> NextDueMs() const;
  bool AnyPendingWork() const;
  bool AnyAwaitingUser() const;
  void MoveClockTo(std::int64_t ms);

  VirtualClock& clock_;
  Pacer* pacer_;
  std::vector<host::EventSource*> sources_;
  bool quit_ = false;
  host::RepeatingTimer timer_;
};

}  // namespace rirerazo::headless
