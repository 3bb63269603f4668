#include "headless/pacer.h"

#include "os/wall_clock.h"

namespace rirerazo::headless {

namespace {

class WallClockSleeper : public Sleeper {
 public:
  std::int64_t NowMs() override { return os::MonotonicNowMs(); }
  void SleepMs(std::int64_t duration_ms) override { os::SleepForMs(duration_ms); }
};

}  // namespace

std::unique_ptr<Sleeper> MakeWallClockSleeper() {
  return std::make_unique<WallClockSleeper>();
}

void Pacer::PaceTo(std::int64_t from_ms, std::int64_t to_ms) {
  if (!wall_origin_ms_) {
    wall_origin_ms_ = sleeper_.NowMs();
    virtual_origin_ms_ = from_ms;
  }
  std::int64_t wall_target = *wall_origin_ms_ + (to_ms - virtual_origin_ms_);
  std::int64_t wait_ms = wall_target - sleeper_.NowMs();
  if (wait_ms > 0) sleeper_.SleepMs(wait_ms);
}

}  // namespace rirerazo::headless
