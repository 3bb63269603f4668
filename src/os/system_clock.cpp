#include "os/system_clock.h"

#include <ctime>

#include "os/wall_clock.h"

namespace rirerazo::os {

SystemClock::SystemClock() : origin_ms_(MonotonicNowMs()) {}

std::int64_t SystemClock::NowMs() const {
  return MonotonicNowMs() - origin_ms_;
}

platform::LocalDateTime SystemClock::LocalNow() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  platform::LocalDateTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.weekday = local.tm_wday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  return t;
}

}  // namespace rirerazo::os
