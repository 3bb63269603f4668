#include "headless/event_loop.h"

#include <algorithm>

namespace rirerazo::headless {

namespace {

// A handler that keeps queuing work due at once would keep one DoEvents busy for ever; after
// this many rounds DoEvents returns and lets the player go on.
constexpr int kMaxRoundsPerDoEvents = 100'000;

}  // namespace

EventLoop::EventLoop(VirtualClock& clock, ClockPacer* pacer, const RunLimits& limits)
    : clock_(clock), pacer_(pacer), limits_(limits) {}

void EventLoop::DoEvents() {
  if (!quit_ && ++yields_at_instant_ > limits_.max_yields_per_instant) {
    Stop(StopReason::kTimeStandsStill);
  }
  for (int round = 0; round < kMaxRoundsPerDoEvents && !quit_; ++round) {
    if (!ServeRound()) return;
  }
}

// One pass over every source and the timer at the current time. What is due is counted
// before it is served, since its handlers may enter the loop again.
bool EventLoop::ServeRound() {
  bool served = false;
  std::int64_t now = clock_.NowMs();
  for (host::EventSource* source : sources_) {
    if (quit_) return served;
    std::optional<std::int64_t> due = source->NextDueMs();
    if (!due || *due > now) continue;
    if (!CountEvent()) return served;
    served = source->Serve(now) || served;
  }
  if (quit_) return served;
  std::optional<std::int64_t> tick = timer_.DueMs();
  if (tick && *tick <= now && !CountEvent()) return served;
  return timer_.Serve(now) || served;
}

// False, with the run stopped, once too much has been served without time moving.
bool EventLoop::CountEvent() {
  if (++events_at_instant_ <= limits_.max_events_per_instant) return true;
  Stop(StopReason::kTimeStandsStill);
  return false;
}

// The player waits inside its own calls (a slide pause, a retry): past the time limit the
// run is stopped, since no top-level loop will get the chance to end it.
void EventLoop::Sleep(std::int64_t duration_ms) {
  if (duration_ms <= 0) return;
  const std::int64_t until_ms = clock_.NowMs() + duration_ms;
  if (until_ms > limits_.max_virtual_ms) Stop(StopReason::kPastTimeLimit);
  MoveClockTo(until_ms);
}

void EventLoop::Stop(StopReason reason) {
  if (stop_reason_ != StopReason::kNone) return;
  stop_reason_ = reason;
  quit_ = true;
  if (on_stop_) on_stop_(reason);
}

void EventLoop::StartTimer(std::int64_t interval_ms, std::function<void()> tick) {
  timer_.Start(clock_.NowMs(), interval_ms, std::move(tick));
}

void EventLoop::MoveClockTo(std::int64_t ms) {
  if (ms <= clock_.NowMs()) return;
  if (pacer_) pacer_->PaceTo(clock_.NowMs(), ms);
  clock_.AdvanceTo(ms);
  events_at_instant_ = 0;
  yields_at_instant_ = 0;
}

std::optional<std::int64_t> EventLoop::NextDueMs() const {
  std::optional<std::int64_t> earliest = timer_.DueMs();
  for (const host::EventSource* source : sources_) {
    std::optional<std::int64_t> due = source->NextDueMs();
    if (due && (!earliest || *due < *earliest)) earliest = due;
  }
  return earliest;
}

bool EventLoop::AnyPendingWork() const {
  if (timer_.Enabled()) return true;
  return std::any_of(sources_.begin(), sources_.end(),
                     [](const host::EventSource* source) { return source->HasPendingWork(); });
}

bool EventLoop::AnyAwaitingUser() const {
  return std::any_of(sources_.begin(), sources_.end(),
                     [](const host::EventSource* source) { return source->AwaitsUserInput(); });
}

RunOutcome EventLoop::RunUntilDone(const RunLimits& limits) {
  limits_ = limits;
  return RunUntilDone();
}

RunOutcome EventLoop::RunUntilDone() {
  std::size_t rounds_at_instant = 0;
  while (true) {
    DoEvents();
    if (stop_reason_ != StopReason::kNone) return RunOutcome::kStopped;
    if (quit_) return RunOutcome::kQuit;
    std::optional<std::int64_t> next = NextDueMs();
    if (!AnyPendingWork() || !next) {
      return AnyAwaitingUser() ? RunOutcome::kAwaitingUser : RunOutcome::kNothingPending;
    }
    if (*next <= clock_.NowMs()) {
      if (++rounds_at_instant > limits_.max_rounds_per_instant) return RunOutcome::kLimitReached;
      continue;
    }
    if (*next > limits_.max_virtual_ms) return RunOutcome::kLimitReached;
    rounds_at_instant = 0;
    MoveClockTo(*next);
  }
}

}  // namespace rirerazo::headless
