// Optional real-time pacing of the virtual clock (--realtime): before virtual time jumps
// forward, the pacer waits until as much wall time has passed since pacing began, so a person
// can watch a run at its natural speed. Without a pacer the headless host runs as fast as it
// can.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace rirerazo::headless {

// The wall clock as the pacer sees it; injectable so tests never sleep.
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual std::int64_t NowMs() = 0;
  virtual void SleepMs(std::int64_t duration_ms) = 0;
};

// The real wall clock (monotonic time and thread sleep).
std::unique_ptr<Sleeper> MakeWallClockSleeper();

// What the event loop calls before virtual time jumps forward: the real-time pacer below,
// or a video renderer that draws the frames falling between the two times.
class ClockPacer {
 public:
  virtual ~ClockPacer() = default;
  // Called before the virtual clock moves from `from_ms` to `to_ms`.
  virtual void PaceTo(std::int64_t from_ms, std::int64_t to_ms) = 0;
};

class Pacer : public ClockPacer {
 public:
  explicit Pacer(Sleeper& sleeper) : sleeper_(sleeper) {}
  // Sleeps until the wall clock has moved as far since the first call.
  void PaceTo(std::int64_t from_ms, std::int64_t to_ms) override;

 private:
  Sleeper& sleeper_;
  std::optional<std::int64_t> wall_origin_ms_;
  std::int64_t virtual_origin_ms_ = 0;
};

}  // namespace rirerazo::headless
