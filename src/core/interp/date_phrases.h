// The date and time phrases a script may speak: GetDay(), GetDate(), GetTimeOfDay() and
// GetTime(). Each reads the clock once; the English names stand for the user's locale.
#pragma once

#include <string>

#include "platform/clock.h"

namespace rirerazo {

// The full weekday name, e.g. "Monday".
std::string GetDay(const platform::LocalDateTime& now);
// Month name, day with its ordinal suffix, ", " and the year: "December 22nd, 2026".
std::string GetDate(const platform::LocalDateTime& now);
// "h:nn AM/PM" on the 12-hour clock without a leading zero: "3:05 PM", "12:00 AM".
std::string GetTime(const platform::LocalDateTime& now);
// "Morning" before 12 o'clock, "Afternoon" before 17, "Evening" after.
std::string GetTimeOfDay(const platform::LocalDateTime& now);

// The suffix of a day of the month: "st", "nd", "rd" or "th" (11, 12 and 13 take "th").
std::string DaySuffix(int day);

}  // namespace rirerazo
