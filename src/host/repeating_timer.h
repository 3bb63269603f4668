// The message loop's one repeating timer, on whatever clock the loop keeps time by. A tick
// never re-enters itself (a tick that yields does not tick again inside), and a late tick is
// not made up for: the next one comes an interval after it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>

namespace rirerazo::host {

class RepeatingTimer {
 public:
  void Start(std::int64_t now_ms, std::int64_t interval_ms, std::function<void()> tick) {
    interval_ms_ = std::max<std::int64_t>(interval_ms, 1);
    due_ms_ = now_ms + interval_ms_;
    tick_ = std::move(tick);
    enabled_ = true;
  }
  void Stop() { enabled_ = false; }
  bool Enabled() const { return enabled_; }

  // When the next tick is due; nullopt while disabled or ticking.
  std::optional<std::int64_t> DueMs() const {
    if (!enabled_ || ticking_) return std::nullopt;
    return due_ms_;
  }

  // Ticks when due by `now_ms`; true when it ticked.
  bool Serve(std::int64_t now_ms) {
    if (!enabled_ || ticking_ || due_ms_ > now_ms) return false;
    due_ms_ += interval_ms_;
    if (due_ms_ <= now_ms) due_ms_ = now_ms + interval_ms_;
    const std::function<void()> tick = tick_;  // the tick may restart the timer
    ticking_ = true;
    struct Done {
      bool& flag;
      ~Done() { flag = false; }
    } done{ticking_};
    if (tick) tick();
    return true;
  }

 private:
  bool enabled_ = false;
  bool ticking_ = false;
  std::int64_t interval_ms_ = 0;
  std::int64_t due_ms_ = 0;
  std::function<void()> tick_;
};

}  // namespace rirerazo::host
