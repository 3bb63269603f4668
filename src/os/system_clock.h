// The desktop's clock: milliseconds on the monotonic clock since the host started, and the
// local date and time from the system's time zone.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace rirerazo::os {

class SystemClock : public platform::Clock {
 public:
  SystemClock();
  std::int64_t NowMs() const override;
  platform::LocalDateTime LocalNow() const override;

 private:
  std::int64_t origin_ms_;
};

}  // namespace rirerazo::os
