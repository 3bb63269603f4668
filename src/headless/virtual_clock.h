// The headless host's clock: virtual time that moves only when the host moves it (the player
// sleeps, or is idle and the loop jumps to the next thing due), so runs are deterministic and
// take no wall time. The calendar starts at a configurable local date and time.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/clock.h"

namespace rirerazo::headless {

class VirtualClock : public platform::Clock {
 public:
  // The default start is 2000-01-01 00:00:00, a Saturday.
  explicit VirtualClock(const platform::LocalDateTime& start = {});

  std::int64_t NowMs() const override { return now_ms_; }
  platform::LocalDateTime LocalNow() const override;

  // Moves time forward to `ms`; an earlier time leaves it unchanged (time never goes back).
  void AdvanceTo(std::int64_t ms);
  void AdvanceBy(std::int64_t ms) { AdvanceTo(now_ms_ + ms); }

 private:
  std::int64_t start_days_ = 0;  // days since 1970-01-01 of the start date
  std::int64_t start_ms_of_day_ = 0;
  std::int64_t now_ms_ = 0;
};

// "YYYY-MM-DD", optionally followed by 'T' or a blank and "HH:MM" or "HH:MM:SS". The
// weekday is computed. nullopt for malformed text or an impossible date or time.
std::optional<platform::LocalDateTime> ParseStartTime(std::string_view text);

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(int year, int month, int day);
platform::LocalDateTime CivilFromDays(std::int64_t days);

}  // namespace rirerazo::headless
