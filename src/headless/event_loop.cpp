#include "headless/event_loop.h"

#include <algorithm>

namespace rirerazo::headless {

namespace {

// A handler that keeps queuing work due at once would keep one DoEvents busy for ever; after
// this many rounds DoEvents returns and lets the player go on.
constexpr int kMaxRoundsPerDoEvents = 100'000;

}  // namespace

EventLoop::EventLoop(VirtualClock& clock, Pacer* pacer) : clock_(clock), pacer_(pacer) {}

void EventLoop::DoEvents() {
  for (int round = 0; round < kMaxRoundsPerDoEvents && !quit_; ++round) {
    if (!ServeRound()) return;
  }
}

// One pass over every source and the timer at the current time.
bool EventLoop::ServeRound() {
  bool served = false;
  std::int64_t now = clock_.NowMs();
  for (host::EventSource* source : sources_) {
    if (quit_) return served;
    std::optional<std::int64_t> due = source->NextDueMs();
    if (due && *due <= now) served = source->Serve(now) || served;
  }
  return (!quit_ && timer_.Serve(now)) || served;
}

void EventLoop::Sleep(std::int64_t duration_ms) {
  if (duration_ms > 0) MoveClockTo(clock_.NowMs() + duration_ms);
}

void EventLoop::StartTimer(std::int64_t interval_ms, std::function<void()> tick) {
  timer_.Start(clock_.NowMs(), interval_ms, std::move(tick));
}

void EventLoop::MoveClockTo(std::int64_t ms) {
  if (ms <= clock_.NowMs()) return;
  if (pacer_) pacer_->PaceTo(clock_.NowMs(), ms);
  clock_.AdvanceTo(ms);
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
  std::size_t rounds_at_instant = 0;
  while (true) {
    if (quit_) return RunOutcome::kQuit;
    DoEvents();
    if (quit_) return RunOutcome::kQuit;
    std::optional<std::int64_t> next = NextDueMs();
    if (!AnyPendingWork() || !next) {
      return AnyAwaitingUser() ? RunOutcome::kAwaitingUser : RunOutcome::kNothingPending;
    }
    if (*next <= clock_.NowMs()) {
      if (++rounds_at_instant > limits.max_rounds_per_instant) return RunOutcome::kLimitReached;
      continue;
    }
    if (*next > limits.max_virtual_ms) return RunOutcome::kLimitReached;
    rounds_at_instant = 0;
    MoveClockTo(*next);
  }
}

}  // namespace rirerazo::headless
