#include "impress/show_events.h"

namespace rirerazo::impress {

void ShowEventQueue::SetWaitingCallback(std::function<void()> waiting) {
  std::lock_guard lock(mutex_);
  waiting_ = std::move(waiting);
}

void ShowEventQueue::ShowStarted() {
  std::lock_guard lock(mutex_);
  ended_ = false;
  any_slide_ = false;
  found_at_attach_ = 0;
}

void ShowEventQueue::ListenerAttached(std::int32_t index) {
  std::lock_guard lock(mutex_);
  if (ended_) return;
  Push({ShowEvent::Kind::kBegin});
  if (index <= 0 || any_slide_) return;
  found_at_attach_ = index;
  any_slide_ = true;
  Push({ShowEvent::Kind::kNextSlide, index});
}

void ShowEventQueue::SlideShown(std::int32_t index) {
  std::lock_guard lock(mutex_);
  if (ended_ || index <= 0) return;
  const bool already_reported = found_at_attach_ == index;
  found_at_attach_ = 0;  // only the first report after attaching can repeat it
  if (already_reported) return;
  any_slide_ = true;
  Push({ShowEvent::Kind::kNextSlide, index});
}

void ShowEventQueue::PassedLastSlide() {
  std::lock_guard lock(mutex_);
  if (ended_) return;
  ended_ = true;
  Push({ShowEvent::Kind::kEnd, 0, true});
}

void ShowEventQueue::ShowEnded() {
  std::lock_guard lock(mutex_);
  if (ended_) return;
  ended_ = true;
  Push({ShowEvent::Kind::kEnd});
}

std::optional<ShowEvent> ShowEventQueue::Take() {
  std::lock_guard lock(mutex_);
  if (events_.empty()) return std::nullopt;
  ShowEvent event = events_.front();
  events_.pop_front();
  return event;
}

bool ShowEventQueue::HasWaiting() const {
  std::lock_guard lock(mutex_);
  return !events_.empty();
}

bool ShowEventQueue::Ended() const {
  std::lock_guard lock(mutex_);
  return ended_;
}

// The callback only wakes the host's loop (it never calls into the office), so it may run
// under our lock; that also keeps it from running after SetWaitingCallback cleared it.
void ShowEventQueue::Push(ShowEvent event) {
  events_.push_back(event);
  if (waiting_) waiting_();
}

}  // namespace rirerazo::impress
