// Time, as the player and the character runtime see it. The headless host's clock is
// virtual (it moves only when the player is idle or sleeps); the desktop's follows the
// wall clock. Nothing in core/ or runtime/ reads time any other way.
#pragma once

#include <cstdint>

namespace rirerazo::platform {

// A local calendar date and time, as the user's clock shows it.
struct LocalDateTime {
  int year = 2000;
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int weekday = 6;  // 0 = Sunday .. 6 = Saturday
  int hour = 0;     // 0..23
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds since the host started; never goes backwards.
  virtual std::int64_t NowMs() const = 0;

  // The local date and time now.
  virtual LocalDateTime LocalNow() const = 0;
};

}  // namespace rirerazo::platform
